// A picture plot dressed for a report: a title above the views, coordinate
// ticks along the plan and elevation ticks along the sections, a scale bar
// below and a legend beside them.
#pragma once

#include <QImage>
#include <string>
#include <vector>

#include "export/plot_annotation.h"
#include "graphics/view_arrangement.h"
#include "render/raster_picture.h"

namespace kestra {

struct PlotDecoration {
  std::string title;                 // none when empty
  bool annotate = false;             // ticks, scale bar and legend
  std::vector<LegendEntry> legend;   // used when annotating
};

struct ComposedViews {
  const RasterPicture& plan;
  const RasterPicture& rowSection;
  const RasterPicture& columnSection;
  const ViewLayout& layout;
  const ViewPlacement& placement;
  bool lowerSection = true;
  bool rightSection = true;
};

// The views as ComposeViews puts them together, inside margins that hold
// what `decoration` asks for; the plain composition when it asks for nothing.
QImage DecoratedViews(const ComposedViews& views, const PlotDecoration& decoration);

}  // namespace kestra
