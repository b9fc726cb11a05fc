#include "core/model_checks.h"

#include <algorithm>
#include <cmath>

#include "core/number_format.h"

namespace kestra {
namespace {

bool IsCellWidth(double width) {
  return std::isfinite(width) && width >= kSmallestCellWidth && width <= kLargestCellWidth;
}

// NaN and the infinities compare false: no branch, so a scan of a million
// cells runs in packed lanes.
bool IsElevation(float z) { return std::abs(z) <= kLargestElevation; }

std::string Value(float value) { return GeneralNumberText(value); }

std::string WidthProblem(const ModelState& model) {
  for (int j = 1; j <= model.NCOL; ++j)
    if (!IsCellWidth(model.DELR[j])) return "DELR of column " + std::to_string(j) + " is " + Value(model.DELR[j]);
  for (int i = 1; i <= model.NROW; ++i)
    if (!IsCellWidth(model.DELC[i])) return "DELC of row " + std::to_string(i) + " is " + Value(model.DELC[i]);
  return {};
}

bool ElevationsUsable(const ModelState& model, std::size_t cell) {
  return model.IBOUND0.values[cell] == 0 || (IsElevation(model.TOP.values[cell]) & IsElevation(model.BOT.values[cell]));
}

// The arrays are passed over a block of cells at a time without a branch a
// cell; only a block with a problem is searched for its first cell, in the
// order of layers, rows and columns. The cells around the grid have IBOUND 0.
std::string ElevationProblem(const ModelState& model) {
  constexpr std::size_t kBlockCells = 4096;
  const std::size_t cells = model.IBOUND0.values.size();
  for (std::size_t first = 0; first < cells; first += kBlockCells) {
    const std::size_t end = std::min(cells, first + kBlockCells);
    bool usable = true;
    for (std::size_t n = first; n < end; ++n) usable &= ElevationsUsable(model, n);
    if (usable) continue;
    std::size_t n = first;
    while (ElevationsUsable(model, n)) ++n;
    const GridShape& shape = model.IBOUND0.shape;
    const std::size_t rowCells = static_cast<std::size_t>(shape.ncol) + 2;
    const std::size_t layerCells = rowCells * (static_cast<std::size_t>(shape.nrow) + 2);
    const std::string cell = " of column " + std::to_string(n % rowCells) + ", row " +
                             std::to_string(n % layerCells / rowCells) + ", layer " + std::to_string(n / layerCells) +
                             " is ";
    const float top = model.TOP.values[n], bottom = model.BOT.values[n];
    return IsElevation(top) ? "the bottom" + cell + Value(bottom) : "the top" + cell + Value(top);
  }
  return {};
}

std::string PeriodProblem(const StressPeriods& periods) {
  for (int p = 1; p <= periods.NPER; ++p) {
    const std::string period = " of stress period " + std::to_string(p) + " is ";
    if (!std::isfinite(periods.PERLEN[p]) || periods.PERLEN[p] < 0) return "PERLEN" + period + Value(periods.PERLEN[p]);
    if (periods.NSTP[p] < 1) return "NSTP" + period + std::to_string(periods.NSTP[p]);
    if (!std::isfinite(periods.TSMULT[p]) || periods.TSMULT[p] <= 0)
      return "TSMULT" + period + Value(periods.TSMULT[p]);
  }
  return {};
}

}  // namespace

std::string ModelNumbersProblem(const ModelState& model, const StressPeriods& periods) {
  if (std::string problem = WidthProblem(model); !problem.empty()) return problem;
  if (std::string problem = ElevationProblem(model); !problem.empty()) return problem;
  return PeriodProblem(periods);
}

}  // namespace kestra
