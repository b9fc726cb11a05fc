#include "modelset/array_record.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "core/model_paths.h"

namespace kestra {
namespace {

bool IsWordSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == ',' || c == '('; }

std::optional<double> WordNumber(const std::vector<std::string>& words, std::size_t index) {
  if (index >= words.size()) return std::nullopt;
  return ParseNumber(words[index]);
}

// MODFLOW reads a multiplier of 0 as 1.
float Factor(const std::vector<std::string>& words, std::size_t index) {
  const double factor = WordNumber(words, index).value_or(1.0);
  return factor == 0 ? 1.0f : static_cast<float>(factor);
}

bool ReadValues(TextReader& reader, float factor, LayerGrid& grid) {
  for (int i = 1; i <= grid.nrow; ++i)
    for (int j = 1; j <= grid.ncol; ++j) {
      double value = 0;
      if (!reader.NextNumber(value)) return false;
      grid(j, i) = static_cast<float>(value) * factor;
    }
  return true;
}

bool ReadValuesFromFile(const std::string& path, float factor, LayerGrid& grid) {
  std::optional<TextReader> reader;
  return TextReader::FromFile(path, reader) && ReadValues(*reader, factor, grid);
}

}  // namespace

std::vector<std::string> ArrayRecordWords(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  for (char c : line + ' ') {
    if (!IsWordSeparator(c)) {
      word.push_back(c);
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  return words;
}

ArrayRecordResult ReadArrayRecord(TextReader& reader, const std::string& folderOf, LayerGrid& target, int ncol,
                                  int nrow) {
  const auto line = reader.NextLine();
  if (!line) return ArrayRecordResult::kFailed;
  const std::vector<std::string> words = ArrayRecordWords(*line);
  const std::string source = words.empty() ? "" : UpperCase(words[0]);
  LayerGrid grid;
  grid.Dimension(ncol, nrow);
  bool read = true;
  if (source == "0" || source == "CONSTANT") {
    const auto constant = WordNumber(words, 1);
    read = constant.has_value();
    grid.Fill(static_cast<float>(constant.value_or(0)));
  } else if (source == "OPEN/CLOSE") {
    read = words.size() > 1 && ReadValuesFromFile(BesideFile(folderOf, words[1]), Factor(words, 2), grid);
  } else if (source == "EXTERNAL") {
    target = std::move(grid);
    return ArrayRecordResult::kExternal;
  } else {
    read = ReadValues(reader, Factor(words, 1), grid);
  }
  if (!read) return ArrayRecordResult::kFailed;
  target = std::move(grid);
  return ArrayRecordResult::kRead;
}

}  // namespace kestra
