// End points of the tracked particles: where each particle's tracking ended
// in each direction, how long it travelled and why it stopped, one CSV line
// per particle and direction.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "core/model_state.h"
#include "tracking/track_observer.h"

namespace kestra {

struct Endpoint {
  int particle = 0;
  int direction = 1;
  CellIndex releaseCell;
  LocalPoint releaseLocal;
  CellIndex finalCell;    // the last cell inside the grid
  LocalPoint finalLocal;  // the point in that cell (on its face for a particle that left the grid)
  // The final point in the coordinates of the pathline file: X from the
  // grid's left edge, Y up from the edge of its last row, Z the elevation.
  PlanPoint finalGlobal;
  double time = 0;
  TrackEnd end = TrackEnd::ReachedStopTime;
};

// The header line of the end point table.
std::string EndpointCsvHeader();

// One line: particle number, direction (forward or backward), release cell
// and local point, final cell and local point, final X, Y, Z, travel time
// and the reason the tracking ended.
std::string EndpointCsvLine(const Endpoint& endpoint);

// Collects the end points while runs go on: the last reported end of each
// particle and direction wins. Points stay within the grid of `state`.
class EndpointCollector : public TrackObserver {
 public:
  explicit EndpointCollector(const ModelState& state) : state_(state) {}
  void ReleasePoint(int particle, int direction, const PathPoint& point) override;
  void PointReached(int particle, int direction, const PathPoint& point) override;
  void ParticleEnd(int particle, int direction, const TrackState& state, TrackEnd end) override;

  // In particle order, forward before backward.
  const std::map<std::pair<int, int>, Endpoint>& Endpoints() const { return endpoints_; }

 private:
  Endpoint& At(int particle, int direction);
  void Reach(Endpoint& endpoint, const PathPoint& point) const;

  const ModelState& state_;
  std::map<std::pair<int, int>, Endpoint> endpoints_;  // keyed by (particle, -direction)
};

}  // namespace kestra

namespace kestra {

// The whole table as a CSV text: the header and one line per end point, in
// the collector's order, each line ending in a line feed.
std::string EndpointCsvText(const EndpointCollector& collector);

}  // namespace kestra
