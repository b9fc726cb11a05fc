#include "graphics/stroke_text.h"

#include <algorithm>
#include <cmath>

#include "graphics/world_transform.h"

namespace kestra {
namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180;
// The stroke heights b count from 16 below the baseline.
constexpr int kBaselineB = 16;

// Walks the glyphs of a text with the running base, calling visit(glyph, baseX, baseY).
template <typename Visit>
void WalkGlyphs(const StrokeFont& font, const TextStyle& style, std::string_view text, Visit visit) {
  float baseX = 0;
  float baseY = 0;
  for (char32_t code : CharacterCodes(text)) {
    const int glyph = GlyphFor(font, code);
    if (glyph == 0) continue;
    visit(glyph, baseX, baseY);
    const float advance = static_cast<float>(font.glyphs[glyph - 1].advance);
    baseX += advance * style.size * style.cosAngle;
    baseY += advance * style.size * style.sinAngle;
  }
}

}  // namespace

TextStyle SetTextStyle(float ratio, float angleDegrees, float obliqueDegrees, float size) {
  TextStyle style;
  style.ratio = ratio;
  style.size = size;
  style.cosAngle = static_cast<float>(std::cos(angleDegrees * kRadiansPerDegree));
  style.sinAngle = static_cast<float>(std::sin(angleDegrees * kRadiansPerDegree));
  style.cosOblique = static_cast<float>(std::cos(obliqueDegrees * kRadiansPerDegree));
  style.sinOblique = static_cast<float>(std::sin(obliqueDegrees * kRadiansPerDegree));
  return style;
}

StrokePoint GetStrokePoint(const StrokeFont& font, const TextStyle& style, int j, int glyph, float baseX, float baseY,
                           float size) {
  if (glyph < 1 || glyph > static_cast<int>(font.glyphs.size())) return {baseX, baseY, false};
  const StrokeGlyph& g = font.glyphs[glyph - 1];
  if (j < 1 || j > g.count) return {baseX, baseY, false};
  const StrokeCode code = DecodeStroke(font.strokes[g.first + j - 2]);
  const float h = static_cast<float>(code.b - kBaselineB) * style.ratio * style.cosOblique;
  const float w = h * style.sinOblique + static_cast<float>(code.a);
  return {(baseX + w * style.cosAngle - h * style.sinAngle) * size * style.xFactor,
          (baseY + w * style.sinAngle + h * style.cosAngle) * size * style.yFactor, code.draw};
}

float MeasureStrokeText(const StrokeFont& font, const TextStyle& style, std::string_view text, float size) {
  float widest = 0;
  WalkGlyphs(font, style, text, [&](int glyph, float baseX, float baseY) {
    for (int j = 1; j <= font.glyphs[glyph - 1].count; ++j)
      widest = std::max(widest, GetStrokePoint(font, style, j, glyph, baseX, baseY, size).x / kGlyphCellHeight);
  });
  return widest;
}

void DrawStrokeText(PlotContext& context, const StrokeFont& font, const TextStyle& style, std::string_view text,
                    float x, float y, float size, Colour colour, bool toFile, bool toScreen) {
  const ModelOrigin origin = PlotOrigin(context.model);
  const ClipWindow window = PlanClipWindow(context.layout);
  PicturePoint pen;
  WalkGlyphs(font, style, text, [&](int glyph, float baseX, float baseY) {
    for (int j = 1; j <= font.glyphs[glyph - 1].count; ++j) {
      const StrokePoint p = GetStrokePoint(font, style, j, glyph, baseX, baseY, size);
      const PicturePoint point = WorldToPlan(origin, x + p.x / kGlyphCellHeight, y + p.y / kGlyphCellHeight);
      if (p.draw) {
        float x1 = pen.x, y1 = pen.y, x2 = point.x, y2 = point.y;
        if (ClipSegment(x1, y1, x2, y2, window).visible) DrawSegment(context, x1, y1, x2, y2, colour, toFile, toScreen);
      }
      pen = point;
    }
  });
}

}  // namespace kestra
