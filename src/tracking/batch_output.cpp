#include "tracking/batch_output.h"

#include <optional>
#include <vector>

#include "tracking/mp7_files.h"
#include "tracking/pathline_writer.h"

namespace kestra {

// Bytes of a cache line of the processors we build for.
constexpr std::size_t kCacheLine = 64;

// The reports of the particles one thread tracked since its last merge.
// Each thread writes its part on every move: parts never share a cache line.
class alignas(kCacheLine) BatchOutput::Part : public TrackObserver {
 public:
  Part(const BatchOutput& owner)
      : state_(owner.state_),
        writesPathlines_(owner.pathlines_ != nullptr),
        layout_(owner.layout_),
        owner_(owner),
        gridLengthY_(owner.state_.YEDGE[owner.state_.NROW]),
        endpoints_(owner.endpoints_) {}

  void ReleasePoint(int particle, int direction, const PathPoint& point) override {
    endpoints_.ReleasePoint(particle, direction, point);
    WritePoint(particle, direction, point);
    if (owner_.recordsPaths_) pathReports_.push_back({particle, direction, point});
    // Only particles released at the reference time have a time point 0.
    if (owner_.recordsTimePoints_ && Mp7Label(owner_.labels_, particle).releaseTime == 0)
      RecordTimePoint(particle, point, 0);
  }
  void TimePointReached(int particle, int, const PathPoint& point, int index) override {
    if (owner_.recordsTimePoints_) RecordTimePoint(particle, point, index);
  }
  void Segment(const TrackSegment&) override { ++counts_.moves; }
  void PointReached(int particle, int direction, const PathPoint& point) override {
    endpoints_.PointReached(particle, direction, point);
    WritePoint(particle, direction, point);
    if (owner_.recordsPaths_) pathReports_.push_back({particle, direction, point});
  }
  void ParticleEnd(int particle, int direction, const TrackState& state, TrackEnd end) override {
    endpoints_.ParticleEnd(particle, direction, state, end);
    if (end != TrackEnd::WindowEnd && end != TrackEnd::OutsideWindow && end != TrackEnd::NoTimeLeft)
      ++counts_.particlesDone;
    if (enteredLast_ && EndsAtEntry(end)) AppendMp7Point(particle, *enteredLast_);
    enteredLast_.reset();
    if (pointCount_ > 0) {
      // A pathline of this layout is headed by its number of points.
      PutMp7PathlineStart(text_, startRoom_, Mp7Label(owner_.labels_, particle), pointCount_);
      pointCount_ = 0;
    }
  }

 private:
  friend class BatchOutput;

  void WritePoint(int particle, int direction, const PathPoint& point) {
    if (!writesPathlines_) return;
    if (layout_ == PathlineLayout::Kestra) {
      AppendPathlineRecord(text_, particle, direction, point, gridLengthY_);
      return;
    }
    // A point on a face belongs to the cell it leaves; where the particle
    // stops on entering, the entry point in the new cell ends the path.
    enteredLast_.reset();
    if (!point.leftCell) return AppendMp7Point(particle, point);
    PathPoint exit = point;
    exit.cell = *point.leftCell;
    exit.localZ = point.leftLocalZ;
    exit.cellZ = point.point.Z;
    AppendMp7Point(particle, exit);
    enteredLast_ = point;
    enteredLast_->point.Z = point.ElevationInCell();
  }

  static bool EndsAtEntry(TrackEnd end) {
    return end == TrackEnd::EnteredSinkCell || end == TrackEnd::NoExitFromSink || end == TrackEnd::CannotLeaveCell;
  }

  void AppendMp7Point(int particle, const PathPoint& point) {
    if (pointCount_ == 0) startRoom_ = KeepMp7PathlineStartRoom(text_);
    AppendMp7PathlinePoint(text_, state_, point, state_.CurrentPeriod, state_.CurrentStep,
                           Mp7Label(owner_.labels_, particle).releaseTime);
    ++pointCount_;
  }

  void RecordTimePoint(int particle, const PathPoint& point, int index) {
    timePoints_.push_back({index, particle, state_.CurrentPeriod, state_.CurrentStep, point});
  }

  const ModelState& state_;
  const bool writesPathlines_;
  const PathlineLayout layout_;
  const BatchOutput& owner_;  // its labels and whether it records time points, set after the parts are made
  const float gridLengthY_;
  EndpointCollector::Part endpoints_;
  std::optional<PathPoint> enteredLast_;  // the last point written, where it entered a new cell
  std::vector<Mp7TimePoint> timePoints_;
  std::vector<PathReport> pathReports_;
  TextBuffer text_;
  std::size_t startRoom_ = 0;  // in text_, where the line that heads the pathline being written goes
  int pointCount_ = 0;
  BatchCounts counts_;
};

BatchOutput::BatchOutput(const ModelState& state, int particleCount, std::ostream* pathlines, PathlineLayout layout)
    : state_(state),
      pathlines_(pathlines),
      layout_(layout),
      endpoints_(state, particleCount),
      own_(std::make_unique<Part>(*this)) {}

BatchOutput::~BatchOutput() = default;

void BatchOutput::ReleasePoint(int particle, int direction, const PathPoint& point) {
  own_->ReleasePoint(particle, direction, point);
}

void BatchOutput::Segment(const TrackSegment& segment) { own_->Segment(segment); }

void BatchOutput::TimePointReached(int particle, int direction, const PathPoint& point, int index) {
  own_->TimePointReached(particle, direction, point, index);
}

void BatchOutput::PointReached(int particle, int direction, const PathPoint& point) {
  own_->PointReached(particle, direction, point);
}

void BatchOutput::ParticleEnd(int particle, int direction, const TrackState& state, TrackEnd end) {
  own_->ParticleEnd(particle, direction, state, end);
  Merge(*own_);
}

std::unique_ptr<TrackObserver> BatchOutput::NewPart() { return std::make_unique<Part>(*this); }

void BatchOutput::Merge(TrackObserver& observer) {
  Part& part = static_cast<Part&>(observer);
  endpoints_.Merge(part.endpoints_);
  if (pathlines_ && !part.text_.empty())
    pathlines_->write(part.text_.View().data(), static_cast<std::streamsize>(part.text_.size()));
  part.text_.clear();
  timePoints_.insert(timePoints_.end(), part.timePoints_.begin(), part.timePoints_.end());
  part.timePoints_.clear();
  pathReports_.insert(pathReports_.end(), part.pathReports_.begin(), part.pathReports_.end());
  part.pathReports_.clear();
  counts_.particlesDone += part.counts_.particlesDone;
  counts_.moves += part.counts_.moves;
  part.counts_ = {};
  if (progress_) progress_(counts_);
}

}  // namespace kestra
