#include "app/view_area.h"

#include <QFontMetricsF>
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

}  // namespace kestra::app
