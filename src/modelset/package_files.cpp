#include "modelset/package_files.h"

#include <optional>

#include "core/number_format.h"
#include "core/text_reader.h"
#include "modelset/array_record.h"

namespace kestra {
namespace {

constexpr int kRateWord = 4;         // wells: layer, row, column, rate
constexpr int kConductanceWord = 5;  // the others: layer, row, column, stage or elevation, conductance

struct PackageKind {
  const char* key;
  std::string PackagePaths::*path;
  int valueWord;
  bool sinkWhenNegativeOnly;  // a well sinks water only when it pumps
};

constexpr PackageKind kPackages[] = {
    {"WEL", &PackagePaths::wells, kRateWord, true},
    {"RIV", &PackagePaths::rivers, kConductanceWord, false},
    {"STR", &PackagePaths::streams, kConductanceWord, false},
    {"DRN", &PackagePaths::drains, kConductanceWord, false},
    {"GHB", &PackagePaths::generalHead, kConductanceWord, false},
};

std::optional<int> WordInteger(const std::vector<std::string>& words, std::size_t index) {
  if (index >= words.size()) return std::nullopt;
  const auto number = ParseNumber(words[index]);
  if (!number) return std::nullopt;
  const auto rounded = RoundToInt32(*number);
  if (!rounded) return std::nullopt;
  return *rounded;
}

std::optional<PackageCell> ParseCell(const std::string& line, int valueWord) {
  const std::vector<std::string> words = ArrayRecordWords(line);
  const auto layer = WordInteger(words, 0), row = WordInteger(words, 1), column = WordInteger(words, 2);
  if (!layer || !row || !column || valueWord > static_cast<int>(words.size())) return std::nullopt;
  const auto value = ParseNumber(words[valueWord - 1]);
  if (!value) return std::nullopt;
  return PackageCell{*layer, *row, *column, static_cast<float>(*value)};
}

// Reads one period's ITMP and list; false when reading has to stop.
bool ReadPeriodList(TextReader& text, int valueWord, std::vector<PackageCell>& cells) {
  const auto itmpLine = text.NextLine();
  if (!itmpLine) return false;
  const auto itmp = WordInteger(ArrayRecordWords(*itmpLine), 0);
  if (!itmp) return false;
  if (*itmp < 0) return true;
  cells.clear();
  for (int n = 0; n < *itmp; ++n) {
    const auto line = text.NextLine();
    const auto cell = line ? ParseCell(*line, valueWord) : std::nullopt;
    if (!cell) return false;
    cells.push_back(*cell);
  }
  return true;
}

const PackageKind* KindFor(const std::string& key) {
  for (const auto& kind : kPackages)
    if (key == kind.key) return &kind;
  return nullptr;
}

}  // namespace

std::vector<PackageCell> ReadPackageList(const std::string& path, int valueWord, int period) {
  std::vector<PackageCell> cells;
  std::optional<TextReader> text;
  if (path.empty() || !TextReader::FromFile(path, text)) return cells;
  text->NextLine();  // maximum cell count and budget unit
  for (int p = 1; p <= period; ++p)
    if (!ReadPeriodList(*text, valueWord, cells)) break;
  return cells;
}

std::optional<std::vector<PackageCell>> ListedPackageCells(const PackagePaths& packages, const std::string& key,
                                                           int period) {
  const PackageKind* kind = KindFor(key);
  if (!kind || (packages.*(kind->path)).empty()) return std::nullopt;
  return ReadPackageList(packages.*(kind->path), kind->valueWord, period);
}

void LoadSinkCellsFromPackages(ModelState& state, const PackagePaths& packages, const PackageKeys& skipped) {
  const GridShape shape = state.Shape();
  for (const auto& kind : kPackages) {
    if (skipped.contains(kind.key)) continue;
    for (const PackageCell& cell : ReadPackageList(packages.*(kind.path), kind.valueWord, state.CurrentPeriod)) {
      const bool sink = kind.sinkWhenNegativeOnly ? cell.value < 0 : cell.value != 0;
      if (sink && shape.Contains(cell.column, cell.row, cell.layer))
        state.SINKCODE(cell.column, cell.row, cell.layer) = -1;
    }
  }
}

PackageKeys ListedPackages(const PackagePaths& packages) {
  PackageKeys listed;
  for (const auto& kind : kPackages)
    if (!(packages.*(kind.path)).empty()) listed.insert(kind.key);
  return listed;
}

}  // namespace kestra
