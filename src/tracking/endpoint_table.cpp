#include "tracking/endpoint_table.h"

#include <algorithm>
#include <utility>

#include "core/number_format.h"

namespace kestra {
namespace {

void AppendCellFields(std::string& line, CellIndex cell, LocalPoint local) {
  for (const std::int16_t index : {cell.column, cell.row, cell.layer}) {
    AppendIntegerMaskText(line, index);
    line.push_back(',');
  }
  for (const float coordinate : {local.x, local.y, local.z}) {
    AppendGeneralNumberText(line, coordinate);
    line.push_back(',');
  }
}

// Points that the engine keeps just inside a face to tell the cell (1e-6 of
// the cell) lie on that face, as do points that rounding put there.
constexpr float kOnFace = 2e-6f;

// A local coordinate as the tables hold it: on a face exactly 0 or 1.
float UnitRange(double value) {
  const float local = static_cast<float>(value);
  if (local <= kOnFace) return 0.0f;
  if (local >= 1.0f - kOnFace) return 1.0f;
  return local;
}

}  // namespace

std::string EndpointEndText(const Endpoint& e) {
  if (!e.tracked) return "not tracked: the run ended before its turn";
  switch (e.end) {
    case TrackEnd::LeftGrid: return "left the grid";
    case TrackEnd::EnteredInactiveCell: return "entered an inactive or fixed-head cell";
    case TrackEnd::EnteredSinkCell: return "entered a sink cell";
    case TrackEnd::NoExitFromSink: return "entered a strong sink or source cell";
    case TrackEnd::CannotLeaveCell: return "could not leave its cell";
    case TrackEnd::NoFiniteVelocity: return "its cell has no finite velocity";
    case TrackEnd::WindowEnd:
    case TrackEnd::OutsideWindow:
    case TrackEnd::NoTimeLeft: return "reached the time limit";
    case TrackEnd::RunBroken: return "the run was stopped";
    case TrackEnd::ThicknessFault: return "a cell without saturated thickness";
    default: return "reached its step limit";
  }
}

bool EndedInSink(const Endpoint& e) {
  return e.tracked && (e.end == TrackEnd::EnteredSinkCell || e.end == TrackEnd::NoExitFromSink);
}

std::string EndpointEndDescription(const Endpoint& e, const std::vector<std::string>& packages) {
  if (!e.tracked) return EndpointEndText(e);
  if (EndedInSink(e)) {
    std::string what = packages.empty() ? EndpointEndText(e) : "entered the " + packages.front();
    for (std::size_t i = 1; i < packages.size(); ++i) what += " and " + packages[i];
    const CellIndex c = e.finalCell;
    return what + " at layer " + std::to_string(c.layer) + ", row " + std::to_string(c.row) + ", column " +
           std::to_string(c.column);
  }
  if (e.end == TrackEnd::LeftGrid && e.direction < 0 && e.finalLocal.z == 1.0f)
    return "reached the water table (recharge)";
  return EndpointEndText(e);
}

std::string EndpointCsvHeader() {
  return "particle,direction,release column,release row,release layer,release x,release y,release z,"
         "final column,final row,final layer,final x,final y,final z,X,Y,Z,time,end";
}

std::string EndpointCsvLine(const Endpoint& e) {
  std::string line;
  AppendIntegerMaskText(line, e.particle);
  line.append(e.direction > 0 ? ",forward," : ",backward,");
  AppendCellFields(line, e.releaseCell, e.releaseLocal);
  AppendCellFields(line, e.finalCell, e.finalLocal);
  for (const double value : {e.finalGlobal.X, e.finalGlobal.Y, e.finalGlobal.Z, e.time}) {
    AppendTrimmedNumberText(line, value);
    line.push_back(',');
  }
  line.append(EndpointEndText(e));
  return line;
}

void EndpointReports::Reach(Endpoint& endpoint, const PathPoint& point) const {
  const int j = point.cell.column, i = point.cell.row;
  endpoint.finalCell = point.cell;
  endpoint.finalGlobal = {point.point.X, state_.YEDGE[state_.NROW] - point.point.Y, point.point.Z};
  endpoint.finalCellZ = point.ElevationInCell();
  endpoint.finalLocal = {UnitRange((point.point.X - state_.XEDGE[j - 1]) / state_.DELR[j]),
                         UnitRange((point.point.Y - state_.YEDGE[i - 1]) / state_.DELC[i]), UnitRange(point.localZ)};
  endpoint.time = point.time;
}

void EndpointReports::ApplyHeldPoint() {
  if (heldParticle_ == 0) return;
  Reach(Entry(heldParticle_, heldDirection_), heldPoint_);
  heldParticle_ = 0;
}

void EndpointReports::ReleasePoint(int particle, int direction, const PathPoint& point) {
  ApplyHeldPoint();
  Endpoint& endpoint = Entry(particle, direction);
  endpoint.releaseCell = point.cell;
  Reach(endpoint, point);
  endpoint.releaseLocal = endpoint.finalLocal;
  endpoint.releaseGlobal = endpoint.finalGlobal;
}

void EndpointReports::PointReached(int particle, int direction, const PathPoint& point) {
  if (particle != heldParticle_ || direction != heldDirection_) ApplyHeldPoint();
  heldPoint_ = point;
  heldParticle_ = particle;
  heldDirection_ = direction;
}

void EndpointReports::ParticleEnd(int particle, int direction, const TrackState&, TrackEnd end) {
  ApplyHeldPoint();
  Endpoint& endpoint = Entry(particle, direction);
  endpoint.end = end;
  endpoint.tracked = true;
}

EndpointCollector::EndpointCollector(const ModelState& state, int particleCount)
    : EndpointReports(state),
      endpoints_(static_cast<std::size_t>(particleCount) * 2),
      present_(static_cast<std::size_t>(particleCount) * 2, 0) {}

Endpoint EndpointCollector::Current(int particle, int direction) const {
  const std::size_t index = Index(particle, direction);
  if (index < present_.size() && present_[index]) return endpoints_[index];
  Endpoint endpoint;
  endpoint.particle = particle;
  endpoint.direction = direction;
  return endpoint;
}

void EndpointCollector::KeepParticles(int count) {
  endpoints_.resize(std::min(endpoints_.size(), Index(count + 1, 1)));
  present_.resize(endpoints_.size());
}

void EndpointCollector::Renumber(const ParticleRenumbering& renumbering) {
  const std::vector<int>& former = renumbering.FormerNumbers();
  std::vector<Endpoint> endpoints(former.size() * 2);
  std::vector<char> present(former.size() * 2, 0);
  for (std::size_t i = 0; i < former.size(); ++i) {
    for (const int direction : {1, -1}) {
      const std::size_t from = Index(former[i], direction), to = Index(static_cast<int>(i) + 1, direction);
      if (from >= present_.size() || !present_[from]) continue;
      endpoints[to] = endpoints_[from];
      endpoints[to].particle = static_cast<int>(i) + 1;
      present[to] = 1;
    }
  }
  endpoints_ = std::move(endpoints);
  present_ = std::move(present);
}

Endpoint& EndpointCollector::Entry(int particle, int direction) {
  const std::size_t index = Index(particle, direction);
  // The window adds particles after the collector was made.
  if (index >= present_.size()) {
    endpoints_.resize(index + 2);
    present_.resize(index + 2, 0);
  }
  if (!present_[index]) endpoints_[index] = Current(particle, direction);
  present_[index] = 1;
  return endpoints_[index];
}

Endpoint& EndpointCollector::Part::Entry(int particle, int direction) {
  // A part hears one particle after another.
  if (held_.empty() || held_.back().particle != particle || held_.back().direction != direction)
    held_.push_back(owner_.Current(particle, direction));
  return held_.back();
}

void EndpointCollector::Merge(Part& part) {
  for (const Endpoint& endpoint : part.held_) Entry(endpoint.particle, endpoint.direction) = endpoint;
  part.held_.clear();
}

void EndpointCollector::AddMissing(const ParticleSet& set, int direction) {
  bool runEnded = false;
  for (int particle = 1; particle <= set.ParticleCount(); ++particle) {
    const std::size_t index = Index(particle, direction);
    const TrackEnd end = endpoints_[index].end;
    runEnded = runEnded || (present_[index] && (end == TrackEnd::ThicknessFault || end == TrackEnd::RunBroken));
  }
  for (int particle = 1; particle <= set.ParticleCount(); ++particle) {
    if (present_[Index(particle, direction)]) continue;
    const ParticleRecord& record = set.Particles[static_cast<std::size_t>(particle) - 1];
    Endpoint& endpoint = Entry(particle, direction);
    const int j = record.startCell.column, i = record.startCell.row;
    endpoint.releaseCell = endpoint.finalCell = record.startCell;
    endpoint.releaseLocal = endpoint.finalLocal = record.startLocal;
    endpoint.releaseGlobal = endpoint.finalGlobal = {
        state_.XEDGE[j - 1] + record.startLocal.x * static_cast<double>(state_.DELR[j]),
        state_.YEDGE[state_.NROW] - (state_.YEDGE[i - 1] + record.startLocal.y * static_cast<double>(state_.DELC[i])),
        record.StartElevation};
    endpoint.finalCellZ = record.StartElevation;
    endpoint.tracked = !runEnded;
    endpoint.end = TrackEnd::OutsideWindow;
  }
}

std::vector<Endpoint> EndpointCollector::Endpoints() const {
  std::vector<Endpoint> list;
  for (std::size_t n = 0; n < endpoints_.size(); ++n)
    if (present_[n]) list.push_back(endpoints_[n]);
  return list;
}

std::string EndpointCsvText(const std::vector<Endpoint>& endpoints, const std::string& note) {
  std::string text = note.empty() ? "" : "# " + note + "\n";
  text += EndpointCsvHeader() + "\n";
  for (const Endpoint& entry : endpoints) text += EndpointCsvLine(entry) + "\n";
  return text;
}

std::string EndpointCsvText(const EndpointCollector& collector) {
  return EndpointCsvText(collector.Endpoints(), HeldStepsNote(collector.HeldSteps()));
}

}  // namespace kestra
