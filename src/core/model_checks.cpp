#include "core/model_checks.h"

#include <cmath>

#include "core/number_format.h"

namespace kestra {
namespace {

bool IsCellWidth(double width) {
  return std::isfinite(width) && width >= kSmallestCellWidth && width <= kLargestCellWidth;
}

bool IsElevation(double z) { return std::isfinite(z) && std::abs(z) <= kLargestElevation; }

std::string Value(float value) { return GeneralNumberText(value); }

std::string WidthProblem(const ModelState& model) {
  for (int j = 1; j <= model.NCOL; ++j)
    if (!IsCellWidth(model.DELR[j])) return "DELR of column " + std::to_string(j) + " is " + Value(model.DELR[j]);
  for (int i = 1; i <= model.NROW; ++i)
    if (!IsCellWidth(model.DELC[i])) return "DELC of row " + std::to_string(i) + " is " + Value(model.DELC[i]);
  return {};
}

std::string ElevationProblem(const ModelState& model) {
  for (int k = 1; k <= model.NLAY; ++k)
    for (int i = 1; i <= model.NROW; ++i)
      for (int j = 1; j <= model.NCOL; ++j) {
        if (model.IBOUND0(j, i, k) == 0) continue;
        const float top = model.TOP(j, i, k), bottom = model.BOT(j, i, k);
        if (IsElevation(top) && IsElevation(bottom)) continue;
        const std::string cell = " of column " + std::to_string(j) + ", row " + std::to_string(i) + ", layer " +
                                 std::to_string(k) + " is ";
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
