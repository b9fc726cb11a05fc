#include "render/figure_file.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "core/atomic_file.h"

namespace kestra {
namespace {

constexpr double kPointsPerInch = 72;
constexpr double kMetresPerInch = 0.0254;
// Fine enough that no coordinate of a PDF page shows its rounding.
constexpr int kPdfResolution = 1200;

QPageSize PaperSize(Paper paper) {
  switch (paper) {
    case Paper::A3: return QPageSize(QPageSize::A3);
    case Paper::Letter: return QPageSize(QPageSize::Letter);
    default: return QPageSize(QPageSize::A4);
  }
}

bool DrawOn(QPaintDevice& device, double unitsPerPoint, const QSizeF& points, const FigureViews& views,
            const FigureFacts& facts) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.scale(unitsPerPoint, unitsPerPoint);
  DrawFigure(painter, QRectF(QPointF(0, 0), points), views, facts);
  return painter.end();
}

bool WritePdf(QIODevice& out, const QSizeF& points, const FigurePage& page, const FigureViews& views,
              const FigureFacts& facts) {
  QPdfWriter pdf(&out);
  pdf.setResolution(kPdfResolution);
  pdf.setTitle(QString::fromStdString(facts.title));
  pdf.setCreator(QStringLiteral("Kestra"));
  pdf.setPageSize(page.paper == Paper::Fitted ? QPageSize(points, QPageSize::Point) : PaperSize(page.paper));
  pdf.setPageOrientation(page.paper != Paper::Fitted && page.landscape ? QPageLayout::Landscape
                                                                       : QPageLayout::Portrait);
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  return DrawOn(pdf, kPdfResolution / kPointsPerInch, points, views, facts);
}

bool WriteSvg(QIODevice& out, const QSizeF& points, const FigureViews& views, const FigureFacts& facts) {
  QSvgGenerator svg;
  svg.setOutputDevice(&out);
  svg.setResolution(static_cast<int>(kPointsPerInch));
  svg.setSize(points.toSize());
  svg.setViewBox(QRectF(QPointF(0, 0), points));
  svg.setTitle(QString::fromStdString(facts.title));
  return DrawOn(svg, 1, points, views, facts);
}

bool WriteRaster(QIODevice& out, const char* format, const FigurePage& page, const FigureViews& views,
                 const FigureFacts& facts) {
  const QImage image = FigureImage(page, views, facts);
  if (image.isNull()) return false;
  QImageWriter writer(&out, format);
  return writer.write(image);
}

}  // namespace

QImage FigureImage(const FigurePage& page, const FigureViews& views, const FigureFacts& facts) {
  QImage image(std::max(page.width, 1), std::max(page.height, 1), QImage::Format_RGB32);
  const int dotsPerMetre = static_cast<int>(std::lround(std::max(page.dpi, 1) / kMetresPerInch));
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  image.fill(Qt::white);
  const double unitsPerPoint = std::max(page.dpi, 1) / kPointsPerInch;
  if (!DrawOn(image, unitsPerPoint, QSizeF(image.width(), image.height()) / unitsPerPoint, views, facts))
    return {};
  return image;
}

QSizeF PagePoints(const FigurePage& page, FigureFormat format) {
  if (format == FigureFormat::Pdf && page.paper != Paper::Fitted) {
    const QSizeF sheet = PaperSize(page.paper).size(QPageSize::Point);
    return page.landscape ? sheet.transposed() : sheet;
  }
  const double pointsPerPixel = kPointsPerInch / std::max(page.dpi, 1);
  return QSizeF(page.width, page.height) * pointsPerPixel;
}

bool SaveFigure(const std::string& path, FigureFormat format, const FigurePage& page, const FigureViews& views,
                const FigureFacts& facts, std::string& error) {
  // Encoded in memory and written as every other output is, so that a
  // failed write keeps the old file and names the system's reason.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const QSizeF points = PagePoints(page, format);
  bool encoded = false;
  switch (format) {
    case FigureFormat::Pdf: encoded = WritePdf(buffer, points, page, views, facts); break;
    case FigureFormat::Svg: encoded = WriteSvg(buffer, points, views, facts); break;
    case FigureFormat::Png: encoded = WriteRaster(buffer, "PNG", page, views, facts); break;
    case FigureFormat::Tiff: encoded = WriteRaster(buffer, "TIFF", page, views, facts); break;
  }
  if (!encoded) {
    error = path + ": the figure could not be encoded";
    return false;
  }
  return WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), error);
}

}  // namespace kestra
