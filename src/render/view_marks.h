// The marks around and on the views that the saved figure and the window
// share: axes of round values, centred captions, a scale bar and a north
// arrow. Sizes are in the painter's units (points on a figure's page,
// pixels in the window); lines take the painter's pen.
#pragma once

#include <QFontMetricsF>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <string>

namespace kestra {

inline constexpr double kTickLength = 3;
inline constexpr double kNorthArrowHeight = 24;

enum class AxisSide { Above, Below };

// Ticks above or below `rect`: values run from `first` at its left to `last`
// at its right, labelled at least `labelSpacing` apart, the title beyond.
void HorizontalAxis(QPainter& painter, const QRectF& rect, double first, double last, const std::string& title,
                    AxisSide side, double labelSpacing);

// Ticks left of `rect`: values run from `first` at its top to `last` at its
// bottom, the title turned beside the labels.
void LeftAxis(QPainter& painter, const QRectF& rect, double first, double last, const std::string& title,
              double labelSpacing);

// How wide the labels and title of a LeftAxis `length` long are in the font of `metrics`.
double LeftAxisWidth(const QFontMetricsF& metrics, double first, double last, double length, double labelSpacing);

void CentredText(QPainter& painter, double centreX, double baseline, const std::string& text);

// The round length a scale bar of a plan `span` model units wide shows.
double ScaleBarLength(double span);

// A bar of a round length of the plan with its unit, from `topLeft`: the
// plan `span` model units wide is `planWidth` painter units wide. Draws
// nothing where no length fits.
void DrawScaleBar(QPainter& painter, QPointF topLeft, double planWidth, double span, const std::string& unit,
                  double lineWidth);

// An arrow to north, `angle` degrees counter-clockwise from up, with its N.
void DrawNorthArrow(QPainter& painter, QPointF centre, double angle, double lineWidth);

}  // namespace kestra
