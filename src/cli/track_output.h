// What kestra-cli track writes besides the pathlines it writes while
// tracking: the end point file, the pathline file by replay, and the report
// of particles that were not tracked to their end.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/model_state.h"
#include "tracking/batch_output.h"
#include "tracking/endpoint_table.h"
#include "tracking/thread_count.h"
#include "tracking/track_particles.h"

namespace kestra::cli {


// The end point file of one run or both (kestra: CSV) or of one direction
// (MODPATH 7). A `note` says how the run departed from the model's results:
// a first line "# note" of the CSV, the last line of the MODPATH 7 header.
std::string EndpointFileText(PathlineLayout layout, const ModelState& state, const std::vector<Endpoint>& endpoints,
                             int direction, double referenceTime, const Mp7Labels* labels, const std::string& note);

// The pathline file as the "MODPATH" plot export writes it: every particle
// retraced from its release point as far as the runs took it. False, with
// the reason in `error`, when it could not be written.
bool WriteReplayedPathlines(const std::string& path, TrackingRun& tracked, std::string& error);

// Names on `err` the particles whose tracking did not reach its end and the
// places in the particle file of those it left out; true when there are none.
bool ReportUntracked(const std::vector<Endpoint>& endpoints, const std::vector<int>& skipped,
                     const std::string& command, std::ostream& err);

}  // namespace kestra::cli
