// Moving about the plan: the mouse wheel zooms about the pointer, a drag
// with the middle button (or with the space bar held) pans the view.
#include <QAction>
#include <QKeyEvent>
#include <cmath>

#include "app/main_window.h"
#include "graphics/zoom_rules.h"

namespace kestra::app {
namespace {

// Each wheel notch towards the screen shows the plan this much smaller.
constexpr double kWheelZoomFactor = 0.8;

}  // namespace

void MainWindow::model_worksheet_Wheel(double steps, QPointF point) {
  if (IsBusy(session_.model, session_.busy) || steps == 0) return;
  const auto factor = static_cast<float>(std::pow(kWheelZoomFactor, steps));
  const auto zoom = ZoomWindowAbout(session_.model, layout_.zoom, static_cast<float>(point.x()),
                                    static_cast<float>(point.y()), factor);
  if (!zoom) {
    RefuseEntry(tr("The plan cannot be enlarged further: it would show less than a hundredth of the grid."));
    return;
  }
  layout_.zoom = *zoom;
  RedrawViews(true);
}

bool MainWindow::StartPan(Qt::MouseButton button, QPointF point) {
  if (button != Qt::MiddleButton && !(button == Qt::LeftButton && spaceHeld_)) return false;
  pan_ = {true, point};
  views_[kPlan]->setCursor(Qt::ClosedHandCursor);
  views_[kPlan]->grabMouse();
  return true;
}

void MainWindow::MovePan(QPointF point) {
  views_[kPlan]->SetPanOffset(views_[kPlan]->ToPixel(static_cast<float>(point.x()), static_cast<float>(point.y())) -
                              views_[kPlan]->ToPixel(static_cast<float>(pan_.anchor.x()),
                                                     static_cast<float>(pan_.anchor.y())));
}

// The picture follows the pointer while the button is held; the views are
// drawn anew for the moved window when it is released.
void MainWindow::FinishPan(QPointF point) {
  pan_.active = false;
  views_[kPlan]->releaseMouse();
  views_[kPlan]->setCursor(spaceHeld_ ? Qt::OpenHandCursor : Qt::ArrowCursor);
  views_[kPlan]->SetPanOffset({});
  const auto dx = static_cast<float>(pan_.anchor.x() - point.x());
  const auto dy = static_cast<float>(pan_.anchor.y() - point.y());
  if (dx == 0 && dy == 0) return;
  layout_.zoom = PannedZoomWindow(session_.model, layout_.zoom, dx, dy);
  RedrawViews(true);
}

// The space bar held over the plan turns a left drag into a pan.
bool MainWindow::PanKey(QKeyEvent* event) {
  if (event->key() != Qt::Key_Space || event->isAutoRepeat()) return false;
  spaceHeld_ = event->type() == QEvent::KeyPress;
  if (!pan_.active) views_[kPlan]->setCursor(spaceHeld_ ? Qt::OpenHandCursor : Qt::ArrowCursor);
  return true;
}

}  // namespace kestra::app
