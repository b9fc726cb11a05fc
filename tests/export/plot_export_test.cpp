// Saving a plot of a real model with a tracked particle: the pathline goes
// into DXF and MODPATH files, a failed plot leaves the old file alone, and
// maps that the plot would replace are switched off.
#include "export/plot_export.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "export/plot_choices.h"
#include "graphics/plot_device.h"
#include "graphics/plot_file.h"
#include "graphics/view_arrangement.h"
#include "session/open_model.h"
#include "session/package_layer_source.h"
#include "session/session.h"
#include "session/time_step_results.h"
#include "support/recording_interface.h"
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

TEST(PlotExport, DxfCarriesTheReplayedPathlineWithEachKindOfElementOnItsOwnLayer) {
  test::TempDir dir;
  TrackedModel model(dir);
  ASSERT_TRUE(model.opened);
  ASSERT_GT(model.particles.Particles[0].forward.timeLimit, 0);
  std::string error;
  const std::string with = dir.File("with.dxf");
  ASSERT_TRUE(model.Save(kPlotFormatDxf, with, error)) << error;
  EXPECT_EQ(model.device.DxfLayer, "0");
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

TEST(PlotExport, ModpathFormatWritesThePathlinePoints) {
  test::TempDir dir;
  TrackedModel model(dir);
  ASSERT_TRUE(model.opened);
  std::string error;
  const std::string path = dir.File("pathline");
  ASSERT_TRUE(model.Save(kPlotFormatModpath, path, error)) << error;
  const std::string text = test::ReadWholeFile(path);
  EXPECT_GT(test::Occurrences(text, "\r\n"), 2);
  EXPECT_EQ(text.substr(0, 2), "1 ");
  // The particle still ends where the replay took it, its limit kept.
  EXPECT_GT(model.particles.Particles[0].forward.timeLimit, 0);
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

}  // namespace
}  // namespace kestra
