// Turns a Hershey font in the James Hurt text form (.jhf; Debian's
// hershey-fonts-data) into the stroke font. Used by the font generator.
#pragma once

#include <string>
#include <string_view>

#include "graphics/stroke_font.h"

namespace kestra {

// The 95 glyphs of the file, in order, become the characters 32..126. The
// glyph's left bound becomes a = 0 and the baseline (Hershey y = 9, cap top
// y = -12: a 21-unit cell) becomes b = 16. False, with the reason, for a file
// with fewer glyphs or points the stroke encoding cannot hold.
bool ImportHersheyFont(std::string_view jhfText, StrokeFont& font, std::string& error);

}  // namespace kestra
