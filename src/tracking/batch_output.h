// What a batch run writes while it tracks: the pathline text (in the record
// layout of the pathline export or of MODPATH 7) straight into its file,
// and the end points of every particle. Tracking threads format their
// particles' text themselves; it reaches the file in particle order.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/model_state.h"
#include "tracking/endpoint_table.h"
#include "tracking/mp7_files.h"
#include "tracking/parallel_observer.h"
#include "tracking/recorded_paths.h"

namespace kestra {

enum class PathlineLayout { Kestra, Mp7 };

// How far a run has come: particles whose tracking in this run is done
// (not only paused at the end of a time step), cell moves.
struct BatchCounts {
  std::int64_t particlesDone = 0;
  std::int64_t moves = 0;
};

class BatchOutput : public ParallelObserver {
 public:
  // `pathlines` may be null: end points only. It must outlive the output.
  BatchOutput(const ModelState& state, int particleCount, std::ostream* pathlines, PathlineLayout layout);
  ~BatchOutput() override;

  void ReleasePoint(int particle, int direction, const PathPoint& point) override;
  void Segment(const TrackSegment& segment) override;
  void TimePointReached(int particle, int direction, const PathPoint& point, int index) override;
  void PointReached(int particle, int direction, const PathPoint& point) override;
  void ParticleEnd(int particle, int direction, const TrackState& state, TrackEnd end) override;

  std::unique_ptr<TrackObserver> NewPart() override;
  void Merge(TrackObserver& part) override;

  // Called on the calling thread of the run after every merge.
  void OnProgress(std::function<void(const BatchCounts&)> progress) { progress_ = std::move(progress); }

  // How the MODPATH 7 layout names the particles; `labels` must outlive the output.
  void SetMp7Labels(const Mp7Labels* labels) { labels_ = labels; }

  // Records every particle's position at the tracking's time points (and
  // at a release at the reference time); call before the run.
  void RecordTimePoints() { recordsTimePoints_ = true; }
  const std::vector<Mp7TimePoint>& TimePoints() const { return timePoints_; }

  // Keeps every point of every pathline in memory; call before the run.
  void RecordPaths() { recordsPaths_ = true; }
  std::vector<RecordedPath> Paths() const { return GatherPaths(pathReports_); }

  EndpointCollector& Endpoints() { return endpoints_; }
  const BatchCounts& Counts() const { return counts_; }

 private:
  class Part;
  const ModelState& state_;
  std::ostream* const pathlines_;
  const PathlineLayout layout_;
  const Mp7Labels* labels_ = nullptr;
  bool recordsTimePoints_ = false;
  std::vector<Mp7TimePoint> timePoints_;
  bool recordsPaths_ = false;
  std::vector<PathReport> pathReports_;
  EndpointCollector endpoints_;
  std::unique_ptr<Part> own_;  // the reports of a run on one thread
  BatchCounts counts_;
  std::function<void(const BatchCounts&)> progress_;
};

}  // namespace kestra
