#include "tracking/endpoint_table.h"

#include "core/number_format.h"

namespace kestra {
namespace {

std::string EndText(TrackEnd end) {
  switch (end) {
    case TrackEnd::LeftGrid: return "left the grid";
    case TrackEnd::EnteredInactiveCell: return "entered an inactive or fixed-head cell";
    case TrackEnd::EnteredSinkCell: return "entered a sink cell";
    case TrackEnd::CannotLeaveCell: return "could not leave its cell";
    case TrackEnd::WindowEnd:
    case TrackEnd::OutsideWindow:
    case TrackEnd::NoTimeLeft: return "reached the time limit";
    case TrackEnd::RunBroken: return "the run was stopped";
    case TrackEnd::ThicknessFault: return "a cell without saturated thickness";
    default: return "reached its step limit";
  }
}

std::string CellFields(CellIndex cell, LocalPoint local) {
  return IntegerMaskText(cell.column) + "," + IntegerMaskText(cell.row) + "," + IntegerMaskText(cell.layer) + "," +
         GeneralNumberText(local.x) + "," + GeneralNumberText(local.y) + "," + GeneralNumberText(local.z);
}

}  // namespace

std::string EndpointCsvHeader() {
  return "particle,direction,release column,release row,release layer,release x,release y,release z,"
         "final column,final row,final layer,final x,final y,final z,X,Y,Z,time,end";
}

std::string EndpointCsvLine(const Endpoint& e) {
  return IntegerMaskText(e.particle) + "," + (e.direction > 0 ? "forward" : "backward") + "," +
         CellFields(e.releaseCell, e.releaseLocal) + "," + CellFields(e.finalCell, e.finalLocal) + "," +
         TrimmedNumberText(e.finalGlobal.X) + "," + TrimmedNumberText(e.finalGlobal.Y) + "," +
         TrimmedNumberText(e.finalGlobal.Z) + "," + TrimmedNumberText(e.time) + "," + EndText(e.end);
}

Endpoint& EndpointCollector::At(int particle, int direction) {
  Endpoint& endpoint = endpoints_[{particle, -direction}];
  endpoint.particle = particle;
  endpoint.direction = direction;
  return endpoint;
}

void EndpointCollector::Reach(Endpoint& endpoint, const PathPoint& point) const {
  const int j = point.cell.column, i = point.cell.row;
  endpoint.finalCell = point.cell;
  endpoint.finalGlobal = {point.point.X, state_.YEDGE[state_.NROW] - point.point.Y, point.point.Z};
  endpoint.finalLocal = {static_cast<float>((point.point.X - state_.XEDGE[j - 1]) / state_.DELR[j]),
                         static_cast<float>((point.point.Y - state_.YEDGE[i - 1]) / state_.DELC[i]), point.localZ};
  endpoint.time = point.time;
}

void EndpointCollector::ReleasePoint(int particle, int direction, const PathPoint& point) {
  Endpoint& endpoint = At(particle, direction);
  endpoint.releaseCell = point.cell;
  Reach(endpoint, point);
  endpoint.releaseLocal = endpoint.finalLocal;
}

void EndpointCollector::PointReached(int particle, int direction, const PathPoint& point) {
  Reach(At(particle, direction), point);
}

void EndpointCollector::ParticleEnd(int particle, int direction, const TrackState& state, TrackEnd end) {
  Endpoint& endpoint = At(particle, direction);
  endpoint.end = end;
  endpoint.time = state.time;
}

}  // namespace kestra

namespace kestra {

std::string EndpointCsvText(const EndpointCollector& collector) {
  std::string text = EndpointCsvHeader() + "\n";
  for (const auto& entry : collector.Endpoints()) text += EndpointCsvLine(entry.second) + "\n";
  return text;
}

}  // namespace kestra
