#include "mf2005/flopy_header.h"

#include <cctype>
#include <cmath>
#include <map>
#include <numbers>

#include "core/text_reader.h"

namespace kestra {
namespace {

const char* const kKeys[] = {"xll", "yll", "xul", "yul", "rotation", "crs", "epsg", "proj4_str", "units", "lenuni"};

bool IsKeyStart(const std::string& text, std::size_t at, const std::string& key) {
  if (text.compare(at, key.size(), key) != 0) return false;
  std::size_t colon = at + key.size();
  while (colon < text.size() && text[colon] == ' ') ++colon;
  const bool afterBreak = at == 0 || text[at - 1] == ';' || text[at - 1] == ',' || text[at - 1] == ' ';
  return afterBreak && colon < text.size() && text[colon] == ':';
}

// Every known item of one line: a value runs to the next known key, so a
// PROJ string's commas and an "EPSG:32633" stay whole.
void ReadItems(const std::string& line, std::map<std::string, std::string>& items) {
  std::vector<std::pair<std::size_t, std::string>> starts;
  for (std::size_t at = 0; at < line.size(); ++at)
    for (const char* key : kKeys)
      if (IsKeyStart(line, at, key)) starts.emplace_back(at, key);
  for (std::size_t n = 0; n < starts.size(); ++n) {
    const auto& [at, key] = starts[n];
    const std::size_t from = line.find(':', at) + 1;
    const std::size_t to = n + 1 < starts.size() ? starts[n + 1].first : line.size();
    std::string value = line.substr(from, to - from);
    while (!value.empty() && (std::isspace(static_cast<unsigned char>(value.back())) || value.back() == ';' ||
                              value.back() == ','))
      value.pop_back();
    while (!value.empty() && std::isspace(static_cast<unsigned char>(value.front()))) value.erase(0, 1);
    items[key] = value;
  }
}

std::optional<double> NumberItem(const std::map<std::string, std::string>& items, const std::string& key) {
  const auto found = items.find(key);
  if (found == items.end()) return std::nullopt;
  return ParseFiniteNumber(found->second);
}

std::string CrsItem(const std::map<std::string, std::string>& items) {
  for (const char* key : {"crs", "epsg", "proj4_str"}) {
    const auto found = items.find(key);
    if (found == items.end() || found->second.empty() || UpperCase(found->second) == "NONE") continue;
    if (std::string(key) == "epsg" && ParseNumber(found->second)) return "EPSG:" + found->second;
    return found->second;
  }
  return "";
}

}  // namespace

FlopyPlace ReadFlopyPlace(const std::vector<std::string>& comments, double gridLength) {
  std::map<std::string, std::string> items;
  for (const std::string& line : comments) ReadItems(line, items);
  FlopyPlace place;
  if (const auto lenuni = NumberItem(items, "lenuni")) place.lengthUnit = LengthUnitFromCode(static_cast<int>(*lenuni));
  if (place.lengthUnit == LengthUnit::Undefined && items.contains("units"))
    place.lengthUnit = LengthUnitNamed(items["units"]);
  const double rotation = NumberItem(items, "rotation").value_or(0);
  const double angle = rotation * std::numbers::pi / 180.0;
  WorldPosition position{0, 0, rotation, CrsItem(items)};
  if (const auto xll = NumberItem(items, "xll"), yll = NumberItem(items, "yll"); xll && yll) {
    position.xOrigin = *xll;
    position.yOrigin = *yll;
  } else if (const auto xul = NumberItem(items, "xul"), yul = NumberItem(items, "yul"); xul && yul) {
    position.xOrigin = *xul + gridLength * std::sin(angle);
    position.yOrigin = *yul - gridLength * std::cos(angle);
  } else if (position.crs.empty()) {
    return place;
  }
  place.position = position;
  return place;
}

}  // namespace kestra
