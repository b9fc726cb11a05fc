// Source cells under polygons of a GIS file, on a grid without a world
// position: world x is plan x, world y runs up from the grid's lower edge.
#include "export/source_cells.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/well_in_uniform_flow.h"

namespace kestra {
namespace {

std::string GeoJson(const std::string& geometry) {
  return R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{},"geometry":)" + geometry +
         "}]}";
}

// A 20 x 10 grid of 5 m cells, 50 m from its upper to its lower edge.
ModelState SmallGrid() {
  test::UniformFlowWell grid;
  grid.columns = 20, grid.rows = 10, grid.wellColumn = 10, grid.wellRow = 5;
  return test::WellInUniformFlow(grid);
}

TEST(SourceCells, TheCellsWhoseCentresAPolygonHoldsInRowOrder) {
  ModelState state = SmallGrid();
  state.IBOUND(11, 5, 1) = 0;  // an inactive cell under the polygon is no source
  test::TempDir dir;
  const std::string path = dir.File("source.geojson");
  // x 45..60 holds the centres of columns 10 to 12; y 20..30 up is 20..30 m
  // above the lower edge, the centres of rows 5 and 6.
  test::WriteWholeFile(path, GeoJson(R"({"type":"Polygon","coordinates":[[[45,20],[60,20],[60,30],[45,30],[45,20]]]})"));
  std::vector<CellIndex> cells;
  std::string error;
  ASSERT_TRUE(SourceCellsOfPolygons(state, path, cells, error)) << error;
  const std::vector<CellIndex> expected = {{10, 5, 1}, {12, 5, 1}, {10, 6, 1}, {11, 6, 1}, {12, 6, 1}};
  EXPECT_EQ(cells, expected);
}

TEST(SourceCells, SaysWhyAFileGivesNoSource) {
  const ModelState state = SmallGrid();
  test::TempDir dir;
  struct Case {
    const char* name;
    std::string contents;  // empty: no file
    const char* reason;
  };
  const Case cases[] = {
      {"missing.geojson", "", "cannot be read as a GIS file"},
      {"points.geojson", GeoJson(R"({"type":"Point","coordinates":[50,25]})"), "holds no polygon"},
      {"outside.geojson",
       GeoJson(R"({"type":"Polygon","coordinates":[[[500,500],[600,500],[600,600],[500,500]]]})"),
       "hold no centre of an active cell"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.contents.empty()) test::WriteWholeFile(dir.File(c.name), c.contents);
    std::vector<CellIndex> cells;
    std::string error;
    EXPECT_FALSE(SourceCellsOfPolygons(state, dir.File(c.name), cells, error));
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace kestra
