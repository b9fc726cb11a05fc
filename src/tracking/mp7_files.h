// The end point and pathline files in the text layouts of MODPATH 7
// (version 7.2), so that tools written for it (FloPy's EndpointFile and
// PathlineFile) read what the batch tool writes. One file holds one
// tracking direction. Coordinates: x from the grid's left edge, y up from
// the edge of its last row, local y measured upward as well (1 - the local
// y of the tracking engine), cells numbered layer by layer, row by row.
#pragma once

#include <string>
#include <vector>

#include "core/model_state.h"
#include "tracking/endpoint_table.h"
#include "tracking/track_observer.h"

namespace kestra {

// The header: version line, direction (1 forward, 2 backward) and the
// simulation time of the release, "END HEADER".
void AppendMp7PathlineHeader(std::string& out, int direction, double referenceTime);

// The line before a particle's points: sequence number, group (always 1),
// particle id (both the particle number) and the number of points.
void AppendMp7PathlineStart(std::string& out, int particle, int pointCount);

// One point: cell number, x, y, z, travel time, local x, y, z, layer,
// stress period and time step.
void AppendMp7PathlinePoint(std::string& out, const ModelState& state, const PathPoint& point, int period, int step);

// The whole end point file for `endpoints` of one direction.
void AppendMp7Endpoints(std::string& out, const ModelState& state, const std::vector<Endpoint>& endpoints,
                        int direction, double referenceTime);

// The status code of an end point: 1 still active (a time limit ended it),
// 2 left through a boundary face, 3 stopped in a weak sink, 4 in a weak
// source, 5 could not leave (a strong sink or source, a fixed-head cell, a
// cell whose flow keeps it), 7 entered an inactive cell, 9 ended otherwise
// or was not tracked.
int Mp7Status(const ModelState& state, const Endpoint& endpoint);

}  // namespace kestra
