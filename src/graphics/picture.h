// One drawing area of the main window (the plan or a cross-section) with a
// user coordinate system in model units. The screen, the batch renderer and
// the tests each realise it their own way; the views only see this.
#pragma once

#include <cstdint>
#include <vector>

namespace kestra {

// RGB with red in the low byte: red + 256 * green + 65536 * blue.
using Colour = std::int32_t;

inline constexpr Colour kBlack = 0;
inline constexpr Colour kWhite = 0xFFFFFF;

inline constexpr Colour RgbColour(int red, int green, int blue) { return red + 256 * green + 65536 * blue; }

struct PicturePoint {
  float x = 0;
  float y = 0;
};

// A box given by two opposite corners in user units.
struct PictureBox {
  float x1 = 0;
  float y1 = 0;
  float x2 = 0;
  float y2 = 0;
};

// User coordinates of the picture's upper-left and lower-right corners; either
// axis may run backwards (the column section has its elevation falling to the right).
struct UserCorners {
  float left = 0;
  float top = 0;
  float right = 1;
  float bottom = 1;
};

// Copy paints in the colour; Invert flips every pixel it touches, so drawing
// the same element twice restores the picture.
enum class DrawMode { Copy, Invert };

class Picture {
 public:
  virtual ~Picture() = default;

  // Size in pixels and the user coordinates of the corners; clears the picture.
  virtual void SetGeometry(int widthPixels, int heightPixels, const UserCorners& corners) = 0;
  virtual void SetVisible(bool visible) = 0;
  // White everywhere, on the persistent image and on the surface above it.
  virtual void Clear() = 0;

  // While persistent, drawing goes into the image that survives a refresh;
  // otherwise onto the surface above it, which the next Refresh clears.
  virtual void SetPersistent(bool persistent) = 0;
  virtual bool IsPersistent() const = 0;
  virtual void SetDrawMode(DrawMode mode) = 0;
  virtual DrawMode GetDrawMode() const = 0;
  // Shows the persistent image, dropping whatever the surface held.
  virtual void Refresh() = 0;

  // A point sets one pixel and moves the pen there; a line leaves the pen at its end.
  virtual void DrawPoint(float x, float y, Colour colour) = 0;
  virtual void DrawLine(float x1, float y1, float x2, float y2, Colour colour) = 0;
  virtual void FillBox(const PictureBox& box, Colour colour) = 0;
  // Many boxes of one colour in one call: how large grids stay interactive.
  virtual void FillBoxes(const std::vector<PictureBox>& boxes, Colour colour) = 0;
  virtual void DrawCircle(float x, float y, float radius, Colour colour) = 0;
  // Angles in radians, counter-clockwise on the screen from the positive x axis.
  virtual void DrawArc(float x, float y, float radius, float startAngle, float endAngle, Colour colour) = 0;
  // Alternate (even-odd) fill.
  virtual void FillPolygon(const std::vector<PicturePoint>& corners, Colour colour) = 0;

  // A line from the pen position.
  void DrawLineTo(float x, float y, Colour colour) { DrawLine(penX, penY, x, y, colour); }
  void MoveTo(float x, float y) {
    penX = x;
    penY = y;
  }

 protected:
  float penX = 0;
  float penY = 0;
};

}  // namespace kestra
