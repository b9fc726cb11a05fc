#include "core/grid_size.h"

#include "core/number_format.h"

namespace kestra {

bool GridSizeFits(double ncol, double nrow, double nlay) {
  // Written so that NaN fails every test.
  const bool atLeastOne = ncol >= 1 && nrow >= 1 && nlay >= 1;
  return atLeastOne && ncol * nrow * nlay <= static_cast<double>(kMaxModelCells);
}

std::string GridSizeLimitText() {
  return "at least one column, row and layer with at most" + NumberText(static_cast<std::int64_t>(kMaxModelCells)) +
         " cells";
}

bool AcceptGridSize(const std::string& path, int ncol, int nrow, int nlay, UserInterface& ui) {
  if (GridSizeFits(ncol, nrow, nlay)) return true;
  Complain(ui, "The file " + path + " does not give a grid of " + GridSizeLimitText() + ".", MessageIcon::Exclamation,
           kErrorTitle);
  return false;
}

}  // namespace kestra
