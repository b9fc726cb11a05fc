// The model drawn on the plan and on the cross sections, and the colour flood
// of a layer: which cells get a colour, its range, classes and ramp, and the
// colour bar's title.
#include "graphics/plan_view.h"

#include <cmath>
#include <gtest/gtest.h>

#include "graphics/colour_flood.h"
#include "graphics/cross_sections.h"
#include "graphics/package_layers.h"
#include "plot_file.h"
#include "settings/tracking_settings.h"
#include "support/result_builders.h"
#include "view_scene.h"

namespace kestra {
namespace {

using test::ViewScene;
using Boxes = std::vector<std::vector<float>>;

// Four columns of 10 by two rows of 10, one layer.
ModelState FourByTwo() { return test::UniformModel(4, 2, 1, 10, 10); }

TEST(DrawGridLines, LinesStopAtTheOutlineOfTheActiveArea) {
  ViewScene scene(FourByTwo());
  for (int i = 1; i <= 2; ++i) scene.model.IBOUND(1, i, 1) = scene.model.IBOUND(2, i, 1) = 0;
  DrawGridLines(scene.context, scene.inputs, 1);
  const Boxes lines = ViewScene::Drawn(scene.plan, "line", scene.settings.meshColor);
  // Vertical lines at x = 20, 30, 40 and horizontal lines at y = 0, 10, 20 over
  // the active right half only; the edge between inactive and active is drawn.
  const Boxes expected = {{20, 0, 20, 20}, {30, 0, 30, 20},  {40, 0, 40, 20},
                          {20, 0, 40, 0},  {20, 10, 40, 10}, {20, 20, 40, 20}};
  EXPECT_EQ(lines, expected);
}

TEST(DrawGridLines, OnlyTheOuterEdgeOfAnInactiveBorderCellIsLeftOut) {
  ViewScene scene(FourByTwo());
  scene.model.IBOUND(2, 1, 1) = 0;
  DrawGridLines(scene.context, scene.inputs, 1);
  const Boxes lines = ViewScene::Drawn(scene.plan, "line", scene.settings.meshColor);
  ASSERT_EQ(lines.size(), 9u);
  // Its sides and lower edge border active cells; the top edge of the grid
  // breaks above it.
  EXPECT_EQ(lines[1], (std::vector<float>{10, 0, 10, 20}));
  EXPECT_EQ(lines[5], (std::vector<float>{0, 0, 10, 0}));
  EXPECT_EQ(lines[6], (std::vector<float>{20, 0, 40, 0}));
}

TEST(DrawModel, StreamIsDrawnInTheRiverColourUnderTheRiverSwitchAndOnlyWhenSimulated) {
  ViewScene scene(FourByTwo());
  scene.model.DataFlags(3, 8) = 2;
  scene.SetPackage(data_type::kStreams, 1, {{{2, 1}, 4.5f}});
  DrawModel(scene.context, scene.inputs, 1);
  EXPECT_EQ(ViewScene::Drawn(scene.plan, "box", scene.settings.riverColor), (Boxes{{10, 0, 20, 10}}));

  scene.settings.showRivers = kOff;
  DrawModel(scene.context, scene.inputs, 1);
  EXPECT_TRUE(ViewScene::Drawn(scene.plan, "box", scene.settings.riverColor).empty());

  // River data there, but the river package (DataFlags(3, 4)) not simulated.
  scene.settings.showRivers = kOn;
  scene.SetPackage(data_type::kRivers, 1, {{{3, 1}, 1}});
  DrawModel(scene.context, scene.inputs, 1);
  EXPECT_EQ(ViewScene::Drawn(scene.plan, "box", scene.settings.riverColor), (Boxes{{10, 0, 20, 10}}));
}

TEST(DrawModel, WellsBySignOfTheirRateInActiveCellsOnly) {
  ViewScene scene(FourByTwo());
  scene.model.DataFlags(3, 2) = 2;
  scene.model.IBOUND(4, 2, 1) = 0;
  scene.model.IBOUND(3, 2, 1) = -1;
  scene.SetPackage(data_type::kWells, 1, {{{1, 1}, 100}, {{2, 1}, -100}, {{3, 1}, 0}, {{4, 2}, -5}, {{3, 2}, 7}});
  DrawModel(scene.context, scene.inputs, 1);
  EXPECT_EQ(ViewScene::Drawn(scene.plan, "box", scene.settings.rechargeWellColor), (Boxes{{0, 0, 10, 10}}));
  EXPECT_EQ(ViewScene::Drawn(scene.plan, "box", scene.settings.dischargeWellColor), (Boxes{{10, 0, 20, 10}}));
}

TEST(PresentCellColours, OffersTheKindsTheModelHasInAnyLayerWhetherShownOrNot) {
  ViewScene scene(FourByTwo());
  scene.model.DataFlags(3, 2) = 2;  // wells simulated
  scene.settings.showDischargeWells = kOff;
  // One well injects; the pumping one is in an inactive cell and does not count.
  scene.model.IBOUND(4, 2, 1) = 0;
  scene.SetPackage(data_type::kWells, 1, {{{1, 1}, 100}, {{4, 2}, -5}});
  const Settings& s = scene.settings;
  EXPECT_EQ(PresentCellColours(scene.reader, scene.model, s, 1),
            (std::vector<Colour>{s.inactiveCellColor, s.rechargeWellColor}));
  scene.model.IBOUND(1, 1, 1) = -1;
  scene.model.IBOUND(2, 1, 1) = 1;
  scene.SetPackage(data_type::kWells, 1, {{{2, 1}, -100}});
  EXPECT_EQ(PresentCellColours(scene.reader, scene.model, s, 1),
            (std::vector<Colour>{s.inactiveCellColor, s.fixedHeadCellColor, s.dischargeWellColor}));
}

TEST(DrawModel, RowOfInactiveCellsIsOneScreenBoxButOneSolidPerCell) {
  ViewScene scene(FourByTwo());
  for (int j = 1; j <= 4; ++j) scene.model.IBOUND(j, 2, 1) = 0;
  scene.layout.sectionsShown = false;
  const std::string dxf = scene.DxfOf([&] { DrawModel(scene.context, scene.inputs, 1); });
  EXPECT_EQ(ViewScene::Drawn(scene.plan, "box", scene.settings.inactiveCellColor), (Boxes{{0, 10, 40, 20}}));
  EXPECT_EQ(test::Occurrences(dxf, "SOLID"), 4);
}

TEST(DrawModel, ZoomedIntoOneLargeInactiveCellFillsTheWholePicture) {
  ViewScene scene(test::UniformModel(1, 1, 1, 1000, 1000));
  scene.model.IBOUND(1, 1, 1) = 0;
  scene.layout.zoom = {200, 300, 400, 500, 200, 200};
  DrawModel(scene.context, scene.inputs, 1);
  EXPECT_EQ(ViewScene::Drawn(scene.plan, "box", scene.settings.inactiveCellColor), (Boxes{{200, 300, 400, 500}}));
}

TEST(DrawModel, WithEverySwitchOffOnlyTheFrameAndSectionMarksRemain) {
  ViewScene scene(FourByTwo());
  scene.model.IBOUND(1, 1, 1) = 0;
  scene.model.IBOUND(2, 1, 1) = -1;
  Settings& s = scene.settings;
  for (std::int16_t* sw :
       {&s.showMesh, &s.showInactiveCells, &s.showFixedHeadCells, &s.showGhbCells, &s.showDischargeWells,
        &s.showRechargeWells, &s.showDrains, &s.showRivers, &s.showBarriers, &s.showReservoirs})
    *sw = kOff;
  DrawModel(scene.context, scene.inputs, 1);
  EXPECT_EQ(scene.plan.Of("line").size(), 4u);  // the frame
  for (const auto& box : scene.plan.Of("box")) EXPECT_EQ(box.mode, DrawMode::Invert);
  EXPECT_EQ(scene.plan.Of("box").size(), 8u);
}

TEST(DrawModel, LeavesThePlanForOverlaysAndTellsTheUser) {
  ViewScene scene(FourByTwo());
  bool overlaysDrawn = false;
  scene.inputs.drawOverlays = [&](PlotContext& context) { overlaysDrawn = context.plan.IsPersistent(); };
  DrawModel(scene.context, scene.inputs, 1);
  EXPECT_TRUE(overlaysDrawn);  // on the persistent image, before the marks
  EXPECT_FALSE(scene.plan.IsPersistent());
  EXPECT_TRUE(scene.ui.panesShown);
  EXPECT_EQ(scene.ui.hint, "");
  EXPECT_EQ(scene.ui.meterValues.back(), 0);
  EXPECT_GE(*std::max_element(scene.ui.meterValues.begin(), scene.ui.meterValues.end()), 5);
}

TEST(DrawModel, NothingWithoutAModel) {
  ViewScene scene(FourByTwo());
  scene.model.ModelPath.clear();
  DrawModel(scene.context, scene.inputs, 1);
  EXPECT_TRUE(scene.plan.elements.empty());
  EXPECT_TRUE(scene.row.elements.empty());
}

TEST(DrawBarrierCell, CodeFiveDrawsNothingAndCodeOneTheLeftFace) {
  ViewScene scene(FourByTwo());
  scene.layout.PixelSize = 0.5f;
  DrawBarrierCell(scene.context, 2, 1, kBlack, 5);
  EXPECT_TRUE(scene.plan.elements.empty());
  DrawBarrierCell(scene.context, 2, 1, kBlack, 1);
  DrawBarrierCell(scene.context, 2, 1, kBlack, 4);
  EXPECT_EQ(ViewScene::Drawn(scene.plan, "box", kBlack), (Boxes{{10, 0, 11, 10}, {10, 9, 20, 10}}));
}

TEST(DrawBarriers, BarriersOfInactiveCellsAreSkipped) {
  ViewScene scene(FourByTwo());
  scene.SetPackage(data_type::kBarriers, 1, {{{1, 1}, 2}, {{2, 1}, 3}});
  scene.model.IBOUND(2, 1, 1) = 0;
  DrawBarriers(scene.context, scene.reader, 1, kBlack);
  EXPECT_EQ(ViewScene::Drawn(scene.plan, "box", kBlack), (Boxes{{8, 0, 10, 10}}));
}

TEST(DrawModel, ReservoirOptionOneFillsTheLayersDownToItsLayerValue) {
  ViewScene scene(test::UniformModel(2, 1, 4, 10, 10));
  scene.model.DataFlags(6, 7) = 2;
  scene.settings.reservoirOption = 1;
  scene.SetPackage(data_type::kReservoirLocations, 1, {{{1, 1}, 1}});
  scene.SetPackage(data_type::kReservoirLayers, 1, {}, 3);
  for (int layer = 1; layer <= 4; ++layer) {
    DrawModel(scene.context, scene.inputs, layer);
    EXPECT_EQ(ViewScene::Drawn(scene.plan, "box", scene.settings.reservoirColor).size(), layer <= 3 ? 1u : 0u)
        << "layer " << layer;
  }
}

TEST(ToggleSectionMarks, InvertsOnThePersistentImageAndRestoresTheDrawState) {
  ViewScene scene(FourByTwo());
  scene.plan.SetPersistent(false);
  ToggleSectionMarks(scene.context, 2, 1);
  const auto boxes = scene.plan.Of("box");
  ASSERT_EQ(boxes.size(), 8u);
  for (const auto& box : boxes) {
    EXPECT_TRUE(box.persistent);
    EXPECT_EQ(box.mode, DrawMode::Invert);
  }
  EXPECT_EQ(boxes[0].values, (std::vector<float>{9, 0, 11, 20}));  // along the column's left edge
  EXPECT_FALSE(scene.plan.IsPersistent());
  EXPECT_EQ(scene.plan.GetDrawMode(), DrawMode::Copy);
}

TEST(ToggleSectionMarks, SectionsIncludedDecideWhichMarksGoIntoThePlot) {
  ViewScene scene(FourByTwo());
  scene.device.IncludeRightXsection = false;
  const std::string dxf = scene.DxfOf([&] {
    ToggleSectionMarks(scene.context, 2, 1);
    EXPECT_TRUE(scene.device.PlotToFile);  // put back after the left-out marks
  });
  EXPECT_EQ(test::Occurrences(dxf, "SOLID"), 4);  // the row marks only
}

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

TEST(DrawCrossSections, TheFloodFillsTheCutCellsOfEveryLayerOnTheScaleOfTheWholeModel) {
  ViewScene scene(ThreeByTwoByTwo());
  ModelState& m = scene.model;
  // Heads 60 to 71 over the cells, 60 in row 1 of layer 1 and 71 in row 2 of layer 2.
  for (int k = 1; k <= 2; ++k)
    for (int i = 1; i <= 2; ++i)
      for (int j = 1; j <= 3; ++j) m.HEAD(j, i, k) = 60.0f + (k - 1) * 6 + (i - 1) * 3 + (j - 1);
  m.IBOUND(2, 1, 2) = 0;  // no head of its own: left unfilled
  scene.settings.sectionRow = 1;
  scene.settings.sectionColumn = 1;
  const ColourFlood flood = FloodOfLayer(m, scene.settings, FloodQuantity::Head, 1);
  EXPECT_EQ(flood.low, 60);
  EXPECT_EQ(flood.high, 71);  // from layer 2, not drawn on this plan
  scene.inputs.flood = &flood;
  DrawCrossSections(scene.context, scene.inputs);
  // The lowest head fills the top left cell of the row section; the 69 of
  // row 2 in layer 2 the lower cell of row 2 on the column section.
  EXPECT_EQ(ViewScene::Drawn(scene.row, "box", FloodClassColour(0)), (Boxes{{0, 90, 10, 100}}));
  EXPECT_EQ(ViewScene::Drawn(scene.column, "box", FloodClassColour(FloodClass(flood, 69))), (Boxes{{80, 10, 90, 20}}));
  std::size_t filled = 0;
  for (int n = 0; n < kFloodClasses; ++n) filled += ViewScene::Drawn(scene.row, "box", FloodClassColour(n)).size();
  EXPECT_EQ(filled, 5u);
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

// Three columns, one row: heads 10, 12, 16; the first cell fixed head.
ModelState ThreeCells() {
  ModelState model = test::GridOfWidths({10, 10, 10}, {10}, 1);
  for (int j = 1; j <= 3; ++j) {
    model.IBOUND(j, 1, 1) = j == 1 ? -1 : 1;
    model.HEAD(j, 1, 1) = 8.0f + 2.0f * j + (j == 3 ? 2.0f : 0.0f);
  }
  return model;
}

TEST(ColourFlood, CellsWithoutAResultStayUnfilled) {
  ModelState model = ThreeCells();
  Settings settings;
  const ColourFlood heads = FloodOfLayer(model, settings, FloodQuantity::Head, 1);
  ASSERT_EQ(heads.values.size(), 3u);
  EXPECT_EQ(heads.low, 10);
  EXPECT_EQ(heads.high, 16);
  model.HEAD(3, 1, 1) = settings.HDRY;  // a dry cell
  model.IBOUND(2, 1, 1) = 0;
  const ColourFlood wet = FloodOfLayer(model, settings, FloodQuantity::Head, 1);
  EXPECT_TRUE(std::isnan(wet.values[1]));
  EXPECT_TRUE(std::isnan(wet.values[2]));
  EXPECT_EQ(wet.low, 10);
  EXPECT_EQ(wet.high, 10);
  EXPECT_FALSE(wet.Empty());
  // Fixed heads carry no velocity of their own; no cell left has one.
  EXPECT_TRUE(FloodOfLayer(model, settings, FloodQuantity::Velocity, 1).Empty());
  EXPECT_TRUE(FloodOfLayer(model, settings, FloodQuantity::Head, 2).Empty());
}

TEST(ColourFlood, ClassesSpanTheRangeAndTheRampRunsVioletToYellow) {
  ColourFlood flood{.values = {0}, .low = 10, .high = 16};
  const struct {
    float value;
    int colourClass;
  } cases[] = {{10, 0}, {16, kFloodClasses - 1}, {13, kFloodClasses / 2}, {9, 0}, {99, kFloodClasses - 1},
               {NAN, -1}};
  for (const auto& c : cases) EXPECT_EQ(FloodClass(flood, c.value), c.colourClass) << c.value;
  flood.high = flood.low;  // one value: one class
  EXPECT_EQ(FloodClass(flood, 10), 0);
  EXPECT_EQ(FloodColour(0), RgbColour(68, 1, 84));
  EXPECT_EQ(FloodColour(1), RgbColour(253, 231, 37));
  EXPECT_EQ(FloodColour(2), FloodColour(1));
  EXPECT_EQ(FloodColour(NAN), FloodColour(0));
}

TEST(ColourFlood, TitlesCarryTheUnits) {
  EXPECT_EQ(FloodTitle(FloodQuantity::Head, "m", "day"), "Head (m)");
  EXPECT_EQ(FloodTitle(FloodQuantity::Drawdown, "", "day"), "Drawdown");
  EXPECT_EQ(FloodTitle(FloodQuantity::Velocity, "ft", SingularTimeUnitName(4)), "Speed (ft/day)");
  EXPECT_EQ(FloodTitle(FloodQuantity::Velocity, "m", SingularTimeUnitName(0)), "Speed");
}

}  // namespace
}  // namespace kestra
