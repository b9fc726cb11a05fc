#include "tracking/mp7_files.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/number_fields.h"
#include "core/number_format.h"

namespace kestra {
namespace {

constexpr const char* kLineEnd = "\n";
constexpr int kVersion = 7;
constexpr int kSubversion = 2;
constexpr int kZone = 1;
constexpr const char* kGroupName = "PARTICLES";

// The widths and digits of the records: I5, I10, E16.8 and E18.10.
constexpr int kShortInteger = 5;
constexpr int kInteger = 10;
constexpr int kPointWidth = 16, kPointDigits = 8;
constexpr int kEndWidth = 18, kEndDigits = 10;
constexpr int kStatusCodes = 10;

int CellNumber(const ModelState& state, CellIndex cell) {
  return ((cell.layer - 1) * state.NROW + (cell.row - 1)) * state.NCOL + cell.column;
}

float UnitRange(double value) { return std::clamp(static_cast<float>(value), 0.0f, 1.0f); }

// Local x and y of a point in the file's sense, z as given. Inline, as it
// comes once a pathline point: the struct returned through memory cost a
// stall each time.
[[gnu::always_inline]] inline LocalPoint FileLocal(const ModelState& state, CellIndex cell, const PlanPoint& point,
                                                   float localZ) {
  const int j = cell.column, i = cell.row;
#if defined(__SSE2__)
  // Both divisions in one instruction, each lane rounded as its own
  // division; 1 - y as -y + 1, which IEEE arithmetic defines it to be; and
  // the clamp of UnitRange with the operands in the order that keeps its
  // answers for NaN and -0.
  const __m128d offsets = _mm_sub_pd(_mm_set_pd(point.Y, point.X), _mm_set_pd(state.YEDGE[i - 1], state.XEDGE[j - 1]));
  const __m128d ratios = _mm_div_pd(offsets, _mm_set_pd(state.DELC[i], state.DELR[j]));
  const __m128d turned = _mm_add_pd(_mm_xor_pd(ratios, _mm_set_pd(-0.0, 0.0)), _mm_set_pd(1.0, -0.0));
  const __m128 clamped = _mm_min_ps(_mm_set1_ps(1), _mm_max_ps(_mm_setzero_ps(), _mm_cvtpd_ps(turned)));
  return {_mm_cvtss_f32(clamped), _mm_cvtss_f32(_mm_shuffle_ps(clamped, clamped, 1)), localZ};
#else
  return {UnitRange((point.X - state.XEDGE[j - 1]) / state.DELR[j]),
          UnitRange(1 - (point.Y - state.YEDGE[i - 1]) / state.DELC[i]), localZ};
#endif
}

void AppendFirstLine(std::string& out, const char* kind) {
  out.append(kind);
  AppendFortranInteger(out, kVersion, kInteger);
  AppendFortranInteger(out, kSubversion, kInteger);
  out.append(kLineEnd);
}

int DirectionCode(int direction) { return direction > 0 ? 1 : 2; }

// The face a local point lies on: 1, 2 at x 0, 1; 3, 4 at y 0, 1; 5, 6 at
// z 0, 1; 0 inside.
int Face(const LocalPoint& local) {
  if (local.x == 0) return 1;
  if (local.x == 1) return 2;
  if (local.y == 0) return 3;
  if (local.y == 1) return 4;
  if (local.z == 0) return 5;
  if (local.z == 1) return 6;
  return 0;
}

// Cell number, layer, local x, y, z, x, y, z, zone and face of one end of
// an end point record.
void AppendEndpointPlace(std::string& out, const ModelState& state, CellIndex cell, const LocalPoint& engineLocal,
                         const PlanPoint& global) {
  const LocalPoint local{engineLocal.x, UnitRange(1 - engineLocal.y), engineLocal.z};
  AppendFortranInteger(out, CellNumber(state, cell), kInteger);
  AppendFortranInteger(out, cell.layer, kShortInteger);
  for (const double value : {static_cast<double>(local.x), static_cast<double>(local.y),
                             static_cast<double>(local.z), global.X, global.Y, global.Z})
    AppendFortranExponent(out, value, kEndWidth, kEndDigits);
  AppendFortranInteger(out, kZone, kShortInteger);
  AppendFortranInteger(out, Face(local), kShortInteger);
}

void AppendPathHeader(std::string& out, const char* kind, int direction, double referenceTime) {
  AppendFirstLine(out, kind);
  AppendFortranInteger(out, DirectionCode(direction), kShortInteger);
  out.push_back(' ');
  // Reference time, then the grid origin and rotation, which stay at 0: the
  // coordinates are those of the model grid.
  for (const double value : {referenceTime, 0.0, 0.0, 0.0}) AppendFortranExponent(out, value, kEndWidth, kEndDigits);
  out.append(kLineEnd);
  out.append("END HEADER").append(kLineEnd);
}

}  // namespace

void AppendMp7PathlineHeader(std::string& out, int direction, double referenceTime) {
  AppendPathHeader(out, "MODPATH_PATHLINE_FILE", direction, referenceTime);
}

void AppendMp7TimeSeriesHeader(std::string& out, int direction, double referenceTime) {
  AppendPathHeader(out, "MODPATH_TIMESERIES_FILE", direction, referenceTime);
}

void AppendMp7TimeSeriesRecord(std::string& out, const ModelState& state, const Mp7TimePoint& record,
                               const Mp7ParticleLabel& label, int cumulativeStep) {
  constexpr int kIndexWidth = 8;
  const PathPoint& p = record.point;
  AppendFortranInteger(out, record.index, kIndexWidth);
  AppendFortranInteger(out, cumulativeStep, kIndexWidth);
  AppendFortranExponent(out, label.releaseTime + p.time, kEndWidth, kEndDigits);
  AppendFortranInteger(out, label.sequence, kInteger);
  AppendFortranInteger(out, label.group, kShortInteger);
  AppendFortranInteger(out, label.id, kInteger);
  AppendFortranInteger(out, CellNumber(state, p.cell), kInteger);
  const LocalPoint local = FileLocal(state, p.cell, p.point, p.localZ);
  for (const double value : {static_cast<double>(local.x), static_cast<double>(local.y), static_cast<double>(local.z),
                             p.point.X, state.YEDGE[state.NROW] - p.point.Y, p.ElevationInCell()})
    AppendFortranExponent(out, value, kEndWidth, kEndDigits);
  AppendFortranInteger(out, p.cell.layer, kInteger);
  out.append(kLineEnd);
}

Mp7ParticleLabel Mp7Label(const Mp7Labels* labels, int particle) {
  if (labels && particle >= 1 && static_cast<std::size_t>(particle) <= labels->particles.size())
    return labels->particles[static_cast<std::size_t>(particle - 1)];
  return {particle, 1, particle, 0};
}

// The room of the line before a pathline's points where each of its four
// numbers fits its columns; a wider line moves the points on.
constexpr std::size_t kPathlineStartRoom = 4 * kInteger + std::char_traits<char>::length(kLineEnd);

std::size_t KeepMp7PathlineStartRoom(TextBuffer& out) {
  const std::size_t room = out.size();
  char* const blanks = out.Room(kPathlineStartRoom);
  std::memset(blanks, ' ', kPathlineStartRoom);
  out.EndAt(blanks + kPathlineStartRoom);
  return room;
}

void PutMp7PathlineStart(TextBuffer& out, std::size_t room, const Mp7ParticleLabel& label, int pointCount) {
  constexpr int kStartNumbers = 4;
  char line[kStartNumbers * FortranIntegerTextMax(kInteger) + 1];
  char* p = line;
  for (const int value : {label.sequence, label.group, label.id, pointCount}) p = WriteFortranInteger(p, value, kInteger);
  *p++ = *kLineEnd;
  out.Replace(room, kPathlineStartRoom, {line, static_cast<std::size_t>(p - line)});
}

void AppendMp7PathlinePoint(TextBuffer& out, const ModelState& state, const PathPoint& point, int period, int step,
                            double releaseTime) {
  // One line a cell move, written in place.
  constexpr int kPointNumbers = 7, kPointIntegers = 4;
  constexpr std::size_t kLongestLine = kPointNumbers * FortranExponentTextMax(kPointWidth, kPointDigits) +
                                       kPointIntegers * FortranIntegerTextMax(kInteger) + 1;
  const LocalPoint local = FileLocal(state, point.cell, point.point, point.localZ);
  char* p = WriteFortranIntegerField(out.Room(kLongestLine), CellNumber(state, point.cell), kInteger);
  const double y = state.YEDGE[state.NROW] - point.point.Y;
  for (const double value : {point.point.X, y, point.point.Z, releaseTime + point.time, static_cast<double>(local.x),
                             static_cast<double>(local.y), static_cast<double>(local.z)})
    p = WriteFortranExponentField(p, value, kPointWidth, kPointDigits);
  for (const int value : {static_cast<int>(point.cell.layer), period, step}) p = WriteFortranIntegerField(p, value, kInteger);
  *p++ = *kLineEnd;
  out.EndAt(p);
}

int Mp7Status(const ModelState& state, const Endpoint& endpoint) {
  if (!endpoint.tracked) return 9;
  const CellIndex cell = endpoint.finalCell;
  switch (endpoint.end) {
    case TrackEnd::LeftGrid: return 2;
    case TrackEnd::EnteredSinkCell: return endpoint.direction > 0 ? 3 : 4;
    case TrackEnd::NoExitFromSink:
    case TrackEnd::CannotLeaveCell: return 5;
    case TrackEnd::EnteredInactiveCell:
      // A fixed-head cell that ends the tracking lets nothing out.
      return state.Shape().Contains(cell.column, cell.row, cell.layer) &&
                     state.IBOUND(cell.column, cell.row, cell.layer) < 0
                 ? 5
                 : 7;
    case TrackEnd::NoFiniteVelocity:
    case TrackEnd::ThicknessFault:
    case TrackEnd::RunBroken: return 9;
    default: return 1;
  }
}

void AppendMp7Endpoints(std::string& out, const ModelState& state, const std::vector<Endpoint>& endpoints,
                        int direction, double referenceTime, const Mp7Labels* labels, const std::string& note) {
  std::array<int, kStatusCodes> statusCounts{};
  int maximumId = 0;
  for (const Endpoint& endpoint : endpoints) {
    ++statusCounts[static_cast<std::size_t>(Mp7Status(state, endpoint))];
    maximumId = std::max(maximumId, Mp7Label(labels, endpoint.particle).id);
  }
  const int count = static_cast<int>(endpoints.size());
  AppendFirstLine(out, "MODPATH_ENDPOINT_FILE");
  AppendFortranInteger(out, DirectionCode(direction), kShortInteger);
  for (const int value : {count, count, maximumId}) AppendFortranInteger(out, value, kInteger);
  out.push_back(' ');
  for (const double value : {referenceTime, 0.0, 0.0, 0.0}) AppendFortranExponent(out, value, kEndWidth, kEndDigits);
  out.append(kLineEnd);
  constexpr int kStatusWidth = 8;
  for (const int value : statusCounts) AppendFortranInteger(out, value, kStatusWidth);
  out.append(kLineEnd);
  const std::vector<std::string> groupNames =
      labels && !labels->groupNames.empty() ? labels->groupNames : std::vector<std::string>{kGroupName};
  AppendFortranInteger(out, static_cast<int>(groupNames.size()), kInteger);
  out.append(kLineEnd);
  // Group names fill 16 characters, as MODPATH writes them.
  constexpr std::size_t kGroupNameWidth = 16;
  for (const std::string& name : groupNames)
    out.append(name).append(kGroupNameWidth - std::min(name.size(), kGroupNameWidth), ' ').append(kLineEnd);
  if (!note.empty()) out.append(note).append(kLineEnd);
  out.append("END HEADER").append(kLineEnd);
  for (const Endpoint& e : endpoints) {
    const Mp7ParticleLabel label = Mp7Label(labels, e.particle);
    for (const int value : {label.sequence, label.group, label.id}) AppendFortranInteger(out, value, kInteger);
    AppendFortranInteger(out, Mp7Status(state, e), kShortInteger);
    AppendFortranExponent(out, label.releaseTime, kEndWidth, kEndDigits);
    AppendFortranExponent(out, label.releaseTime + e.time, kEndWidth, kEndDigits);
    AppendEndpointPlace(out, state, e.releaseCell, e.releaseLocal, e.releaseGlobal);
    AppendEndpointPlace(out, state, e.finalCell, e.finalLocal, {e.finalGlobal.X, e.finalGlobal.Y, e.finalCellZ});
    out.append(kLineEnd);
  }
}

}  // namespace kestra
