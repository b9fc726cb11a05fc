#include "input/grid_size.h"

#include "core/number_format.h"

namespace kestra {

bool AcceptGridSize(const std::string& path, int ncol, int nrow, int nlay, UserInterface& ui) {
  const bool atLeastOne = ncol >= 1 && nrow >= 1 && nlay >= 1;
  if (atLeastOne && static_cast<long long>(ncol + 2) * (nrow + 2) * (nlay + 1) <= kMaxModelCells) return true;
  Complain(ui,
           "The file " + path + " does not give a grid of at least one column, row and layer with at most" +
               NumberText(static_cast<std::int64_t>(kMaxModelCells)) + " cells.",
           MessageIcon::Exclamation, kErrorTitle);
  return false;
}

}  // namespace kestra
