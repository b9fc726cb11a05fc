// Text drawn with the stroke font, on the plan and into plots.
#pragma once

#include <string_view>

#include "graphics/plot_primitives.h"
#include "graphics/stroke_font.h"

namespace kestra {

struct TextStyle {
  float ratio = 1;  // height to width of the glyphs
  float size = 1;   // scales the advance from one glyph to the next
  float cosAngle = 1;
  float sinAngle = 0;
  float cosOblique = 1;
  float sinOblique = 0;
  float xFactor = 1;
  float yFactor = 1;
};

// Angles in degrees: the text direction counter-clockwise from the x axis, and
// the slant of the glyphs.
TextStyle SetTextStyle(float ratio, float angleDegrees, float obliqueDegrees, float size);

struct StrokePoint {
  float x = 0;
  float y = 0;
  bool draw = false;  // stroke from the previous point, or move there
};

// Point j (from 1) of glyph `glyph` at the running base, in cell units times
// size. Outside the glyph's strokes: a move to the base.
StrokePoint GetStrokePoint(const StrokeFont& font, const TextStyle& style, int j, int glyph, float baseX, float baseY,
                           float size);

// The largest x reached by the text, in glyph cell heights times size.
float MeasureStrokeText(const StrokeFont& font, const TextStyle& style, std::string_view text, float size);

// Draws the text starting at world point (x, y), `size` model units high; each
// stroke is cut to the view window and drawn as a segment. Characters the font
// lacks draw as the blank glyph; an empty font draws nothing.
void DrawStrokeText(PlotContext& context, const StrokeFont& font, const TextStyle& style, std::string_view text,
                    float x, float y, float size, Colour colour, bool toFile, bool toScreen);

}  // namespace kestra
