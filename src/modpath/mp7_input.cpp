#include "modpath/mp7_input.h"

#include <cmath>
#include <filesystem>

#include "core/number_format.h"
#include "core/text_reader.h"

namespace kestra {
namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '\r'; }

// A layer array holds at most this many values: far more than any grid
// the reader can open, small enough that a count in a damaged file cannot
// exhaust memory.
constexpr long long kMaxLayerValues = 100'000'000;

}  // namespace

std::vector<std::string> Mp7Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t n = 0;
  while (n < line.size()) {
    while (n < line.size() && IsSeparator(line[n])) ++n;
    if (n >= line.size()) break;
    if (line[n] == '\'' || line[n] == '"') {
      const char quote = line[n];
      const std::size_t close = line.find(quote, n + 1);
      const std::size_t end = close == std::string::npos ? line.size() : close;
      fields.push_back(line.substr(n + 1, end - n - 1));
      n = end + 1;
      continue;
    }
    const std::size_t start = n;
    while (n < line.size() && !IsSeparator(line[n])) ++n;
    fields.push_back(line.substr(start, n - start));
  }
  return fields;
}

Mp7Input::Mp7Input(std::string path, const std::string& text) : path_(std::move(path)) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines_.push_back(std::move(line));
    start = end + 1;
  }
}

std::optional<Mp7Input> Mp7Input::Open(const std::string& path, std::string& problem) {
  const std::optional<std::string> text = ReadTextFile(path);
  if (!text) {
    problem = path + " cannot be read.";
    return std::nullopt;
  }
  return Mp7Input(path, *text);
}

bool Mp7Input::NextLine(std::string& line) {
  while (next_ < lines_.size()) {
    const std::string& candidate = lines_[next_++];
    const std::size_t first = candidate.find_first_not_of(" \t");
    if (first != std::string::npos && candidate[first] == '#') continue;
    line = candidate;
    return true;
  }
  return false;
}

bool Mp7Input::Fail(const std::string& text) {
  problem_ = path_ + ", line " + std::to_string(next_) + ": " + text;
  return false;
}

std::string Mp7Input::Folder() const { return std::filesystem::path(path_).parent_path().string(); }

bool Mp7Input::NextFields(std::vector<std::string>& fields, const std::string& what) {
  std::string line;
  if (!NextLine(line)) {
    problem_ = path_ + " ends before " + what + ".";
    return false;
  }
  fields = Mp7Fields(line);
  return true;
}

bool Mp7Input::Numbers(std::size_t count, std::vector<double>& values, const std::string& what) {
  values.clear();
  std::vector<std::string> fields;
  while (values.size() < count) {
    if (!NextFields(fields, what)) return false;
    for (std::size_t n = 0; n < fields.size() && values.size() < count; ++n) {
      const std::optional<double> value = ParseNumber(fields[n]);
      if (!value || !std::isfinite(*value)) return Fail(what + ": \"" + fields[n] + "\" is not a number.");
      values.push_back(*value);
    }
  }
  return true;
}

bool Mp7Input::Number(double& value, const std::string& what) {
  std::vector<double> values;
  if (!Numbers(1, values, what)) return false;
  value = values[0];
  return true;
}

bool Mp7Input::Integers(std::size_t count, std::vector<int>& values, const std::string& what, int low, int high) {
  std::vector<double> numbers;
  if (!Numbers(count, numbers, what)) return false;
  values.clear();
  for (const double number : numbers) {
    if (number != std::floor(number) || number < low || number > high)
      return Fail(what + ": " + TrimmedNumberText(number) + " is not a whole number from " + TrimmedNumberText(low) + " to " +
                  TrimmedNumberText(high) + ".");
    values.push_back(static_cast<int>(number));
  }
  return true;
}

bool Mp7Input::Integer(int& value, const std::string& what, int low, int high) {
  std::vector<int> values;
  if (!Integers(1, values, what, low, high)) return false;
  value = values[0];
  return true;
}

bool Mp7Input::Word(std::string& word, const std::string& what) {
  std::vector<std::string> fields;
  if (!NextFields(fields, what)) return false;
  if (fields.empty()) return Fail(what + " is missing.");
  word = fields[0];
  return true;
}

bool ReadMp7LayerArray(Mp7Input& input, int rows, int columns, Mp7LayerArray& layer, const std::string& what) {
  std::string line;
  if (!input.NextLine(line)) return input.Fail("the file ends before " + what + ".");
  const std::vector<std::string> fields = Mp7Fields(line);
  const std::string keyword = fields.empty() ? "" : UpperCase(fields[0]);
  const std::size_t valueField = keyword == "OPEN/CLOSE" ? 2 : 1;
  const bool known = keyword == "CONSTANT" || keyword == "INTERNAL" || keyword == "OPEN/CLOSE";
  const std::optional<double> number = known && fields.size() > valueField ? ParseNumber(fields[valueField]) : std::nullopt;
  if (!number.has_value() || !std::isfinite(number.value()))
    return input.Fail(what + ": \"" + line + "\" is not CONSTANT value, INTERNAL multiplier or OPEN/CLOSE file multiplier.");
  const double value = number.value();
  const long long count = static_cast<long long>(rows) * columns;
  if (rows < 1 || columns < 1 || count > kMaxLayerValues) return input.Fail(what + ": the grid is too large.");
  layer = {};
  if (keyword == "CONSTANT") {
    layer.constant = value;
    return true;
  }
  layer.multiplier = value;
  if (keyword == "OPEN/CLOSE") {
    layer.kind = Mp7LayerArray::Kind::External;
    layer.path = (std::filesystem::path(input.Folder()) / fields[1]).string();
    return true;
  }
  layer.kind = Mp7LayerArray::Kind::Internal;
  return input.Numbers(static_cast<std::size_t>(count), layer.values, what);
}

bool ReadMp7Array(Mp7Input& input, const GridShape& shape, std::vector<Mp7LayerArray>& layers, const std::string& what) {
  layers.assign(static_cast<std::size_t>(shape.nlay), {});
  for (int k = 1; k <= shape.nlay; ++k)
    if (!ReadMp7LayerArray(input, shape.nrow, shape.ncol, layers[static_cast<std::size_t>(k - 1)],
                           what + " of layer " + TrimmedNumberText(k)))
      return false;
  return true;
}

bool Mp7LayerValues(const Mp7LayerArray& layer, int rows, int columns, std::vector<double>& values,
                    std::string& problem) {
  const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns);
  switch (layer.kind) {
    case Mp7LayerArray::Kind::Constant:
      values.assign(count, layer.constant);
      return true;
    case Mp7LayerArray::Kind::Internal:
      values = layer.values;
      break;
    case Mp7LayerArray::Kind::External: {
      std::optional<Mp7Input> file = Mp7Input::Open(layer.path, problem);
      if (!file) return false;
      if (!file->Numbers(count, values, "the array values")) {
        problem = file->Problem();
        return false;
      }
      break;
    }
  }
  for (double& value : values) value *= layer.multiplier;
  return true;
}

}  // namespace kestra
