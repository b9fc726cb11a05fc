#include "cli/run_summary.h"

#include <algorithm>
#include <map>
#include <utility>

#include "core/data_types.h"
#include "core/model_family.h"

namespace kestra::cli {
namespace {

struct BoundaryPackage {
  int dataType;
  const char* name;
};
constexpr BoundaryPackage kBoundaryPackages[] = {{data_type::kWells, "wells"},
                                                 {data_type::kDrains, "drains"},
                                                 {data_type::kRivers, "rivers"},
                                                 {data_type::kGeneralHead, "general-head cells"},
                                                 {data_type::kStreams, "streams"}};

bool EndsInSinkCell(const Endpoint& e) {
  return e.tracked && (e.end == TrackEnd::EnteredSinkCell || e.end == TrackEnd::NoExitFromSink);
}

// The boundary packages with cells in one layer, read once a layer.
class PackageCells {
 public:
  explicit PackageCells(const ModelState& model) : model_(model) {}

  // The packages with a cell at `cell`, by name; "no boundary package" for none.
  std::vector<std::string> At(CellIndex cell) {
    std::vector<std::string> names;
    for (const BoundaryPackage& package : kBoundaryPackages) {
      const LayerValues* layer = Layer(package.dataType, cell.layer);
      if (layer != nullptr && (*layer)(cell.column, cell.row) != 0) names.push_back(package.name);
    }
    if (names.empty()) names.push_back("no boundary package");
    return names;
  }

 private:
  const LayerValues* Layer(int dataType, int layer) {
    const auto [place, added] = layers_.try_emplace({dataType, layer});
    if (added) {
      const ModelFamily& family = FamilyOf(model_);
      place->second.read = family.SimulatesPackage(model_, dataType) &&
                           family.ReadPackageLayer(dataType, layer, model_.CurrentPeriod, place->second.values);
    }
    return place->second.read ? &place->second.values : nullptr;
  }

  struct ReadLayer {
    bool read = false;
    LayerValues values;
  };
  const ModelState& model_;
  std::map<std::pair<int, int>, ReadLayer> layers_;
};

// Counts by name, the largest first (names in alphabetical order on a tie).
using Counts = std::map<std::string, int>;
std::vector<std::pair<std::string, int>> ByCount(const Counts& counts) {
  std::vector<std::pair<std::string, int>> sorted(counts.begin(), counts.end());
  std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
  return sorted;
}

std::string DirectionLine(const std::vector<Endpoint>& endpoints, int direction, PackageCells& packages) {
  Counts reasons;
  std::map<std::string, Counts> sinkPackages;  // by reason; a cell of two packages counts for both
  for (const Endpoint& e : endpoints) {
    if (e.direction != direction) continue;
    const std::string reason = EndpointEndText(e);
    ++reasons[reason];
    if (EndsInSinkCell(e))
      for (const std::string& name : packages.At(e.finalCell)) ++sinkPackages[reason][name];
  }
  if (reasons.empty()) return {};
  std::string line = direction > 0 ? "forward:" : "backward:";
  const char* separator = " ";
  for (const auto& [reason, count] : ByCount(reasons)) {
    line += separator + std::to_string(count) + " " + reason;
    separator = ", ";
    const auto inSinks = sinkPackages.find(reason);
    if (inSinks == sinkPackages.end()) continue;
    const char* inner = " (";
    for (const auto& [name, cells] : ByCount(inSinks->second)) {
      line += inner + std::to_string(cells) + " " + name;
      inner = ", ";
    }
    line += ")";
  }
  return line;
}

}  // namespace

std::vector<std::string> StopSummaryLines(const std::vector<Endpoint>& endpoints, const ModelState& model) {
  PackageCells packages(model);
  std::vector<std::string> lines;
  for (const int direction : {1, -1})
    if (std::string line = DirectionLine(endpoints, direction, packages); !line.empty()) lines.push_back(line);
  return lines;
}

int EndedAtStepLimit(const std::vector<Endpoint>& endpoints) {
  return static_cast<int>(std::count_if(endpoints.begin(), endpoints.end(), [](const Endpoint& e) {
    return e.tracked && e.end == TrackEnd::ReachedStopTime;
  }));
}

}  // namespace kestra::cli
