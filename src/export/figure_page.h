// How big a figure file is and on what sheet.
#pragma once

namespace kestra {

enum class Paper { Fitted, A4, A3, Letter };

// Beyond this a picture would need gigabytes.
inline constexpr int kMostFigurePixels = 20000;
inline constexpr int kMostFigureDpi = 2400;

struct FigurePage {
  int width = 1200;  // pixels of a raster; with the resolution, the page of a vector figure without paper
  int height = 900;
  int dpi = 150;
  Paper paper = Paper::Fitted;  // a PDF's sheet
  bool landscape = false;
};

}  // namespace kestra
