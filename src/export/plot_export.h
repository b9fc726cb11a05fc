// Saving a plot: the views drawn again with every element going into the
// plot file, then the particles retraced as far as the runs took them so
// that their pathlines and time marks go in too. The "MODPATH" format writes
// the retraced pathline points instead.
#pragma once

#include <string>

#include "graphics/draw_inputs.h"
#include "graphics/plot_primitives.h"
#include "settings/settings.h"
#include "tracking/track_particles.h"

namespace kestra {

// Whether `path` can be written, found without truncating it: an existing
// file is opened for appending, a new one created and removed again. False,
// with the system's reason in `error`, when it cannot.
bool TestPlotFileWritable(const std::string& path, std::string& error);

// Switches off every DXF map whose file name contains the plot file name
// (both compared in lower case), so that a plot never replaces a map it is
// drawing. Returns how many were switched off.
int SwitchOffMapsWrittenBy(Settings& settings, const std::string& plotFileName);

// Redraws the model of CurrentLayer on the pictures and retraces the
// particles of `run` (its observer is not used) with their pathlines and
// time marks. With PlotToFile on and a file format, the elements go into a
// new file beside PlotFileName that replaces it only when the whole plot was
// written and is on the disk (core/atomic_file.h); a failed plot leaves the
// old file as it was. PlotToFile is off again afterwards. False, with the
// file and the system's reason in `error`, when the file could not be
// written.
bool SavePlot(PlotContext& context, const DrawInputs& inputs, TrackingRun& run, std::string& error);

}  // namespace kestra
