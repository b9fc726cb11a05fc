#include "render/plot_image.h"

#include <QBuffer>
#include <QImageWriter>

#include "core/atomic_file.h"

namespace kestra {
namespace {

bool WriteRaster(const QImage& image, QIODevice& file, const char* format) {
  QImageWriter writer(&file, format);
  return writer.write(image);
}

}  // namespace

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
    case PlotImageFormat::Bmp: encoded = WriteRaster(image, buffer, "BMP"); break;
  }
  if (!encoded) {
    error = path + ": the picture could not be encoded";
    return false;
  }
  return WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), error);
}

}  // namespace kestra
