// The plot file side of the drawing devices: while a plot is saved every
// primitive also writes its element into the plot file, in HPGL or DXF.
#pragma once

#include <fstream>
#include <string>

#include "graphics/picture.h"
#include "graphics/view_layout.h"
#include "graphics/world_transform.h"

namespace kestra {

inline constexpr const char* kPlotFormatDxf = "DXF";
inline constexpr const char* kPlotFormatHpgl = "HPGL";
inline constexpr const char* kPlotFormatModpath = "MODPATH";
inline constexpr const char* kPlotFormatBitmap = "Windows bitmap (BMP)";

struct PlotDevice {
  std::string PlotFormat = kPlotFormatDxf;
  std::string PlotFileName;
  bool PlotToFile = false;
  float HpglScale = 1;    // model length units per plotter unit; never 0
  int DxfColorIndex = 0;  // colour index of the current pen, 0 = none (no colour group)
  std::string DxfLayer = "0";  // the DXF layer of the following entities
  bool IncludeLowerXsection = true;
  bool IncludeRightXsection = true;
  std::ofstream file;
  bool polylineOpen = false;  // a DXF POLYLINE still waits for its SEQEND
  bool hasLastVertex = false;
  double hpglPenX = 0;  // plotter units the last HPGL move or draw went to
  double hpglPenY = 0;
  WorldPoint lastVertex;

  bool WritesDxf() const { return PlotToFile && PlotFormat == kPlotFormatDxf && file.is_open(); }
  bool WritesHpgl() const { return PlotToFile && PlotFormat == kPlotFormatHpgl && file.is_open(); }
};

// Puts the DXF entities written during its lifetime on a named layer, so
// that a CAD program can show or hide each kind of element.
class DxfLayerScope {
 public:
  DxfLayerScope(PlotDevice& device, const char* layer) : device_(device), saved_(device.DxfLayer) {
    device.DxfLayer = layer;
  }
  ~DxfLayerScope() { device_.DxfLayer = saved_; }
  DxfLayerScope(const DxfLayerScope&) = delete;
  DxfLayerScope& operator=(const DxfLayerScope&) = delete;

 private:
  PlotDevice& device_;
  std::string saved_;
};

// Opens PlotFileName, replacing the file, and writes the HPGL or DXF header
// when PlotToFile is on; the bitmap format opens nothing. HPGL plots are
// scaled from the zoom window. False when the file cannot be created.
bool OpenPlotFile(PlotDevice& device, const ZoomWindow& zoom);

// Writes the HPGL or DXF trailer and closes the file. False when any write
// to the file failed since it was opened.
bool ClosePlotFile(PlotDevice& device);

// HPGL pen 1..8 of a colour: one bit each for red, green and blue of 127 or more.
int HpglPen(Colour colour);
// The first DXF colour index whose table colour lies nearest (sum of the
// channel differences) to the colour.
int NearestColorIndex(Colour colour);

// Picks the pen for the following elements of the plot file: writes the HPGL
// pen selection, or sets DxfColorIndex. Nothing when no plot is written.
void SelectPlotPen(PlotDevice& device, Colour colour);

}  // namespace kestra
