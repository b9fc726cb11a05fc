// Legends and coordinate ticks of report pictures, and the picture placed on
// the printed sheet, in millimetres.
#include "export/plot_annotation.h"

#include <gtest/gtest.h>

#include "export/page_layout.h"
#include "support/result_builders.h"

namespace kestra {
namespace {

TEST(PlotAnnotation, LegendListsOnlyWhatWasDrawn) {
  Settings settings;
  settings.showDrains = kOff;
  DrawnContent drawn;
  // Drains are filled but switched off; reservoirs are on but the model has none.
  drawn.filledColours = {settings.inactiveCellColor, settings.drainColor, settings.dischargeWellColor};
  drawn.forwardPathlines = true;
  drawn.forwardColour = 255;
  const std::vector<LegendEntry> entries = LegendEntries(settings, drawn);
  const std::vector<LegendEntry> expected = {{"Inactive cells", settings.inactiveCellColor, false},
                                             {"Pumping wells", settings.dischargeWellColor, false},
                                             {"Forward pathlines", 255, true}};
  EXPECT_EQ(entries, expected);
  drawn.contours = drawn.vectors = drawn.backwardPathlines = true;
  const std::vector<LegendEntry> more = LegendEntries(settings, drawn);
  ASSERT_EQ(more.size(), 6u);
  EXPECT_EQ(more[2].label, "Head contours");
  EXPECT_EQ(more[3].label, "Velocity vectors");
  EXPECT_EQ(more[5], (LegendEntry{"Backward pathlines", settings.backwardPathColor, true}));
}

TEST(PlotAnnotation, TheWindowsLegendOffersWhatIsSwitchedOffWithItsSwitch) {
  Settings settings;
  settings.showDrains = kOff;
  DrawnContent offered;
  offered.filledColours = {settings.drainColor, settings.fixedHeadCellColor};
  offered.vectors = offered.waterTable = offered.backwardPathlines = true;
  const std::vector<LegendItem> items = LegendItems(settings, offered);
  const struct {
    const char* label;
    std::int16_t Settings::*shownBy;
    bool shown;
  } expected[] = {
      {"Grid lines", &Settings::showMesh, true},
      {"Fixed heads", &Settings::showFixedHeadCells, true},
      {"Drains", &Settings::showDrains, false},  // off, and still offered to switch on
      {"Velocity vectors", &Settings::vectorsVisible, false},
      {"Water table", &Settings::showWaterTable, false},
      {"Backward pathlines", nullptr, true},
  };
  ASSERT_EQ(items.size(), std::size(expected));
  for (std::size_t n = 0; n < items.size(); ++n) {
    SCOPED_TRACE(expected[n].label);
    EXPECT_EQ(items[n].entry.label, expected[n].label);
    EXPECT_EQ(items[n].shownBy, expected[n].shownBy);
    EXPECT_EQ(items[n].shown, expected[n].shown);
  }
}

TEST(PlotAnnotation, AxesRunUpInWorldOrModelCoordinates) {
  ModelState model = test::GridOfWidths({100, 100, 100, 100}, {100, 100, 100}, 1);
  model.CurrentLayer = model.CurrentPeriod = model.CurrentStep = 1;
  model.ModelPath = "/models/site.nam";
  model.lengthUnit = LengthUnit::Meters;
  Settings settings;
  settings.sectionRow = 2;
  settings.sectionColumn = 3;
  ViewLayout layout;
  layout.Exaggeration = 3.333f;
  StressPeriods periods;
  periods.timeUnit = 4;
  periods.PERLEN = {0, 3650};
  FigureFacts local = FactsOfFigure(model, settings, periods, layout, "");
  EXPECT_EQ(local.title, "site: layer 1, period 1, step 1, 3650 days");
  EXPECT_EQ(local.plan.xTitle, "x (m)");
  EXPECT_DOUBLE_EQ(local.plan.yOffset, 300);  // y up from the lower edge of three 100 m rows
  EXPECT_EQ(local.rowCaption, "Row 2, vertical exaggeration 3.33");
  EXPECT_EQ(local.columnCaption, "Column 3");
  EXPECT_EQ(local.elevationTitle, "Elevation (m)");
  EXPECT_FALSE(local.northAngle);
  model.position = WorldPosition{500000, 4100000, 0, "EPSG:32633"};
  const FigureFacts placed = FactsOfFigure(model, settings, periods, layout, "Wellfield");
  EXPECT_EQ(placed.title, "Wellfield");
  EXPECT_EQ(placed.plan.yTitle, "Northing (m)");
  EXPECT_DOUBLE_EQ(placed.plan.xOffset, 500000);
  EXPECT_DOUBLE_EQ(placed.plan.yOffset, 4100300);
  EXPECT_EQ(placed.northAngle, 0.0);
  model.position->rotation = 30;
  const FigureFacts turned = FactsOfFigure(model, settings, periods, layout, "");
  EXPECT_EQ(turned.plan.xTitle, "x (m)");
  EXPECT_EQ(turned.northAngle, -30.0);
}

// A4 with 5 mm unprintable margins all round.
constexpr PageGeometry kA4{210, 297, 5, 5, 200, 287};

TEST(PageLayout, PictureFillsThePrintableWidthOrHeightFromTheTopLeftMargin) {
  const struct {
    double aspect, width, height;
  } cases[] = {{2.0, 200, 100}, {0.5, 143.5, 287}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.aspect);
    ImageLayout layout;
    FitImageToPage(layout, kA4, c.aspect);
    EXPECT_DOUBLE_EQ(layout.width, c.width);
    EXPECT_DOUBLE_EQ(layout.height, c.height);
    EXPECT_DOUBLE_EQ(layout.left, 5);
    EXPECT_DOUBLE_EQ(layout.top, 5);
  }
}

TEST(PageLayout, CentringNeverGivesANegativeMargin) {
  ImageLayout layout{100, 50, 0, 0};
  CenterImage(layout, kA4);
  EXPECT_DOUBLE_EQ(layout.left, 55);
  EXPECT_DOUBLE_EQ(layout.top, 123.5);
  ImageLayout wide{300, 50, 9, 9};
  CenterImage(wide, kA4);
  EXPECT_DOUBLE_EQ(wide.left, 0);
}

TEST(PageLayout, PrintedSizeIsRoundedHalvesToEven) {
  EXPECT_DOUBLE_EQ(WholeMillimetres(100.5), 100);
  EXPECT_DOUBLE_EQ(WholeMillimetres(101.5), 102);
  EXPECT_DOUBLE_EQ(WholeMillimetres(99.4), 99);
}

}  // namespace
}  // namespace kestra
