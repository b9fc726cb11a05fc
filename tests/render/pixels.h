// Pixels of raster pictures, for the render tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "render/raster_picture.h"

namespace kestra::test {

inline const QRgb kRedPixel = qRgb(255, 0, 0);
inline const QRgb kWhitePixel = qRgb(255, 255, 255);
inline const QRgb kBlackPixel = qRgb(0, 0, 0);

struct Pixel {
  int x, y;
  QRgb rgb;
};

// Whether the image has the colours at the pixels.
inline void ExpectPixels(const QImage& image, std::initializer_list<Pixel> pixels) {
  for (const Pixel& p : pixels) EXPECT_EQ(image.pixel(p.x, p.y), p.rgb) << "pixel " << p.x << ", " << p.y;
}

// The same once the picture's drawing is shown.
inline void ExpectPixels(RasterPicture& picture, std::initializer_list<Pixel> pixels) {
  picture.Refresh();
  ExpectPixels(picture.Image(), pixels);
}

// How many pixels of the image are not white.
inline int PaintedPixels(const QImage& image) {
  int painted = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) painted += image.pixel(x, y) != kWhitePixel;
  return painted;
}

}  // namespace kestra::test
