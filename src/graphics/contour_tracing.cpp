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
  LevelTracer(const ContourNodes& nodes, float level, const ContourLineSink& sink)
      : nodes_(nodes), level_(level), sink_(sink), value_(nodes.value), used_(nodes.value.size(), 0) {
    LiftNodesOffTheLevel();
    BlockNodes();
  }

  void Run() {
    for (bool towardsColumn : {true, false})
      for (int i = 0; i < nodes_.nrow; ++i)
        for (int j = 0; j < nodes_.ncol; ++j) {
          const Edge edge{j, i, towardsColumn};
          if (Exists(edge) && !Used(edge) && Crossed(edge)) TraceFrom(edge);
        }
  }

 private:
  std::size_t Index(int j, int i) const { return static_cast<std::size_t>(i) * nodes_.ncol + j; }

  // No node may lie exactly on the level, so every crossing is clear.
  void LiftNodesOffTheLevel() {
    float lifted = level_ + level_ * 0.00001f;
    if (lifted == 0) lifted = 1E-20f;
    if (lifted == level_) lifted = std::nextafter(level_, 1.0E+30f);
    for (float& v : value_)
      if (v == level_) v = lifted;
  }

  // A blocked node's own edges and the edges leading into it are used up.
  void BlockNodes() {
    for (int i = 0; i < nodes_.nrow; ++i)
      for (int j = 0; j < nodes_.ncol; ++j) {
        if (!nodes_.blocked[Index(j, i)]) continue;
        used_[Index(j, i)] |= kColumnEdgeUsed | kRowEdgeUsed;
        if (j > 0) used_[Index(j - 1, i)] |= kColumnEdgeUsed;
        if (i > 0) used_[Index(j, i - 1)] |= kRowEdgeUsed;
      }
  }

  bool Exists(const Edge& e) const {
    return e.j >= 0 && e.i >= 0 && (e.towardsColumn ? e.j + 1 < nodes_.ncol && e.i < nodes_.nrow
                                                     : e.j < nodes_.ncol && e.i + 1 < nodes_.nrow);
  }
  std::uint8_t Bit(const Edge& e) const { return e.towardsColumn ? kColumnEdgeUsed : kRowEdgeUsed; }
  bool Used(const Edge& e) const { return used_[Index(e.j, e.i)] & Bit(e); }
  void MarkUsed(const Edge& e) { used_[Index(e.j, e.i)] |= Bit(e); }
  float EndValue(const Edge& e) const { return e.towardsColumn ? value_[Index(e.j + 1, e.i)] : value_[Index(e.j, e.i + 1)]; }
  bool Crossed(const Edge& e) const { return (value_[Index(e.j, e.i)] > level_) != (EndValue(e) > level_); }

  // Where the level crosses the edge, interpolated from its low-index node.
  PicturePoint Crossing(const Edge& e) const {
    const float va = value_[Index(e.j, e.i)];
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
    line.startNodeHigh = value_[Index(start.j, start.i)] >= level_;
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
  const ContourLineSink& sink_;
  std::vector<float> value_;
  std::vector<std::uint8_t> used_;
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

void TraceLevel(const ContourNodes& nodes, float level, const ContourLineSink& sink) {
  if (nodes.ncol < 1 || nodes.nrow < 1) return;
  LevelTracer(nodes, level, sink).Run();
}

}  // namespace kestra
