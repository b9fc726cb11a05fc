// kestra-cli track --mpsim RUN.mpsim: a MODPATH 7 simulation run on the
// flow model its name file names, written in MODPATH 7's end point,
// pathline and time series layouts.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "session/session.h"
#include "settings/tracking_settings.h"
#include "tracking/mp7_files.h"
#include "tracking/particle_set.h"

namespace kestra::cli {

struct MpsimRequest {
  std::string simulation;  // the .mpsim file
  std::string endpoints;   // the end point file; empty: the one the simulation names
  std::string pathlines;   // the pathline file; empty: the one the simulation names, if any
  std::string timeSeries;  // the time series file; empty: the one the simulation names, if any
  bool quiet = false;
  bool summary = false;  // the lines after the run on standard output instead of the error stream
  int threads = 1;
  std::optional<UnsavedStepRule> unsavedSteps;  // over the model settings' rule
};

// The exit status: 0 done, 1 a file could not be read or written, 3 some
// particles were not tracked to their end.
int RunMpsim(const MpsimRequest& request, std::ostream& out, std::ostream& err);

// True for a path that names a MODPATH 7 starting locations file (".sloc").
bool IsStartingLocationsFile(const std::string& path);

// Reads a starting locations file over the grid of the open model into
// `particles` (one release, at the start of the run), their ids into
// `labels`. False, with the file and line on `err`, when it cannot be read.
bool ReadStartingLocationsFile(const std::string& path, const Session& session, ParticleSet& particles,
                               Mp7Labels& labels, std::ostream& err);

}  // namespace kestra::cli
