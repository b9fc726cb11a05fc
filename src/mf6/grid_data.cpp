#include "mf6/grid_data.h"

#include "core/text_reader.h"
#include "mf6/input_array.h"

namespace kestra {
namespace {

const std::set<std::string> kIntegerArrays = {"IDOMAIN", "ICELLTYPE", "ICONVERT", "IRCH", "IEVT"};

Mf6ArrayShape ShapeOf(const std::string& name, const Mf6Grid& grid) {
  const auto layerCells = static_cast<std::size_t>(grid.NCOL) * static_cast<std::size_t>(grid.NROW);
  const bool integer = kIntegerArrays.contains(name);
  if (name == "DELR") return {static_cast<std::size_t>(grid.NCOL), 1, false};
  if (name == "DELC") return {static_cast<std::size_t>(grid.NROW), 1, false};
  if (name == "TOP") return {layerCells, 1, false};
  return {layerCells, grid.NLAY, integer};
}

}  // namespace

bool ReadGridData(const Mf6InputFile& file, const Mf6Block& block, const Mf6Grid& grid,
                  const std::set<std::string>& wanted, Mf6Arrays& arrays, std::string& problem) {
  for (std::size_t line = block.first; line < block.end;) {
    const auto words = Mf6Words(file.lines[line].text);
    const std::string name = UpperCase(words[0]);
    std::vector<double> values;
    if (!ReadMf6Array(file, block, line, ShapeOf(name, grid), values, problem)) return false;
    if (wanted.contains(name)) arrays[name] = std::move(values);
  }
  return true;
}

bool ReadPackageGridData(const std::string& path, const Mf6Grid& grid, const std::set<std::string>& required,
                         Mf6Arrays& arrays, std::string& problem) {
  Mf6InputFile file;
  if (!LoadMf6Input(path, file, problem)) return false;
  const Mf6Block* block = FindBlock(file, "GRIDDATA");
  if (block != nullptr && !ReadGridData(file, *block, grid, required, arrays, problem)) return false;
  for (const std::string& name : required) {
    if (!arrays.contains(name)) {
      problem = Mf6LineProblem(file, file.lines.size(), "the GRIDDATA block gives no " + name + ".");
      return false;
    }
  }
  return true;
}

}  // namespace kestra
