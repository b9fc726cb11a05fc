// The pathline file in the record layout of MODPATH: one line per pathline
// point, written while a replay retraces the particles.
#pragma once

#include <ostream>
#include <string>

#include "core/text_buffer.h"
#include "tracking/track_observer.h"

namespace kestra {

// One record: particle code (the particle number, negative for backward
// points), x and y (y measured upward from the grid's last-row edge), local
// z, z, time, column, row and layer, ending in CR LF. X, Y, Z and local z
// are written as the 32-bit values the file has always held.
std::string PathlineRecord(int particle, int direction, const PathPoint& point, float gridLengthY);
// The same record appended to `out`.
void AppendPathlineRecord(TextBuffer& out, int particle, int direction, const PathPoint& point, float gridLengthY);

// Writes the release point and every point a move reached. `gridLengthY`
// is YEDGE(NROW). Attach it to replays only: it writes whatever it is told.
class PathlineWriter : public TrackObserver {
 public:
  PathlineWriter(std::ostream& out, float gridLengthY) : out_(out), gridLengthY_(gridLengthY) {}
  void ReleasePoint(int particle, int direction, const PathPoint& point) override { WritePathlinePoint(particle, direction, point); }
  void PointReached(int particle, int direction, const PathPoint& point) override { WritePathlinePoint(particle, direction, point); }

 private:
  void WritePathlinePoint(int particle, int direction, const PathPoint& point) {
    out_ << PathlineRecord(particle, direction, point, gridLengthY_);
  }
  std::ostream& out_;
  const float gridLengthY_;
};

}  // namespace kestra
