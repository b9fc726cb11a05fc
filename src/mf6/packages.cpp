#include <algorithm>

#include "core/number_format.h"
#include "core/text_reader.h"
#include "mf6/grid_data.h"
#include "mf6/input_array.h"
#include "mf6/list_block.h"
#include "mf6/readers.h"

namespace kestra {
namespace {

// A porosity of 0 would divide by zero in every velocity of the cell.
constexpr double kSmallestPorosity = 1.0E-20;

struct ListKind {
  const char* kind;
  std::size_t values;  // values after the cellid, auxiliary values not counted
  std::size_t sinkValue;  // the value that tells a sink: rate, conductance or head
};

constexpr ListKind kListKinds[] = {{"WEL", 1, 0}, {"RIV", 3, 1}, {"DRN", 2, 1}, {"GHB", 2, 1}, {"CHD", 1, 0}};

// The stress period of a "BEGIN PERIOD n" block; 0 when it is not one of 1..nper.
int PeriodOf(const Mf6Block& block, int nper) {
  const auto number = ParseNumber(block.id);
  return number && *number >= 1 && *number <= nper && *number == static_cast<int>(*number) ? static_cast<int>(*number)
                                                                                           : 0;
}

// The auxiliary names of the OPTIONS block, upper case, in order.
std::vector<std::string> AuxiliaryNames(const Mf6InputFile& file, const Mf6Block* options) {
  std::vector<std::string> names;
  if (options == nullptr) return names;
  for (std::size_t n = options->first; n < options->end; ++n) {
    const auto words = Mf6Words(file.lines[n].text);
    const std::string keyword = UpperCase(words[0]);
    if (keyword != "AUXILIARY" && keyword != "AUX") continue;
    for (std::size_t w = 1; w < words.size(); ++w) names.push_back(UpperCase(words[w]));
  }
  return names;
}

}  // namespace

bool ReadCellTypes(const std::string& path, const Mf6Grid& grid, PagedVector<int>& cellTypes, std::string& problem) {
  Mf6Arrays arrays;
  if (!ReadPackageGridData(path, grid, {"ICELLTYPE"}, arrays, problem)) return false;
  cellTypes.assign(arrays["ICELLTYPE"].begin(), arrays["ICELLTYPE"].end());
  return true;
}

bool ReadStorage(const std::string& path, int nper, std::vector<bool>& steadyState, std::string& problem) {
  Mf6InputFile file;
  if (!LoadMf6Input(path, file, problem)) return false;
  // Without a PERIOD block for it, a stress period keeps the state of the one before; the first is transient.
  std::vector<int> given(static_cast<std::size_t>(nper) + 1, -1);
  for (const Mf6Block& block : file.blocks) {
    const int period = block.name == "PERIOD" ? PeriodOf(block, nper) : 0;
    if (period == 0) continue;
    if (HasKeyword(file, &block, "STEADY-STATE")) given[period] = 1;
    if (HasKeyword(file, &block, "TRANSIENT")) given[period] = 0;
  }
  steadyState.assign(static_cast<std::size_t>(nper) + 1, false);
  for (int p = 1; p <= nper; ++p) steadyState[p] = given[p] >= 0 ? given[p] == 1 : p > 1 && steadyState[p - 1];
  return true;
}

bool ReadOutputControl(const std::string& path, const std::string& folder, std::string& headPath,
                       std::string& budgetPath, std::string& problem) {
  Mf6InputFile file;
  if (!LoadMf6Input(path, file, problem)) return false;
  const Mf6Block* options = FindBlock(file, "OPTIONS");
  headPath.clear();
  budgetPath.clear();
  if (options == nullptr) return true;
  for (std::size_t n = options->first; n < options->end; ++n) {
    const auto words = Mf6Words(file.lines[n].text);
    if (words.size() < 3 || UpperCase(words[1]) != "FILEOUT") continue;
    const std::string kind = UpperCase(words[0]);
    if (kind == "HEAD") headPath = Mf6Path(folder, words[2]);
    if (kind == "BUDGET") budgetPath = Mf6Path(folder, words[2]);
  }
  return true;
}

bool ReadListPackage(const std::string& path, const std::string& kind, const Mf6Grid& grid, int nper,
                     Mf6BoundaryPackage& package, std::vector<std::string>& notes, std::string& problem) {
  const auto listKind = std::find_if(std::begin(kListKinds), std::end(kListKinds),
                                     [&](const ListKind& k) { return kind == k.kind; });
  Mf6InputFile file;
  if (listKind == std::end(kListKinds) || !LoadMf6Input(path, file, problem)) return false;
  const Mf6Block* options = FindBlock(file, "OPTIONS");
  const std::vector<std::string> auxiliary = AuxiliaryNames(file, options);
  const auto iface = std::find_if(auxiliary.begin(), auxiliary.end(),
                                  [](const std::string& name) { return name == "IFACE" || name == "IFLOWFACE"; });
  const bool boundNames = HasKeyword(file, options, "BOUNDNAMES");
  package.kind = kind;
  package.periods.assign(static_cast<std::size_t>(nper) + 1, {});
  std::vector<bool> given(static_cast<std::size_t>(nper) + 1, false);
  int timeSeriesValues = 0;
  for (const Mf6Block& block : file.blocks) {
    const int period = block.name == "PERIOD" ? PeriodOf(block, nper) : 0;
    if (period == 0) continue;
    Mf6List list;
    if (!ReadMf6List(file, block, listKind->values + auxiliary.size(), boundNames, list, problem)) return false;
    timeSeriesValues += list.timeSeriesValues;
    for (const Mf6ListRow& row : list.rows) {
      Mf6BoundaryCell cell{row.layer, row.row, row.column, static_cast<float>(row.values[listKind->sinkValue]), 0};
      if (iface != auxiliary.end())
        cell.iface = static_cast<int>(row.values[listKind->values + static_cast<std::size_t>(iface - auxiliary.begin())]);
      if (cell.layer < 1 || cell.layer > grid.NLAY || cell.row < 1 || cell.row > grid.NROW || cell.column < 1 ||
          cell.column > grid.NCOL) {
        problem = Mf6LineProblem(file, block.first, "a cellid of PERIOD" + NumberText(period) + " lies outside the grid.");
        return false;
      }
      package.periods[period].push_back(cell);
    }
    given[period] = true;
  }
  for (int p = 2; p <= nper; ++p)
    if (!given[p]) package.periods[p] = package.periods[p - 1];
  if (timeSeriesValues > 0)
    notes.push_back(package.name + ": " + NumberText(timeSeriesValues).substr(1) +
                    " values name time series, which are not read; they count as 0 for the boundary cells.");
  return true;
}

bool ReadMpbas(const std::string& path, const Mf6Grid& grid, std::vector<DefaultFace>& defaultIface,
               CellArray<float>& porosity, std::string& problem) {
  Mf6InputFile file;
  if (!LoadMf6Lines(path, file, problem)) return false;
  // The whole file is one block: the default IFACE count, its label and IFACE lines, a porosity array per layer.
  const Mf6Block all{"", "", 0, file.lines.size()};
  const auto count = file.lines.empty() ? std::nullopt : ParseNumber(Mf6Words(file.lines[0].text)[0]);
  if (!count || *count < 0 || *count > static_cast<double>(file.lines.size())) {
    problem = Mf6LineProblem(file, 0, "the number of default IFACE entries is missing.");
    return false;
  }
  defaultIface.clear();
  std::size_t line = 1;
  for (int n = 0; n < static_cast<int>(*count); ++n, line += 2) {
    const auto face = line + 1 < file.lines.size() ? ParseNumber(Mf6Words(file.lines[line + 1].text)[0]) : std::nullopt;
    if (!face) {
      problem = Mf6LineProblem(file, line, "a default IFACE entry needs a budget label and a face.");
      return false;
    }
    defaultIface.push_back({UpperCase(Mf6Words(file.lines[line].text)[0]), static_cast<int>(*face)});
  }
  const auto layerCells = static_cast<std::size_t>(grid.NCOL) * static_cast<std::size_t>(grid.NROW);
  std::vector<double> layer;
  for (int k = 1; k <= grid.NLAY; ++k) {
    if (!ReadMf6ArrayControl(file, all, line, layerCells, false, layer, problem)) return false;
    std::size_t n = 0;
    for (int i = 1; i <= grid.NROW; ++i)
      for (int j = 1; j <= grid.NCOL; ++j, ++n)
        porosity(j, i, k) = static_cast<float>(layer[n] == 0 ? kSmallestPorosity : layer[n]);
  }
  return true;
}

}  // namespace kestra
