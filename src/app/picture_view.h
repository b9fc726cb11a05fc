// A widget that shows one raster picture of the window (the plan or a
// section) and reports the mouse on it in the picture's model units.
#pragma once

#include <QPainter>
#include <QPointF>
#include <QWidget>
#include <functional>

#include "render/raster_picture.h"

namespace kestra::app {

class PictureView : public QWidget {
  Q_OBJECT

 public:
  PictureView(const RasterPicture& picture, const char* objectName, QWidget* parent);

  // The model point under a widget pixel.
  QPointF ToUser(QPointF pixel) const { return picture_.ToUser(pixel); }
  // The widget pixel of a model point.
  QPoint ToPixel(float x, float y) const { return picture_.ToPixels(x, y).toPoint(); }
  // Shows the picture shifted by `offset` pixels while a pan is dragged.
  void SetPanOffset(QPoint offset);
  // Drawn over the picture at every paint, in widget pixels: marks that
  // belong to the screen, not to the picture.
  void SetOverlay(std::function<void(QPainter&)> overlay) { overlay_ = std::move(overlay); }

 signals:
  void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF point);
  void MouseMove(Qt::MouseButtons buttons, QPointF point);
  void MouseUp(Qt::MouseButton button, QPointF point);
  // The wheel turned by `steps` notches (positive away from the user) over `point`.
  void Wheel(double steps, QPointF point);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  const RasterPicture& picture_;
  QPoint panOffset_;
  std::function<void(QPainter&)> overlay_;
};

}  // namespace kestra::app
