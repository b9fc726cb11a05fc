// Saving a plot of a real model with a tracked particle: the pathline goes
// into DXF and MODPATH files, a failed plot leaves the old file alone, and
// maps that the plot would replace are switched off; the legends and
// coordinate ticks of report pictures, and the picture placed on the printed
// sheet, in millimetres.
#include <gtest/gtest.h>

#include <filesystem>

#include "export/page_layout.h"
#include "export/plot_annotation.h"
#include "export/plot_choices.h"
#include "export/plot_export.h"
#include "graphics/plot_device.h"
#include "graphics/plot_file.h"
#include "graphics/view_arrangement.h"
#include "session/open_model.h"
#include "session/package_layer_source.h"
#include "session/session.h"
#include "session/time_step_results.h"
#include "support/recording_interface.h"
#include "support/result_builders.h"
#include "support/temp_dir.h"
#include "support/write_limit.h"

namespace kestra {
namespace {

// True when a plot's new file was left in the folder.
bool HoldsNewFiles(const test::TempDir& dir) {
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    if (entry.path().filename().string().find(".kestra-") != std::string::npos) return true;
  return false;
}

// uniform1 opened, one particle tracked forward along row 5.
struct TrackedModel {
  explicit TrackedModel(const test::TempDir& dir) {
    const std::string path = test::CopySharedRun(dir, "uniform1", "modflow", "uniform1.nam");
    NoViews views;
    opened = OpenOrImportModel(path, session, ui, views);
    SetUpModelViews(layout, session.model);
    packages = MakePackageLayerReader(session);
    AddParticle(particles, CellIndex{3, 5, 1}, LocalPoint{0.5f, 0.5f, 0.5f}, 5.0f, ui);
    TrackObserver quiet;
    TrackingRun run = Run(quiet);
    RunTrackingCommand(run, TrackMode::ForwardRun);
  }
  TrackingRun Run(TrackObserver& observer) {
    return {session.model, session.settings, session.tracking, session.periods, particles,
            session.busy,  ui,               observer,         loader,          control};
  }
  bool Save(const std::string& format, const std::string& file, std::string& error) {
    device.PlotFormat = format;
    device.PlotFileName = file;
    device.PlotToFile = true;
    PlotContext context{plan, row, column, device, session.model, layout};
    DrawInputs inputs{session.settings, packages, ui};
    inputs.gridPlotSwitch = true;
    TrackObserver unused;
    TrackingRun run = Run(unused);
    return SavePlot(context, inputs, run, error);
  }

  Session session;
  test::RecordingInterface ui;
  bool opened = false;
  ViewLayout layout;
  PackageLayerReader packages;
  ParticleSet particles;
  ModelStepLoader loader{session.settings, session.tracking, ui};
  RunControl control;
  test::RecordingPicture plan, row, column;
  PlotDevice device;
};

// Both files of the same tracked particle; the DXF with each kind of element on its own layer.
TEST(PlotExport, DxfAndModpathFilesCarryTheReplayedPathline) {
  test::TempDir dir;
  TrackedModel model(dir);
  ASSERT_TRUE(model.opened);
  std::string error;
  const std::string with = dir.File("with.dxf");
  ASSERT_TRUE(model.Save(kPlotFormatDxf, with, error)) << error;
  EXPECT_EQ(model.device.DxfLayer, "0");
  const std::string points = dir.File("pathline");
  ASSERT_TRUE(model.Save(kPlotFormatModpath, points, error)) << error;
  const std::string text = test::ReadWholeFile(points);
  EXPECT_GT(test::Occurrences(text, "\r\n"), 2);
  EXPECT_EQ(text.substr(0, 2), "1 ");
  // The particle still ends where the replay took it, its limit kept.
  EXPECT_GT(model.particles.Particles[0].forward.timeLimit, 0);
  model.particles.Particles.clear();
  const std::string without = dir.File("without.dxf");
  ASSERT_TRUE(model.Save(kPlotFormatDxf, without, error)) << error;
  const std::string a = test::ReadWholeFile(with), b = test::ReadWholeFile(without);
  EXPECT_GT(test::Occurrences(a, "\r\nLINE\r\n"), test::Occurrences(b, "\r\nLINE\r\n"));
  EXPECT_EQ(a.substr(a.size() - 5), "EOF\r\n");
  EXPECT_FALSE(HoldsNewFiles(dir));
  EXPECT_FALSE(model.device.PlotToFile);
  // uniform1: grid lines, fixed-head columns, sections and one pathline.
  for (const char* layer : {"GRID", "CELL_TYPES", "SECTIONS", "PATHLINES"})
    EXPECT_GT(test::Occurrences(a, std::string("\r\n  8\r\n") + layer + "\r\n"), 0) << layer;
  EXPECT_EQ(test::Occurrences(a, "\r\n  8\r\n0\r\n"), 0);
}

TEST(PlotExport, FailedPlotLeavesTheOldFileAsItWas) {
  test::TempDir dir;
  TrackedModel model(dir);
  ASSERT_TRUE(model.opened);
  const std::string path = dir.File("plot.dxf");
  test::WriteWholeFile(path, "old plot");
  std::string error;
  {
    const test::FileSizeLimit fullDisk(4096);
    EXPECT_FALSE(model.Save(kPlotFormatDxf, path, error));
  }
  EXPECT_NE(error.find("plot.dxf: File too large"), std::string::npos) << error;
  EXPECT_EQ(test::ReadWholeFile(path), "old plot");
  EXPECT_EQ(model.device.PlotFileName, path);
  EXPECT_FALSE(HoldsNewFiles(dir));
}

TEST(PlotExport, WritabilityTestKeepsAnExistingFileAndLeavesNoNewOne) {
  test::TempDir dir;
  const std::string existing = dir.File("old.dxf");
  test::WriteWholeFile(existing, "old plot");
  std::string error;
  EXPECT_TRUE(TestPlotFileWritable(existing, error));
  EXPECT_EQ(test::ReadWholeFile(existing), "old plot");
  EXPECT_TRUE(TestPlotFileWritable(dir.File("new.dxf"), error));
  EXPECT_FALSE(std::filesystem::exists(dir.File("new.dxf")));
  EXPECT_FALSE(TestPlotFileWritable(dir.File("no/such/folder.dxf"), error));
  EXPECT_FALSE(error.empty());
}

TEST(PlotExport, MapsThePlotWouldReplaceAreSwitchedOff) {
  Settings settings;
  settings.dxfMaps[1] = {"/maps/roads.dxf", 0, 0, 1, -1, 0};
  settings.dxfMaps[2] = {"/Maps/PLOT.DXF", 0, 0, 1, -1, 0};
  settings.dxfMaps[3] = {"", 0, 0, 1, 0, 0};
  EXPECT_EQ(SwitchOffMapsWrittenBy(settings, "/maps/plot.dxf"), 1);
  EXPECT_EQ(settings.dxfMaps[1].display, -1);
  EXPECT_EQ(settings.dxfMaps[2].display, 0);
  EXPECT_EQ(SwitchOffMapsWrittenBy(settings, ""), 0);
  EXPECT_EQ(settings.dxfMaps[1].display, -1);
}

// The file names and section switches the Save Plot As dialog proposes.
TEST(PlotChoices, EachFormatPutsItsExtensionInPlaceOfTheOldAndPathlinesGoBesideTheModel) {
  const auto named = [](const char* old, const char* format) {
    return PlotFileNameForFormat(old, format, "/models/Site/site.mdl");
  };
  EXPECT_EQ(named("/data/plot.dxf", kPlotFormatHpgl), "/data/plot.pgl");
  EXPECT_EQ(named("/data/plot.pgl", kPlotFormatDxf), "/data/plot.dxf");
  EXPECT_EQ(named("/data/plot.DXF", kPlotFormatBitmap), "/data/plot.bmp");
  EXPECT_EQ(named("/data/plot.bmp", kPlotFormatPng), "/data/plot.png");
  EXPECT_EQ(named("/data/plot.png", kPlotFormatSvg), "/data/plot.svg");
  EXPECT_EQ(named("/data/plot.svg", kPlotFormatPdf), "/data/plot.pdf");
  // The name keeps its case; a name without an extension gets one.
  EXPECT_EQ(named("/Data/My Plot", kPlotFormatDxf), "/Data/My Plot.dxf");
  EXPECT_EQ(named("/data/plot.dxf", kPlotFormatModpath), "/models/Site/pathline");
}

TEST(PlotChoices, SectionsGoIntoDxfWhenShownAndIntoPicturesAlways) {
  EXPECT_TRUE(SectionsCanBeIncluded(kPlotFormatDxf, true));
  EXPECT_FALSE(SectionsCanBeIncluded(kPlotFormatDxf, false));
  EXPECT_FALSE(SectionsCanBeIncluded(kPlotFormatHpgl, true));
  EXPECT_FALSE(SectionsCanBeIncluded(kPlotFormatModpath, true));
  for (const char* picture : {kPlotFormatBitmap, kPlotFormatPng, kPlotFormatSvg, kPlotFormatPdf}) {
    EXPECT_TRUE(IsPicturePlotFormat(picture));
    EXPECT_TRUE(SectionsCanBeIncluded(picture, false));
  }
  EXPECT_FALSE(IsPicturePlotFormat(kPlotFormatDxf));
}

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
