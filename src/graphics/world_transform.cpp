#include "graphics/world_transform.h"

#include "core/world_position.h"

namespace kestra {
namespace {

// Gap between the plan window and a section in plots, in pixels.
constexpr float kSectionGapPixels = 5;

}  // namespace

float GridLength(const ModelState& model) { return static_cast<float>(GridLengthOf(model)); }

void RotateToWorld(float c, float s, float X0, float Y0, float x, float y, float& X, float& Y) {
  X = X0 + c * (x - X0) - s * (y - Y0);
  Y = Y0 + s * (x - X0) + c * (y - Y0);
}

ModelOrigin PlotOrigin(const ModelState& model) {
  if (model.origin.isSet) return model.origin;
  ModelOrigin origin;
  origin.Y0 = GridLength(model);
  origin.isSet = true;
  return origin;
}

WorldPoint PlanToWorld(const ModelOrigin& origin, float x, float y) {
  WorldPoint world;
  RotateToWorld(origin.cosAngle, origin.sinAngle, origin.X0, origin.Y0, x + origin.X0, origin.Y0 - y, world.x, world.y);
  return world;
}

PicturePoint WorldToPlan(const ModelOrigin& origin, float X, float Y) {
  const float dx = X - origin.X0;
  const float dy = Y - origin.Y0;
  return {dx * origin.cosAngle + dy * origin.sinAngle, dx * origin.sinAngle - dy * origin.cosAngle};
}

PicturePoint RowSectionToPlan(const ViewLayout& layout, float x, float z) {
  const ViewWindow& v = layout.view;
  return {x, v.Ymax + kSectionGapPixels * layout.PixelSize + (v.Zmax - z) * layout.Exaggeration};
}

PicturePoint ColumnSectionToPlan(const ViewLayout& layout, float z, float y) {
  const ViewWindow& v = layout.view;
  return {v.Xmax + kSectionGapPixels * layout.PixelSize + (v.Zmax - z) * layout.Exaggeration, y};
}

}  // namespace kestra
