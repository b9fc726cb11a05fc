// The picture on a raster image, shared by the main window and the batch
// tool so that both show the same pixels. Qt Gui only.
#pragma once

#include <QImage>
#include <QTransform>
#include <optional>

#include "graphics/picture.h"
#include "graphics/picture_record.h"

namespace kestra {

class RasterPicture : public Picture {
 public:
  RasterPicture();

  void SetGeometry(int widthPixels, int heightPixels, const UserCorners& corners) override;
  void SetVisible(bool visible) override { visible_ = visible; }
  bool IsVisible() const { return visible_; }
  void Clear() override;

  void SetPersistent(bool persistent) override { persistent_ = persistent; }
  bool IsPersistent() const override { return persistent_; }
  void SetDrawMode(DrawMode mode) override { mode_ = mode; }
  DrawMode GetDrawMode() const override { return mode_; }
  void Refresh() override;

  void DrawPoint(float x, float y, Colour colour) override;
  void DrawLine(float x1, float y1, float x2, float y2, Colour colour) override;
  void FillBox(const PictureBox& box, Colour colour) override;
  void FillBoxes(const std::vector<PictureBox>& boxes, Colour colour) override;
  void DrawCircle(float x, float y, float radius, Colour colour) override;
  void DrawArc(float x, float y, float radius, float startAngle, float endAngle, Colour colour) override;
  void FillPolygon(const std::vector<PicturePoint>& corners, Colour colour) override;

  // The screen's device pixels per pixel of the layout (2 on a high-DPI
  // screen): the images get that many pixels per layout pixel from the next
  // SetGeometry on, so that lines and text are drawn at the screen's
  // resolution. 1 unless set.
  void SetDevicePixelRatio(double ratio) { ratio_ = ratio > 0 ? ratio : 1; }
  double DevicePixelRatio() const { return ratio_; }
  // Lines and arcs drawn with smoothed edges (never in invert mode, which
  // must restore the pixels exactly). Off unless set.
  void SetAntialiased(bool antialiased) { antialiased_ = antialiased; }

  // What the screen shows: the persistent image as of the last refresh with
  // everything drawn on the surface since, DevicePixelRatio() image pixels
  // to a layout pixel.
  const QImage& Image() const { return shown_; }
  // The same content element by element, to be drawn again at another size.
  const PictureRecord& Record() const { return record_; }
  // Layout pixel position of a user point.
  QPointF ToPixels(float x, float y) const { return DevicePixels(x, y) / ratio_; }
  // User point under a layout pixel position.
  QPointF ToUser(QPointF pixel) const { return toPixels_.inverted().map(pixel * ratio_); }

 private:
  // The image the next element goes to: the persistent one or the surface.
  QImage& Target() { return persistent_ ? persistent_image_ : shown_; }
  QPointF DevicePixels(float x, float y) const { return toPixels_.map(QPointF(x, y)); }
  void PreparePainter(class QPainter& painter, bool smooth) const;
  // None when a corner is not a number.
  std::optional<QRectF> PixelRect(const PictureBox& box) const;
  // Pixel position of a point or line end, kept on the image at its far edges.
  QPointF LinePixels(float x, float y) const;
  void RecordElement(ElementKind kind, Colour colour, std::vector<float> values) {
    record_.Add({kind, colour, mode_ == DrawMode::Invert, std::move(values)}, persistent_);
  }

  QImage persistent_image_;
  QImage shown_;
  QTransform toPixels_;
  bool visible_ = true;
  bool persistent_ = true;
  DrawMode mode_ = DrawMode::Copy;
  double ratio_ = 1;
  bool antialiased_ = false;
  PictureRecord record_;
};

}  // namespace kestra
