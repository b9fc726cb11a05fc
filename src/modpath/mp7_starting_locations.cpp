#include "modpath/mp7_starting_locations.h"

#include <array>
#include <string>

#include "core/number_format.h"

namespace kestra {
namespace {

// More particles than any run needs; a count beyond it in a damaged file
// is refused before anything is allocated.
constexpr int kMaxParticles = 10'000'000;
constexpr int kMaxDivisions = 1000;
constexpr int kMaxInt16 = 32767;
constexpr int kFaceCount = 6;

enum class Subdivision { Faces = 1, Cell = 2 };

// The points of one template in a cell's local coordinates (MODPATH's sense).
using Template = std::vector<LocalPoint>;

float Centre(int n, int count) { return (static_cast<float>(n) + 0.5f) / static_cast<float>(count); }

// Points on a face: `across` divisions along the face's first free
// coordinate, `along` along the second; `fixed` which coordinate (0 x, 1
// y, 2 z) the face holds at `value`.
void AddFacePoints(Template& points, int fixed, float value, int first, int second) {
  for (int a = 0; a < first; ++a)
    for (int b = 0; b < second; ++b) {
      std::array<float, 3> xyz{};
      xyz[static_cast<std::size_t>(fixed)] = value;
      // Side faces: first the vertical divisions (z), then along the face;
      // top and bottom: first the rows (y), then the columns (x).
      if (fixed == 0) xyz[2] = Centre(a, first), xyz[1] = Centre(b, second);
      if (fixed == 1) xyz[2] = Centre(a, first), xyz[0] = Centre(b, second);
      if (fixed == 2) xyz[1] = Centre(a, first), xyz[0] = Centre(b, second);
      points.push_back({xyz[0], xyz[1], xyz[2]});
    }
}

bool ReadTemplate(Mp7Input& input, Subdivision type, Template& points) {
  points.clear();
  std::vector<int> counts;
  if (type == Subdivision::Faces) {
    if (!input.Integers(2 * kFaceCount, counts, "the face divisions", 0, kMaxDivisions)) return false;
    for (int face = 0; face < kFaceCount; ++face)
      AddFacePoints(points, face / 2, static_cast<float>(face % 2), counts[static_cast<std::size_t>(2 * face)],
                    counts[static_cast<std::size_t>(2 * face + 1)]);
    return true;
  }
  if (!input.Integers(3, counts, "the cell divisions (columns, rows, layers)", 1, kMaxDivisions)) return false;
  for (int z = 0; z < counts[2]; ++z)
    for (int y = 0; y < counts[1]; ++y)
      for (int x = 0; x < counts[0]; ++x)
        points.push_back({Centre(x, counts[0]), Centre(y, counts[1]), Centre(z, counts[2])});
  return true;
}

CellIndex Cell(int layer, int row, int column) {
  return {static_cast<std::int16_t>(column), static_cast<std::int16_t>(row), static_cast<std::int16_t>(layer)};
}

// The cell of a cell number, counted layer by layer and row by row from 1.
CellIndex CellOfNumber(const GridShape& shape, int number) {
  const int perLayer = shape.nrow * shape.ncol;
  const int index = number - 1;
  return Cell(index / perLayer + 1, index % perLayer / shape.ncol + 1, index % shape.ncol + 1);
}

class GroupBuilder {
 public:
  GroupBuilder(Mp7Input& input, const GridShape& shape, int group, std::vector<Mp7Particle>& particles)
      : input_(input), shape_(shape), group_(group), particles_(particles) {}

  bool Read() {
    int style = 0;
    if (!input_.Integer(style, "the input style", 1, 4)) return false;
    switch (style) {
      case 1: return ReadParticles();
      case 2: return ReadTemplates(false);
      case 3: return ReadTemplates(true);
      default: return ReadMask();
    }
  }

 private:
  bool Add(int id, CellIndex cell, LocalPoint local, double offset, bool drape) {
    if (static_cast<int>(particles_.size()) >= kMaxParticles) return input_.Fail("more than the particles a run can hold.");
    particles_.push_back({id, group_, cell, local, offset, drape});
    return true;
  }

  bool AddTemplate(const Template& points, CellIndex cell, bool drape) {
    for (const LocalPoint& point : points)
      if (!Add(nextId_++, cell, point, 0, drape)) return false;
    return true;
  }

  bool ReadParticles() {
    int locationStyle = 0;
    std::vector<int> counts;
    if (!input_.Integer(locationStyle, "the location style", 1, 2) ||
        !input_.Integers(2, counts, "the particle count and id option", 0, kMaxParticles))
      return false;
    if (counts[1] > 1) return input_.Fail("the particle id option is 0 or 1.");
    const bool ids = counts[1] == 1;
    const std::size_t cellFields = locationStyle == 1 ? 3 : 1;
    const std::size_t fields = (ids ? 1 : 0) + cellFields + 5;
    for (int n = 0; n < counts[0]; ++n) {
      std::vector<double> v;
      if (!input_.Numbers(fields, v, "particle " + TrimmedNumberText(n + 1))) return false;
      const double* p = v.data();
      const double id = ids ? *p++ : nextId_;
      std::optional<CellIndex> cell = locationStyle == 1 ? CellAt(p[0], p[1], p[2]) : NumberedCell(p[0]);
      if (!cell) return false;
      p += cellFields;
      if (!WholeIn(id, 0, 2147483647, "the particle id") || !WholeIn(p[4], 0, 1, "the drape code")) return false;
      const LocalPoint local{static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2])};
      if (!Inside(local)) return false;
      ++nextId_;
      if (!Add(static_cast<int>(id), *cell, local, p[3], p[4] == 1)) return false;
    }
    return true;
  }

  // Styles 2 and 3: templates, each over regions of cells or a list of cell numbers.
  bool ReadTemplates(bool cellNumbers) {
    std::vector<int> counts;
    if (!input_.Integers(2, counts, "the template count and cell count", 1, kMaxParticles)) return false;
    for (int t = 0; t < counts[0]; ++t) {
      std::vector<int> head;
      Template points;
      if (!input_.Integers(3, head, "the template type, cell count and drape", 0, kMaxParticles)) return false;
      if (head[0] < 1 || head[0] > 2 || head[2] > 1)
        return input_.Fail("the template type is 1 (faces) or 2 (cell) and the drape code 0 or 1.");
      if (!ReadTemplate(input_, static_cast<Subdivision>(head[0]), points)) return false;
      const bool drape = head[2] == 1;
      const bool read = cellNumbers ? ReadCellList(head[1], points, drape) : ReadRegions(head[1], points, drape);
      if (!read) return false;
    }
    return true;
  }

  bool ReadCellList(int count, const Template& points, bool drape) {
    std::vector<double> numbers;
    if (!input_.Numbers(static_cast<std::size_t>(count), numbers, "the cell numbers")) return false;
    for (const double number : numbers) {
      const std::optional<CellIndex> cell = NumberedCell(number);
      if (!cell || !AddTemplate(points, *cell, drape)) return false;
    }
    return true;
  }

  bool ReadRegions(int count, const Template& points, bool drape) {
    for (int r = 0; r < count; ++r) {
      std::vector<double> v;
      if (!input_.Numbers(6, v, "a cell region (layer, row, column from and to)")) return false;
      const std::optional<CellIndex> low = CellAt(v[0], v[1], v[2]), high = CellAt(v[3], v[4], v[5]);
      if (!low || !high) return false;
      for (int k = low->layer; k <= high->layer; ++k)
        for (int i = low->row; i <= high->row; ++i)
          for (int j = low->column; j <= high->column; ++j)
            if (!AddTemplate(points, Cell(k, i, j), drape)) return false;
    }
    return true;
  }

  // Style 4: one template over every cell whose mask value is not zero.
  bool ReadMask() {
    std::vector<int> head;
    int option = 0;
    Template points;
    std::vector<Mp7LayerArray> mask;
    if (!input_.Integers(2, head, "the template type and drape", 0, 2) || !input_.Integer(option, "the mask option", 0, 0))
      return false;
    if (head[0] < 1 || head[1] > 1) return input_.Fail("the template type is 1 (faces) or 2 (cell) and the drape code 0 or 1.");
    if (!ReadMp7Array(input_, shape_, mask, "the mask") ||
        !ReadTemplate(input_, static_cast<Subdivision>(head[0]), points))
      return false;
    for (int k = 1; k <= shape_.nlay; ++k) {
      std::vector<double> values;
      std::string problem;
      if (!Mp7LayerValues(mask[static_cast<std::size_t>(k - 1)], shape_.nrow, shape_.ncol, values, problem))
        return input_.Fail(problem);
      for (std::size_t n = 0; n < values.size(); ++n)
        if (values[n] != 0 &&
            !AddTemplate(points, Cell(k, static_cast<int>(n) / shape_.ncol + 1, static_cast<int>(n) % shape_.ncol + 1),
                         head[1] == 1))
          return false;
    }
    return true;
  }

  bool WholeIn(double value, double low, double high, const std::string& what) {
    if (value == static_cast<double>(static_cast<long long>(value)) && value >= low && value <= high) return true;
    return input_.Fail(what + " " + TrimmedNumberText(value) + " is not a whole number from " + TrimmedNumberText(low) + " to " +
                       TrimmedNumberText(high) + ".");
  }

  std::optional<CellIndex> CellAt(double layer, double row, double column) {
    if (!WholeIn(layer, 1, shape_.nlay, "the layer") || !WholeIn(row, 1, shape_.nrow, "the row") ||
        !WholeIn(column, 1, shape_.ncol, "the column"))
      return std::nullopt;
    return Cell(static_cast<int>(layer), static_cast<int>(row), static_cast<int>(column));
  }

  std::optional<CellIndex> NumberedCell(double number) {
    if (!WholeIn(number, 1, static_cast<double>(shape_.nlay) * shape_.nrow * shape_.ncol, "the cell number"))
      return std::nullopt;
    return CellOfNumber(shape_, static_cast<int>(number));
  }

  bool Inside(const LocalPoint& p) {
    const bool inside = p.x >= 0 && p.x <= 1 && p.y >= 0 && p.y <= 1 && p.z >= 0 && p.z <= 1;
    return inside || input_.Fail("a local coordinate lies outside 0 to 1.");
  }

  Mp7Input& input_;
  const GridShape& shape_;
  const int group_;
  std::vector<Mp7Particle>& particles_;
  int nextId_ = 1;
};

}  // namespace

bool ReadMp7StartingLocations(Mp7Input& input, const GridShape& shape, int group, std::vector<Mp7Particle>& particles) {
  if (shape.nlay < 1 || shape.nrow < 1 || shape.ncol < 1 || shape.nlay > kMaxInt16 || shape.nrow > kMaxInt16 ||
      shape.ncol > kMaxInt16)
    return input.Fail("the grid has no cells or more rows, columns or layers than the tracking holds.");
  std::vector<Mp7Particle> read;
  if (!GroupBuilder(input, shape, group, read).Read()) return false;
  particles.insert(particles.end(), read.begin(), read.end());
  return true;
}

}  // namespace kestra
