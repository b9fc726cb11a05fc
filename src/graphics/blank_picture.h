// A picture that shows nothing: for work whose result is a plot file or a
// count, not pixels (benchmarks, fuzzing).
#pragma once

#include "graphics/picture.h"

namespace kestra {

class BlankPicture : public Picture {
 public:
  void SetGeometry(int, int, const UserCorners&) override {}
  void SetVisible(bool) override {}
  void Clear() override {}
  void SetPersistent(bool) override {}
  bool IsPersistent() const override { return false; }
  void SetDrawMode(DrawMode) override {}
  DrawMode GetDrawMode() const override { return DrawMode::Copy; }
  void Refresh() override {}
  void DrawPoint(float, float, Colour) override {}
  void DrawLine(float, float, float, float, Colour) override {}
  void FillBox(const PictureBox&, Colour) override {}
  void FillBoxes(const std::vector<PictureBox>&, Colour) override {}
  void DrawCircle(float, float, float, Colour) override {}
  void DrawArc(float, float, float, float, float, Colour) override {}
  void FillPolygon(const std::vector<PicturePoint>&, Colour) override {}
};

}  // namespace kestra
