#include "tracking/recorded_paths.h"

#include <algorithm>

namespace kestra {

std::vector<RecordedPath> GatherPaths(const std::vector<PathReport>& reports) {
  std::vector<const PathReport*> ordered;
  ordered.reserve(reports.size());
  for (const PathReport& report : reports) ordered.push_back(&report);
  std::stable_sort(ordered.begin(), ordered.end(), [](const PathReport* a, const PathReport* b) {
    return a->particle != b->particle ? a->particle < b->particle : a->direction > b->direction;
  });
  std::vector<RecordedPath> paths;
  for (const PathReport* report : ordered) {
    if (paths.empty() || paths.back().particle != report->particle || paths.back().direction != report->direction)
      paths.push_back({report->particle, report->direction, {}});
    paths.back().points.push_back(report->point);
  }
  return paths;
}

}  // namespace kestra
