// A picture that records what was drawn on it, for the drawing tests.
#pragma once

#include <string>
#include <vector>

#include "graphics/picture.h"

namespace kestra::test {

struct DrawnElement {
  std::string kind;  // "point", "line", "box", "circle", "arc", "polygon"
  std::vector<float> values;
  Colour colour = 0;
  bool persistent = true;
  DrawMode mode = DrawMode::Copy;

  bool operator==(const DrawnElement&) const = default;
};

class RecordingPicture : public Picture {
 public:
  void SetGeometry(int widthPixels, int heightPixels, const UserCorners& userCorners) override {
    width = widthPixels;
    height = heightPixels;
    corners = userCorners;
    elements.clear();
  }
  void SetVisible(bool on) override { visible = on; }
  void Clear() override { elements.clear(); }
  void SetPersistent(bool on) override { persistent = on; }
  bool IsPersistent() const override { return persistent; }
  void SetDrawMode(DrawMode newMode) override { mode = newMode; }
  DrawMode GetDrawMode() const override { return mode; }
  void Refresh() override { ++refreshes; }
  void DrawPoint(float x, float y, Colour colour) override {
    Add("point", {x, y}, colour);
    MoveTo(x, y);
  }
  void DrawLine(float x1, float y1, float x2, float y2, Colour colour) override {
    Add("line", {x1, y1, x2, y2}, colour);
    MoveTo(x2, y2);
  }
  void FillBox(const PictureBox& b, Colour colour) override { Add("box", {b.x1, b.y1, b.x2, b.y2}, colour); }
  void FillBoxes(const std::vector<PictureBox>& boxes, Colour colour) override {
    ++boxCalls;
    for (const PictureBox& b : boxes) Add("box", {b.x1, b.y1, b.x2, b.y2}, colour);
  }
  void DrawCircle(float x, float y, float r, Colour colour) override { Add("circle", {x, y, r}, colour); }
  void DrawArc(float x, float y, float r, float a, float b, Colour colour) override {
    Add("arc", {x, y, r, a, b}, colour);
  }
  void FillPolygon(const std::vector<PicturePoint>& points, Colour colour) override {
    std::vector<float> values;
    for (const PicturePoint& p : points) values.insert(values.end(), {p.x, p.y});
    Add("polygon", values, colour);
  }

  // The elements of one kind, in drawing order.
  std::vector<DrawnElement> Of(const std::string& kind) const {
    std::vector<DrawnElement> found;
    for (const DrawnElement& e : elements)
      if (e.kind == kind) found.push_back(e);
    return found;
  }

  std::vector<DrawnElement> elements;
  int width = 0;
  int height = 0;
  UserCorners corners;
  bool visible = false;
  bool persistent = true;
  DrawMode mode = DrawMode::Copy;
  int refreshes = 0;
  int boxCalls = 0;

 private:
  void Add(const char* kind, std::vector<float> values, Colour colour) {
    elements.push_back({kind, std::move(values), colour, persistent, mode});
  }
};

}  // namespace kestra::test
