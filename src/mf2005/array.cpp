#include "mf2005/array.h"

#include <cmath>
#include <limits>

#include "core/number_format.h"
#include "core/quoted_text.h"
#include "mf2005/fortran_format.h"

namespace kestra {
namespace {

constexpr const char* kBinaryArrayRefused =
    "binary arrays are not supported; please give this array as text (CONSTANT, INTERNAL, EXTERNAL or OPEN/CLOSE).";

// Where the values of one array come from.
struct ArraySource {
  bool isConstant = false;
  double constant = 0;
  double factor = 1;
  std::string format;           // FMTIN, upper case
  TextFile* file = nullptr;     // the file the values are read from
  TextFile closedAfterwards;    // an OPEN/CLOSE file, read from its start
};

double FactorWord(const std::vector<std::string>& words, std::size_t index, bool& ok) {
  double factor = 0;
  ok = index >= words.size() || ParseReal(words[index], factor);
  return factor;
}

// FMTIN in upper case. A format with commas, such as (1X,10F10.3), was
// split into words by them; its pieces are joined again.
std::string FormatWord(const std::vector<std::string>& words, std::size_t index) {
  if (index >= words.size()) return {};
  std::string format = UpperCase(words[index]);
  if (format.empty() || format[0] != '(') return format;
  while (format.find(')') == std::string::npos && ++index < words.size()) format += "," + UpperCase(words[index]);
  return format;
}

bool IsBinaryFormat(const std::string& format) { return format == "(BINARY)"; }

bool ParseFreeRecord(const std::vector<std::string>& words, PackageInput& input, Mf2005Files& files,
                     ArraySource& source, std::string& problem) {
  const std::string keyword = UpperCase(words[0]);
  bool ok = true;
  if (keyword == "CONSTANT") {
    source.isConstant = true;
    source.constant = FactorWord(words, 1, ok);
  } else if (keyword == "INTERNAL") {
    source.factor = FactorWord(words, 1, ok);
    source.format = FormatWord(words, 2);
    source.file = &input.file;
  } else {
    // EXTERNAL and OPEN/CLOSE name their source first, then the factor and format.
    source.factor = FactorWord(words, 2, ok);
    source.format = FormatWord(words, 3);
    int unit = 0;
    if (words.size() < 2 || (keyword == "EXTERNAL" && !ParseInteger(words[1], unit))) {
      problem = LineProblem(input.file, keyword + " needs a " + (keyword == "EXTERNAL" ? "unit number." : "file name."));
      return false;
    }
    if (ok && !IsBinaryFormat(source.format)) {
      if (keyword == "EXTERNAL") {
        source.file = FormattedUnitFile(input, files, unit, problem);
      } else if (LoadOpenCloseFile(input, files, words[1], source.closedAfterwards, problem)) {
        source.file = &source.closedAfterwards;
      }
      if (source.file == nullptr) return false;
    }
  }
  if (!ok) {
    problem = LineProblem(input.file, "the array factor is not a number.");
    return false;
  }
  if (!source.isConstant && IsBinaryFormat(source.format)) {
    problem = LineProblem(input.file, kBinaryArrayRefused);
    return false;
  }
  return true;
}

std::string Columns(const std::string& line, std::size_t first, std::size_t width) {
  return first < line.size() ? line.substr(first, width) : std::string();
}

// LOCAT (I10), CNSTNT (F10.0 or I10), FMTIN (A20), IPRN (I10).
bool ParseFixedRecord(const std::string& line, PackageInput& input, Mf2005Files& files, ArraySource& source,
                      std::string& problem) {
  std::vector<double> numbers;
  TextFile record{input.file.path, {Columns(line, 0, 20)}, 0};
  FortranFormat locatAndFactor;
  ParseFortranFormat("(I10,F10.0)", locatAndFactor);
  if (!ReadFormattedValues(record, locatAndFactor, 2, numbers, problem) ||
      std::fabs(numbers[0]) > std::numeric_limits<int>::max() || numbers[0] != std::floor(numbers[0])) {
    problem = LineProblem(input.file, QuotedText(line) + " is not an array control record.");
    return false;
  }
  const int locat = static_cast<int>(numbers[0]);
  const double factor = numbers[1];
  source.format = UpperCase(Columns(line, 20, 20));
  source.format.erase(0, source.format.find_first_not_of(' '));
  source.format.erase(source.format.find_last_not_of(' ') + 1);
  if (locat == 0) {
    source.isConstant = true;
    source.constant = factor;
    return true;
  }
  if (locat < 0 || IsBinaryFormat(source.format)) {
    problem = LineProblem(input.file, kBinaryArrayRefused);
    return false;
  }
  source.factor = factor;
  source.file = FormattedUnitFile(input, files, locat, problem);
  return source.file != nullptr;
}

bool ReadRow(ArraySource& source, const FortranFormat* format, int ncol, std::vector<double>& row,
             std::string& problem) {
  if (format == nullptr) return ReadFreeValues(*source.file, static_cast<std::size_t>(ncol), row, problem);
  return ReadFormattedValues(*source.file, *format, static_cast<std::size_t>(ncol), row, problem);
}

// The values as read and the factor still to apply (0 for a constant, whose
// value is final).
bool ReadArrayValues(PackageInput& input, Mf2005Files& files, int ncol, int nrow, std::vector<double>& values,
                     double& factor, std::string& problem) {
  std::string line;
  if (!NextLine(input.file, line)) {
    problem = LineProblem(input.file, "the file ends where an array control record is expected.");
    return false;
  }
  const auto words = SplitWords(line);
  const std::string keyword = words.empty() ? std::string() : UpperCase(words[0]);
  ArraySource source;
  const bool isFree =
      keyword == "CONSTANT" || keyword == "INTERNAL" || keyword == "EXTERNAL" || keyword == "OPEN/CLOSE";
  if (!(isFree ? ParseFreeRecord(words, input, files, source, problem)
               : ParseFixedRecord(line, input, files, source, problem)))
    return false;
  const std::size_t count = static_cast<std::size_t>(ncol) * static_cast<std::size_t>(nrow);
  if (source.isConstant) {
    values.assign(count, source.constant);
    factor = 0;
    return true;
  }
  FortranFormat format;
  const bool listDirected = source.format.empty() || source.format == "(FREE)" || source.format == "*";
  if (!listDirected && !ParseFortranFormat(source.format, format)) {
    problem = LineProblem(input.file, "the format " + QuotedText(source.format) + " cannot be read.");
    return false;
  }
  values.assign(count, 0.0);
  std::vector<double> row;
  for (int i = 0; i < nrow; ++i) {
    if (!ReadRow(source, listDirected ? nullptr : &format, ncol, row, problem)) return false;
    std::copy(row.begin(), row.end(), values.begin() + static_cast<std::ptrdiff_t>(i) * ncol);
  }
  factor = source.factor;
  return true;
}

}  // namespace

TextFile* FormattedUnitFile(PackageInput& input, Mf2005Files& files, int unit, std::string& problem) {
  if (unit == input.unit) return &input.file;
  const NameFileEntry* entry = FindUnit(files.nameFile, unit);
  if (entry == nullptr) {
    problem = LineProblem(input.file, "unit" + NumberText(unit) + " is not listed in the name file.");
    return nullptr;
  }
  if (entry->fileType == "DATA(BINARY)") {
    problem = LineProblem(input.file, kBinaryArrayRefused);
    return nullptr;
  }
  auto open = files.openUnits.find(unit);
  if (open == files.openUnits.end()) {
    TextFile file;
    if (!LoadTextFile(entry->path, file)) {
      problem = LineProblem(input.file, "the file " + entry->path + " cannot be read.");
      return nullptr;
    }
    open = files.openUnits.emplace(unit, std::move(file)).first;
  }
  return &open->second;
}

bool LoadOpenCloseFile(const PackageInput& input, const Mf2005Files& files, const std::string& name, TextFile& file,
                       std::string& problem) {
  const std::string path = ResolveModelFile(files.nameFile.path, name);
  if (LoadTextFile(path, file)) return true;
  problem = LineProblem(input.file, "the file " + path + " cannot be read.");
  return false;
}

bool ReadRealArray(PackageInput& input, Mf2005Files& files, int ncol, int nrow, std::vector<float>& values,
                   std::string& problem) {
  std::vector<double> read;
  double factor = 0;
  if (!ReadArrayValues(input, files, ncol, nrow, read, factor, problem)) return false;
  // MODFLOW holds the values and the factor as 32-bit reals and multiplies in them.
  values.resize(read.size());
  const float factor32 = static_cast<float>(factor);
  for (std::size_t n = 0; n < read.size(); ++n)
    values[n] = factor32 != 0 ? static_cast<float>(read[n]) * factor32 : static_cast<float>(read[n]);
  return true;
}

bool ReadIntegerArray(PackageInput& input, Mf2005Files& files, int ncol, int nrow, std::vector<int>& values,
                      std::string& problem) {
  std::vector<double> read;
  double factor = 0;
  if (!ReadArrayValues(input, files, ncol, nrow, read, factor, problem)) return false;
  values.resize(read.size());
  for (std::size_t n = 0; n < read.size(); ++n)
    if (!WholeNumber(input.file, factor != 0 ? read[n] * factor : read[n], values[n], problem)) return false;
  return true;
}

}  // namespace kestra
