#include "export/zone_mask.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kestra {
namespace {

constexpr double kFar = std::numeric_limits<double>::infinity();

// The squared distance transform of one line of samples `f` (0 at a
// feature, kFar elsewhere), by the lower envelope of parabolas
// (Felzenszwalb and Huttenlocher, 2012), in place.
void DistanceTransform1d(std::vector<double>& f, std::vector<double>& out, std::vector<int>& vertex,
                         std::vector<double>& boundary) {
  const int n = static_cast<int>(f.size());
  int k = -1;
  for (int q = 0; q < n; ++q) {
    if (f[q] == kFar) continue;
    double s = -kFar;
    while (k >= 0) {
      const int v = vertex[k];
      s = ((f[q] + q * static_cast<double>(q)) - (f[v] + v * static_cast<double>(v))) / (2.0 * (q - v));
      if (s > boundary[k]) break;
      --k;
    }
    ++k;
    vertex[k] = q;
    boundary[k] = k == 0 ? -kFar : s;
  }
  if (k < 0) {
    std::fill(out.begin(), out.end(), kFar);
    return;
  }
  int j = 0;
  for (int q = 0; q < n; ++q) {
    while (j < k && boundary[j + 1] < q) ++j;
    const double d = q - vertex[j];
    out[q] = d * d + f[vertex[j]];
  }
}

// The squared distance, in pixels, of every pixel to the nearest pixel
// whose mark is `target`.
std::vector<double> SquaredDistances(const ZoneMask& mask, std::uint8_t target) {
  const int w = mask.columns, h = mask.rows;
  std::vector<double> d(mask.marks.size());
  for (std::size_t n = 0; n < d.size(); ++n) d[n] = mask.marks[n] == target ? 0 : kFar;
  const int longest = std::max(w, h);
  std::vector<double> line(longest), out(longest), boundary(longest);
  std::vector<int> vertex(longest);
  for (int c = 0; c < w; ++c) {
    line.resize(h);
    out.resize(h);
    for (int r = 0; r < h; ++r) line[r] = d[mask.Index(c, r)];
    DistanceTransform1d(line, out, vertex, boundary);
    for (int r = 0; r < h; ++r) d[mask.Index(c, r)] = out[r];
  }
  for (int r = 0; r < h; ++r) {
    line.resize(w);
    out.resize(w);
    for (int c = 0; c < w; ++c) line[c] = d[mask.Index(c, r)];
    DistanceTransform1d(line, out, vertex, boundary);
    for (int c = 0; c < w; ++c) d[mask.Index(c, r)] = out[c];
  }
  return d;
}

int ColumnOf(const ZoneMask& mask, double x) { return static_cast<int>(std::floor((x - mask.left) / mask.pixel)); }
int RowOf(const ZoneMask& mask, double y) { return static_cast<int>(std::floor((y - mask.top) / mask.pixel)); }

void Mark(ZoneMask& mask, int column, int row) {
  if (column >= 0 && column < mask.columns && row >= 0 && row < mask.rows) mask.marks[mask.Index(column, row)] = 1;
}

// The raster's edges lie on whole pixels from the plan's origin, so that a
// path is marked on the same pixels whatever else the raster holds.
double AlignedStart(double low, double pixel) { return std::floor(low / pixel) * pixel; }

double PixelsAcross(double low, double high, double margin, double pixel) {
  return std::ceil((high + margin - AlignedStart(low - margin, pixel)) / pixel) + 1;
}

}  // namespace

double MaskPixels(PlanXY low, PlanXY high, double margin, double pixel) {
  return PixelsAcross(low.x, high.x, margin, pixel) * PixelsAcross(low.y, high.y, margin, pixel);
}

ZoneMask EmptyMask(PlanXY low, PlanXY high, double margin, double pixel) {
  ZoneMask mask;
  mask.pixel = pixel;
  mask.left = AlignedStart(low.x - margin, pixel);
  mask.top = AlignedStart(low.y - margin, pixel);
  mask.columns = static_cast<int>(PixelsAcross(low.x, high.x, margin, pixel));
  mask.rows = static_cast<int>(PixelsAcross(low.y, high.y, margin, pixel));
  mask.marks.assign(static_cast<std::size_t>(mask.columns) * static_cast<std::size_t>(mask.rows), 0);
  return mask;
}

void MarkSegment(ZoneMask& mask, PlanXY a, PlanXY b) {
  // Steps of a quarter pixel touch every pixel the segment crosses but the
  // slightest corners.
  const double length = std::hypot(b.x - a.x, b.y - a.y);
  const int steps = static_cast<int>(std::ceil(4 * length / mask.pixel));
  for (int n = 0; n <= steps; ++n) {
    const double t = steps == 0 ? 0 : static_cast<double>(n) / steps;
    Mark(mask, ColumnOf(mask, a.x + t * (b.x - a.x)), RowOf(mask, a.y + t * (b.y - a.y)));
  }
}

void MarkRectangle(ZoneMask& mask, PlanXY low, PlanXY high) {
  const auto centre = [&](int column, int row) {
    return PlanXY{mask.left + (column + 0.5) * mask.pixel, mask.top + (row + 0.5) * mask.pixel};
  };
  Mark(mask, ColumnOf(mask, (low.x + high.x) / 2), RowOf(mask, (low.y + high.y) / 2));
  for (int r = std::max(0, RowOf(mask, low.y)); r <= std::min(mask.rows - 1, RowOf(mask, high.y)); ++r)
    for (int c = std::max(0, ColumnOf(mask, low.x)); c <= std::min(mask.columns - 1, ColumnOf(mask, high.x)); ++c) {
      const PlanXY p = centre(c, r);
      if (p.x >= low.x && p.x <= high.x && p.y >= low.y && p.y <= high.y) Mark(mask, c, r);
    }
}

void CloseGaps(ZoneMask& mask, double width) {
  const double radius = width / 2 / mask.pixel;
  if (!(radius > 0) || mask.marks.empty()) return;
  const double squared = radius * radius;
  const std::vector<double> toMarked = SquaredDistances(mask, 1);
  for (std::size_t n = 0; n < mask.marks.size(); ++n) mask.marks[n] = toMarked[n] <= squared ? 1 : 0;
  const std::vector<double> toUnmarked = SquaredDistances(mask, 0);
  for (std::size_t n = 0; n < mask.marks.size(); ++n) mask.marks[n] = toUnmarked[n] > squared ? 1 : 0;
}

double MarkedArea(const ZoneMask& mask) {
  const auto marked = std::count(mask.marks.begin(), mask.marks.end(), std::uint8_t{1});
  return static_cast<double>(marked) * mask.pixel * mask.pixel;
}

}  // namespace kestra
