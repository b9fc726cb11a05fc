// The pathlines of a run kept in memory, one per particle and direction,
// for the exports that write whole lines (GIS layers, VTK poly data).
#pragma once

#include <vector>

#include "tracking/track_observer.h"

namespace kestra {

struct RecordedPath {
  int particle = 0;   // from 1
  int direction = 1;  // +1 forward, -1 backward
  // The release point first, then every point reached, in the order of
  // travel (the time of a backward path grows along it as well).
  std::vector<PathPoint> points;
};

// One point reported for a particle and direction, in the order of the reports.
struct PathReport {
  int particle = 0;
  int direction = 1;
  PathPoint point;
};

// The reports gathered into paths, ordered by particle and then forward
// before backward; a particle's reports from several passes (time steps)
// join into one path in the order they came.
std::vector<RecordedPath> GatherPaths(const std::vector<PathReport>& reports);

}  // namespace kestra
