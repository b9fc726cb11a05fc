#include "tracking/placement.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "tracking/face_velocities.h"

namespace kestra {
namespace {

// Face particles sit this far inside their face, so that each lies in the
// selected cell.
constexpr float kFaceLow = 0.0001f;
constexpr float kFaceHigh = 0.9999f;

float Centre(int index, int count) { return (static_cast<float>(index) + 0.5f) / static_cast<float>(count); }

class PlacementBuilder {
 public:
  PlacementBuilder(const ModelState& state, const Settings& settings, const ParticleSet& set, int layer)
      : state_(state), settings_(settings), set_(set), layer_(static_cast<std::int16_t>(layer)) {}

  void Faces(CellIndex cell, const PlacementCounts& counts) {
    for (int face = 0; face < 6; ++face) {
      const int countA = counts.faces[face].first, countB = counts.faces[face].second;
      for (int a = 0; a < countA; ++a)
        for (int b = 0; b < countB; ++b) Add(cell, FaceTemplatePoint(face, Centre(a, countA), Centre(b, countB)));
    }
  }

  void Lattice(CellIndex cell, const PlacementCounts& counts) {
    for (int c = 0; c < counts.latticePlanes; ++c)
      for (int b = 0; b < counts.latticeRows; ++b)
        for (int a = 0; a < counts.latticeColumns; ++a)
          Add(cell, {Centre(a, counts.latticeColumns), Centre(b, counts.latticeRows), Centre(c, counts.latticePlanes)});
  }

  void Circles(CellIndex cell, const PlacementCounts& counts) {
    const int n = counts.circleCount;
    for (int p = 0; p < counts.circlePlanes; ++p)
      for (int k = 1; k <= n; ++k) {
        // Angles from the column direction towards the row direction; the
        // first particle at 360 / n degrees, the last at 360.
        const double angle = k * 2 * std::numbers::pi / n;
        const double x = state_.XCENTER[cell.column] + counts.circleRadius * std::cos(angle);
        const double y = state_.YCENTER[cell.row] + counts.circleRadius * std::sin(angle);
        AddAtPlanPoint(x, y, Centre(p, counts.circlePlanes));
      }
  }

  std::vector<ParticleRecord> particles;

 private:
  // The cell of a grid edge list that holds `value`; the last cell holds
  // the far edge too. Empty outside the grid.
  static std::optional<int> CellAlong(const std::vector<float>& edges, int count, double value) {
    if (value < 0 || value > edges[count]) return std::nullopt;
    const auto upper = std::upper_bound(edges.begin() + 1, edges.begin() + count + 1, value);
    return std::min(static_cast<int>(upper - edges.begin()), count);
  }

  void AddAtPlanPoint(double x, double y, float z) {
    const auto column = CellAlong(state_.XEDGE, state_.NCOL, x);
    const auto row = CellAlong(state_.YEDGE, state_.NROW, y);
    if (!column || !row) return;
    float localX = static_cast<float>((x - state_.XEDGE[*column - 1]) / state_.DELR[*column]);
    if (localX == 0) localX = kFaceLow;
    if (localX == 1) localX = kFaceHigh;
    const float localY = static_cast<float>((y - state_.YEDGE[*row - 1]) / state_.DELC[*row]);
    Add({static_cast<std::int16_t>(*column), static_cast<std::int16_t>(*row), layer_}, {localX, localY, z});
  }

  void Add(CellIndex cell, LocalPoint local) {
    particles.push_back(NewParticle(set_, cell, local, ElevationOfLocalHeight(state_, settings_, cell, local.z)));
  }

  const ModelState& state_;
  const Settings& settings_;
  const ParticleSet& set_;
  const std::int16_t layer_;
};

}  // namespace

LocalPoint FaceTemplatePoint(int face, float first, float second) {
  switch (face) {
    case 0: return {kFaceLow, first, second};
    case 1: return {kFaceHigh, first, second};
    case 2: return {first, kFaceLow, second};
    case 3: return {first, kFaceHigh, second};
    case 4: return {second, first, kFaceHigh};
    default: return {second, first, kFaceLow};
  }
}

std::vector<CellIndex> SelectedCells(const ModelState& state, PlanRectangle r, int layer) {
  const float xa = std::min(r.Xa, r.Xb), xb = std::max(r.Xa, r.Xb);
  const float ya = std::min(r.Ya, r.Yb), yb = std::max(r.Ya, r.Yb);
  std::vector<CellIndex> cells;
  if (layer < 1 || layer > state.NLAY) return cells;
  for (int i = 1; i <= state.NROW; ++i)
    for (int j = 1; j <= state.NCOL; ++j)
      if (state.IBOUND(j, i, layer) > 0 && xa <= state.XCENTER[j] && state.XCENTER[j] <= xb &&
          ya <= state.YCENTER[i] && state.YCENTER[i] <= yb)
        cells.push_back({static_cast<std::int16_t>(j), static_cast<std::int16_t>(i), static_cast<std::int16_t>(layer)});
  return cells;
}

float ElevationOfLocalHeight(const ModelState& state, const Settings& settings, CellIndex cell, float z) {
  const int j = cell.column, i = cell.row, k = cell.layer;
  const float bottom = state.BOT(j, i, k);
  float top = state.TOP(j, i, k);
  const int layerType = state.LAYCON[k];
  if ((layerType == 1 || layerType == 3) && HasResultHead(state, settings, j, i, k)) {
    const float head = state.HEAD(j, i, k);
    top = layerType == 1 ? head : std::min(head, top);
  }
  return bottom + z * (top - bottom);
}

std::vector<ParticleRecord> PlacementParticles(const ModelState& state, const Settings& settings,
                                               const ParticleSet& set, const std::vector<CellIndex>& cells,
                                               const PlacementCounts& counts, int layer) {
  PlacementBuilder builder(state, settings, set, layer);
  for (const CellIndex& cell : cells) {
    builder.Faces(cell, counts);
    builder.Lattice(cell, counts);
  }
  if (counts.circleCount > 0)
    for (const CellIndex& cell : cells) builder.Circles(cell, counts);
  return builder.particles;
}

int PlaceParticleGroups(const ModelState& state, const Settings& settings, ParticleSet& set,
                        const std::vector<CellIndex>& cells, const PlacementCounts& counts, int layer,
                        UserInterface& ui) {
  const std::vector<ParticleRecord> group = PlacementParticles(state, settings, set, cells, counts, layer);
  if (!AddParticleGroup(set, group, ui)) return 0;
  return static_cast<int>(group.size());
}

PlacementCounts SuggestedPlacementCounts() {
  PlacementCounts counts;
  counts.latticeColumns = 2;
  counts.latticeRows = 2;
  counts.latticePlanes = 1;
  return counts;
}

}  // namespace kestra
