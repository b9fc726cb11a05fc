#include "mf6/list_block.h"

#include <cmath>

#include "core/model_paths.h"
#include "core/number_format.h"
#include "core/text_reader.h"

namespace kestra {
namespace {

constexpr std::size_t kCellIdWords = 3;

bool WholeNumber(const std::string& word, int& value) {
  const auto number = ParseNumber(word);
  if (!number || *number != std::floor(*number) || std::abs(*number) > 2.0e9) return false;
  value = static_cast<int>(*number);
  return true;
}

bool ReadRow(const Mf6InputFile& file, std::size_t line, const std::vector<std::string>& words, std::size_t valueCount,
             bool boundNames, Mf6List& list, std::string& problem) {
  Mf6ListRow row;
  if (words.size() < kCellIdWords + valueCount || !WholeNumber(words[0], row.layer) ||
      !WholeNumber(words[1], row.row) || !WholeNumber(words[2], row.column)) {
    problem = Mf6LineProblem(file, line, "a row needs a cellid (layer, row, column) and" + NumberText(static_cast<std::int64_t>(valueCount)) +
                                             " values.");
    return false;
  }
  row.values.assign(valueCount, 0.0);
  for (std::size_t n = 0; n < valueCount; ++n) {
    const auto value = ParseNumber(words[kCellIdWords + n]);
    if (value) row.values[n] = *value;
    else ++list.timeSeriesValues;
  }
  if (boundNames && words.size() > kCellIdWords + valueCount) row.boundName = words[kCellIdWords + valueCount];
  list.rows.push_back(std::move(row));
  return true;
}

bool ReadLines(const Mf6InputFile& file, std::size_t first, std::size_t end, std::size_t valueCount, bool boundNames,
               Mf6List& list, std::string& problem) {
  for (std::size_t line = first; line < end; ++line) {
    const auto words = Mf6Words(file.lines[line].text);
    if (!words.empty() && UpperCase(words[0]) == "OPEN/CLOSE") {
      Mf6InputFile listFile;
      if (words.size() < 2) {
        problem = Mf6LineProblem(file, line, "OPEN/CLOSE names no file.");
        return false;
      }
      if (!LoadMf6Lines(Mf6Path(FolderOf(file.path), words[1]), listFile, problem) ||
          !ReadLines(listFile, 0, listFile.lines.size(), valueCount, boundNames, list, problem))
        return false;
      continue;
    }
    if (!ReadRow(file, line, words, valueCount, boundNames, list, problem)) return false;
  }
  return true;
}

}  // namespace

bool ReadMf6List(const Mf6InputFile& file, const Mf6Block& block, std::size_t valueCount, bool boundNames,
                 Mf6List& list, std::string& problem) {
  list = {};
  return ReadLines(file, block.first, block.end, valueCount, boundNames, list, problem);
}

}  // namespace kestra
