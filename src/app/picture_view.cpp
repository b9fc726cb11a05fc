#include "app/picture_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace kestra::app {

PictureView::PictureView(const RasterPicture& picture, const char* objectName, QWidget* parent)
    : QWidget(parent), picture_(picture) {
  setObjectName(objectName);
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
}

void PictureView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, picture_.Image());
}

void PictureView::mousePressEvent(QMouseEvent* event) {
  emit MouseDown(event->button(), event->modifiers(), ToUser(event->position()));
}

void PictureView::mouseMoveEvent(QMouseEvent* event) { emit MouseMove(event->buttons(), ToUser(event->position())); }

void PictureView::mouseReleaseEvent(QMouseEvent* event) { emit MouseUp(event->button(), ToUser(event->position())); }

}  // namespace kestra::app
