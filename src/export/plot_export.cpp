#include "export/plot_export.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "core/atomic_file.h"
#include "graphics/pathline_drawing.h"
#include "graphics/plan_view.h"
#include "tracking/pathline_writer.h"
#include "tracking/replay_record.h"

namespace kestra {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// The replayed moves go to the pictures and, for the pathline format, to the
// pathline file as well.
class PlotReplayObserver : public TrackObserver {
 public:
  PlotReplayObserver(PathlineDrawing& drawing, PathlineWriter* writer) : drawing_(drawing), writer_(writer) {}
  void ReleasePoint(int particle, int direction, const PathPoint& point) override {
    if (writer_) writer_->ReleasePoint(particle, direction, point);
  }
  void Segment(const TrackSegment& segment) override { drawing_.Segment(segment); }
  void PointReached(int particle, int direction, const PathPoint& point) override {
    if (writer_) writer_->PointReached(particle, direction, point);
  }
  void TimeMark(int particle, int direction, const PlanPoint& from, const PlanPoint& to) override {
    drawing_.TimeMark(particle, direction, from, to);
  }
  void DirectionMark(int particle, const PlanPoint& from, const PlanPoint& to) override {
    drawing_.DirectionMark(particle, from, to);
  }

 private:
  PathlineDrawing& drawing_;
  PathlineWriter* writer_;
};

void ReplayOntoPlot(PlotContext& context, TrackingRun& run) {
  PathlineDrawing drawing(context, run.tracking, true);
  drawing.SetBackwardColour(run.settings.backwardPathColor);
  const bool pathlineFile = context.device.PlotFormat == kPlotFormatModpath && context.device.file.is_open();
  PathlineWriter writer(context.device.file, context.model.YEDGE[context.model.NROW]);
  PlotReplayObserver observer(drawing, pathlineFile ? &writer : nullptr);
  DxfLayerScope dxfLayer(context.device, "PATHLINES");
  ReplayParticlesTo(run, observer);
}

bool WritesFile(const PlotDevice& device) { return device.PlotToFile && device.PlotFormat != kPlotFormatBitmap; }

}  // namespace

bool TestPlotFileWritable(const std::string& path, std::string& error) {
  std::error_code failure;
  const bool existed = std::filesystem::exists(path, failure);
  errno = 0;
  std::ofstream file(path, std::ios::binary | std::ios::app);
  if (!file.is_open()) {
    error = errno != 0 ? std::strerror(errno) : "The file cannot be written.";
    return false;
  }
  file.close();
  if (!existed) std::filesystem::remove(path, failure);
  return true;
}

int SwitchOffMapsWrittenBy(Settings& settings, const std::string& plotFileName) {
  const std::string plot = Lower(plotFileName);
  int switchedOff = 0;
  for (int n = 1; n <= kDxfMapCount; ++n) {
    DxfMapEntry& map = settings.dxfMaps[n];
    if (plot.empty() || Lower(map.file).find(plot) == std::string::npos) continue;
    if (map.display != 0) ++switchedOff;
    map.display = 0;
  }
  return switchedOff;
}

bool SavePlot(PlotContext& context, const DrawInputs& inputs, TrackingRun& run, std::string& error) {
  PlotDevice& device = context.device;
  const std::string target = device.PlotFileName;
  std::optional<ReplacingFile> file;
  if (WritesFile(device)) {
    file.emplace(target, ReplacingFile::Writer::Caller);
    if (!file->IsOpen()) {
      device.PlotToFile = false;
      error = "The plot could not be written to " + file->Problem() + ".";
      return false;
    }
    device.PlotFileName = file->TemporaryPath();
  }
  bool written = OpenPlotFile(device, context.layout.zoom);
  std::string writeReason = written ? "" : SystemReason();
  if (written) {
    DrawModel(context, inputs, context.model.CurrentLayer);
    ReplayOntoPlot(context, run);
  }
  // A stream that failed on the way retries its buffer on closing, which
  // sets errno afresh; what the drawing left in it says nothing.
  errno = 0;
  if (!ClosePlotFile(device) && writeReason.empty()) writeReason = SystemReason();
  written = written && writeReason.empty();
  device.PlotToFile = false;
  device.PlotFileName = target;
  if (!file) return true;
  if (written && file->Commit()) return true;
  error = "The plot could not be written to " + (written ? file->Problem() : target + ": " + writeReason) + ".";
  return false;
}

}  // namespace kestra
