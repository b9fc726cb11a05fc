#include "app/view_area.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "render/view_marks.h"

namespace kestra::app {
namespace {

// Axis labels at least this many text heights apart.
constexpr double kLabelSpacingLines = 5;
// The column section's axis and caption below it: tick, labels, title, caption.
constexpr double kCornerLines = 3.4;

}  // namespace

ViewArea::ViewArea(QWidget* parent) : QWidget(parent) {}

void ViewArea::SetFrame(ViewFrame frame) {
  frame_ = std::move(frame);
  update();
}

int ViewArea::LeftMargin(double lowest, double highest, int length) const {
  const QFontMetricsF metrics(font());
  return static_cast<int>(std::ceil(
             LeftAxisWidth(metrics, highest, lowest, length, kLabelSpacingLines * metrics.height()))) + 4;
}

int ViewArea::BottomMargin(int rowSectionPixels) const {
  const QFontMetricsF metrics(font());
  const double caption = metrics.height() + 4;
  const double corner = kCornerLines * metrics.height() + kTickLength;
  return static_cast<int>(std::ceil(std::max(caption, corner - rowSectionPixels)));
}

void ViewArea::paintEvent(QPaintEvent*) {
  if (!frame_.sectionsShown) return;
  QPainter painter(this);
  painter.setPen(QPen(Qt::black, 0));
  const QFontMetricsF metrics(font());
  const double spacing = kLabelSpacingLines * metrics.height();
  const FramedView& row = frame_.rowSection;
  const FramedView& column = frame_.columnSection;
  // A widget's rectangle ends one pixel short of its right and bottom edges.
  const QRectF rowRect(row.rect.x(), row.rect.y(), row.rect.width(), row.rect.height());
  const QRectF columnRect(column.rect.x(), column.rect.y(), column.rect.width(), column.rect.height());
  LeftAxis(painter, rowRect, row.corners.top, row.corners.bottom, frame_.elevationTitle, spacing);
  CentredText(painter, rowRect.center().x(), rowRect.bottom() + 2 + metrics.ascent(), frame_.rowCaption);
  HorizontalAxis(painter, columnRect, column.corners.left, column.corners.right, frame_.elevationTitle,
                 AxisSide::Below, spacing);
  const double captionBaseline = columnRect.bottom() + kTickLength + 2 + 2 * metrics.height() + metrics.ascent();
  CentredText(painter, columnRect.center().x(), captionBaseline, frame_.columnCaption);
}

ViewArea::Edge ViewArea::EdgeAt(QPoint point) const {
  if (!frame_.sectionsShown) return Edge::None;
  const QRect& plan = frame_.plan;
  // The gaps, a pixel wider on each side so that they are easy to catch.
  const QRect under(plan.left(), plan.bottom(), plan.width(), frame_.rowSection.rect.top() - plan.bottom() + 1);
  const QRect beside(plan.right(), plan.top(), frame_.columnSection.rect.left() - plan.right() + 1, plan.height());
  if (under.contains(point)) return Edge::UnderPlan;
  if (beside.contains(point)) return Edge::BesidePlan;
  return Edge::None;
}

void ViewArea::mousePressEvent(QMouseEvent* event) {
  dragged_ = event->button() == Qt::LeftButton ? EdgeAt(event->position().toPoint()) : Edge::None;
}

void ViewArea::mouseMoveEvent(QMouseEvent* event) {
  const Edge edge = dragged_ != Edge::None ? dragged_ : EdgeAt(event->position().toPoint());
  if (edge == Edge::UnderPlan) setCursor(Qt::SplitVCursor);
  if (edge == Edge::BesidePlan) setCursor(Qt::SplitHCursor);
}

void ViewArea::mouseReleaseEvent(QMouseEvent* event) {
  const Edge edge = dragged_;
  dragged_ = Edge::None;
  if (edge == Edge::None) return;
  const QPoint at = event->position().toPoint();
  // The sections end where they end now: the edge moved by the drag.
  const int pixels = edge == Edge::UnderPlan ? frame_.rowSection.rect.bottom() - at.y()
                                              : frame_.columnSection.rect.right() - at.x();
  emit SectionEdgeDragged(static_cast<float>(pixels));
}

}  // namespace kestra::app
