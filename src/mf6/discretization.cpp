#include <cmath>

#include "core/text_reader.h"
#include "mf6/grid_data.h"
#include "mf6/readers.h"

namespace kestra {
namespace {

// TIME_UNITS words by the time unit codes of the stress-period table.
constexpr const char* kTimeUnitWords[] = {"UNKNOWN", "SECONDS", "MINUTES", "HOURS", "DAYS", "YEARS"};
// Grids beyond this many cells are taken as a damaged dimension.
constexpr double kLargestCellCount = 2.0e9;

bool PositiveInteger(const Mf6InputFile& file, const Mf6Block* block, const char* keyword, int& value,
                     std::string& problem) {
  const auto number = ParseNumber(KeywordValue(file, block, keyword));
  if (!number || *number < 1 || *number != std::floor(*number) || *number > kLargestCellCount) {
    problem = Mf6LineProblem(file, block ? block->first : file.lines.size(),
                             std::string("the DIMENSIONS block gives no positive ") + keyword + ".");
    return false;
  }
  value = static_cast<int>(*number);
  return true;
}

double OptionalNumber(const Mf6InputFile& file, const Mf6Block* options, const char* keyword) {
  return ParseNumber(KeywordValue(file, options, keyword)).value_or(0.0);
}

}  // namespace

bool ReadTimeDiscretization(const std::string& path, StressPeriods& periods, std::string& problem) {
  Mf6InputFile file;
  if (!LoadMf6Input(path, file, problem)) return false;
  const Mf6Block* options = FindBlock(file, "OPTIONS");
  const Mf6Block* dimensions = FindBlock(file, "DIMENSIONS");
  const Mf6Block* data = FindBlock(file, "PERIODDATA");
  StressPeriods read;
  if (!PositiveInteger(file, dimensions, "NPER", read.NPER, problem)) return false;
  const std::string unit = UpperCase(KeywordValue(file, options, "TIME_UNITS"));
  read.timeUnit = 0;
  for (std::int16_t code = 0; code < static_cast<std::int16_t>(std::size(kTimeUnitWords)); ++code)
    if (unit == kTimeUnitWords[code]) read.timeUnit = code;
  if (data == nullptr || data->end - data->first < static_cast<std::size_t>(read.NPER)) {
    problem = Mf6LineProblem(file, data ? data->end : file.lines.size(),
                             "the PERIODDATA block needs a line for each of the " +
                                 KeywordValue(file, dimensions, "NPER") + " stress periods.");
    return false;
  }
  read.PERLEN.assign(read.NPER + 1, 0.0f);
  read.NSTP.assign(read.NPER + 1, 0);
  read.TSMULT.assign(read.NPER + 1, 1.0f);
  for (int p = 1; p <= read.NPER; ++p) {
    const std::size_t line = data->first + static_cast<std::size_t>(p - 1);
    const auto words = Mf6Words(file.lines[line].text);
    double perlen = -1, nstp = 0, tsmult = 0;
    if (words.size() >= 3) {
      perlen = ParseNumber(words[0]).value_or(-1);
      nstp = ParseNumber(words[1]).value_or(0);
      tsmult = ParseNumber(words[2]).value_or(0);
    }
    if (perlen < 0 || nstp < 1 || nstp != std::floor(nstp) || nstp > 1e6 || tsmult <= 0) {
      problem = Mf6LineProblem(file, line, "PERLEN, NSTP (at least 1) and TSMULT (above 0) expected.");
      return false;
    }
    read.PERLEN[p] = static_cast<float>(perlen);
    read.NSTP[p] = static_cast<int>(nstp);
    read.TSMULT[p] = static_cast<float>(tsmult);
  }
  periods = std::move(read);
  return true;
}

namespace {

void ReadPlaceOptions(const Mf6InputFile& file, const Mf6Block* options, Mf6Grid& grid) {
  grid.lengthUnits = UpperCase(KeywordValue(file, options, "LENGTH_UNITS"));
  grid.crs = KeywordValue(file, options, "CRS");
}

}  // namespace

bool ReadDiscretizationPlace(const std::string& path, Mf6Grid& grid, std::string& problem) {
  Mf6InputFile file;
  if (!LoadMf6Input(path, file, problem)) return false;
  ReadPlaceOptions(file, FindBlock(file, "OPTIONS"), grid);
  return true;
}

bool ReadDiscretization(const std::string& path, Mf6Grid& grid, std::string& problem) {
  Mf6InputFile file;
  if (!LoadMf6Input(path, file, problem)) return false;
  const Mf6Block* options = FindBlock(file, "OPTIONS");
  const Mf6Block* dimensions = FindBlock(file, "DIMENSIONS");
  const Mf6Block* data = FindBlock(file, "GRIDDATA");
  Mf6Grid read;
  if (!PositiveInteger(file, dimensions, "NLAY", read.NLAY, problem) ||
      !PositiveInteger(file, dimensions, "NROW", read.NROW, problem) ||
      !PositiveInteger(file, dimensions, "NCOL", read.NCOL, problem))
    return false;
  if (static_cast<double>(read.NCOL) * read.NROW * read.NLAY > kLargestCellCount) {
    problem = Mf6LineProblem(file, dimensions->first, "the grid has too many cells.");
    return false;
  }
  ReadPlaceOptions(file, options, read);
  read.XORIGIN = OptionalNumber(file, options, "XORIGIN");
  read.YORIGIN = OptionalNumber(file, options, "YORIGIN");
  read.ANGROT = OptionalNumber(file, options, "ANGROT");
  Mf6Arrays arrays;
  if (data == nullptr) {
    problem = Mf6LineProblem(file, file.lines.size(), "the GRIDDATA block is missing.");
    return false;
  }
  if (!ReadGridData(file, *data, read, {"DELR", "DELC", "TOP", "BOTM", "IDOMAIN"}, arrays, problem)) return false;
  for (const char* name : {"DELR", "DELC", "TOP", "BOTM"}) {
    if (!arrays.contains(name)) {
      problem = Mf6LineProblem(file, data->end, std::string("the GRIDDATA block gives no ") + name + ".");
      return false;
    }
  }
  for (const auto& [name, array] :
       {std::pair{"DELR", &read.DELR}, {"DELC", &read.DELC}, {"TOP", &read.TOP}, {"BOTM", &read.BOTM}})
    array->assign(arrays[name].begin(), arrays[name].end());
  read.IDOMAIN.assign(read.CellCount(), 1);
  if (arrays.contains("IDOMAIN"))
    for (std::size_t n = 0; n < read.CellCount(); ++n) read.IDOMAIN[n] = static_cast<int>(arrays["IDOMAIN"][n]);
  grid = std::move(read);
  return true;
}

}  // namespace kestra
