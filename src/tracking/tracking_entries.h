// The entries of the particle tracking (time) dialog: filled from the
// tracking settings, checked and stored back when the user confirms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/model_state.h"
#include "settings/layer_porosity.h"
#include "settings/tracking_settings.h"

namespace kestra {

// What the dialog shows, numbers as typed.
struct TrackingEntries {
  std::string stressPeriod, timeStep, stepLength, markInterval, arrowSize, sectionMarkSize, maximumSteps;
  int timeUnit = 1;
  bool markOnTopView = false;
  bool markOnXsections = false;
  int simulationMode = 1;
  bool stopAtWeakSinks = true;     // forward particles stop in weak sink cells, else pass through
  bool stopAtWeakSources = false;  // backward particles stop in weak source cells
  bool interpolatedFaces = false;  // face velocities interpolated between cells, else each cell's own
  bool stopAtTimeLimit = false;
  bool holdUnsavedSteps = false;  // pathlines keep the last flow field over steps not saved, else refuse
  int rechargeAssignment = 2;
  int evapotranspirationAssignment = 0;
  bool useLayerColors = false;
  bool allBoundaryCellsAreSinks = false;  // else sinks by flow sign
  std::string releaseTime;                // pathline release, model time units; blank: start of the time step
  std::vector<std::int32_t> layerColors;  // the pathline colour of layers 1..NLAY, in order
  // Per-layer porosities of a model imported from a MODFLOW-2005 name file,
  // layer 1 first; an empty entry keeps the model's porosity. Empty for
  // other models.
  std::vector<std::string> layerPorosity;
};

// The field a refused entry sends the user back to.
enum class TrackingField {
  None,
  StressPeriod,
  TimeStep,
  StepLength,
  ArrowSize,
  SectionMarkSize,
  Porosity,
  ReleaseTime,
};

struct TrackingCheck {
  TrackingField field = TrackingField::None;
  std::string message;  // empty when every entry is accepted
  int layer = 0;        // the layer of a refused porosity
};

inline constexpr const char* kStepLengthMessage = "The current step length is negative or zero";
inline constexpr const char* kMarkSizeMessage = "Valid range is 1 to 2,147,483,647";
inline constexpr const char* kPorosityMessage = "The porosity must be greater than 0 and at most 1";
inline constexpr const char* kReleaseTimeMessage = "The release time must lie between 0 and the end of the simulation,";

// The dialog's entries for the current settings: the step length shown in
// the dialog's unit, flowlines forced for a model of a single time step.
TrackingEntries TrackingEntriesFrom(const TrackingSettings& tracking, const StressPeriods& periods,
                                    const ModelState& state);

// The step length shown after the unit box changes from `fromUnit` to `toUnit`.
std::string ConvertedStepLength(const std::string& shown, int fromUnit, int toUnit);

// The first refused entry, in the dialog's order: stress period, time step,
// step length, mark size on the plan, mark size on the sections, the layer
// porosities, the release time.
TrackingCheck CheckTrackingEntries(const TrackingEntries& entries, const StressPeriods& periods);

// Stores checked entries: the time step and the layer colours into `state`, the rest into
// `tracking` with the step length converted to the model time unit and a
// mark interval of 0 taken as 1.
void StoreTrackingEntries(const TrackingEntries& entries, const StressPeriods& periods, TrackingSettings& tracking,
                          ModelState& state);

// The layer porosities entered; layers left empty are not set.
LayerPorosity LayerPorosityOf(const TrackingEntries& entries);

// The model's porosity of each layer 1..NLAY as a dialog shows it, "" for a
// layer whose cells differ.
std::vector<std::string> ModelLayerPorosityTexts(const ModelState& state);

// The entries of the porosity page: what the settings file sets for each of
// `layerCount` layers, empty for the others.
std::vector<std::string> LayerPorosityEntries(const LayerPorosity& porosity, int layerCount);

}  // namespace kestra
