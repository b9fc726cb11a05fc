#include "render/plot_decoration.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include "render/qt_colour.h"
#include "render/view_image.h"

namespace kestra {
namespace {

constexpr int kTitleBand = 34;
constexpr int kTickBand = 22;
constexpr int kLeftBand = 64;
constexpr int kScaleBand = 40;
constexpr int kLegendWidth = 170;
constexpr int kLegendRow = 20;
constexpr int kTickLength = 5;
constexpr int kPixelsPerTick = 90;

struct Margins {
  int left = 0, top = 0, right = 0, bottom = 0;
};

Margins MarginsFor(const PlotDecoration& decoration) {
  Margins m;
  if (!decoration.title.empty()) m.top += kTitleBand;
  if (decoration.annotate) {
    m.top += kTickBand;
    m.left = kLeftBand;
    m.bottom = kScaleBand;
    m.right = kLegendWidth;
  }
  return m;
}

// Ticks of one picture axis: values of user coordinate `first..last` at
// round steps, each at the pixel `place` gives, labelled by `draw`.
template <typename Place, typename Draw>
void DrawTicks(double first, double last, int pixels, Place place, Draw draw) {
  const double low = std::min(first, last), high = std::max(first, last);
  const double step = TickStep(high - low, std::max(1, pixels / kPixelsPerTick));
  for (double value : TickValues(low, high, step)) draw(place(value), QString::fromStdString(TickLabel(value)));
}

void DrawPlanTicks(QPainter& painter, const ComposedViews& v, QPoint origin) {
  const QPointF corner = v.plan.ToUser(QPointF(0, 0));
  const QPointF far = v.plan.ToUser(QPointF(v.placement.planWidth, v.placement.planHeight));
  const QFontMetrics metrics(painter.font());
  DrawTicks(
      corner.x(), far.x(), v.placement.planWidth,
      [&](double x) { return origin.x() + v.plan.ToPixels(static_cast<float>(x), 0).x(); },
      [&](double px, const QString& label) {
        painter.drawLine(QPointF(px, origin.y() - 1), QPointF(px, origin.y() - kTickLength));
        painter.drawText(QPointF(px - metrics.horizontalAdvance(label) / 2.0, origin.y() - kTickLength - 3), label);
      });
  DrawTicks(
      corner.y(), far.y(), v.placement.planHeight,
      [&](double y) { return origin.y() + v.plan.ToPixels(0, static_cast<float>(y)).y(); },
      [&](double py, const QString& label) {
        painter.drawLine(QPointF(origin.x() - 1, py), QPointF(origin.x() - kTickLength, py));
        painter.drawText(QPointF(origin.x() - kTickLength - 3 - metrics.horizontalAdvance(label), py + 4), label);
      });
}

// Elevations down the left of the row section and along the top of the column section.
void DrawSectionTicks(QPainter& painter, const ComposedViews& v, QPoint origin) {
  const QFontMetrics metrics(painter.font());
  if (v.lowerSection && v.layout.sectionsShown) {
    const int top = origin.y() + v.placement.rowSectionTop;
    const QPointF a = v.rowSection.ToUser(QPointF(0, 0));
    const QPointF b = v.rowSection.ToUser(QPointF(0, v.placement.sectionPixels));
    DrawTicks(
        a.y(), b.y(), v.placement.sectionPixels,
        [&](double z) { return top + v.rowSection.ToPixels(0, static_cast<float>(z)).y(); },
        [&](double py, const QString& label) {
          painter.drawLine(QPointF(origin.x() - 1, py), QPointF(origin.x() - kTickLength, py));
          painter.drawText(QPointF(origin.x() - kTickLength - 3 - metrics.horizontalAdvance(label), py + 4), label);
        });
  }
  if (v.rightSection && v.layout.sectionsShown) {
    const int left = origin.x() + v.placement.columnSectionLeft;
    const QPointF a = v.columnSection.ToUser(QPointF(0, 0));
    const QPointF b = v.columnSection.ToUser(QPointF(v.placement.sectionPixels, 0));
    DrawTicks(
        a.x(), b.x(), v.placement.sectionPixels,
        [&](double z) { return left + v.columnSection.ToPixels(static_cast<float>(z), 0).x(); },
        [&](double px, const QString& label) {
          painter.drawLine(QPointF(px, origin.y() - 1), QPointF(px, origin.y() - kTickLength));
          painter.drawText(QPointF(px - metrics.horizontalAdvance(label) / 2.0, origin.y() - kTickLength - 3), label);
        });
  }
}

void DrawScaleBar(QPainter& painter, const ComposedViews& v, QPoint at) {
  const QPointF corner = v.plan.ToUser(QPointF(0, 0));
  const QPointF far = v.plan.ToUser(QPointF(v.placement.planWidth, 0));
  const double length = TickStep(std::abs(far.x() - corner.x()), 4);
  if (length <= 0) return;
  const double pixels = std::abs(v.plan.ToPixels(static_cast<float>(corner.x() + length), 0).x() -
                                 v.plan.ToPixels(static_cast<float>(corner.x()), 0).x());
  painter.fillRect(QRectF(at.x(), at.y(), pixels / 2, 6), Qt::black);
  painter.drawRect(QRectF(at.x(), at.y(), pixels, 6));
  painter.drawText(QPointF(at.x(), at.y() + 22), QString::fromStdString("0"));
  painter.drawText(QPointF(at.x() + pixels - 10, at.y() + 22), QString::fromStdString(TickLabel(length)));
}

void DrawLegend(QPainter& painter, const std::vector<LegendEntry>& legend, QPoint at) {
  int y = at.y();
  for (const LegendEntry& entry : legend) {
    const QColor colour = ToQColor(entry.colour);
    if (entry.line) {
      painter.setPen(QPen(colour, 2));
      painter.drawLine(at.x(), y + 7, at.x() + 24, y + 7);
    } else {
      painter.fillRect(QRect(at.x(), y, 24, 14), colour);
      painter.setPen(Qt::black);
      painter.drawRect(QRect(at.x(), y, 24, 14));
    }
    painter.setPen(Qt::black);
    painter.drawText(QPoint(at.x() + 32, y + 12), QString::fromStdString(entry.label));
    y += kLegendRow;
  }
}

}  // namespace

QImage DecoratedViews(const ComposedViews& v, const PlotDecoration& decoration) {
  const QImage views =
      ComposeViews(v.plan, v.rowSection, v.columnSection, v.layout, v.placement, v.lowerSection, v.rightSection);
  const Margins m = MarginsFor(decoration);
  if (views.isNull() || (m.top == 0 && m.left == 0)) return views;
  QImage image(views.width() + m.left + m.right, views.height() + m.top + m.bottom, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  const QPoint origin(m.left, m.top);
  painter.drawImage(origin, views);
  if (!decoration.title.empty()) {
    QFont font = painter.font();
    font.setPointSize(14);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, image.width(), kTitleBand), Qt::AlignCenter, QString::fromStdString(decoration.title));
    painter.setFont(QFont());
  }
  if (decoration.annotate) {
    painter.setPen(Qt::black);
    DrawPlanTicks(painter, v, origin);
    DrawSectionTicks(painter, v, origin);
    DrawScaleBar(painter, v, QPoint(m.left, m.top + views.height() + 8));
    DrawLegend(painter, decoration.legend, QPoint(m.left + views.width() + 12, m.top));
  }
  return image;
}

}  // namespace kestra
