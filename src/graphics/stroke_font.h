// The stroke font: text that must go into plots (map texts, contour labels)
// is drawn as line strokes, so it leaves through the segment primitive like
// any line.
//
// Font file: plain text, integers separated by blanks, commas or line breaks.
// First 95 glyph records of four integers (character code, number of the
// glyph's first stroke value counted from 1, number of stroke values, advance
// width), then the stroke values up to the end of the file. Each stroke value
// packs one point of a glyph cell 21 units high and the pen flag (see
// DecodeStroke).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

inline constexpr int kStrokeGlyphCount = 95;
inline constexpr float kGlyphCellHeight = 21;
inline constexpr const char* kStrokeFontFileName = "SCREEN.FON";

struct StrokeGlyph {
  int code = 0;
  int first = 1;  // stroke value number, from 1
  int count = 0;
  int advance = 0;
};

struct StrokeFont {
  std::vector<StrokeGlyph> glyphs;    // glyph number g is glyphs[g - 1]
  std::vector<std::int16_t> strokes;  // stroke value number n is strokes[n - 1]
  // Glyph number of each character code 1..256; 0 where the font has none.
  std::array<int, 257> map{};

  bool Loaded() const { return !glyphs.empty(); }
};

// A point of a glyph in cell units: a along the baseline from the glyph's
// left edge, b the height above the baseline plus 16.
struct StrokeCode {
  int a = 0;
  int b = 0;
  bool draw = false;  // true: stroke from the previous point; false: move there
  bool operator==(const StrokeCode&) const = default;
};

StrokeCode DecodeStroke(std::int16_t value);
// The exact inverse of DecodeStroke for a in 0..64 and b in -31..64; empty
// outside that range.
std::optional<std::int16_t> EncodeStroke(const StrokeCode& code);

// Reads the font from the text of a font file. False, with the reason in
// `error`, when records are missing or a glyph's strokes lie outside the
// stroke table; `font` is then left empty.
bool ParseStrokeFont(std::string_view text, StrokeFont& font, std::string& error);
bool LoadStrokeFont(const std::filesystem::path& path, StrokeFont& font, std::string& error);
// The text of a font file, as ParseStrokeFont reads it.
std::string StrokeFontText(const StrokeFont& font);

// The font file beside the program, else in the install data folder
// (<prefix>/share/kestra beside <prefix>/bin); empty when neither exists.
std::filesystem::path FindStrokeFontFile(const std::filesystem::path& programFolder);

// The glyph number that draws a character: the glyph of code 32 (blank) for
// code 0, codes above 256 and codes the font has no glyph for; 0 when the
// font is empty.
int GlyphFor(const StrokeFont& font, char32_t code);

// The character codes of a text: UTF-8 sequences as one character each, any
// other byte as its own code.
std::vector<char32_t> CharacterCodes(std::string_view text);

}  // namespace kestra
