// Which boundary packages have a cell at a place of the grid, as the run
// summaries and the grid exports name them ("wells", "rivers", ...).
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/model_family.h"
#include "core/model_state.h"
#include "tracking/particle_set.h"

namespace kestra {

inline constexpr const char* kNoBoundaryPackage = "no boundary package";

// Reads the package layers of the current stress period once a layer, as they
// are asked for.
class PackageCells {
 public:
  explicit PackageCells(const ModelState& model) : model_(model) {}

  // The packages with a cell at `cell`, by name, in a fixed order; empty for none.
  std::vector<std::string> At(CellIndex cell);

 private:
  const LayerValues* Layer(int dataType, int layer);

  struct ReadLayer {
    bool read = false;
    LayerValues values;
  };
  const ModelState& model_;
  std::map<std::pair<int, int>, ReadLayer> layers_;
};

}  // namespace kestra
