#include "render/raster_picture.h"

#include <QPainter>
#include <QPolygonF>
#include <cmath>

#include "graphics/device_range.h"
#include "render/qt_colour.h"

namespace kestra {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A line along the far edge of the picture (the right or lower side of a
// frame, the last grid line) maps to the first pixel beyond the image; it is
// drawn on the last pixel instead, as a line on the near edge is on the first.
double OntoLastPixel(double pixel, int size) { return pixel > size - 1 && pixel < size + 1 ? size - 1 : pixel; }

}  // namespace

RasterPicture::RasterPicture() { SetGeometry(1, 1, UserCorners{}); }

// A painter in the picture's draw mode: inverting flips the pixels whatever
// the colour, so a second pass restores them; `smooth` elements (lines,
// arcs) are antialiased when the picture asks for it.
void RasterPicture::PreparePainter(QPainter& painter, bool smooth) const {
  painter.setRenderHint(QPainter::Antialiasing, smooth && antialiased_ && mode_ == DrawMode::Copy);
  if (mode_ == DrawMode::Invert) painter.setCompositionMode(QPainter::RasterOp_NotDestination);
}

void RasterPicture::SetGeometry(int widthPixels, int heightPixels, const UserCorners& corners) {
  const int width = std::max(static_cast<int>(std::lround(widthPixels * ratio_)), 1);
  const int height = std::max(static_cast<int>(std::lround(heightPixels * ratio_)), 1);
  persistent_image_ = QImage(width, height, QImage::Format_RGB32);
  shown_ = QImage(width, height, QImage::Format_RGB32);
  const double spanX = corners.right - corners.left;
  const double spanY = corners.bottom - corners.top;
  const double scaleX = spanX != 0 ? width / spanX : 1;
  const double scaleY = spanY != 0 ? height / spanY : 1;
  toPixels_ = QTransform(scaleX, 0, 0, scaleY, -corners.left * scaleX, -corners.top * scaleY);
  record_.SetCorners(corners);
  Clear();
}

void RasterPicture::Clear() {
  persistent_image_.fill(Qt::white);
  shown_.fill(Qt::white);
  record_.Clear();
}

void RasterPicture::Refresh() {
  shown_ = persistent_image_.copy();
  record_.Refresh();
}

QPointF RasterPicture::LinePixels(float x, float y) const {
  const QPointF p = DevicePixels(x, y);
  return {OntoLastPixel(p.x(), shown_.width()), OntoLastPixel(p.y(), shown_.height())};
}

void RasterPicture::DrawPoint(float x, float y, Colour colour) {
  const QPointF p = LinePixels(x, y);
  MoveTo(x, y);
  RecordElement(ElementKind::Point, colour, {x, y});
  if (!OnDevice(p.x(), p.y(), kRasterDeviceLimit)) return;
  const int px = static_cast<int>(std::floor(p.x()));
  const int py = static_cast<int>(std::floor(p.y()));
  QImage& target = Target();
  if (target.valid(px, py)) {
    const QRgb now = target.pixel(px, py);
    target.setPixel(px, py, mode_ == DrawMode::Invert ? (~now | 0xFF000000u) : ToQColor(colour).rgb());
  }
}

void RasterPicture::DrawLine(float x1, float y1, float x2, float y2, Colour colour) {
  MoveTo(x2, y2);
  RecordElement(ElementKind::Line, colour, {x1, y1, x2, y2});
  QPointF a = LinePixels(x1, y1), b = LinePixels(x2, y2);
  if (!ClipToDevice(a.rx(), a.ry(), b.rx(), b.ry(), kRasterDeviceLimit)) return;
  QPainter painter(&Target());
  PreparePainter(painter, true);
  painter.setPen(QPen(ToQColor(colour), 0));
  if (painter.testRenderHint(QPainter::Antialiasing)) {
    // Grid lines along an axis stay one sharp pixel wide: on the pixel's centre.
    if (a.x() == b.x()) a.rx() = b.rx() = std::floor(a.x()) + 0.5;
    if (a.y() == b.y()) a.ry() = b.ry() = std::floor(a.y()) + 0.5;
  }
  painter.drawLine(a, b);
}

std::optional<QRectF> RasterPicture::PixelRect(const PictureBox& box) const {
  // Whole pixels from corner to corner, so neighbouring cells meet without gaps.
  const QPointF a = DevicePixels(box.x1, box.y1);
  const QPointF b = DevicePixels(box.x2, box.y2);
  const auto ax = ClampedDeviceCoordinate(a.x(), kRasterDeviceLimit);
  const auto ay = ClampedDeviceCoordinate(a.y(), kRasterDeviceLimit);
  const auto bx = ClampedDeviceCoordinate(b.x(), kRasterDeviceLimit);
  const auto by = ClampedDeviceCoordinate(b.y(), kRasterDeviceLimit);
  if (!ax || !ay || !bx || !by) return std::nullopt;
  const double left = std::round(std::min(*ax, *bx));
  const double right = std::round(std::max(*ax, *bx));
  const double top = std::round(std::min(*ay, *by));
  const double bottom = std::round(std::max(*ay, *by));
  return QRectF(left, top, std::max(right - left, 1.0), std::max(bottom - top, 1.0));
}

void RasterPicture::FillBox(const PictureBox& box, Colour colour) { FillBoxes({box}, colour); }

void RasterPicture::FillBoxes(const std::vector<PictureBox>& boxes, Colour colour) {
  std::vector<float> corners;
  corners.reserve(4 * boxes.size());
  for (const PictureBox& box : boxes) corners.insert(corners.end(), {box.x1, box.y1, box.x2, box.y2});
  RecordElement(ElementKind::Boxes, colour, std::move(corners));
  QPainter painter(&Target());
  PreparePainter(painter, false);
  const QColor fill = ToQColor(colour);
  for (const PictureBox& box : boxes) {
    if (const std::optional<QRectF> rect = PixelRect(box)) painter.fillRect(*rect, fill);
  }
}

void RasterPicture::DrawCircle(float x, float y, float radius, Colour colour) {
  DrawArc(x, y, radius, 0, static_cast<float>(2 * kPi), colour);
}

void RasterPicture::DrawArc(float x, float y, float radius, float startAngle, float endAngle, Colour colour) {
  RecordElement(ElementKind::Arc, colour, {x, y, radius, startAngle, endAngle});
  // The radius is measured along the horizontal axis, so circles stay round
  // on exaggerated sections.
  const double pixels = std::fabs(radius * toPixels_.m11());
  const QPointF centre = DevicePixels(x, y);
  if (!OnDevice(centre.x(), centre.y(), kRasterDeviceLimit) || !(pixels <= kRasterDeviceLimit)) return;
  if (!std::isfinite(startAngle) || !std::isfinite(endAngle)) return;
  // Whole turns change nothing; without them the angles stay small enough to count in sixteenths of a degree.
  const double start = std::fmod(startAngle, 2 * kPi);
  double span = endAngle - startAngle;
  if (span <= 0) span = std::fmod(span, 2 * kPi) + 2 * kPi;
  span = std::min(span, 2 * kPi);
  QPainter painter(&Target());
  PreparePainter(painter, true);
  painter.setPen(QPen(ToQColor(colour), 0));
  const QRectF bounds(centre.x() - pixels, centre.y() - pixels, 2 * pixels, 2 * pixels);
  constexpr double kSixteenthsPerRadian = 16 * 180 / kPi;  // Qt angles are 1/16 degree
  painter.drawArc(bounds, static_cast<int>(std::lround(start * kSixteenthsPerRadian)),
                  static_cast<int>(std::lround(span * kSixteenthsPerRadian)));
}

void RasterPicture::FillPolygon(const std::vector<PicturePoint>& corners, Colour colour) {
  std::vector<float> values;
  values.reserve(2 * corners.size());
  for (const PicturePoint& p : corners) values.insert(values.end(), {p.x, p.y});
  RecordElement(ElementKind::Polygon, colour, std::move(values));
  QPolygonF polygon;
  for (const PicturePoint& p : corners) {
    const QPointF corner = DevicePixels(p.x, p.y);
    // A corner moved onto the device edge would change the shape inside the picture.
    if (!OnDevice(corner.x(), corner.y(), kRasterDeviceLimit)) return;
    polygon << corner;
  }
  QPainter painter(&Target());
  PreparePainter(painter, false);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ToQColor(colour));
  painter.drawPolygon(polygon, Qt::OddEvenFill);
}

}  // namespace kestra
