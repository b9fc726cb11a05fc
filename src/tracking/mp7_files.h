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
#include "core/text_buffer.h"
#include "tracking/endpoint_table.h"
#include "tracking/track_observer.h"

namespace kestra {

// How the files name a particle: its sequence number, group (from 1) and
// id, and the tracking time of its release (from the reference time), to
// which its travel times are added.
struct Mp7ParticleLabel {
  int sequence = 0;
  int group = 1;
  int id = 0;
  double releaseTime = 0;
};

// The group names and the label of particle n at particles[n - 1]. Without
// labels a particle is named by its number, in one group "PARTICLES",
// released at the reference time.
struct Mp7Labels {
  std::vector<std::string> groupNames;
  std::vector<Mp7ParticleLabel> particles;
};

// The label of `particle` in `labels` (or its number when there are none).
Mp7ParticleLabel Mp7Label(const Mp7Labels* labels, int particle);

// The header: version line, direction (1 forward, 2 backward) and the
// simulation time of the release, "END HEADER".
void AppendMp7PathlineHeader(std::string& out, int direction, double referenceTime);

// The line before a particle's points: sequence number, group, particle
// id and the number of points. The count is known only after the points, so
// its room is kept where they begin (the start of the room is returned) and
// the line put there once the particle ends.
std::size_t KeepMp7PathlineStartRoom(TextBuffer& out);
void PutMp7PathlineStart(TextBuffer& out, std::size_t room, const Mp7ParticleLabel& label, int pointCount);

// One point: cell number, x, y, z, tracking time (the travel time after
// `releaseTime`), local x, y, z, layer, stress period and time step.
void AppendMp7PathlinePoint(TextBuffer& out, const ModelState& state, const PathPoint& point, int period, int step,
                            double releaseTime = 0);

// A particle's position at a time point (0: its release at tracking time 0)
// and the MODFLOW time step then loaded.
struct Mp7TimePoint {
  int index = 0;
  int particle = 0;
  int period = 1, step = 1;
  PathPoint point;
};

// The header of a time series file, as that of a pathline file.
void AppendMp7TimeSeriesHeader(std::string& out, int direction, double referenceTime);

// One time series record: time point, cumulative time step, tracking time,
// sequence number, group, id, cell number, local x, y, z, x, y, z, layer.
void AppendMp7TimeSeriesRecord(std::string& out, const ModelState& state, const Mp7TimePoint& record,
                               const Mp7ParticleLabel& label, int cumulativeStep);

// The whole end point file for `endpoints` of one direction, each named by
// `labels` when given. The final elevation is that of the final local
// height in the final cell, as MODPATH computes it. A `note` (one line)
// goes last in the header, where readers that look for its end pass over it.
void AppendMp7Endpoints(std::string& out, const ModelState& state, const std::vector<Endpoint>& endpoints,
                        int direction, double referenceTime, const Mp7Labels* labels = nullptr,
                        const std::string& note = {});

// The status code of an end point: 1 still active (a time limit ended it),
// 2 left through a boundary face, 3 stopped in a weak sink, 4 in a weak
// source, 5 could not leave (a strong sink or source, a fixed-head cell, a
// cell whose flow keeps it), 7 entered an inactive cell, 9 ended otherwise
// or was not tracked.
int Mp7Status(const ModelState& state, const Endpoint& endpoint);

}  // namespace kestra
