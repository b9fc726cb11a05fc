#include "mf2005/packages.h"

#include "mf2005/record.h"

namespace kestra {
namespace {

// Words form: "HEAD SAVE UNIT n" and "DRAWDOWN SAVE UNIT n" anywhere.
void FindSaveUnits(TextFile& file, int& headUnit, int& drawdownUnit) {
  std::string line;
  while (NextLine(file, line)) {
    const auto words = SplitWords(line);
    if (words.size() < 4 || UpperCase(words[1]) != "SAVE" || UpperCase(words[2]) != "UNIT") continue;
    const std::string what = UpperCase(words[0]);
    int unit = 0;
    if (!ParseInteger(words[3], unit)) continue;
    if (what == "HEAD") headUnit = unit;
    if (what == "DRAWDOWN") drawdownUnit = unit;
  }
}

}  // namespace

bool ReadOutputControl(PackageInput& input, bool freeFormat, int& headUnit, int& drawdownUnit,
                       std::string& problem) {
  SkipCommentLines(input.file);
  headUnit = 0;
  drawdownUnit = 0;
  if (input.file.next >= input.file.lines.size()) return true;
  const auto words = SplitWords(input.file.lines[input.file.next]);
  double ignored = 0;
  if (words.empty() || !ParseReal(words[0], ignored)) {
    FindSaveUnits(input.file, headUnit, drawdownUnit);
    return true;
  }
  // Numeric form: IHEDFM, IDDNFM, IHEDUN, IDDNUN.
  std::vector<double> numbers;
  return ReadLineNumbers(input.file, freeFormat, "(4I10)", 4, numbers, problem) &&
         WholeNumber(input.file, numbers[2], headUnit, problem) &&
         WholeNumber(input.file, numbers[3], drawdownUnit, problem);
}

}  // namespace kestra
