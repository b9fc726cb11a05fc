// Contour lines of the heads or drawdowns of the current layer on the plan,
// with labels in gaps of the lines, on the screen and into plots.
#pragma once

#include "core/run_state.h"
#include "core/user_interface.h"
#include "graphics/contour_table.h"
#include "graphics/contour_tracing.h"
#include "graphics/plot_primitives.h"
#include "graphics/stroke_font.h"
#include "settings/settings.h"

namespace kestra {

inline constexpr const char* kDrawContoursHint = "Draw Contours; Press ESC to Break";

// The lines of the levels drawn last and the nodes they were traced
// through: a redraw through the same nodes (after a zoom or a pan) draws
// the lines of its levels again instead of tracing them anew.
struct ContourCache {
  struct Level {
    float value = 0;
    std::vector<ContourLine> lines;
  };
  ContourNodes nodes;
  std::vector<Level> levels;  // those of the table's first levels traced whole, in its order
};

struct ContourInputs {
  ContourInputs(const Settings& drawSettings, const ContourTable& levels, const StrokeFont& strokeFont,
                UserInterface& userInterface, BusyFlags& busyFlags)
      : settings(drawSettings), table(levels), font(strokeFont), ui(userInterface), busy(busyFlags) {}

  const Settings& settings;
  const ContourTable& table;
  const StrokeFont& font;
  UserInterface& ui;
  BusyFlags& busy;  // contourDrawing is on while the levels are drawn
  ContourCache* cache = nullptr;  // where the lines are kept between redraws, if anywhere
};

// The result the settings choose to contour: the heads, or the drawdowns
// (DataSource 1); none when the chosen result did not load whole (what part
// of it did load would give false contours).
const CellArray<float>* ContourSource(const ModelState& model, const Settings& settings, bool headsLoaded,
                                      bool drawdownsLoaded);

// Draws every level of the table for CurrentLayer. Nothing unless the
// contours are shown or a plot is written: a plot always gets them. The
// meter follows the levels; Esc, or the busy flag cleared from outside,
// stops after the level being drawn.
void DrawContours(PlotContext& context, const ContourInputs& inputs, const CellArray<float>& values);

// One traced line of `level` in its colour, broken where its labels sit.
void DrawContourLine(PlotContext& context, const ContourInputs& inputs, const ContourLine& line,
                     const ContourLevel& level);

}  // namespace kestra
