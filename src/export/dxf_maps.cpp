#include "export/dxf_maps.h"

#include <cmath>
#include <filesystem>

#include "core/fixed_tables.h"
#include "graphics/progress.h"
#include "graphics/stroke_text.h"
#include "graphics/world_transform.h"

namespace kestra {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadiansPerDegree = kPi / 180;

// Plan coordinates of the map's own points: scaled, shifted into world
// coordinates, then placed on the model.
struct MapTransform {
  ModelOrigin origin;
  float factor = 1;
  float shiftX = 0;
  float shiftY = 0;

  WorldPoint World(MapPoint p) const { return {p.x * factor + shiftX, p.y * factor + shiftY}; }
  PicturePoint Plan(MapPoint p) const {
    const WorldPoint w = World(p);
    return WorldToPlan(origin, w.x, w.y);
  }
};

// An angle of the map (degrees counter-clockwise in world coordinates) as
// the plan shows it: turned back by the model's rotation, within 0..2 pi.
float PlanAngle(float degrees, const ModelOrigin& origin) {
  double radians = std::fmod(degrees * kRadiansPerDegree - origin.angle, 2 * kPi);
  if (radians < 0) radians += 2 * kPi;
  return static_cast<float>(radians);
}

// The plan window widened by half a pixel: a line of the model's own plot
// along the window's edge comes back a rounding off it and must still show.
ClipWindow MapClipWindow(const ViewLayout& layout) {
  const float half = layout.PixelSize / 2;
  const ClipWindow w = PlanClipWindow(layout);
  return {w.xmin - half, w.ymin - half, w.xmax + half, w.ymax + half};
}

void DrawMapSegment(PlotContext& context, PicturePoint a, PicturePoint b, Colour colour) {
  if (ClipSegment(a.x, a.y, b.x, b.y, MapClipWindow(context.layout)).visible)
    DrawSegment(context, a.x, a.y, b.x, b.y, colour, false, true);
}

void DrawPolyline(PlotContext& context, const MapEntity& e, const MapTransform& t, Colour mapColour) {
  PicturePoint previous = t.Plan(e.points.front());
  DrawDot(context, previous.x, previous.y, MapEntityColour(e.vertexColorIndex.front(), mapColour));
  for (std::size_t n = 1; n < e.points.size(); ++n) {
    const PicturePoint next = t.Plan(e.points[n]);
    DrawMapSegment(context, previous, next, MapEntityColour(e.vertexColorIndex[n], mapColour));
    previous = next;
  }
  if (e.closed && e.points.size() > 2)
    DrawMapSegment(context, previous, t.Plan(e.points.front()), MapEntityColour(e.vertexColorIndex.front(), mapColour));
}

// Whether a figure reaching `reach` from the plan point can show in the window.
bool MayShow(const ViewLayout& layout, PicturePoint p, float reach) {
  const ClipWindow w = MapClipWindow(layout);
  return p.x + reach >= w.xmin && p.x - reach <= w.xmax && p.y + reach >= w.ymin && p.y - reach <= w.ymax;
}

// A text lower than a pixel shows as a dot: its strokes would all meet there.
void DrawText(PlotContext& context, const MapInputs& inputs, const MapEntity& e, const MapTransform& t, Colour colour) {
  const float size = e.radius * t.factor * e.widthFactor;
  const PicturePoint p = t.Plan(e.points.front());
  // Glyph cells are about as wide as high; a text reaches no farther than that.
  if (!MayShow(context.layout, p, std::fabs(size) * (static_cast<float>(e.text.size()) + 1))) return;
  if (std::fabs(size) < context.layout.PixelSize) {
    DrawDot(context, p.x, p.y, colour);
    return;
  }
  const TextStyle style = SetTextStyle(1, e.startAngle, e.endAngle, 1);
  const WorldPoint at = t.World(e.points.front());
  DrawStrokeText(context, inputs.font, style, e.text, at.x, at.y, size, colour, false, true);
}

void DrawEntity(PlotContext& context, const MapInputs& inputs, const MapEntity& e, const MapTransform& t,
                Colour mapColour) {
  // Without a factor everything but the texts would shrink to a point.
  if (t.factor == 0 && e.kind != MapEntityKind::Text) return;
  const Colour colour = MapEntityColour(e.colorIndex, mapColour);
  switch (e.kind) {
    case MapEntityKind::Point: {
      const PicturePoint p = t.Plan(e.points[0]);
      DrawDot(context, p.x, p.y, colour);
      break;
    }
    case MapEntityKind::Line: DrawMapSegment(context, t.Plan(e.points[0]), t.Plan(e.points[1]), colour); break;
    case MapEntityKind::Circle: {
      const PicturePoint c = t.Plan(e.points[0]);
      const float radius = std::fabs(e.radius * t.factor);
      if (MayShow(context.layout, c, radius)) DrawCircle(context, c.x, c.y, radius, colour);
      break;
    }
    case MapEntityKind::Arc: {
      const PicturePoint c = t.Plan(e.points[0]);
      if (!MayShow(context.layout, c, std::fabs(e.radius * t.factor))) break;
      DrawArc(context, c.x, c.y, std::fabs(e.radius * t.factor), PlanAngle(e.startAngle, t.origin),
              PlanAngle(e.endAngle, t.origin), colour);
      break;
    }
    case MapEntityKind::Polyline: DrawPolyline(context, e, t, mapColour); break;
    case MapEntityKind::Text: DrawText(context, inputs, e, t, colour); break;
    case MapEntityKind::Solid: {
      float x[4], y[4];
      for (int n = 0; n < 4; ++n) {
        const PicturePoint p = t.Plan(e.points[n]);
        x[n] = p.x;
        y[n] = p.y;
      }
      FillSolid(context, x, y, colour);
      break;
    }
  }
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

// Maps no longer displayed leave the cache: a large map is not held for nothing.
void ForgetHiddenMaps(const Settings& settings, DxfMapCache& cache) {
  std::erase_if(cache.maps, [&](const auto& kept) {
    for (int m = 1; m <= kDxfMapCount; ++m)
      if (IsOn(settings.dxfMaps[m].display) && settings.dxfMaps[m].file == kept.first) return false;
    return true;
  });
}

}  // namespace

std::string DrawMapHint(int map) { return "Draw DXF Map #" + std::to_string(map) + "; Press ESC to Break"; }

Colour MapEntityColour(int colorIndex, Colour mapColour) {
  if (colorIndex < 1 || colorIndex > kColorIndexCount) return mapColour;
  const RgbColor& c = ColorIndexTable()[colorIndex];
  const Colour colour = RgbColour(static_cast<int>(std::lround(c.red)), static_cast<int>(std::lround(c.green)),
                                  static_cast<int>(std::lround(c.blue)));
  // White lines would vanish on the white plan.
  return colour == kWhite ? mapColour : colour;
}

void FillSolid(PlotContext& context, const float x[4], const float y[4], Colour colour) {
  std::vector<PicturePoint> corners;
  for (int n = 0; n < 4; ++n) corners.push_back({x[n], y[n]});
  context.plan.FillPolygon(corners, colour);
}

bool DrawDxfMap(PlotContext& context, const MapInputs& inputs, const DxfMapContent& map, const DxfMapEntry& entry) {
  const MapTransform transform{PlotOrigin(context.model), entry.factor, entry.shiftX, entry.shiftY};
  const std::size_t count = map.entities.size();
  int meter = 0;
  for (std::size_t n = 0; n < count; ++n) {
    DrawEntity(context, inputs, map.entities[n], transform, entry.color);
    if (UpdateProgress(meter, static_cast<int>(100 * (n + 1) / count), inputs.ui, context.plan)) return false;
  }
  return true;
}

void DrawDxfMaps(PlotContext& context, const MapInputs& inputs) {
  if (!context.model.HasModel() || !context.layout.planShown) return;
  UserInterface& ui = inputs.ui;
  Hourglass hourglass(ui);
  ui.ShowStatusPanes(false);
  Picture& plan = context.plan;
  const bool persistent = plan.IsPersistent();
  const DrawMode mode = plan.GetDrawMode();
  plan.SetPersistent(true);
  plan.SetDrawMode(DrawMode::Copy);
  SetViewWindow(context.layout);
  for (int m = 1; m <= kDxfMapCount; ++m) {
    const DxfMapEntry& entry = inputs.settings.dxfMaps[m];
    if (!IsOn(entry.display) || !FileExists(entry.file)) continue;
    ui.SetHint(DrawMapHint(m));
    ui.SetMeter(0);
    int meter = 0;
    const LoadedDxfMap loaded = LoadDxfMap(inputs.cache, entry.file, [&](int percent) {
      return UpdateProgress(meter, percent, ui, plan);
    });
    if (!loaded.problem.empty()) Complain(ui, loaded.problem, MessageIcon::Exclamation);
    if (loaded.content) {
      ui.SetMeter(0);
      DrawDxfMap(context, inputs, *loaded.content, entry);
    }
  }
  ForgetHiddenMaps(inputs.settings, inputs.cache);
  plan.SetPersistent(persistent);
  plan.SetDrawMode(mode);
  ui.SetHint("");
  ui.SetMeter(0);
  ui.ShowStatusPanes(true);
}

}  // namespace kestra
