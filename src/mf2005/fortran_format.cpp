#include "mf2005/fortran_format.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "core/quoted_text.h"

namespace kestra {
namespace {

// Repeat counts and widths beyond these are typing errors, not formats.
constexpr int kMaxRepeat = 100000;
constexpr int kMaxExpandedFields = 1000000;
// Groups nest a level or two in real formats; the limit keeps a damaged
// record of thousands of "(" from exhausting the stack.
constexpr int kMaxGroupDepth = 32;

class FormatParser {
 public:
  explicit FormatParser(const std::string& text) : text_(UpperCase(text)) {}

  bool Parse(FortranFormat& format) {
    SkipBlanks();
    if (!Accept('(')) return false;
    std::vector<FortranField> fields;
    std::size_t lastGroupStart = 0;
    if (!ParseList(fields, 1, lastGroupStart)) return false;
    SkipBlanks();
    if (pos_ != text_.size()) return false;
    bool hasValue = false;
    for (const auto& field : fields) hasValue = hasValue || field.kind == FortranField::Kind::Value;
    if (!hasValue) return false;
    // Reading reverts to the last group only when it holds a value to read
    // (an empty group would leave nothing there); else to the start.
    const bool groupReads = std::any_of(fields.begin() + static_cast<std::ptrdiff_t>(std::min(lastGroupStart, fields.size())),
                                        fields.end(), [](const FortranField& field) {
                                          return field.kind == FortranField::Kind::Value;
                                        });
    format.fields = std::move(fields);
    format.reversionStart = groupReads ? lastGroupStart : 0;
    return true;
  }

 private:
  // Items up to the closing parenthesis. At the top level the start of the
  // last parenthesised group is remembered: Fortran's reversion point.
  bool ParseList(std::vector<FortranField>& fields, int depth, std::size_t& lastGroupStart) {
    if (depth > kMaxGroupDepth) return false;
    const bool topLevel = depth == 1;
    while (true) {
      SkipBlanks();
      if (Accept(')')) return true;
      if (Accept(',')) continue;
      if (pos_ >= text_.size()) return false;
      if (Accept('/')) {
        fields.push_back({FortranField::Kind::NextRecord, 0, 0, false});
        continue;
      }
      int repeat = 1;
      const bool hasRepeat = ReadNumber(repeat);
      if (hasRepeat && (repeat < 1 || repeat > kMaxRepeat)) return false;
      SkipBlanks();
      if (Accept('(')) {
        std::vector<FortranField> group;
        std::size_t ignored = 0;
        if (!ParseList(group, depth + 1, ignored)) return false;
        if (topLevel) lastGroupStart = fields.size();
        if (!Append(fields, group, repeat)) return false;
        continue;
      }
      std::vector<FortranField> one;
      if (!ParseDescriptor(hasRepeat ? repeat : 1, one)) return false;
      if (!Append(fields, one, (one.size() == 1 && one[0].kind != FortranField::Kind::Skip) ? repeat : 1))
        return false;
    }
  }

  // One descriptor after its repeat count. nX and kP take the number before
  // them as their own argument.
  bool ParseDescriptor(int number, std::vector<FortranField>& out) {
    const char letter = text_[pos_++];
    switch (letter) {
      case 'X':
        out.push_back({FortranField::Kind::Skip, number, 0, false});
        return true;
      case 'P':  // scale factor: no effect on values that carry an exponent
        return true;
      case 'I':
        return ParseWidth(out, false);
      case 'F':
      case 'D':
      case 'G':
        return ParseWidth(out, true);
      case 'E':
        if (pos_ < text_.size() && (text_[pos_] == 'S' || text_[pos_] == 'N')) ++pos_;
        return ParseWidth(out, true);
      default:
        return false;
    }
  }

  bool ParseWidth(std::vector<FortranField>& out, bool real) {
    int width = 0;
    if (!ReadNumber(width) || width < 1 || width > kMaxRepeat) return false;
    int decimals = 0;
    if (Accept('.') && !ReadNumber(decimals)) return false;
    if (real && Accept('E')) {
      int exponentDigits = 0;
      if (!ReadNumber(exponentDigits)) return false;
    }
    out.push_back({FortranField::Kind::Value, width, decimals, !real});
    return true;
  }

  static bool Append(std::vector<FortranField>& fields, const std::vector<FortranField>& items, int repeat) {
    if (fields.size() + items.size() * static_cast<std::size_t>(repeat) > kMaxExpandedFields) return false;
    for (int r = 0; r < repeat; ++r) fields.insert(fields.end(), items.begin(), items.end());
    return true;
  }

  bool ReadNumber(int& value) {
    SkipBlanks();
    const auto start = pos_;
    // All digits belong to the number; beyond the limit it only needs to
    // stay too large.
    long long number = 0;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_])))
      number = std::min<long long>(number * 10 + (text_[pos_++] - '0'), kMaxRepeat + 1LL);
    if (pos_ == start) return false;
    value = static_cast<int>(number);
    return true;
  }

  bool Accept(char c) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }

  std::string text_;
  std::size_t pos_ = 0;
};

// The exponent of a field: a whole number, kept as a double so that an
// absurd exponent gives an infinite or zero value rather than an overflow.
bool ParseExponent(const std::string& text, double& exponent) {
  return ParseReal(text, exponent) && std::isfinite(exponent) && exponent == std::floor(exponent);
}

// A value field as Fortran reads it with blanks ignored: without a decimal
// point the last `decimals` digits of the mantissa are the fraction.
bool ParseField(std::string_view field, const FortranField& format, double& value) {
  std::string text;
  for (char c : field)
    if (c != ' ') text.push_back(c);
  if (text.empty()) {
    value = 0;
    return true;
  }
  if (format.integer && text.find_first_of(".EeDd") != std::string::npos) return false;
  const int decimals = format.decimals;
  if (text.find('.') != std::string::npos || decimals == 0) return ParseReal(text, value);
  const auto exponentAt = text.find_first_of("EeDd");
  double mantissa = 0;
  if (!ParseReal(text.substr(0, exponentAt), mantissa)) return false;
  double exponent = 0;
  if (exponentAt != std::string::npos && !ParseExponent(text.substr(exponentAt + 1), exponent)) return false;
  value = mantissa * std::pow(10.0, exponent - decimals);
  return true;
}

}  // namespace

bool ParseFortranFormat(const std::string& text, FortranFormat& format) { return FormatParser(text).Parse(format); }

bool ReadFormattedValues(TextFile& file, const FortranFormat& format, std::size_t count, std::vector<double>& values,
                         std::string& problem) {
  values.resize(count);
  std::string line;
  const auto nextRecord = [&]() {
    if (NextLine(file, line)) return true;
    problem = LineProblem(file, "the file ends before all values were read.");
    return false;
  };
  if (count == 0) return true;
  if (!nextRecord()) return false;
  std::size_t column = 0;
  std::size_t fieldIndex = 0;
  std::size_t filled = 0;
  while (filled < count) {
    if (fieldIndex == format.fields.size()) {
      if (!nextRecord()) return false;
      column = 0;
      fieldIndex = format.reversionStart;
    }
    const FortranField& field = format.fields[fieldIndex++];
    if (field.kind == FortranField::Kind::NextRecord) {
      if (!nextRecord()) return false;
      column = 0;
      continue;
    }
    const std::string_view text =
        column < line.size() ? std::string_view(line).substr(column, field.width) : std::string_view();
    column += field.width;
    if (field.kind == FortranField::Kind::Skip) continue;
    if (!ParseField(text, field, values[filled])) {
      problem = LineProblem(file, QuotedText(text) + " is not a number.");
      return false;
    }
    ++filled;
  }
  return true;
}

}  // namespace kestra
