#include "graphics/hershey_import.h"

#include <vector>

namespace kestra {
namespace {

constexpr int kFirstCode = 32;
// Hershey coordinates are letters counted from 'R'.
constexpr char kZeroLetter = 'R';
constexpr int kHersheyBaseline = 9;
constexpr int kBaselineB = 16;

// One glyph's text without its line breaks: 5 digits of number, 3 of point
// count (the bounds pair included), then the pairs.
bool NextGlyphText(std::string_view text, std::size_t& pos, std::string& glyph) {
  glyph.clear();
  while (pos < text.size() && (text[pos] == '\r' || text[pos] == '\n')) ++pos;
  if (pos + 8 > text.size()) return false;
  int pairs = 0;
  for (std::size_t k = 5; k < 8; ++k)
    if (text[pos + k] >= '0' && text[pos + k] <= '9') pairs = 10 * pairs + (text[pos + k] - '0');
  const std::size_t wanted = 8 + 2 * static_cast<std::size_t>(pairs);
  while (pos < text.size() && glyph.size() < wanted) {
    if (text[pos] != '\r' && text[pos] != '\n') glyph.push_back(text[pos]);
    ++pos;
  }
  return glyph.size() == wanted && pairs >= 1;
}

bool AddGlyph(const std::string& glyphText, int code, StrokeFont& font, std::string& error) {
  const int left = glyphText[8] - kZeroLetter;
  const int right = glyphText[9] - kZeroLetter;
  StrokeGlyph glyph{code, static_cast<int>(font.strokes.size()) + 1, 0, right - left};
  bool penDown = false;
  for (std::size_t k = 10; k + 1 < glyphText.size(); k += 2) {
    if (glyphText[k] == ' ' && glyphText[k + 1] == 'R') {
      penDown = false;
      continue;
    }
    const StrokeCode point{glyphText[k] - kZeroLetter - left,
                           kHersheyBaseline - (glyphText[k + 1] - kZeroLetter) + kBaselineB, penDown};
    const auto value = EncodeStroke(point);
    if (!value) {
      error = "a point of character " + std::to_string(code) + " lies outside the stroke encoding";
      return false;
    }
    font.strokes.push_back(*value);
    ++glyph.count;
    penDown = true;
  }
  if (glyph.count == 0) glyph.first = 1;
  font.glyphs.push_back(glyph);
  font.map[code] = static_cast<int>(font.glyphs.size());
  return true;
}

}  // namespace

bool ImportHersheyFont(std::string_view jhfText, StrokeFont& font, std::string& error) {
  StrokeFont imported;
  std::size_t pos = 0;
  std::string glyphText;
  for (int g = 0; g < kStrokeGlyphCount; ++g) {
    if (!NextGlyphText(jhfText, pos, glyphText)) {
      error = "the Hershey file ends before glyph " + std::to_string(g + 1);
      return false;
    }
    if (!AddGlyph(glyphText, kFirstCode + g, imported, error)) return false;
  }
  font = std::move(imported);
  return true;
}

}  // namespace kestra
