// What a figure of the open model says, from the session and the views as
// they were drawn: shared by the window and the batch tool, so that both
// give the same figure.
#pragma once

#include <string>
#include <vector>

#include "export/capture_zones.h"
#include "render/figure.h"
#include "render/raster_picture.h"
#include "session/session.h"
#include "tracking/particle_set.h"

namespace kestra {

struct FigureRequest {
  std::string title;  // the default title when empty
  std::vector<std::string> notes;
  const ColourFlood* flood = nullptr;  // drawn on the plan, for its colour bar
  bool forwardPathlines = false;
  bool backwardPathlines = false;
  Colour forwardColour = kBlack;
  const std::vector<CaptureZone>* zones = nullptr;  // drawn on the views, for their legend lines
};

// The pathline entries of the request from the particles: a direction is
// drawn when a run in it released a particle.
void SetPathlinesOf(FigureRequest& request, const ParticleSet& particles);

// What the window's legend offers: the cell colours the model has, contours,
// vectors and the water table where the results allow them, pathlines as
// `request` says; each with its switch as the settings set it.
std::vector<LegendItem> WindowLegend(const Session& session, std::vector<Colour> presentColours,
                                     const FigureRequest& request);

// The drawn views as a figure, each section in when asked for and shown.
FigureViews FigureViewsOf(const RasterPicture& plan, const RasterPicture& rowSection,
                          const RasterPicture& columnSection, const ViewPlacement& placement,
                          const ViewLayout& layout, bool lowerSection, bool rightSection);

FigureFacts FigureFactsOf(const Session& session, const ViewLayout& layout, const FigureViews& views,
                          const FigureRequest& request);

}  // namespace kestra
