#include "render/figure.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/round_numbers.h"
#include "render/qt_colour.h"
#include "render/view_marks.h"

namespace kestra {
namespace {

// Sizes in points.
constexpr double kMargin = 18;
constexpr double kTitlePoints = 12;
constexpr double kTextPoints = 8;
constexpr double kLinePoints = 0.5;
constexpr double kFramePoints = 0.6;
constexpr double kLabelSpacing = 7 * kTextPoints;  // the least distance between axis labels
constexpr double kLegendSwatch = 16;
constexpr double kLegendGap = 14;
constexpr double kColourBarWidth = 10;
constexpr double kColourBarHeight = 140;
// Boxes overlap their neighbours by this much, so that no viewer shows hairline seams between cells.
constexpr double kBoxOutset = 0.12;

QColor ElementColour(const PictureElement& element) {
  // An inverted element shows as black on the white of a figure.
  return element.inverted ? QColor(Qt::black) : ToQColor(element.colour);
}

// User coordinates of a record to the target rectangle.
struct RecordPlacement {
  QTransform toTarget;
  double xScale = 1;

  RecordPlacement(const UserCorners& c, const QRectF& target) {
    const double spanX = c.right - c.left, spanY = c.bottom - c.top;
    const double sx = spanX != 0 ? target.width() / spanX : 1;
    const double sy = spanY != 0 ? target.height() / spanY : 1;
    toTarget = QTransform(sx, 0, 0, sy, target.left() - c.left * sx, target.top() - c.top * sy);
    xScale = std::fabs(sx);
  }
  QPointF At(float x, float y) const { return toTarget.map(QPointF(x, y)); }
};

bool Finite(const std::vector<float>& values) {
  return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

void DrawBoxes(QPainter& painter, const PictureElement& e, const RecordPlacement& place, double outset) {
  const QColor colour = ElementColour(e);
  for (std::size_t n = 0; n + 3 < e.values.size(); n += 4) {
    const QRectF box = QRectF(place.At(e.values[n], e.values[n + 1]), place.At(e.values[n + 2], e.values[n + 3]))
                           .normalized()
                           .adjusted(-outset, -outset, outset, outset);
    painter.fillRect(box, colour);
  }
}

void DrawArc(QPainter& painter, const PictureElement& e, const RecordPlacement& place) {
  // The radius is measured along the horizontal axis, as on the screen.
  const double radius = e.values[2] * place.xScale;
  const QPointF centre = place.At(e.values[0], e.values[1]);
  constexpr double kFullTurn = 2 * std::numbers::pi;
  constexpr double kSixteenthsOfDegreePerRadian = 16 * 180 / std::numbers::pi;  // Qt's arc angle unit
  double span = e.values[4] - e.values[3];
  if (span <= 0) span = std::fmod(span, kFullTurn) + kFullTurn;
  span = std::min(span, kFullTurn);
  const double start = std::fmod(e.values[3], kFullTurn);
  painter.setBrush(Qt::NoBrush);
  painter.drawArc(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
                  static_cast<int>(std::lround(start * kSixteenthsOfDegreePerRadian)),
                  static_cast<int>(std::lround(span * kSixteenthsOfDegreePerRadian)));
}

void DrawPolygon(QPainter& painter, const PictureElement& e, const RecordPlacement& place) {
  QPolygonF polygon;
  for (std::size_t n = 0; n + 1 < e.values.size(); n += 2) polygon << place.At(e.values[n], e.values[n + 1]);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ElementColour(e));
  painter.drawPolygon(polygon, Qt::OddEvenFill);
}

// Lines that continue each other in one colour go out as one polyline:
// smaller files, and joins without gaps.
class PolylineBatch {
 public:
  PolylineBatch(QPainter& painter, double width) : painter_(painter), width_(width) {}
  ~PolylineBatch() { Flush(); }
  PolylineBatch(const PolylineBatch&) = delete;
  PolylineBatch& operator=(const PolylineBatch&) = delete;

  void Add(QPointF a, QPointF b, const QColor& colour) {
    if (points_.isEmpty() || colour != colour_ || points_.back() != a) {
      Flush();
      colour_ = colour;
      points_ << a;
    }
    points_ << b;
  }
  void Flush() {
    if (points_.size() >= 2) {
      QPen pen(colour_, width_);
      pen.setCapStyle(Qt::RoundCap);
      pen.setJoinStyle(Qt::RoundJoin);
      painter_.setPen(pen);
      painter_.setBrush(Qt::NoBrush);
      painter_.drawPolyline(points_);
    }
    points_.clear();
  }

 private:
  QPainter& painter_;
  double width_;
  QColor colour_;
  QPolygonF points_;
};

void DrawElements(QPainter& painter, const std::vector<PictureElement>& elements, const RecordPlacement& place,
                  double lineWidth) {
  PolylineBatch lines(painter, lineWidth);
  for (const PictureElement& e : elements) {
    if (!Finite(e.values)) continue;
    if (e.kind == ElementKind::Line && e.values.size() == 4) {
      lines.Add(place.At(e.values[0], e.values[1]), place.At(e.values[2], e.values[3]), ElementColour(e));
      continue;
    }
    lines.Flush();
    painter.setPen(QPen(ElementColour(e), lineWidth));
    switch (e.kind) {
      case ElementKind::Point:
        if (e.values.size() == 2) {
          const QPointF p = place.At(e.values[0], e.values[1]);
          painter.fillRect(QRectF(p.x() - lineWidth / 2, p.y() - lineWidth / 2, lineWidth, lineWidth),
                           ElementColour(e));
        }
        break;
      case ElementKind::Boxes: DrawBoxes(painter, e, place, kBoxOutset * lineWidth / kLinePoints); break;
      case ElementKind::Arc:
        if (e.values.size() == 5) DrawArc(painter, e, place);
        break;
      case ElementKind::Polygon: DrawPolygon(painter, e, place); break;
      case ElementKind::Line: break;
    }
  }
}

// A font of `points` on the painter's device, whatever its resolution, in a
// painter whose units are points.
QFont FontOfPoints(const QPainter& painter, double points, bool bold = false) {
  QFont font("DejaVu Sans");
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points * 72.0 / std::max(1, painter.device()->logicalDpiY()));
  font.setBold(bold);
  return font;
}

// The places of the parts of a figure, in points.
struct FigureGeometry {
  QRectF plan, rowSection, columnSection;
  double viewsRight = 0, viewsBottom = 0;
  QRectF legend;
  double titleBaseline = 0;
  double belowViews = 0;  // top of the captions under the views
};

double LegendWidth(QPainter& painter, const FigureFacts& facts) {
  if (facts.legend.empty() && !facts.colourBar) return 0;
  const QFontMetricsF metrics(FontOfPoints(painter, kTextPoints), painter.device());
  double widest = facts.colourBar ? metrics.horizontalAdvance(QString::fromStdString(facts.colourBar->title)) : 0;
  for (const LegendEntry& entry : facts.legend)
    widest = std::max(widest, kLegendSwatch + 6 + metrics.horizontalAdvance(QString::fromStdString(entry.label)));
  return std::max(widest, kColourBarWidth + 6 + 6 * kTextPoints) + kLegendGap;
}

FigureGeometry Arrange(QPainter& painter, const QRectF& page, const FigureViews& v, const FigureFacts& facts) {
  FigureGeometry g;
  const double line = kTextPoints * 1.35;
  double top = page.top() + kMargin;
  if (!facts.title.empty()) {
    g.titleBaseline = top + kTitlePoints;
    top += kTitlePoints * 1.8;
  }
  top += 2 * line + kTickLength;  // axis title and tick labels above the plan
  const double left = page.left() + kMargin + 1.4 * line + 6 * kTextPoints;
  const double right = page.right() - kMargin - LegendWidth(painter, facts);
  const double below = 2 * line + kNorthArrowHeight + 6 + line * static_cast<double>(facts.notes.size());
  const double bottom = page.bottom() - kMargin - below;
  const ViewPlacement& p = v.placement;
  const double width = v.columnSectionShown ? p.columnSectionLeft + p.sectionPixels : p.planWidth;
  const double height = v.rowSectionShown ? p.rowSectionTop + p.sectionPixels : p.planHeight;
  const double scale =
      std::max(0.0, std::min((right - left) / std::max(width, 1.0), (bottom - top) / std::max(height, 1.0)));
  g.plan = QRectF(left, top, p.planWidth * scale, p.planHeight * scale);
  g.rowSection = QRectF(left, top + p.rowSectionTop * scale, p.planWidth * scale, p.sectionPixels * scale);
  g.columnSection = QRectF(left + p.columnSectionLeft * scale, top, p.sectionPixels * scale, p.planHeight * scale);
  g.viewsRight = left + width * scale;
  g.viewsBottom = top + height * scale;
  g.legend = QRectF(g.viewsRight + kLegendGap, top, page.right() - kMargin - g.viewsRight - kLegendGap,
                    g.viewsBottom - top);
  g.belowViews = g.viewsBottom + 4;
  return g;
}

void DrawView(QPainter& painter, const PictureRecord& record, const QRectF& rect) {
  DrawRecord(painter, record, rect, kLinePoints);
  painter.setPen(QPen(Qt::black, kFramePoints));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect);
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

void DrawAxes(QPainter& painter, const FigureGeometry& g, const FigureViews& v, const FigureFacts& facts) {
  painter.setPen(QPen(Qt::black, kLinePoints));
  const UserCorners& plan = v.plan.Corners();
  const PlanAxes& axes = facts.plan;
  HorizontalAxis(painter, g.plan, axes.xOffset + plan.left, axes.xOffset + plan.right, axes.xTitle, AxisSide::Above,
                 kLabelSpacing);
  LeftAxis(painter, g.plan, axes.yOffset - plan.top, axes.yOffset - plan.bottom, axes.yTitle, kLabelSpacing);
  if (v.rowSectionShown) {
    const UserCorners& row = v.rowSection.Corners();
    LeftAxis(painter, g.rowSection, row.top, row.bottom, facts.elevationTitle, kLabelSpacing);
  }
  if (v.columnSectionShown) {
    const UserCorners& column = v.columnSection.Corners();
    HorizontalAxis(painter, g.columnSection, column.left, column.right, facts.elevationTitle, AxisSide::Above,
                   kLabelSpacing);
  }
}

// A bar of a round length with its unit, and the arrow to north beside it.
void DrawScaleAndNorth(QPainter& painter, const FigureGeometry& g, const FigureViews& v, const FigureFacts& facts,
                       double top) {
  const UserCorners& plan = v.plan.Corners();
  DrawScaleBar(painter, QPointF(g.plan.left(), top + 4), g.plan.width(), std::fabs(plan.right - plan.left),
               facts.unit, kLinePoints);
  if (!facts.northAngle) return;
  const QPointF centre(g.plan.left() + g.plan.width() * 0.5 + 40, top + kNorthArrowHeight / 2 + 2);
  DrawNorthArrow(painter, centre, *facts.northAngle, kLinePoints);
}

void DrawColourBar(QPainter& painter, const ColourBar& bar, double left, double top, double height) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  painter.drawText(QPointF(left, top + metrics.ascent()), Text(bar.title));
  const QRectF ramp(left, top + metrics.height() + 4, kColourBarWidth, height);
  // Top is the high end; many thin bands render as a smooth ramp on every device.
  constexpr int kBands = 64;
  for (int n = 0; n < kBands; ++n) {
    const double fraction = 1 - (n + 0.5) / kBands;
    painter.fillRect(QRectF(ramp.left(), ramp.top() + n * ramp.height() / kBands, ramp.width(),
                            ramp.height() / kBands + 0.05),
                     ToQColor(FloodColour(fraction)));
  }
  painter.setPen(QPen(Qt::black, kLinePoints));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(ramp);
  const double span = bar.high - bar.low;
  const double step = RoundStep(span, 5);
  const int decimals = DecimalsOfStep(step);
  const auto place = [&](double value) {
    return ramp.bottom() - (span > 0 ? (value - bar.low) / span : 0) * ramp.height();
  };
  std::vector<double> values = step > 0 ? MultiplesWithin(bar.low, bar.high, step) : std::vector<double>{bar.low};
  for (const double value : values) {
    const double y = place(value);
    painter.drawLine(QPointF(ramp.right(), y), QPointF(ramp.right() + kTickLength, y));
    painter.drawText(QPointF(ramp.right() + kTickLength + 2, y + metrics.ascent() / 2 - 1),
                     Text(step > 0 ? FixedText(value, decimals) : PlainText(value)));
  }
}

void DrawLegend(QPainter& painter, const QRectF& area, const FigureFacts& facts) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  const double row = kTextPoints * 1.6;
  double y = area.top();
  for (const LegendEntry& entry : facts.legend) {
    const QColor colour = ToQColor(entry.colour);
    const QRectF swatch(area.left(), y, kLegendSwatch, kTextPoints);
    if (entry.line) {
      painter.setPen(QPen(colour, 1.2));
      painter.drawLine(QPointF(swatch.left(), swatch.center().y()), QPointF(swatch.right(), swatch.center().y()));
    } else {
      painter.fillRect(swatch, colour);
      painter.setPen(QPen(Qt::black, kLinePoints));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(swatch);
    }
    painter.setPen(Qt::black);
    painter.drawText(QPointF(swatch.right() + 6, swatch.center().y() + metrics.ascent() / 2 - 1), Text(entry.label));
    y += row;
  }
  if (facts.colourBar) DrawColourBar(painter, *facts.colourBar, area.left(), y + row / 2, kColourBarHeight);
}

}  // namespace

void DrawRecord(QPainter& painter, const PictureRecord& record, const QRectF& target, double lineWidth) {
  painter.save();
  painter.setClipRect(target, Qt::IntersectClip);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const RecordPlacement place(record.Corners(), target);
  DrawElements(painter, record.Persistent(), place, lineWidth);
  DrawElements(painter, record.Surface(), place, lineWidth);
  painter.restore();
}

void DrawFigure(QPainter& painter, const QRectF& page, const FigureViews& views, const FigureFacts& facts) {
  painter.save();
  painter.fillRect(page, Qt::white);
  painter.setFont(FontOfPoints(painter, kTextPoints));
  const FigureGeometry g = Arrange(painter, page, views, facts);
  if (g.plan.width() <= 0 || g.plan.height() <= 0) {
    painter.restore();
    return;
  }
  if (!facts.title.empty()) {
    painter.setFont(FontOfPoints(painter, kTitlePoints, true));
    painter.setPen(Qt::black);
    CentredText(painter, page.center().x(), g.titleBaseline, facts.title);
    painter.setFont(FontOfPoints(painter, kTextPoints));
  }
  DrawView(painter, views.plan, g.plan);
  if (views.rowSectionShown) DrawView(painter, views.rowSection, g.rowSection);
  if (views.columnSectionShown) DrawView(painter, views.columnSection, g.columnSection);
  DrawAxes(painter, g, views, facts);
  const QFontMetricsF metrics(painter.font(), painter.device());
  const double line = metrics.height();
  double y = g.belowViews + metrics.ascent();
  painter.setPen(Qt::black);
  if (views.rowSectionShown) CentredText(painter, g.rowSection.center().x(), y, facts.rowCaption);
  if (views.columnSectionShown) {
    // Under the column section: in the corner beside the row section when that is shown.
    const double below = views.rowSectionShown ? g.columnSection.bottom() + 4 + metrics.ascent() : y;
    CentredText(painter, g.columnSection.center().x(), below, facts.columnCaption);
  }
  if (views.rowSectionShown) y += line;
  DrawScaleAndNorth(painter, g, views, facts, y);
  y += kNorthArrowHeight + 6 + line;
  painter.setPen(Qt::black);
  for (const std::string& note : facts.notes) {
    painter.drawText(QPointF(g.plan.left(), y), Text(note));
    y += line;
  }
  DrawLegend(painter, g.legend, facts);
  painter.restore();
}

}  // namespace kestra
