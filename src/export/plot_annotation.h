// What a figure of the views says besides the views: its title, the axis
// titles in the model's unit, the captions of the sections, the north arrow,
// and a legend of only what the views show.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/model_state.h"
#include "core/stress_periods.h"
#include "graphics/colour_flood.h"
#include "graphics/picture.h"
#include "graphics/view_layout.h"
#include "settings/settings.h"

namespace kestra {

struct LegendEntry {
  std::string label;
  Colour colour = 0;
  bool line = false;  // drawn as a line (contours, vectors, pathlines), else as a filled box
  bool operator==(const LegendEntry&) const = default;
};

// What the views were drawn with, as the caller knows it.
struct DrawnContent {
  std::vector<Colour> filledColours;  // of the boxes on the plan and the sections
  bool contours = false;
  Colour contourColour = kBlack;
  bool vectors = false;
  bool waterTable = false;
  bool forwardPathlines = false;
  bool backwardPathlines = false;
  Colour forwardColour = kBlack;
};

// The cell types and packages the settings show and the views filled, in
// drawing order, then contours, vectors, the water table and pathlines where
// drawn.
std::vector<LegendEntry> LegendEntries(const Settings& settings, const DrawnContent& drawn);

// A line of the window's legend: what it shows, and the switch of the
// settings that shows it; none for pathlines, which show while they exist.
struct LegendItem {
  LegendEntry entry;
  std::int16_t Settings::*shownBy = nullptr;
  bool shown = true;
};

// Everything `offered` says the views can show (the cell colours the model
// has, contours, vectors and the water table where the results allow them,
// pathlines where particles ran), each with its switch as the settings set
// it now; the grid lines first.
std::vector<LegendItem> LegendItems(const Settings& settings, const DrawnContent& offered);

// A colour ramp labelled from `low` to `high`.
struct ColourBar {
  std::string title;  // "Head (m)"
  double low = 0;
  double high = 0;
};

// The axes of the plan: an axis value of a plan point (x, y), y measured down
// from the grid's upper edge, is (xOffset + x, yOffset - y), so that y runs up.
struct PlanAxes {
  std::string xTitle;  // "Easting (m)", or "x (m)" on a model without a world position
  std::string yTitle;
  double xOffset = 0;
  double yOffset = 0;
};

struct FigureFacts {
  std::string title;
  std::vector<std::string> notes;  // lines under the views
  std::string unit;                // the model's length unit, "m"; empty when the model says none
  PlanAxes plan;
  std::string elevationTitle;  // "Elevation (m)"
  std::string rowCaption;      // "Row 13, vertical exaggeration 3.3"
  std::string columnCaption;   // "Column 15"
  // The direction of north on the page, degrees counter-clockwise from up;
  // none for a model without a world position.
  std::optional<double> northAngle;
  std::vector<LegendEntry> legend;
  std::optional<ColourBar> colourBar;
};

// "mixed3d: layer 2, period 1, step 1, 3650 days": the model's name, the
// layer shown, the time step and its end in simulation time.
std::string DefaultFigureTitle(const ModelState& model, const StressPeriods& periods);

// The words of a figure of the model as the layout and settings show it;
// `title` replaces the default title when not empty.
FigureFacts FactsOfFigure(const ModelState& model, const Settings& settings, const StressPeriods& periods,
                          const ViewLayout& layout, const std::string& title);

// "3.3", "12", "0.25": a vertical exaggeration as a caption states it.
std::string ExaggerationText(double exaggeration);

}  // namespace kestra
