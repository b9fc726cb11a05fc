#include "graphics/readable_exaggeration.h"

#include <algorithm>
#include <cmath>

#include "core/round_numbers.h"
#include "graphics/view_arrangement.h"
#include "settings/environment_entries.h"

namespace kestra {
namespace {

// The section depth this fraction of the plan's height is still easy to read.
constexpr double kSectionShare = 0.2;

}  // namespace

float ReadableExaggeration(const ModelState& model) {
  if (model.NROW < 1 || model.NCOL < 1) return 1;
  ViewLayout layout;
  SetModelElevationRange(layout, model);
  const double depth = static_cast<double>(layout.modelZmax) - layout.modelZmin;
  const double length = model.YEDGE[model.NROW];
  if (!(depth > 0) || !(length > 0)) return 1;
  const double wanted = kSectionShare * length / depth;
  if (!(wanted > 1)) return 1;
  return static_cast<float>(std::min(TwoSignificantDigits(wanted), kMostExaggeration));
}

}  // namespace kestra
