#include "tracking/batch_output.h"

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
        labels_(owner.labels_),
        gridLengthY_(owner.state_.YEDGE[owner.state_.NROW]),
        endpoints_(owner.endpoints_) {}

  void ReleasePoint(int particle, int direction, const PathPoint& point) override {
    endpoints_.ReleasePoint(particle, direction, point);
    WritePoint(particle, direction, point);
  }
  void Segment(const TrackSegment&) override { ++counts_.moves; }
  void PointReached(int particle, int direction, const PathPoint& point) override {
    endpoints_.PointReached(particle, direction, point);
    WritePoint(particle, direction, point);
  }
  void ParticleEnd(int particle, int direction, const TrackState& state, TrackEnd end) override {
    endpoints_.ParticleEnd(particle, direction, state, end);
    if (end != TrackEnd::WindowEnd && end != TrackEnd::OutsideWindow && end != TrackEnd::NoTimeLeft)
      ++counts_.particlesDone;
    if (pointCount_ > 0) {
      // A pathline of this layout is headed by its number of points.
      AppendMp7PathlineStart(text_, Mp7Label(labels_, particle), pointCount_);
      text_.append(particlePoints_);
      particlePoints_.clear();
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
    AppendMp7PathlinePoint(particlePoints_, state_, point, state_.CurrentPeriod, state_.CurrentStep,
                           Mp7Label(labels_, particle).releaseTime);
    ++pointCount_;
  }

  const ModelState& state_;
  const bool writesPathlines_;
  const PathlineLayout layout_;
  const Mp7Labels* const labels_;
  const float gridLengthY_;
  EndpointCollector::Part endpoints_;
  std::string text_;
  std::string particlePoints_;
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
  if (pathlines_ && !part.text_.empty()) pathlines_->write(part.text_.data(), static_cast<std::streamsize>(part.text_.size()));
  part.text_.clear();
  counts_.particlesDone += part.counts_.particlesDone;
  counts_.moves += part.counts_.moves;
  part.counts_ = {};
  if (progress_) progress_(counts_);
}

}  // namespace kestra
