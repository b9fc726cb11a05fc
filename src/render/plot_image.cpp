#include "render/plot_image.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "core/atomic_file.h"

namespace kestra {
namespace {

// Pixels are taken as screen pixels of 1/96 inch for the page size of a PDF.
constexpr double kPixelsPerInch = 96;
constexpr double kMillimetresPerInch = 25.4;

QByteArray PngBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

bool WriteSvg(const QImage& image, QIODevice& file) {
  const QByteArray size = "width=\"" + QByteArray::number(image.width()) + "\" height=\"" +
                          QByteArray::number(image.height()) + "\"";
  const QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" " +
                          size + " viewBox=\"0 0 " + QByteArray::number(image.width()) + " " +
                          QByteArray::number(image.height()) + "\">\n<image x=\"0\" y=\"0\" " + size +
                          " xlink:href=\"data:image/png;base64," + PngBytes(image).toBase64() + "\"/>\n</svg>\n";
  return file.write(text) == text.size();
}

bool WritePdf(const QImage& image, QIODevice& file) {
  QPdfWriter pdf(&file);
  pdf.setResolution(static_cast<int>(kPixelsPerInch));
  const QSizeF millimetres = QSizeF(image.size()) * (kMillimetresPerInch / kPixelsPerInch);
  pdf.setPageSize(QPageSize(millimetres, QPageSize::Millimeter));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter painter;
  if (!painter.begin(&pdf)) return false;
  painter.drawImage(QRect(0, 0, image.width(), image.height()), image);
  return painter.end();
}

bool WriteRaster(const QImage& image, QIODevice& file, const char* format) {
  QImageWriter writer(&file, format);
  return writer.write(image);
}

}  // namespace

PlotImageFormat PlotImageFormatOf(const std::string& path) {
  const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
  if (suffix == "png") return PlotImageFormat::Png;
  if (suffix == "svg") return PlotImageFormat::Svg;
  if (suffix == "pdf") return PlotImageFormat::Pdf;
  return PlotImageFormat::Bmp;
}

bool SavePlotImage(const QImage& image, const std::string& path, PlotImageFormat format, std::string& error) {
  if (image.isNull()) {
    error = "There is no picture to save.";
    return false;
  }
  // Encoded in memory and written as every other output is, so that a
  // failed write keeps the old file and names the system's reason.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  bool encoded = false;
  switch (format) {
    case PlotImageFormat::Png: encoded = WriteRaster(image, buffer, "PNG"); break;
    case PlotImageFormat::Svg: encoded = WriteSvg(image, buffer); break;
    case PlotImageFormat::Pdf: encoded = WritePdf(image, buffer); break;
    case PlotImageFormat::Bmp: encoded = WriteRaster(image, buffer, "BMP"); break;
  }
  if (!encoded) {
    error = path + ": the picture could not be encoded";
    return false;
  }
  return WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), error);
}

}  // namespace kestra
