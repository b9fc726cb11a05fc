#include "cli/run_summary.h"

#include <algorithm>
#include <map>
#include <utility>

#include "export/package_cells.h"

namespace kestra::cli {
namespace {

bool EndsInSinkCell(const Endpoint& e) {
  return e.tracked && (e.end == TrackEnd::EnteredSinkCell || e.end == TrackEnd::NoExitFromSink);
}

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
    if (!EndsInSinkCell(e)) continue;
    std::vector<std::string> names = packages.At(e.finalCell);
    if (names.empty()) names.push_back(kNoBoundaryPackage);
    for (const std::string& name : names) ++sinkPackages[reason][name];
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
