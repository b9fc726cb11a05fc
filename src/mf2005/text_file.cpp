#include "mf2005/text_file.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>

#include "core/number_format.h"
#include "core/quoted_text.h"
#include "core/text_reader.h"

namespace kestra {
namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ','; }

bool IsWhole(double value) {
  return std::isfinite(value) && value == std::floor(value) && std::fabs(value) <= std::numeric_limits<int>::max();
}

// Splits "r*v" into its repeat count and value word; false for a plain word.
bool SplitRepeat(std::string_view word, int& repeat, std::string_view& valueWord) {
  const auto star = word.find('*');
  if (star == std::string_view::npos || star == 0) return false;
  if (!ParseInteger(word.substr(0, star), repeat) || repeat < 1) return false;
  valueWord = word.substr(star + 1);
  return true;
}

// The word of `line` that starts at or after `pos`, without its quotes;
// `pos` moves past it. False when only separators are left.
bool NextWord(std::string_view line, std::size_t& pos, std::string_view& word) {
  while (pos < line.size() && IsSeparator(line[pos])) ++pos;
  if (pos >= line.size()) return false;
  const char quote = line[pos];
  if (quote == '\'' || quote == '"') {
    const auto close = line.find(quote, pos + 1);
    const auto end = close == std::string_view::npos ? line.size() : close;
    word = line.substr(pos + 1, end - pos - 1);
    pos = end + 1;
    return true;
  }
  const auto start = pos;
  while (pos < line.size() && !IsSeparator(line[pos])) ++pos;
  word = line.substr(start, pos - start);
  return true;
}

}  // namespace

bool LoadTextFile(const std::string& path, TextFile& file) {
  if (!IsTextInput(path)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  TextFile loaded;
  loaded.path = path;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    loaded.lines.push_back(std::move(line));
  }
  if (in.bad()) return false;
  file = std::move(loaded);
  return true;
}

bool NextLine(TextFile& file, std::string& line) {
  if (file.next >= file.lines.size()) return false;
  line = file.lines[file.next++];
  return true;
}

void SkipCommentLines(TextFile& file) {
  while (file.next < file.lines.size() && !file.lines[file.next].empty() && file.lines[file.next][0] == '#')
    ++file.next;
}

std::string FileProblem(const TextFile& file, const std::string& text) {
  return std::filesystem::path(file.path).filename().string() + ": " + text;
}

std::string LineProblem(const TextFile& file, const std::string& text) {
  return std::filesystem::path(file.path).filename().string() + ", line" +
         NumberText(static_cast<std::int64_t>(file.next)) + ": " + text;
}

std::vector<std::string> SplitWords(std::string_view line) {
  std::vector<std::string> words;
  std::size_t pos = 0;
  std::string_view word;
  while (NextWord(line, pos, word)) words.emplace_back(word);
  return words;
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

namespace {

// A word of digits with an optional minus sign, the most common word of the
// integer arrays: its value straight from the digits. Up to 15 digits the
// value is exact, as the general parse gives it.
bool ParsePlainWholeNumber(std::string_view word, double& value) {
  constexpr std::size_t kExactDigits = 15;
  const bool negative = !word.empty() && word[0] == '-';
  const std::string_view digits = word.substr(negative ? 1 : 0);
  if (digits.empty() || digits.size() > kExactDigits) return false;
  std::int64_t number = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  value = negative ? -static_cast<double>(number) : static_cast<double>(number);
  return true;
}

}  // namespace

bool ParseReal(std::string_view word, double& value) {
  if (!word.empty() && word[0] == '+') word.remove_prefix(1);
  if (word.empty() || word[0] == '+') return false;
  if (ParsePlainWholeNumber(word, value)) return true;
  const char* end = word.data() + word.size();
  const auto result = std::from_chars(word.data(), end, value);
  if (result.ec == std::errc() && result.ptr == end) return true;
  // Fortran's double-precision exponent letter, which stops the read: the
  // word is read again as a copy with E in its place.
  if (result.ptr == end || (*result.ptr != 'd' && *result.ptr != 'D')) return false;
  std::string withE(word);
  for (char& c : withE)
    if (c == 'd' || c == 'D') c = 'E';
  const char* copyEnd = withE.data() + withE.size();
  const auto reread = std::from_chars(withE.data(), copyEnd, value);
  return reread.ec == std::errc() && reread.ptr == copyEnd;
}

bool ParseInteger(std::string_view word, int& value) {
  double real = 0;
  if (!ParseReal(word, real) || !IsWhole(real)) return false;
  value = static_cast<int>(real);
  return true;
}

bool ReadFreeValues(TextFile& file, std::size_t count, std::vector<double>& values, std::string& problem) {
  values.resize(count);
  std::size_t filled = 0;
  while (filled < count) {
    if (file.next >= file.lines.size()) {
      problem = LineProblem(file, "the file ends before all values were read.");
      return false;
    }
    const std::string_view line = file.lines[file.next++];
    std::size_t pos = 0;
    std::string_view word;
    while (filled < count && NextWord(line, pos, word)) {
      if (word == "/") return true;
      int repeat = 1;
      std::string_view valueWord = word;
      SplitRepeat(word, repeat, valueWord);
      double value = 0;
      if (!ParseReal(valueWord, value)) {
        problem = LineProblem(file, QuotedText(word) + " is not a number.");
        return false;
      }
      for (int r = 0; r < repeat && filled < count; ++r) values[filled++] = value;
    }
  }
  return true;
}

bool WholeNumber(const TextFile& file, double value, int& number, std::string& problem) {
  if (!IsWhole(value)) {
    problem = LineProblem(file, "a whole number is needed instead of" + NumberText(value) + ".");
    return false;
  }
  number = static_cast<int>(value);
  return true;
}

bool ReadFreeIntegers(TextFile& file, std::size_t count, std::vector<int>& values, std::string& problem) {
  std::vector<double> reals;
  if (!ReadFreeValues(file, count, reals, problem)) return false;
  values.resize(count);
  for (std::size_t n = 0; n < count; ++n)
    if (!WholeNumber(file, reals[n], values[n], problem)) return false;
  return true;
}

}  // namespace kestra
