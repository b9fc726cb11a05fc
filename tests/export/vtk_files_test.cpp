// The grid and pathline files read back by VTK's own reader: what ParaView
// would see of them.
#include "export/vtk_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>

#include "export/vtk_reader_check.h"
#include "support/temp_dir.h"
#include "support/result_builders.h"

namespace kestra {
namespace {

using test::ReadVtkWithRealReader;
using test::TempDir;
using test::VtkReadResult;

constexpr const char* kNoReader = "VTK's reader for Python (python3-vtk9) is not installed";
const double kCos30 = std::sqrt(3.0) / 2;
constexpr double kSin30 = 0.5;
// The lower-left grid corner; the grid is turned 30 degrees about it.
constexpr double kX0 = 500000, kY0 = 4100000;
// World coordinates of seven digits before the point, written with 15
// significant digits: about 1e-8.
constexpr double kCoordinateTolerance = 1e-6;
// 32-bit values written with their 7 digits: about 1e-7 relative.
constexpr double kFloatTolerance = 1e-5;

// Columns 10, 20 and 40 wide, rows 5 and 15 (grid length 20), two layers;
// cell (2, 1, 2) inactive, (3, 2, 1) fixed head. Every cell's TOP, BOT,
// head and porosity differ.
ModelState SmallModel() {
  ModelState model = test::GridOfWidths({10, 20, 40}, {5, 15}, 2);
  for (int k = 1; k <= 2; ++k)
    for (int i = 1; i <= 2; ++i)
      for (int j = 1; j <= 3; ++j) {
        model.IBOUND(j, i, k) = 1;
        model.TOP(j, i, k) = k == 1 ? 100.0f + j + 10 * i : 60;
        model.BOT(j, i, k) = k == 1 ? 60 : 20.0f - j;
        model.HEAD(j, i, k) = 50 + j + 0.25f * i + 0.5f * k;
        model.POROSITY(j, i, k) = 0.1f * k + 0.01f * j;
      }
  model.IBOUND(2, 1, 2) = 0;
  model.IBOUND(3, 2, 1) = -1;
  SetWorldPosition(model, {kX0, kY0, 30, "EPSG:32633"});
  return model;
}

VtkReadResult ReadGrid(const ModelState& model) {
  TempDir dir;
  const std::string path = dir.File("grid.vtu");
  std::string error;
  EXPECT_TRUE(WriteVtkGrid(path, model, error)) << error;
  return ReadVtkWithRealReader(path);
}

VtkReadResult ReadPathlines(const ModelState& model, const std::vector<RecordedPath>& paths) {
  TempDir dir;
  const std::string path = dir.File("pathlines.vtp");
  std::string error;
  EXPECT_TRUE(WriteVtkPathlines(path, model, paths, error)) << error;
  return ReadVtkWithRealReader(path);
}

// The type or active array the reader named for `key`; "(none)" when it named none.
std::string NameRead(const VtkReadResult& read, const std::string& key) {
  const auto found = read.names.find(key);
  return found == read.names.end() ? "(none)" : found->second;
}

// The position of cell (j, i, k) among the cells read, by its column, row and layer data.
std::optional<std::size_t> CellRead(const VtkReadResult& read, int j, int i, int k) {
  const std::vector<double>& columns = read.values.at("cell:column");
  for (std::size_t n = 0; n < columns.size(); ++n)
    if (columns[n] == j && read.values.at("cell:row")[n] == i && read.values.at("cell:layer")[n] == k) return n;
  return std::nullopt;
}

// One read of the grid for the cells, their corners, volumes and data.
TEST(VtkGridFile, OneHexahedronPerCellWithNonZeroIboundAtItsWorldPlaceWithItsVolumeAndData) {
  const ModelState model = SmallModel();
  const VtkReadResult read = ReadGrid(model);
  if (!read.readerAvailable) GTEST_SKIP() << kNoReader;
  ASSERT_TRUE(read.accepted) << read.output;
  EXPECT_EQ(read.values.at("cells"), std::vector<double>{11});
  EXPECT_EQ(read.values.at("points"), std::vector<double>{88});
  EXPECT_EQ(read.values.at("cell_types"), std::vector<double>(11, 12));
  EXPECT_EQ(read.values.at("cell_sizes"), std::vector<double>(11, 8));
  for (int k = 1; k <= 2; ++k)
    for (int i = 1; i <= 2; ++i)
      for (int j = 1; j <= 3; ++j)
        EXPECT_EQ(CellRead(read, j, i, k).has_value(), model.IBOUND(j, i, k) != 0) << j << " " << i << " " << k;

  struct Corner {
    const char* what;
    int j, i, k;
    int corner;  // in VTK's hexahedron order
    double x, y, z;
  };
  // Worked by hand: plan (x, y) lies at x0 + x cos 30 - (20 - y) sin 30, y0 + x sin 30 + (20 - y) cos 30.
  const Corner corners[] = {
      {"lower-left grid corner, first point of its cell", 1, 2, 1, 0, kX0, kY0, 60},
      {"upper-right grid corner on the top face", 3, 1, 1, 6, kX0 + 70 * kCos30 - 20 * kSin30,
       kY0 + 70 * kSin30 + 20 * kCos30, 113},
      {"lower edge, second bottom corner", 2, 2, 2, 1, kX0 + 30 * kCos30, kY0 + 30 * kSin30, 18},
      {"upper-left grid corner, last bottom corner", 1, 1, 2, 3, kX0 - 20 * kSin30, kY0 + 20 * kCos30, 19},
      {"upper-left grid corner, last top corner", 1, 1, 1, 7, kX0 - 20 * kSin30, kY0 + 20 * kCos30, 111},
  };
  for (const Corner& c : corners) {
    SCOPED_TRACE(c.what);
    const std::optional<std::size_t> cell = CellRead(read, c.j, c.i, c.k);
    ASSERT_TRUE(cell);
    const std::size_t point = static_cast<std::size_t>(read.values.at("cell_points")[*cell * 8 + c.corner]);
    const std::vector<double>& xyz = read.values.at("coordinates");
    EXPECT_NEAR(xyz[3 * point], c.x, kCoordinateTolerance);
    EXPECT_NEAR(xyz[3 * point + 1], c.y, kCoordinateTolerance);
    EXPECT_NEAR(xyz[3 * point + 2], c.z, kCoordinateTolerance);
  }

  const std::vector<double>& volumes = read.values.at("volumes");
  ASSERT_EQ(volumes.size(), 11u);
  for (std::size_t n = 0; n < volumes.size(); ++n) {
    const int j = static_cast<int>(read.values.at("cell:column")[n]);
    const int i = static_cast<int>(read.values.at("cell:row")[n]);
    const int k = static_cast<int>(read.values.at("cell:layer")[n]);
    SCOPED_TRACE(testing::Message() << j << " " << i << " " << k);
    // A face turned inside out gives a negative volume. The corners carry
    // about 1e-9 of error on edges of 5 units and more.
    const double expected = model.DELR[j] * model.DELC[i] * (model.TOP(j, i, k) - model.BOT(j, i, k));
    EXPECT_NEAR(volumes[n], expected, expected * 1e-6);
    EXPECT_EQ(read.values.at("cell:IBOUND")[n], model.IBOUND(j, i, k));
    EXPECT_NEAR(read.values.at("cell:head")[n], model.HEAD(j, i, k), kFloatTolerance);
    EXPECT_NEAR(read.values.at("cell:porosity")[n], model.POROSITY(j, i, k), kFloatTolerance);
  }
  struct Array {
    const char* key;
    const char* type;
  };
  for (const Array& array :
       {Array{"type:cell:IBOUND", "int"}, Array{"type:cell:head", "double"}, Array{"type:cell:porosity", "double"},
        Array{"type:cell:layer", "int"}, Array{"type:cell:row", "int"}, Array{"type:cell:column", "int"},
        Array{"type:cell:velocity", "double"}, Array{"scalars:cell", "head"}, Array{"vectors:cell", "velocity"}})
    EXPECT_EQ(NameRead(read, array.key), array.type) << array.key;
}

TEST(VtkGridFile, VelocitiesPointInWorldDirections) {
  struct Velocity {
    const char* what;
    int j, i, k;
    float vx, vy, vz;
    double east, north, up;
  };
  // VX runs along the columns (30 degrees north of east here), VY down the
  // rows (south turned 30 degrees towards east), VZ up.
  const Velocity velocities[] = {
      {"along the columns", 1, 1, 1, 2, 0, 0, 2 * kCos30, 2 * kSin30, 0},
      {"down the rows", 2, 1, 1, 0, 4, 0, 4 * kSin30, -4 * kCos30, 0},
      {"downward in a fixed-head cell", 3, 2, 1, 0, 0, -0.5f, 0, 0, -0.5},
      {"back along both", 1, 2, 2, -1, -1, 0.25f, -kCos30 - kSin30, -kSin30 + kCos30, 0.25},
  };
  ModelState model = SmallModel();
  for (const Velocity& v : velocities) {
    model.VX(v.j, v.i, v.k) = v.vx;
    model.VY(v.j, v.i, v.k) = v.vy;
    model.VZ(v.j, v.i, v.k) = v.vz;
  }
  const VtkReadResult read = ReadGrid(model);
  if (!read.readerAvailable) GTEST_SKIP() << kNoReader;
  ASSERT_TRUE(read.accepted) << read.output;
  const std::vector<double>& read3 = read.values.at("cell:velocity");
  ASSERT_EQ(read3.size(), 33u);
  for (const Velocity& v : velocities) {
    SCOPED_TRACE(v.what);
    const std::optional<std::size_t> cell = CellRead(read, v.j, v.i, v.k);
    ASSERT_TRUE(cell);
    // Exact inputs turned in double precision, written with 15 digits.
    EXPECT_NEAR(read3[3 * *cell], v.east, 1e-12);
    EXPECT_NEAR(read3[3 * *cell + 1], v.north, 1e-12);
    EXPECT_NEAR(read3[3 * *cell + 2], v.up, 1e-12);
  }
}

PathPoint At(double x, double y, double z, double time) {
  PathPoint point;
  point.point = {x, y, z};
  point.time = time;
  return point;
}

// Particle 1 forward (3 points) and backward (2), particle 4 never moved (1
// point), particle 7 has no points.
std::vector<RecordedPath> FourPaths() {
  return {{1, 1, {At(5, 10, 70, 0), At(15, 10, 69, 100), At(70, 0, 65.5, 250)}},
          {1, -1, {At(5, 10, 70, 0), At(0, 20, 71, 40)}},
          {4, 1, {At(30, 2.5, 40, 0)}},
          {7, -1, {}}};
}

TEST(VtkPathlineFile, OnePolylinePerPathThroughItsWorldPointsCarryingTimeParticleAndDirection) {
  const VtkReadResult read = ReadPathlines(SmallModel(), FourPaths());
  if (!read.readerAvailable) GTEST_SKIP() << kNoReader;
  ASSERT_TRUE(read.accepted) << read.output;
  EXPECT_EQ(read.values.at("cells"), std::vector<double>{3});
  // The point of particle 4 twice: VTK has no line of one point.
  EXPECT_EQ(read.values.at("points"), std::vector<double>{7});
  // VTK_POLY_LINE, and VTK_LINE for a line of two points.
  EXPECT_EQ(read.values.at("cell_types"), (std::vector<double>{4, 3, 3}));
  EXPECT_EQ(read.values.at("cell_sizes"), (std::vector<double>{3, 2, 2}));
  EXPECT_EQ(read.values.at("cell_points"), (std::vector<double>{0, 1, 2, 3, 4, 5, 6}));
  struct Point {
    const char* what;
    std::size_t index;
    double x, y, z;
  };
  const Point points[] = {
      {"upper-right grid corner", 2, kX0 + 70 * kCos30 - 20 * kSin30, kY0 + 70 * kSin30 + 20 * kCos30, 65.5},
      {"lower-left grid corner", 4, kX0, kY0, 71},
      {"the point of a particle that never moved, twice", 6, kX0 + 30 * kCos30 - 17.5 * kSin30,
       kY0 + 30 * kSin30 + 17.5 * kCos30, 40},
      {"inside the grid", 5, kX0 + 30 * kCos30 - 17.5 * kSin30, kY0 + 30 * kSin30 + 17.5 * kCos30, 40},
  };
  const std::vector<double>& xyz = read.values.at("coordinates");
  for (const Point& p : points) {
    SCOPED_TRACE(p.what);
    EXPECT_NEAR(xyz[3 * p.index], p.x, kCoordinateTolerance);
    EXPECT_NEAR(xyz[3 * p.index + 1], p.y, kCoordinateTolerance);
    EXPECT_NEAR(xyz[3 * p.index + 2], p.z, kCoordinateTolerance);
  }
  EXPECT_EQ(read.values.at("point:time"), (std::vector<double>{0, 100, 250, 0, 40, 0, 0}));
  EXPECT_EQ(read.values.at("point:particle"), (std::vector<double>{1, 1, 1, 1, 1, 4, 4}));
  EXPECT_EQ(read.values.at("point:direction"), (std::vector<double>{1, 1, 1, -1, -1, 1, 1}));
  EXPECT_EQ(read.values.at("cell:particle"), (std::vector<double>{1, 1, 4}));
  EXPECT_EQ(read.values.at("cell:direction"), (std::vector<double>{1, -1, 1}));
  EXPECT_EQ(NameRead(read, "type:point:time"), "double");
  EXPECT_EQ(NameRead(read, "type:point:particle"), "int");
  EXPECT_EQ(NameRead(read, "type:cell:direction"), "int");
}

TEST(VtkFiles, AGridWithoutCellsAndARunWithoutPathsStayReadable) {
  ModelState empty = SmallModel();
  for (std::int16_t& code : empty.IBOUND.values) code = 0;
  struct Case {
    const char* what;
    VtkReadResult read;
  };
  const Case cases[] = {{"grid", ReadGrid(empty)}, {"pathlines", ReadPathlines(empty, {})}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.read.readerAvailable) GTEST_SKIP() << kNoReader;
    ASSERT_TRUE(c.read.accepted) << c.read.output;
    EXPECT_EQ(c.read.values.at("cells"), std::vector<double>{0});
    EXPECT_EQ(c.read.values.at("points"), std::vector<double>{0});
  }
}

TEST(VtkFiles, AFolderThatDoesNotExistGivesTheReason) {
  TempDir dir;
  const std::string path = (dir.path() / "missing" / "grid.vtu").string();
  std::string error;
  EXPECT_FALSE(WriteVtkGrid(path, SmallModel(), error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace kestra
