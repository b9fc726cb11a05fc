#include "mf2005/record.h"

#include "core/number_format.h"
#include "core/quoted_text.h"
#include "mf2005/fortran_format.h"

namespace kestra {

namespace {

bool ReadFixedValues(TextFile& file, const std::string& fixedFormat, std::size_t count, std::vector<double>& values,
                     std::string& problem) {
  FortranFormat format;
  ParseFortranFormat(fixedFormat, format);
  return ReadFormattedValues(file, format, count, values, problem);
}

}  // namespace

bool ReadPackageValues(TextFile& file, bool freeFormat, const std::string& fixedFormat, std::size_t count,
                       std::vector<double>& values, std::string& problem) {
  if (freeFormat) return ReadFreeValues(file, count, values, problem);
  return ReadFixedValues(file, fixedFormat, count, values, problem);
}

bool ReadLineNumbers(TextFile& file, bool freeFormat, const std::string& fixedFormat, std::size_t count,
                     std::vector<double>& values, std::string& problem) {
  if (!freeFormat) return ReadFixedValues(file, fixedFormat, count, values, problem);
  std::string line;
  if (!NextLine(file, line)) {
    problem = LineProblem(file, "the file ends before all values were read.");
    return false;
  }
  const auto words = SplitWords(line);
  values.assign(count, 0.0);
  for (std::size_t n = 0; n < count; ++n) {
    if (n >= words.size()) {
      problem = LineProblem(file, "the line holds fewer than" + NumberText(static_cast<std::int64_t>(count)) +
                                      " numbers.");
      return false;
    }
    if (!ParseReal(words[n], values[n])) {
      problem = LineProblem(file, QuotedText(words[n]) + " is not a number.");
      return false;
    }
  }
  return true;
}

bool SkipEmptyParameterLine(TextFile& file, std::string& problem) {
  if (file.next >= file.lines.size()) return true;
  const auto words = SplitWords(file.lines[file.next]);
  if (words.empty() || UpperCase(words[0]) != "PARAMETER") return true;
  ++file.next;
  int count = 0;
  if (words.size() >= 2 && ParseInteger(words[1], count) && count <= 0) return true;
  problem = LineProblem(file, "parameters are not supported; please give the values of every stress period directly.");
  return false;
}

}  // namespace kestra
