// Tracing the lines of one contour level through the cell-centre nodes of a
// layer. Each grid square between four nodes is crossed at most once per
// edge, so a level costs time proportional to the number of nodes.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/model_state.h"
#include "graphics/picture.h"

namespace kestra {

// One traced line in plan coordinates, with the node its trace started from
// (the low-index node of the start edge) for the label orientation.
struct ContourLine {
  std::vector<PicturePoint> points;
  PicturePoint startNode;
  bool startNodeHigh = false;  // the start node's value is at least the level
};

using ContourLineSink = std::function<void(const ContourLine&)>;

// Values that give a node no valid result: the no-flow and dry heads.
struct BlockedValues {
  float HNOFLO = -999.99f;
  float HDRY = -1.0E+30f;
};

// Heads above this are no results either.
inline constexpr float kContourValueLimit = 1.0E+25f;

// The node values of one layer and which nodes no contour may reach: those
// with a blocked value and the inactive and fixed-head cells (IBOUND < 1).
struct ContourNodes {
  int ncol = 0;
  int nrow = 0;
  std::vector<float> x;  // XCENTER of column j + 1
  std::vector<float> y;  // YCENTER of row i + 1
  std::vector<float> value;
  std::vector<unsigned char> blocked;

  bool operator==(const ContourNodes&) const = default;
};

ContourNodes LayerNodes(const ModelState& model, const CellArray<float>& values, int layer,
                        const BlockedValues& blocked);

// Traces level after level through the same nodes: what the levels share
// (the edges that blocked nodes close, the working memory) is made once.
class ContourTracer {
 public:
  // `nodes` must outlive the tracer.
  explicit ContourTracer(const ContourNodes& nodes);

  // Finds every line of `level` and hands each to `sink` as it is found. A
  // closed line ends with its first point again; an open line that crosses
  // its start edge comes as two lines, one from each side.
  void Trace(float level, const ContourLineSink& sink);

 private:
  const ContourNodes& nodes_;
  std::vector<std::uint8_t> blockedUse_;  // per node: its edges that blocked nodes use up
  std::vector<std::uint8_t> used_;        // the same with the edges the level crossed so far
  std::vector<std::uint8_t> above_;       // per node: above the level
};

// One level, as ContourTracer::Trace.
void TraceLevel(const ContourNodes& nodes, float level, const ContourLineSink& sink);

}  // namespace kestra
