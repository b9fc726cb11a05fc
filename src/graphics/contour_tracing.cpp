#include "graphics/contour_tracing.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <tuple>
#include <utility>

namespace kestra {
namespace {

// Edge-use codes of a node: its edge towards the next column, towards the next row.
constexpr std::uint8_t kColumnEdgeUsed = 1;
constexpr std::uint8_t kRowEdgeUsed = 2;

// An edge from node (j, i) to (j + 1, i) when `towardsColumn`, else to (j, i + 1); 0-based.
struct Edge {
  int j = 0;
  int i = 0;
  bool towardsColumn = true;
  bool operator==(const Edge&) const = default;
};

// The side of a grid square a trace came in through.
enum class Side { Top, Bottom, Left, Right };

// Grid square (j, i) lies between nodes (j, i), (j + 1, i), (j, i + 1), (j + 1, i + 1).
struct Square {
  int j = 0;
  int i = 0;
};

class LevelTracer {
 public:
  // `used` holds the edges that blocked nodes use up; the tracer marks the
  // ones it crosses. `above` is working memory for one flag per node.
  LevelTracer(const ContourNodes& nodes, float level, const ContourLineSink& sink, std::vector<std::uint8_t>& used,
              std::vector<std::uint8_t>& above)
      : nodes_(nodes), level_(level), lifted_(LiftedOffTheLevel(level)), sink_(sink), used_(used), above_(above) {}

  // Looks for unused crossed edges, first along the rows, then down the
  // columns, each in node order: a level costs one pass over the nodes
  // and the length of its lines. The scans test the flags and the used
  // bits directly, as Crossed and Used do: through those calls the scans
  // measured slower.
  void Run() {
    MarkNodesAbove();
    const int ncol = nodes_.ncol, nrow = nodes_.nrow;
    for (int i = 0; i < nrow; ++i)
      for (int j = 0; j + 1 < ncol; ++j)
        if (above_[Index(j, i)] != above_[Index(j + 1, i)] && !(used_[Index(j, i)] & kColumnEdgeUsed))
          TraceFrom({j, i, true});
    for (int i = 0; i + 1 < nrow; ++i)
      for (int j = 0; j < ncol; ++j)
        if (above_[Index(j, i)] != above_[Index(j, i + 1)] && !(used_[Index(j, i)] & kRowEdgeUsed))
          TraceFrom({j, i, false});
  }

 private:
  std::size_t Index(int j, int i) const { return static_cast<std::size_t>(i) * nodes_.ncol + j; }

  // No node may lie exactly on the level, so every crossing is clear: a
  // node on it counts as lying at this value instead.
  static float LiftedOffTheLevel(float level) {
    float lifted = level + level * 0.00001f;
    if (lifted == 0) lifted = 1E-20f;
    if (lifted == level) lifted = std::nextafter(level, 1.0E+30f);
    return lifted;
  }
  float Value(std::size_t index) const {
    const float v = nodes_.value[index];
    return v == level_ ? lifted_ : v;
  }
  // Value(n) > level_ for every node, without a branch per node.
  void MarkNodesAbove() {
    const std::size_t count = nodes_.value.size();
    above_.resize(count);
    const float* const value = nodes_.value.data();
    std::uint8_t* const above = above_.data();
    const float level = level_;
    const bool onLevelAbove = lifted_ > level;
    for (std::size_t n = 0; n < count; ++n) above[n] = (value[n] > level) | ((value[n] == level) & onLevelAbove);
  }

  std::uint8_t Bit(const Edge& e) const { return e.towardsColumn ? kColumnEdgeUsed : kRowEdgeUsed; }
  bool Used(const Edge& e) const { return used_[Index(e.j, e.i)] & Bit(e); }
  void MarkUsed(const Edge& e) { used_[Index(e.j, e.i)] |= Bit(e); }
  // The node an edge leads to from its low-index node.
  std::size_t EndIndex(const Edge& e) const { return e.towardsColumn ? Index(e.j + 1, e.i) : Index(e.j, e.i + 1); }
  float EndValue(const Edge& e) const { return Value(EndIndex(e)); }
  bool Crossed(const Edge& e) const { return above_[Index(e.j, e.i)] != above_[EndIndex(e)]; }

  // Where the level crosses the edge, interpolated from its low-index node.
  PicturePoint Crossing(const Edge& e) const {
    const float va = Value(Index(e.j, e.i));
    const float vb = EndValue(e);
    const float ca = e.towardsColumn ? nodes_.x[e.j] : nodes_.y[e.i];
    const float cb = e.towardsColumn ? nodes_.x[e.j + 1] : nodes_.y[e.i + 1];
    const float span = std::abs(cb - ca) * std::abs(level_ - va);
    const float rise = std::abs(vb - va);
    const float c = (span == 0 || rise == 0) ? ca : ca + span / rise;
    return e.towardsColumn ? PicturePoint{c, nodes_.y[e.i]} : PicturePoint{nodes_.x[e.j], c};
  }

  bool Inside(const Square& s) const { return s.j >= 0 && s.i >= 0 && s.j + 1 < nodes_.ncol && s.i + 1 < nodes_.nrow; }

  static Edge SideEdge(const Square& s, Side side) {
    switch (side) {
      case Side::Top: return {s.j, s.i, true};
      case Side::Bottom: return {s.j, s.i + 1, true};
      case Side::Left: return {s.j, s.i, false};
      case Side::Right: return {s.j + 1, s.i, false};
    }
    return {};
  }

  // The exits tried, in order, for a square entered through `entry`.
  static std::array<Side, 3> ExitOrder(Side entry) {
    switch (entry) {
      case Side::Right: return {Side::Top, Side::Bottom, Side::Left};
      case Side::Left: return {Side::Top, Side::Bottom, Side::Right};
      case Side::Bottom: return {Side::Right, Side::Left, Side::Top};
      case Side::Top: return {Side::Left, Side::Right, Side::Bottom};
    }
    return {};
  }

  // The square beyond a side, and the side it is entered through.
  static std::pair<Square, Side> Beyond(const Square& s, Side exit) {
    switch (exit) {
      case Side::Top: return {{s.j, s.i - 1}, Side::Bottom};
      case Side::Bottom: return {{s.j, s.i + 1}, Side::Top};
      case Side::Left: return {{s.j - 1, s.i}, Side::Right};
      case Side::Right: return {{s.j + 1, s.i}, Side::Left};
    }
    return {};
  }

  // Walks from square to square, appending crossings; true when the walk
  // came back to the start edge (the line is closed).
  bool Walk(Square square, Side entry, const Edge& start, std::vector<PicturePoint>& points) {
    while (Inside(square)) {
      bool moved = false;
      for (Side exit : ExitOrder(entry)) {
        const Edge edge = SideEdge(square, exit);
        if (!Crossed(edge)) continue;
        // The start edge is already used: it must be recognised first.
        if (edge == start) {
          points.push_back(points.front());
          return true;
        }
        if (Used(edge)) continue;
        points.push_back(Crossing(edge));
        MarkUsed(edge);
        std::tie(square, entry) = Beyond(square, exit);
        moved = true;
        break;
      }
      if (!moved) return false;
    }
    return false;
  }

  void Emit(ContourLine& line) {
    if (line.points.size() >= 2) sink_(line);
  }

  void TraceFrom(const Edge& start) {
    MarkUsed(start);
    ContourLine line;
    line.startNode = {nodes_.x[start.j], nodes_.y[start.i]};
    line.startNodeHigh = Value(Index(start.j, start.i)) >= level_;
    const PicturePoint first = Crossing(start);
    line.points.push_back(first);
    // First the square above (or left of) the start edge, then the one below (or right).
    const Square before = start.towardsColumn ? Square{start.j, start.i - 1} : Square{start.j - 1, start.i};
    const Side beforeEntry = start.towardsColumn ? Side::Bottom : Side::Right;
    if (Walk(before, beforeEntry, start, line.points)) {
      Emit(line);
      return;
    }
    Emit(line);
    line.points.assign(1, first);
    Walk(Square{start.j, start.i}, start.towardsColumn ? Side::Top : Side::Left, start, line.points);
    Emit(line);
  }

  const ContourNodes& nodes_;
  const float level_;
  const float lifted_;
  const ContourLineSink& sink_;
  std::vector<std::uint8_t>& used_;
  std::vector<std::uint8_t>& above_;  // per node: its value lies above the level
};

bool IsBlocked(float value, const BlockedValues& blocked) {
  return std::isnan(value) || value == blocked.HNOFLO || value == blocked.HDRY || value > kContourValueLimit;
}

}  // namespace

ContourNodes LayerNodes(const ModelState& model, const CellArray<float>& values, int layer,
                        const BlockedValues& blocked) {
  ContourNodes nodes;
  if (layer < 1 || layer > model.NLAY) return nodes;
  nodes.ncol = model.NCOL;
  nodes.nrow = model.NROW;
  nodes.x.assign(model.XCENTER.begin() + 1, model.XCENTER.begin() + 1 + model.NCOL);
  nodes.y.assign(model.YCENTER.begin() + 1, model.YCENTER.begin() + 1 + model.NROW);
  nodes.value.reserve(static_cast<std::size_t>(model.NCOL) * model.NROW);
  nodes.blocked.reserve(nodes.value.capacity());
  for (int i = 1; i <= model.NROW; ++i)
    for (int j = 1; j <= model.NCOL; ++j) {
      const float v = values(j, i, layer);
      nodes.value.push_back(v);
      nodes.blocked.push_back(IsBlocked(v, blocked) || model.IBOUND(j, i, layer) < 1);
    }
  return nodes;
}

ContourTracer::ContourTracer(const ContourNodes& nodes) : nodes_(nodes), blockedUse_(nodes.value.size(), 0) {
  const auto index = [&](int j, int i) { return static_cast<std::size_t>(i) * nodes.ncol + j; };
  // A blocked node's own edges and the edges leading into it are used up.
  for (int i = 0; i < nodes.nrow; ++i)
    for (int j = 0; j < nodes.ncol; ++j) {
      if (!nodes.blocked[index(j, i)]) continue;
      blockedUse_[index(j, i)] |= kColumnEdgeUsed | kRowEdgeUsed;
      if (j > 0) blockedUse_[index(j - 1, i)] |= kColumnEdgeUsed;
      if (i > 0) blockedUse_[index(j, i - 1)] |= kRowEdgeUsed;
    }
}

void ContourTracer::Trace(float level, const ContourLineSink& sink) {
  if (nodes_.ncol < 1 || nodes_.nrow < 1) return;
  used_ = blockedUse_;
  LevelTracer(nodes_, level, sink, used_, above_).Run();
}

void TraceLevel(const ContourNodes& nodes, float level, const ContourLineSink& sink) {
  ContourTracer(nodes).Trace(level, sink);
}

}  // namespace kestra
