// End points of the tracked particles: where each particle's tracking ended
// in each direction, how long it travelled and why it stopped, one CSV line
// per particle and direction.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/model_state.h"
#include "results/saved_steps.h"
#include "tracking/particle_set.h"
#include "tracking/track_observer.h"

namespace kestra {

struct Endpoint {
  int particle = 0;
  int direction = 1;
  CellIndex releaseCell;
  LocalPoint releaseLocal;
  // The release point in the coordinates of the pathline file: X from the
  // grid's left edge, Y up from the edge of its last row, Z the elevation.
  PlanPoint releaseGlobal;
  CellIndex finalCell;    // the last cell inside the grid
  LocalPoint finalLocal;  // the point in that cell, 0..1 (on its face for a particle that left the grid)
  PlanPoint finalGlobal;  // as releaseGlobal
  double finalCellZ = 0;  // the elevation of finalLocal in finalCell (finalGlobal.Z: where the last move ended)
  double time = 0;        // travel time at the final point
  TrackEnd end = TrackEnd::ReachedStopTime;
  bool tracked = true;    // false: the run ended before the particle's turn
};

// Why the tracking of the particle ended, as the end point table says it
// ("left the grid", "entered a sink cell", "reached its step limit", ...).
std::string EndpointEndText(const Endpoint& endpoint);

// True when the particle's tracking ended in a sink cell.
bool EndedInSink(const Endpoint& endpoint);

// The reason as the Particle Results table gives it: a particle in a sink
// names the cell and `packages`, the boundary packages found there
// ("entered the pumping well at layer 2, row 8, column 15"); a backward
// particle that left through the top of the grid "reached the water table
// (recharge)"; the others as EndpointEndText.
std::string EndpointEndDescription(const Endpoint& endpoint, const std::vector<std::string>& packages);

// The header line of the end point table.
std::string EndpointCsvHeader();

// One line: particle number, direction (forward or backward), release cell
// and local point, final cell and local point, final X, Y, Z, travel time
// and the reason the tracking ended.
std::string EndpointCsvLine(const Endpoint& endpoint);

// Turns the reports of one particle after another into its end points.
// Only the last point a particle reaches counts, so a point is held until
// the next one replaces it and turned into the end point's fields once, at
// the particle's end (or when another particle's reports begin).
class EndpointReports : public TrackObserver {
 public:
  explicit EndpointReports(const ModelState& state) : state_(state) {}
  void ReleasePoint(int particle, int direction, const PathPoint& point) override;
  void PointReached(int particle, int direction, const PathPoint& point) override;
  void ParticleEnd(int particle, int direction, const TrackState& state, TrackEnd end) override;

 protected:
  // The end point being built for a particle and direction.
  virtual Endpoint& Entry(int particle, int direction) = 0;
  const ModelState& state_;

 private:
  void Reach(Endpoint& endpoint, const PathPoint& point) const;
  // Applies the held point to its end point.
  void ApplyHeldPoint();

  PathPoint heldPoint_;
  int heldParticle_ = 0;  // 0: no point held
  int heldDirection_ = 0;
};

// Collects the end points while runs go on: the last report of each
// particle and direction wins. Points stay within the grid of `state`.
class EndpointCollector : public EndpointReports {
 public:
  EndpointCollector(const ModelState& state, int particleCount);

  // Holds the end points of the particles one thread tracks until merged.
  class Part : public EndpointReports {
   public:
    explicit Part(const EndpointCollector& owner) : EndpointReports(owner.state_), owner_(owner) {}

   private:
    friend class EndpointCollector;
    Endpoint& Entry(int particle, int direction) override;
    const EndpointCollector& owner_;
    std::vector<Endpoint> held_;
  };
  std::unique_ptr<Part> NewPart() const { return std::make_unique<Part>(*this); }
  void Merge(Part& part);

  // For every particle of `set` without an end point in `direction`: one at
  // its release point. When a particle's fault ended that direction's run,
  // they are marked not tracked; otherwise the run had no time for them (a
  // backward run from the start of the simulation) and they reached the
  // time limit where they are.
  void AddMissing(const ParticleSet& set, int direction);

  // In particle order, forward before backward.
  std::vector<Endpoint> Endpoints() const;
  // Forgets the end points of the particles after the first `count`.
  void KeepParticles(int count);
  // Keeps the end points of the particles left after a deletion, under their new numbers.
  void Renumber(const ParticleRenumbering& renumbering);

  // Time steps a run of these particles held the flow field over.
  void NoteHeldSteps(const SavedSteps& steps) { heldSteps_.insert(steps.begin(), steps.end()); }
  const SavedSteps& HeldSteps() const { return heldSteps_; }

 private:
  std::size_t Index(int particle, int direction) const {
    return static_cast<std::size_t>(particle - 1) * 2 + (direction > 0 ? 0 : 1);
  }
  Endpoint& Entry(int particle, int direction) override;
  // The end point so far, or a new one.
  Endpoint Current(int particle, int direction) const;

  std::vector<Endpoint> endpoints_;
  std::vector<char> present_;
  SavedSteps heldSteps_;
};

}  // namespace kestra

namespace kestra {

// The end points as a CSV text: a first line "# note" when there is a note
// (how the run departed from the model's results), the header and one line
// per end point, each line ending in a line feed.
std::string EndpointCsvText(const std::vector<Endpoint>& endpoints, const std::string& note = {});
// The same for the collector's end points, in its order, noting the steps held over.
std::string EndpointCsvText(const EndpointCollector& collector);

}  // namespace kestra
