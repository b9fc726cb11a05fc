#include "graphics/cross_sections.h"

#include <gtest/gtest.h>

#include "view_scene.h"

namespace kestra {
namespace {

using test::ViewScene;
using Boxes = std::vector<std::vector<float>>;

// Three columns of 10, two rows of 10, two layers: 100..90 and 90..80.
ModelState ThreeByTwoByTwo() { return test::UniformModel(3, 2, 2, 10, 10); }

TEST(DrawCrossSections, WaterTableHasAGapAroundAColumnWithoutHeads) {
  ViewScene scene(ThreeByTwoByTwo());
  scene.settings.showWaterTable = kOn;
  scene.inputs.headsLoaded = true;
  ModelState& m = scene.model;
  m.HEAD(1, 1, 1) = 95;
  m.HEAD(2, 1, 1) = m.HEAD(2, 1, 2) = scene.settings.HNOFLO;
  m.HEAD(3, 1, 1) = 1E+30f;  // dry in layer 1: layer 2 carries the level
  m.HEAD(3, 1, 2) = 85;
  m.HEAD(1, 2, 1) = 94;
  DrawCrossSections(scene.context, scene.inputs);
  EXPECT_TRUE(ViewScene::Drawn(scene.row, "line", scene.settings.waterTableColor).empty());
  // Along column 1: rows 1 and 2 both have levels.
  EXPECT_EQ(ViewScene::Drawn(scene.column, "line", scene.settings.waterTableColor), (Boxes{{95, 5, 94, 15}}));
}

TEST(DrawCrossSections, WaterTableJoinsNeighbouringLevelsAtCellCentres) {
  ViewScene scene(ThreeByTwoByTwo());
  scene.settings.showWaterTable = kOn;
  scene.inputs.headsLoaded = true;
  scene.model.HEAD(1, 1, 1) = 95;
  scene.model.HEAD(2, 1, 1) = 93;
  scene.model.HEAD(3, 1, 1) = scene.model.HEAD(3, 1, 2) = scene.settings.HDRY;
  DrawCrossSections(scene.context, scene.inputs);
  EXPECT_EQ(ViewScene::Drawn(scene.row, "line", scene.settings.waterTableColor), (Boxes{{5, 95, 15, 93}}));
}

TEST(DrawCrossSections, InactiveCellIsFilledWithoutGridEdges) {
  ViewScene scene(ThreeByTwoByTwo());
  scene.model.IBOUND(2, 1, 1) = 0;
  DrawCrossSections(scene.context, scene.inputs);
  EXPECT_EQ(ViewScene::Drawn(scene.row, "box", scene.settings.inactiveCellColor), (Boxes{{10, 90, 20, 100}}));
  // Five active cells in the row section, four edges each.
  EXPECT_EQ(ViewScene::Drawn(scene.row, "line", scene.settings.meshColor).size(), 5u * 4);
}

TEST(DrawCrossSections, BarrierOfCodeOneIsAStripInTheRowAndTheWholeCellInTheColumn) {
  ViewScene scene(ThreeByTwoByTwo());
  scene.model.DataFlags(6, 4) = 2;
  scene.layout.PixelSize = 0.5f;
  scene.SetPackage(data_type::kBarriers, 2, {{{1, 1}, 1}});
  DrawCrossSections(scene.context, scene.inputs);
  const Colour colour = scene.settings.barrierColor;
  EXPECT_EQ(ViewScene::Drawn(scene.row, "box", colour), (Boxes{{0, 80, 1, 90}}));
  EXPECT_EQ(ViewScene::Drawn(scene.column, "box", colour), (Boxes{{80, 0, 90, 10}}));
}

TEST(DrawCrossSections, PackageCellsFillTheCutCellsOfEveryLayer) {
  ViewScene scene(ThreeByTwoByTwo());
  scene.model.DataFlags(3, 3) = 2;
  scene.SetPackage(data_type::kDrains, 2, {{{3, 1}, 1}, {{1, 2}, 1}});
  DrawCrossSections(scene.context, scene.inputs);
  EXPECT_EQ(ViewScene::Drawn(scene.row, "box", scene.settings.drainColor), (Boxes{{20, 80, 30, 90}}));
  EXPECT_EQ(ViewScene::Drawn(scene.column, "box", scene.settings.drainColor), (Boxes{{80, 10, 90, 20}}));
}

TEST(DrawCrossSections, ReservoirOptionTwoFillsTheHighestActiveLayer) {
  ViewScene scene(ThreeByTwoByTwo());
  scene.model.DataFlags(6, 7) = 2;
  scene.model.IBOUND(2, 1, 1) = 0;
  scene.SetPackage(data_type::kReservoirLocations, 1, {{{2, 1}, 1}});
  DrawCrossSections(scene.context, scene.inputs);
  EXPECT_EQ(ViewScene::Drawn(scene.row, "box", scene.settings.reservoirColor), (Boxes{{10, 80, 20, 90}}));
}

TEST(DrawCrossSections, WithoutGridOrOutsideTheGridOnlyTheFramesAndNothingWhenHidden) {
  const struct {
    const char* what;
    void (*change)(ViewScene&);
    std::size_t lines;  // on each section
  } cases[] = {
      {"grid switched off", [](ViewScene& s) { s.settings.sectionGrid = kOff; }, 4},
      {"projection row outside the grid", [](ViewScene& s) { s.settings.sectionRow = 7; }, 4},
      {"sections not shown", [](ViewScene& s) { s.layout.sectionsShown = false; }, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ViewScene scene(ThreeByTwoByTwo());
    scene.model.IBOUND(2, 1, 1) = 0;  // no fill for it either
    c.change(scene);
    DrawCrossSections(scene.context, scene.inputs);
    EXPECT_EQ(scene.row.Of("line").size(), c.lines);
    EXPECT_EQ(scene.column.Of("line").size(), c.lines);
    EXPECT_TRUE(scene.row.Of("box").empty());
    if (c.lines == 0) {
      EXPECT_TRUE(scene.row.elements.empty());
      EXPECT_TRUE(scene.column.elements.empty());
    }
  }
}

}  // namespace
}  // namespace kestra
