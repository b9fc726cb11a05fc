// Pathlines drawn while the engine computes them: every move on the plan and
// on both sections, the time marks and the direction mark of backward runs,
// onto the three pictures and, while a plot is saved, into the plot file.
#pragma once

#include <map>
#include <optional>
#include <utility>

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

  // Backward moves in this colour instead of the particle's (layer colours,
  // when asked for, still win).
  void SetBackwardColour(std::optional<Colour> colour) { backwardColour_ = colour; }
  // Leaves out a time mark that would sit within its own size (in pixels) of
  // the last mark drawn for the same particle and direction, so that marks
  // of slow particles do not run into a blob. For the screen; plots keep
  // every mark.
  void SetMarkSpacing(bool on) { markSpacing_ = on; }
  // Draws every line half-way to white: paths that no longer match the options.
  void SetDimmed(bool on) { dimmed_ = on; }

  void Segment(const TrackSegment& segment) override;
  void TimeMark(int particle, int direction, const PlanPoint& from, const PlanPoint& to) override;
  void DirectionMark(int particle, const PlanPoint& from, const PlanPoint& to) override;

 private:
  void SelectPen(Colour colour);
  bool TooCloseToLastMark(int particle, int direction, const PlanPoint& at);

  PlotContext& context_;
  const TrackingSettings& tracking_;
  const bool marksToFile_;
  Colour pen_ = 0;
  bool penSelected_ = false;
  std::optional<Colour> backwardColour_;
  bool markSpacing_ = false;
  bool dimmed_ = false;
  std::map<std::pair<int, int>, PlanPoint> lastMark_;  // by particle and direction
};

// `colour` half-way to white.
Colour Faded(Colour colour);

// The pathline colour of a particle in `layer`: the layer's colour when the
// tracking settings ask for layer colours and the model has one, else its own.
Colour PathlineColour(const ModelState& model, const TrackingSettings& tracking, Colour particleColour, int layer);

}  // namespace kestra
