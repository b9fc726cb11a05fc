#include "graphics/stroke_font.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

namespace kestra {
namespace {

// Decoding constants of the stroke values.
constexpr int kDrawFlag = 10000;
constexpr int kRowLength = 128;
constexpr int kMoveBias = 16;
constexpr int kDrawRowBias = 50;
constexpr int kDrawBias = 32;
// Past these the coordinates fold back to reach negative values.
constexpr int kFoldA = 64;
constexpr int kFoldB = 64;
constexpr int kBMirror = 96;

constexpr int kLargestA = 64;
constexpr int kSmallestB = kBMirror - 127;  // -31

int FloorDiv(int t, int d) { return static_cast<int>(std::floor(static_cast<double>(t) / d)); }

// Integers separated by blanks, commas or line breaks; false at the first
// field that is no integer.
bool ReadIntegers(std::string_view text, std::vector<long>& values) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c == ' ' || c == ',' || c == '\t' || c == '\r' || c == '\n') {
      ++pos;
      continue;
    }
    long value = 0;
    const char* begin = text.data() + pos;
    if (*begin == '+') ++begin;
    const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value);
    if (ec != std::errc() || end == begin) return false;
    values.push_back(value);
    pos = end - text.data();
  }
  return true;
}

}  // namespace

StrokeCode DecodeStroke(std::int16_t value) {
  StrokeCode code;
  int v = value;
  code.draw = v > kDrawFlag;
  if (code.draw) v -= kDrawFlag;
  if (!code.draw) {
    const int t = v + kMoveBias;
    code.a = t / kRowLength;  // truncates toward zero
    code.b = t - kRowLength * code.a;
  } else {
    const int t = v + kDrawBias - kDrawRowBias * kRowLength;
    code.a = FloorDiv(t, kRowLength);
    code.b = t - kRowLength * code.a;
  }
  if (code.a > kFoldA) code.a = kFoldA - code.a;
  if (code.b > kFoldB) code.b = kBMirror - code.b;
  return code;
}

std::optional<std::int16_t> EncodeStroke(const StrokeCode& code) {
  if (code.a < 0 || code.a > kLargestA || code.b < kSmallestB || code.b > kFoldB) return std::nullopt;
  const int b = code.b < 0 ? kBMirror - code.b : code.b;
  const int t = kRowLength * code.a + b;
  const int v = code.draw ? t - kDrawBias + kDrawRowBias * kRowLength + kDrawFlag : t - kMoveBias;
  return static_cast<std::int16_t>(v);
}

bool ParseStrokeFont(std::string_view text, StrokeFont& font, std::string& error) {
  font = StrokeFont{};
  std::vector<long> values;
  if (!ReadIntegers(text, values)) {
    error = "the font file holds a value that is not an integer";
    return false;
  }
  constexpr std::size_t kRecordValues = 4 * kStrokeGlyphCount;
  if (values.size() < kRecordValues) {
    error = "the font file ends inside its glyph records";
    return false;
  }
  StrokeFont read;
  for (std::size_t n = kRecordValues; n < values.size(); ++n) {
    if (values[n] < INT16_MIN || values[n] > INT16_MAX) {
      error = "a stroke value of the font file is out of range";
      return false;
    }
    read.strokes.push_back(static_cast<std::int16_t>(values[n]));
  }
  const long strokeCount = static_cast<long>(read.strokes.size());
  for (int g = 0; g < kStrokeGlyphCount; ++g) {
    const long* record = &values[4 * g];
    if (record[2] < 0 || (record[2] > 0 && (record[1] < 1 || record[1] + record[2] - 1 > strokeCount))) {
      error = "glyph " + std::to_string(g + 1) + " of the font file points outside its stroke table";
      return false;
    }
    read.glyphs.push_back({static_cast<int>(record[0]), static_cast<int>(record[1]), static_cast<int>(record[2]),
                           static_cast<int>(record[3])});
    if (record[0] >= 1 && record[0] <= 256) read.map[record[0]] = g + 1;
  }
  font = std::move(read);
  return true;
}

bool LoadStrokeFont(const std::filesystem::path& path, StrokeFont& font, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    font = StrokeFont{};
    error = "the font file " + path.string() + " cannot be read";
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  return ParseStrokeFont(text.str(), font, error);
}

std::string StrokeFontText(const StrokeFont& font) {
  constexpr int kValuesPerLine = 16;
  std::string text;
  for (const StrokeGlyph& g : font.glyphs)
    text += std::to_string(g.code) + "," + std::to_string(g.first) + "," + std::to_string(g.count) + "," +
            std::to_string(g.advance) + "\r\n";
  for (std::size_t n = 0; n < font.strokes.size(); ++n) {
    text += std::to_string(font.strokes[n]);
    text += (n + 1) % kValuesPerLine == 0 || n + 1 == font.strokes.size() ? "\r\n" : ",";
  }
  return text;
}

std::filesystem::path FindStrokeFontFile(const std::filesystem::path& programFolder) {
  const std::filesystem::path candidates[] = {programFolder / kStrokeFontFileName,
                                              programFolder / ".." / "share" / "kestra" / kStrokeFontFileName};
  std::error_code ignored;
  for (const auto& candidate : candidates)
    if (std::filesystem::is_regular_file(candidate, ignored)) return candidate;
  return {};
}

int GlyphFor(const StrokeFont& font, char32_t code) {
  constexpr char32_t kBlank = 32;
  if (code >= 1 && code <= 256 && font.map[code] != 0) return font.map[code];
  return font.map[kBlank];
}

std::vector<char32_t> CharacterCodes(std::string_view text) {
  std::vector<char32_t> codes;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    const int length = lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 1;
    bool sequence = length > 1 && pos + length <= text.size();
    for (int k = 1; sequence && k < length; ++k) sequence = (static_cast<unsigned char>(text[pos + k]) & 0xC0) == 0x80;
    if (!sequence) {
      codes.push_back(lead);
      ++pos;
      continue;
    }
    char32_t code = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) code = (code << 6) | (static_cast<unsigned char>(text[pos + k]) & 0x3F);
    codes.push_back(code);
    pos += length;
  }
  return codes;
}

}  // namespace kestra
