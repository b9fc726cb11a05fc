#include "render/view_marks.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/number_format.h"
#include "core/round_numbers.h"

namespace kestra {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// Round values of one axis `length` painter units long.
struct AxisTicks {
  std::vector<double> values;
  int decimals = 0;
};

AxisTicks TicksOf(double first, double last, double length, double labelSpacing) {
  const double low = std::min(first, last), high = std::max(first, last);
  const int most = std::max(2, static_cast<int>(length / labelSpacing));
  const double step = RoundStep(high - low, most);
  return {MultiplesWithin(low, high, step), DecimalsOfStep(step)};
}

}  // namespace

void HorizontalAxis(QPainter& painter, const QRectF& rect, double first, double last, const std::string& title,
                    AxisSide side, double labelSpacing) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  const bool above = side == AxisSide::Above;
  const double edge = above ? rect.top() : rect.bottom();
  const double outward = above ? -1 : 1;
  const double labelBaseline = above ? edge - kTickLength - 2 : edge + kTickLength + 1 + metrics.ascent();
  const AxisTicks ticks = TicksOf(first, last, rect.width(), labelSpacing);
  for (const double value : ticks.values) {
    const double x = rect.left() + (value - first) / (last - first) * rect.width();
    painter.drawLine(QPointF(x, edge), QPointF(x, edge + outward * kTickLength));
    const QString label = Text(FixedText(value, ticks.decimals));
    double labelLeft = x - metrics.horizontalAdvance(label) / 2;
    // Below the window's column section the row section lies to the left:
    // a label at the edge stays clear of it.
    if (!above) labelLeft = std::max(labelLeft, rect.left());
    painter.drawText(QPointF(labelLeft, labelBaseline), label);
  }
  const double titleBaseline = above ? labelBaseline - 1 - metrics.height() : labelBaseline + metrics.height();
  CentredText(painter, rect.center().x(), titleBaseline, title);
}

double LeftAxisWidth(const QFontMetricsF& metrics, double first, double last, double length, double labelSpacing) {
  const AxisTicks ticks = TicksOf(first, last, length, labelSpacing);
  double widest = 0;
  for (const double value : ticks.values)
    widest = std::max(widest, metrics.horizontalAdvance(Text(FixedText(value, ticks.decimals))));
  return kTickLength + 4 + widest + metrics.height();
}

void LeftAxis(QPainter& painter, const QRectF& rect, double first, double last, const std::string& title,
              double labelSpacing) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  const AxisTicks ticks = TicksOf(first, last, rect.height(), labelSpacing);
  double widest = 0;
  for (const double value : ticks.values) {
    const double y = rect.top() + (value - first) / (last - first) * rect.height();
    painter.drawLine(QPointF(rect.left(), y), QPointF(rect.left() - kTickLength, y));
    const QString label = Text(FixedText(value, ticks.decimals));
    widest = std::max(widest, metrics.horizontalAdvance(label));
    painter.drawText(QPointF(rect.left() - kTickLength - 2 - metrics.horizontalAdvance(label),
                             y + metrics.ascent() / 2 - 1),
                     label);
  }
  const QString name = Text(title);
  painter.save();
  painter.translate(rect.left() - kTickLength - 4 - widest - metrics.descent(), rect.center().y());
  painter.rotate(-90);
  painter.drawText(QPointF(-metrics.horizontalAdvance(name) / 2, 0), name);
  painter.restore();
}

void CentredText(QPainter& painter, double centreX, double baseline, const std::string& text) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  const QString line = Text(text);
  painter.drawText(QPointF(centreX - metrics.horizontalAdvance(line) / 2, baseline), line);
}

double ScaleBarLength(double span) { return RoundStep(span, 4); }

void DrawScaleBar(QPainter& painter, QPointF topLeft, double planWidth, double span, const std::string& unit,
                  double lineWidth) {
  const double length = ScaleBarLength(span);
  if (!(length > 0) || !(span > 0)) return;
  const QFontMetricsF metrics(painter.font(), painter.device());
  const double width = length / span * planWidth;
  const QRectF bar(topLeft.x(), topLeft.y(), width, 4);
  painter.fillRect(QRectF(bar.left(), bar.top(), width / 2, bar.height()), Qt::black);
  painter.setPen(QPen(Qt::black, lineWidth));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(bar);
  const double baseline = bar.bottom() + metrics.ascent() + 2;
  CentredText(painter, bar.left(), baseline, "0");
  CentredText(painter, bar.right(), baseline, PlainText(length) + (unit.empty() ? "" : " " + unit));
}

void DrawNorthArrow(QPainter& painter, QPointF centre, double angle, double lineWidth) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  painter.save();
  painter.translate(centre);
  painter.rotate(-angle);
  const double h = kNorthArrowHeight / 2;
  QPainterPath arrow;
  arrow.moveTo(0, -h);
  arrow.lineTo(h * 0.4, h * 0.6);
  arrow.lineTo(0, h * 0.3);
  arrow.closeSubpath();
  painter.fillPath(arrow, Qt::black);
  painter.setPen(QPen(Qt::black, lineWidth));
  painter.drawLine(QPointF(0, -h), QPointF(-h * 0.4, h * 0.6));
  painter.drawLine(QPointF(-h * 0.4, h * 0.6), QPointF(0, h * 0.3));
  painter.restore();
  painter.drawText(QPointF(centre.x() + h * 0.7, centre.y() + metrics.ascent() / 2), QStringLiteral("N"));
}

}  // namespace kestra
