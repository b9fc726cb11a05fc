#include "export/dxf_map_file.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>

#include "core/number_format.h"
#include "core/text_reader.h"

namespace kestra {
namespace {

constexpr int kClosedFlag = 1;  // bit of group 70 of POLYLINE and LWPOLYLINE
// The progress callback runs once per this many lines: cheap on large maps.
constexpr std::size_t kLinesPerProgress = 4096;

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// A number of type T filling the whole text.
template <typename T>
std::optional<T> Whole(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  T value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

// A finite number filling the whole text (a 32-bit float, as the maps hold).
std::optional<float> WholeNumber(std::string_view text) {
  const std::optional<double> value = Whole<double>(text);
  if (!value || !std::isfinite(static_cast<float>(*value))) return std::nullopt;
  return static_cast<float>(*value);
}

// Group code and value pairs of the file, one whole line each.
class PairReader {
 public:
  PairReader(std::string_view text, const ReadProgress& progress) : text_(text), progress_(progress) {}

  // The next pair; false at the end of the file, on a code that is not an
  // integer (problemLine set) or when the progress asks to break.
  bool Next(int& code, std::string_view& value) {
    std::string_view codeLine;
    if (!NextLine(codeLine)) return false;
    const std::optional<int> parsed = Whole<int>(Trim(codeLine));
    if (!parsed) {
      problemLine = line_;
      return false;
    }
    code = *parsed;
    if (!NextLine(value)) return false;
    if (!value.empty() && value.back() == '\r') value.remove_suffix(1);
    return true;
  }

  std::size_t problemLine = 0;
  bool broken = false;

 private:
  bool NextLine(std::string_view& line) {
    if (position_ >= text_.size() || broken) return false;
    const std::size_t end = text_.find('\n', position_);
    const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
    line = text_.substr(position_, stop - position_);
    position_ = stop + 1;
    ++line_;
    if (progress_ && line_ % kLinesPerProgress == 0) {
      const int percent = static_cast<int>(std::lround(100.0 * std::min(position_, text_.size()) / text_.size()));
      broken = progress_(percent);
    }
    return !broken;
  }

  std::string_view text_;
  const ReadProgress& progress_;
  std::size_t position_ = 0;
  std::size_t line_ = 0;
};

// The groups of one entity as read up to its ending code 0.
struct EntityGroups {
  std::map<int, float> numbers;  // the last value of each numeric group
  std::vector<MapPoint> vertices;  // 10/20 in order (LWPOLYLINE)
  std::optional<std::string> text;
  bool bad = false;  // a numeric group held something else
  std::optional<std::string_view> next;  // the name after the ending code 0; empty at the end

  bool Has(std::initializer_list<int> codes) const {
    for (int code : codes)
      if (!numbers.contains(code)) return false;
    return true;
  }
  float At(int code, float otherwise = 0) const {
    const auto found = numbers.find(code);
    return found == numbers.end() ? otherwise : found->second;
  }
  // A 16-bit integer group (colour, flags); one whose value is no such
  // integer counts as absent.
  int Integer(int code) const { return RoundToInt16(At(code)).value_or(0); }
  int Color() const { return Integer(62); }
};

bool IsNumericCode(int code) {
  return (code >= 10 && code <= 13) || (code >= 20 && code <= 23) || code == 40 || code == 41 || code == 50 ||
         code == 51 || code == 62 || code == 70;
}

EntityGroups ReadGroups(PairReader& reader) {
  EntityGroups groups;
  int code = 0;
  std::string_view value;
  while (reader.Next(code, value)) {
    if (code == 0) {
      groups.next = Trim(value);
      return groups;
    }
    if (code == 1) {
      groups.text = std::string(value);
      continue;
    }
    if (!IsNumericCode(code)) continue;
    const std::optional<float> number = WholeNumber(Trim(value));
    if (!number) {
      groups.bad = true;
      continue;
    }
    groups.numbers[code] = *number;
    if (code == 10) groups.vertices.push_back({*number, 0});
    if (code == 20 && !groups.vertices.empty()) groups.vertices.back().y = *number;
  }
  return groups;
}

MapPoint PointOf(const EntityGroups& g, int xCode) { return {g.At(xCode), g.At(xCode + 10)}; }

// Builds the entity of a complete set of groups; false when it lacks what it needs.
bool MakeEntity(std::string_view name, const EntityGroups& g, MapEntity& e) {
  e.colorIndex = g.Color();
  if (name == "POINT" && g.Has({10, 20})) {
    e.kind = MapEntityKind::Point;
    e.points = {PointOf(g, 10)};
  } else if (name == "LINE" && g.Has({10, 20, 11, 21})) {
    e.kind = MapEntityKind::Line;
    e.points = {PointOf(g, 10), PointOf(g, 11)};
  } else if (name == "CIRCLE" && g.Has({10, 20, 40})) {
    e.kind = MapEntityKind::Circle;
    e.points = {PointOf(g, 10)};
    e.radius = g.At(40);
  } else if (name == "ARC" && g.Has({10, 20, 40, 50, 51})) {
    e.kind = MapEntityKind::Arc;
    e.points = {PointOf(g, 10)};
    e.radius = g.At(40);
    e.startAngle = g.At(50);
    e.endAngle = g.At(51);
  } else if (name == "TEXT" && g.text && g.Has({10, 20, 40})) {
    e.kind = MapEntityKind::Text;
    e.points = {PointOf(g, 10)};
    e.radius = g.At(40);
    e.widthFactor = g.At(41, 1);
    e.startAngle = g.At(50);
    e.endAngle = g.At(51);
    e.text = *g.text;
  } else if (name == "SOLID" && g.Has({10, 20, 11, 21, 12, 22})) {
    // A solid of three corners repeats its third; the outline runs 1, 2, 4, 3.
    const MapPoint third = PointOf(g, 12);
    const MapPoint fourth = g.Has({13, 23}) ? PointOf(g, 13) : third;
    e.kind = MapEntityKind::Solid;
    e.points = {PointOf(g, 10), PointOf(g, 11), fourth, third};
  } else if (name == "LWPOLYLINE" && !g.vertices.empty()) {
    e.kind = MapEntityKind::Polyline;
    e.points = g.vertices;
    e.vertexColorIndex.assign(g.vertices.size(), e.colorIndex);
    e.closed = (g.Integer(70) & kClosedFlag) != 0;
  } else {
    return false;
  }
  return true;
}

// Reads the entities of the file; a POLYLINE gathers the VERTEX entities
// that follow it, any other entity ends the chain.
class MapBuilder {
 public:
  explicit MapBuilder(DxfMapContent& content) : content_(content) {}

  void Add(std::string_view name, const EntityGroups& g) {
    if (name == "VERTEX") return AddVertex(g);
    EndChain();
    if (g.bad) return;
    if (name == "POLYLINE") {
      chain_.kind = MapEntityKind::Polyline;
      chain_.colorIndex = g.Color();
      chain_.closed = (g.Integer(70) & kClosedFlag) != 0;
      chainOpen_ = true;
      return;
    }
    MapEntity entity;
    if (MakeEntity(name, g, entity)) content_.entities.push_back(std::move(entity));
  }

  void EndChain() {
    if (chainOpen_ && !chain_.points.empty()) content_.entities.push_back(std::move(chain_));
    chain_ = MapEntity{};
    chain_.kind = MapEntityKind::Polyline;
    chainOpen_ = false;
  }

 private:
  void AddVertex(const EntityGroups& g) {
    if (!chainOpen_) {
      chain_ = MapEntity{};
      chain_.kind = MapEntityKind::Polyline;
      chainOpen_ = true;
    }
    if (g.bad || !g.Has({10, 20})) return;
    chain_.points.push_back(PointOf(g, 10));
    chain_.vertexColorIndex.push_back(g.numbers.contains(62) ? g.Color() : chain_.colorIndex);
  }

  DxfMapContent& content_;
  MapEntity chain_;
  bool chainOpen_ = false;
};

bool IsMapEntity(std::string_view name) {
  for (const char* known : {"POINT", "LINE", "CIRCLE", "ARC", "POLYLINE", "VERTEX", "TEXT", "SOLID", "LWPOLYLINE"})
    if (name == known) return true;
  return false;
}

}  // namespace

DxfMapReadResult ReadDxfMap(std::string_view text, DxfMapContent& content, const ReadProgress& progress) {
  PairReader reader(text, progress);
  MapBuilder builder(content);
  int code = 0;
  std::string_view value;
  std::optional<std::string_view> name;
  for (;;) {
    if (!name) {
      if (!reader.Next(code, value)) break;
      if (code != 0) continue;
      name = Trim(value);
    }
    if (!IsMapEntity(*name)) {
      builder.EndChain();
      name.reset();
      continue;
    }
    const std::string_view entityName = *name;
    const EntityGroups groups = ReadGroups(reader);
    if (reader.broken) break;
    // The groups read before a bad code line still make their entity.
    builder.Add(entityName, groups);
    if (reader.problemLine != 0) break;
    name = groups.next;
    if (!name) break;
  }
  builder.EndChain();
  DxfMapReadResult result;
  result.broken = reader.broken;
  result.badCodeLine = reader.problemLine;
  return result;
}

std::string BadGroupCodeMessage(const std::string& path, std::size_t line) {
  return "The DXF map " + path + " has a group code that is not a number in line " + std::to_string(line) +
         "; the rest of it is skipped.";
}

LoadedDxfMap LoadDxfMap(DxfMapCache& cache, const std::string& path, const ReadProgress& progress) {
  LoadedDxfMap loaded;
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return loaded;
  const std::filesystem::file_time_type time = std::filesystem::last_write_time(path, error);
  if (error) return loaded;
  const auto found = cache.maps.find(path);
  if (found != cache.maps.end() && found->second.size == size && found->second.time == time) {
    loaded.content = found->second.content;
    return loaded;
  }
  const std::optional<std::string> text = ReadTextFile(path);
  if (!text) return loaded;
  auto content = std::make_shared<DxfMapContent>();
  const DxfMapReadResult result = ReadDxfMap(*text, *content, progress);
  if (result.broken) return loaded;
  if (result.badCodeLine != 0) loaded.problem = BadGroupCodeMessage(path, result.badCodeLine);
  loaded.content = content;
  cache.maps[path] = {size, time, content};
  return loaded;
}

}  // namespace kestra
