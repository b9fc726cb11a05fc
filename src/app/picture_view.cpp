#include "app/picture_view.h"

#include <QMouseEvent>
#include <QWheelEvent>

namespace kestra::app {

PictureView::PictureView(const RasterPicture& picture, const char* objectName, QWidget* parent)
    : QWidget(parent), picture_(picture) {
  setObjectName(objectName);
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
}

void PictureView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!panOffset_.isNull()) painter.fillRect(rect(), Qt::white);
  // The image holds DevicePixelRatio() pixels per widget pixel: one image
  // pixel to one screen pixel.
  const QImage& image = picture_.Image();
  painter.drawImage(QRectF(panOffset_, QSizeF(image.size()) / picture_.DevicePixelRatio()), image);
  if (overlay_) overlay_(painter);
}

void PictureView::SetPanOffset(QPoint offset) {
  panOffset_ = offset;
  update();
}

void PictureView::wheelEvent(QWheelEvent* event) {
  constexpr double kEighthsOfDegreePerNotch = 120;
  emit Wheel(event->angleDelta().y() / kEighthsOfDegreePerNotch, ToUser(event->position()));
  event->accept();
}

void PictureView::mousePressEvent(QMouseEvent* event) {
  emit MouseDown(event->button(), event->modifiers(), ToUser(event->position()));
}

void PictureView::mouseMoveEvent(QMouseEvent* event) { emit MouseMove(event->buttons(), ToUser(event->position())); }

void PictureView::mouseReleaseEvent(QMouseEvent* event) { emit MouseUp(event->button(), ToUser(event->position())); }

}  // namespace kestra::app
