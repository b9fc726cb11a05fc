#include "mf2005/packages.h"

#include "core/number_format.h"
#include "mf2005/record.h"

namespace kestra {
namespace {

// Where a list package keeps what we need on each cell line.
struct ListLayout {
  std::size_t numberCount;  // layer, row, column and the values after them
  std::size_t valueIndex;   // the number that decides whether the cell is a sink
  const char* fixedFormat;
  bool readByListReader;    // MODFLOW's list reader: EXTERNAL, OPEN/CLOSE, and SFAC
                            // multiplying exactly this value
};

ListLayout LayoutOf(const std::string& fileType) {
  if (fileType == "WEL") return {4, 3, "(3I10,9F10.0)", true};               // Q
  if (fileType == "RIV") return {6, 4, "(3I10,9F10.0)", true};               // stage, COND, rbot
  if (fileType == "STR") return {10, 7, "(5I5,F15.0,4F10.0)", false};        // seg, reach, flow, stage, COND, ...
  if (fileType == "CHD") return {5, 3, "(3I10,9F10.0)", true};               // Shead, Ehead
  return {5, 4, "(3I10,9F10.0)", true};                                      // DRN, GHB: elevation or head, COND
}

// STR: NSS, NTRIB, NDIV and ICALC decide which lines follow the reaches.
struct StreamCounts {
  int segments = 0;
  int tributaries = 0;
  int diversions = 0;
  int calculateStage = 0;
};

bool ReadHeader(PackageInput& input, bool freeFormat, const std::string& fileType, StreamCounts& stream,
                std::string& problem) {
  SkipCommentLines(input.file);
  if (!SkipEmptyParameterLine(input.file, problem)) return false;
  std::vector<double> numbers;
  const bool isStream = fileType == "STR";
  // CHD has no budget unit: MXACTC alone.
  const std::size_t count = isStream ? 5 : fileType == "CHD" ? 1 : 2;
  if (!ReadLineNumbers(input.file, freeFormat, isStream ? "(5I10,F10.0,2I10)" : "(2I10)", count, numbers, problem))
    return false;
  if (isStream && !(WholeNumber(input.file, numbers[1], stream.segments, problem) &&
                    WholeNumber(input.file, numbers[2], stream.tributaries, problem) &&
                    WholeNumber(input.file, numbers[3], stream.diversions, problem) &&
                    WholeNumber(input.file, numbers[4], stream.calculateStage, problem)))
    return false;
  // MODFLOW-NWT's well package may add "SPECIFY phiramp iunitramp".
  if (input.file.next < input.file.lines.size()) {
    const auto words = SplitWords(input.file.lines[input.file.next]);
    if (!words.empty() && UpperCase(words[0]) == "SPECIFY") ++input.file.next;
  }
  return true;
}

// MODFLOW's list reader may find the cells of a stress period in another
// file: "EXTERNAL unit" reads on in that unit, "OPEN/CLOSE name" reads a
// file from its start.
bool SelectListSource(PackageInput& input, Mf2005Files& files, TextFile*& source, TextFile& openClose,
                      std::string& problem) {
  source = &input.file;
  TextFile& file = input.file;
  if (file.next >= file.lines.size()) return true;
  const auto words = SplitWords(file.lines[file.next]);
  const std::string first = words.empty() ? std::string() : UpperCase(words[0]);
  if (first != "EXTERNAL" && first != "OPEN/CLOSE") return true;
  ++file.next;
  int unit = 0;
  if (words.size() < 2 || (first == "EXTERNAL" && !ParseInteger(words[1], unit))) {
    problem = LineProblem(file, first + " needs a " + (first == "EXTERNAL" ? "unit number." : "file name."));
    return false;
  }
  if (first == "EXTERNAL") {
    source = FormattedUnitFile(input, files, unit, problem);
    return source != nullptr;
  }
  source = &openClose;
  return LoadOpenCloseFile(input, files, words[1], openClose, problem);
}

// The scale factor of an "SFAC f" line before the first cell, 1 without one.
bool ReadScaleFactor(TextFile& file, float& factor, std::string& problem) {
  factor = 1;
  if (file.next >= file.lines.size()) return true;
  const auto words = SplitWords(file.lines[file.next]);
  if (words.empty() || UpperCase(words[0]) != "SFAC") return true;
  ++file.next;
  double value = 0;
  if (words.size() < 2 || !ParseReal(words[1], value)) {
    problem = LineProblem(file, "SFAC needs a number.");
    return false;
  }
  factor = static_cast<float>(value);
  return true;
}

bool ReadCell(TextFile& file, bool freeFormat, const ListLayout& layout, const Mf2005Model& model, float factor,
              BoundaryCell& cell, std::string& problem) {
  std::vector<double> numbers;
  if (!ReadLineNumbers(file, freeFormat, layout.fixedFormat, layout.numberCount, numbers, problem) ||
      !WholeNumber(file, numbers[0], cell.layer, problem) || !WholeNumber(file, numbers[1], cell.row, problem) ||
      !WholeNumber(file, numbers[2], cell.column, problem))
    return false;
  if (!model.Shape().Contains(cell.column, cell.row, cell.layer)) {
    problem = LineProblem(file, "the cell (layer, row, column) lies outside the grid.");
    return false;
  }
  cell.value = static_cast<float>(numbers[layout.valueIndex]) * factor;
  return true;
}

bool SkipLines(TextFile& file, int count, std::string& problem) {
  if (count < 0 || file.lines.size() - file.next < static_cast<std::size_t>(count)) {
    problem = LineProblem(file, "the file ends before the stream data of the stress period.");
    return false;
  }
  file.next += static_cast<std::size_t>(count);
  return true;
}

// After the reaches of a stress period the stream package lists their
// channel data and each segment's tributaries and diversions.
bool SkipStreamDetails(TextFile& file, const StreamCounts& stream, int reaches, std::string& problem) {
  return SkipLines(file, stream.calculateStage > 0 ? reaches : 0, problem) &&
         SkipLines(file, stream.tributaries > 0 ? stream.segments : 0, problem) &&
         SkipLines(file, stream.diversions > 0 ? stream.segments : 0, problem);
}

bool ReadPeriodCells(PackageInput& input, Mf2005Files& files, bool freeFormat, const ListLayout& layout,
                     const Mf2005Model& model, int count, std::vector<BoundaryCell>& cells, std::string& problem) {
  TextFile* source = &input.file;
  TextFile openClose;
  float factor = 1;
  if (layout.readByListReader && count > 0 &&
      !(SelectListSource(input, files, source, openClose, problem) && ReadScaleFactor(*source, factor, problem)))
    return false;
  cells.clear();
  for (int n = 0; n < count; ++n) {
    BoundaryCell cell;
    if (!ReadCell(*source, freeFormat, layout, model, factor, cell, problem)) return false;
    cells.push_back(cell);
  }
  return true;
}

}  // namespace

bool ReadListPackage(PackageInput& input, Mf2005Files& files, bool freeFormat, const Mf2005Model& model,
                     BoundaryPackage& package, std::string& problem) {
  StreamCounts stream;
  if (!ReadHeader(input, freeFormat, package.fileType, stream, problem)) return false;
  const ListLayout layout = LayoutOf(package.fileType);
  const int nper = model.stressPeriods.NPER;
  package.periods.assign(nper + 1, {});
  for (int period = 1; period <= nper; ++period) {
    std::vector<double> numbers;
    int itmp = 0;
    if (!ReadLineNumbers(input.file, freeFormat, "(I10)", 1, numbers, problem) ||
        !WholeNumber(input.file, numbers[0], itmp, problem))
      return false;
    if (itmp < 0) {
      package.periods[period] = package.periods[period - 1];
      continue;
    }
    if (!ReadPeriodCells(input, files, freeFormat, layout, model, itmp, package.periods[period], problem)) return false;
    if (package.fileType == "STR" && itmp > 0 && !SkipStreamDetails(input.file, stream, itmp, problem)) return false;
  }
  return true;
}

}  // namespace kestra
