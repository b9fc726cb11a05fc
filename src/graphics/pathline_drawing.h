// Pathlines drawn while the engine computes them: every move on the plan and
// on both sections, the time marks and the direction mark of backward runs,
// onto the three pictures and, while a plot is saved, into the plot file.
#pragma once

#include "graphics/plot_primitives.h"
#include "settings/tracking_settings.h"
#include "tracking/track_observer.h"

namespace kestra {

class PathlineDrawing : public TrackObserver {
 public:
  // `marksToFile` lets the time and direction marks into the plot; the plot
  // export turns it on. Segments are cut to the current ViewWindow.
  PathlineDrawing(PlotContext& context, const TrackingSettings& tracking, bool marksToFile)
      : context_(context), tracking_(tracking), marksToFile_(marksToFile) {}

  void Segment(const TrackSegment& segment) override;
  void TimeMark(int particle, int direction, const PlanPoint& from, const PlanPoint& to) override;
  void DirectionMark(int particle, const PlanPoint& from, const PlanPoint& to) override;

 private:
  void SelectPen(Colour colour);

  PlotContext& context_;
  const TrackingSettings& tracking_;
  const bool marksToFile_;
  Colour pen_ = 0;
  bool penSelected_ = false;
};

// The pathline colour of a particle in `layer`: the layer's colour when the
// tracking settings ask for layer colours and the model has one, else its own.
Colour PathlineColour(const ModelState& model, const TrackingSettings& tracking, Colour particleColour, int layer);

}  // namespace kestra
