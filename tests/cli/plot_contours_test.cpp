// kestra-cli plot with contours: the options over the settings, the lines
// and labels in a DXF a real reader accepts.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <map>
#include <sstream>

#include "cli/commands.h"
#include "cli/cli_runner.h"
#include "graphics/dxf_reader_check.h"
#include "support/temp_dir.h"

namespace kestra::cli {
namespace {

namespace fs = std::filesystem;

std::string Mixed3d(const test::TempDir& dir, const std::string& settings = "") {
  const std::string model = test::CopySharedRun(dir, "mixed3d", "modflow", "mixed3d.nam");
  if (!settings.empty()) test::WriteWholeFile((fs::path(model).parent_path() / "mixed3d.ini").string(), settings);
  return model;
}

std::map<std::string, int> EntityCounts(const std::string& dxf) {
  return {{"POLYLINE", CountOf(dxf, "\r\nPOLYLINE\r\n")}, {"LINE", CountOf(dxf, "\r\nLINE\r\n")}};
}

TEST(PlotContours, SettingsSwitchThemOnTheOptionsOverruleAndTheDxfHoldsTheLinesWithTheirLabels) {
  test::TempDir dir;
  const std::string model = Mixed3d(dir, "[GRID_APPEARANCE]\r\nCONTOURS=-1\r\n");
  std::string errors;
  ASSERT_EQ(Plot({model, "--out", dir.File("on.dxf")}, &errors), 0) << errors;
  ASSERT_EQ(Plot({model, "--contours", "off", "--out", dir.File("off.dxf")}, &errors), 0) << errors;
  const auto off = EntityCounts(test::ReadWholeFile(dir.File("off.dxf")));
  const auto on = EntityCounts(test::ReadWholeFile(dir.File("on.dxf")));
  EXPECT_EQ(off.at("POLYLINE"), 0);
  EXPECT_GE(on.at("POLYLINE"), 11);
  // The labels are strokes of the stroke font: many short lines more.
  EXPECT_GE(on.at("LINE") - off.at("LINE"), 200);
  const test::DxfReadResult read = test::ReadDxfWithRealReader(dir.File("on.dxf"));
  if (!read.readerAvailable) GTEST_SKIP() << "python3-ezdxf is not installed";
  ASSERT_TRUE(read.accepted);
  int polylines = 0;
  for (const auto& entity : read.entities)
    if (entity.type == "POLYLINE") {
      ++polylines;
      EXPECT_GE(entity.coordinates.size(), 4u);
    }
  EXPECT_EQ(polylines, on.at("POLYLINE"));
}

TEST(PlotContours, LevelsAndDrawdownsAreTaken) {
  test::TempDir dir;
  const std::string model = Mixed3d(dir);
  std::string errors;
  // One level only, through the middle of the heads, unlabelled-free: one line across the grid.
  ASSERT_EQ(Plot({model, "--contours", "head", "--levels", "42,42,1", "--out", dir.File("one.dxf")}, &errors), 0)
      << errors;
  const int one = EntityCounts(test::ReadWholeFile(dir.File("one.dxf"))).at("POLYLINE");
  EXPECT_GE(one, 1);
  EXPECT_LE(one, 10);
  ASSERT_EQ(Plot({model, "--contours", "drawdown", "--out", dir.File("dd.dxf")}, &errors), 0) << errors;
}

TEST(PlotContours, ExaggerationOptionAndTheReadableDefault) {
  test::TempDir dir;
  const std::string model = Mixed3d(dir);
  const auto picture = [&](const std::vector<std::string>& extra) {
    Arguments args{model, "--out", dir.File("p.png")};
    args.insert(args.end(), extra.begin(), extra.end());
    EXPECT_EQ(Plot(args), 0);
    return QImage(QString::fromStdString(dir.File("p.png")));
  };
  const QImage flat = picture({"--exaggeration", "1"});
  const QImage chosen = picture({});
  EXPECT_NE(chosen, flat);
  // 1035.7 long, 63.4 deep (61.0 down to -2.5): a fifth of the length over the depth is 3.27.
  EXPECT_EQ(picture({"--exaggeration", "3.3"}), chosen);
  test::WriteWholeFile(dir.File("mixed3d.ini"), "[CROSS_SECTIONS]\r\nEXAGGERATION=1\r\n");
  EXPECT_EQ(picture({}), flat);  // a stored value wins
}

TEST(PlotContours, BadContourOptionsAreRefused) {
  test::TempDir dir;
  const std::string model = Mixed3d(dir);
  const std::string out = dir.File("p.dxf");
  ExpectRefused("plot", {
      {{model, "--out", out, "--contours", "pressure"}, "bad value 'pressure' for --contours"},
      {{model, "--out", out, "--levels", "1,2"}, "bad value '1,2' for --levels"},
      {{model, "--out", out, "--levels", "5,1,1"}, "bad value '5,1,1' for --levels"},
      {{model, "--out", out, "--levels", "0,10,0"}, "bad value '0,10,0' for --levels"},
      {{model, "--out", out, "--levels", "0,40000,1"}, "bad value '0,40000,1' for --levels"},
      {{model, "--out", out, "--exaggeration", "0.000009"}, "bad value '0.000009' for --exaggeration"},
      {{model, "--out", out, "--exaggeration", "1001"}, "bad value '1001' for --exaggeration"},
  });
  EXPECT_EQ(Plot({model, "--out", out, "--exaggeration", "0.00001"}), 0);
  EXPECT_EQ(Plot({model, "--out", out, "--exaggeration", "1000"}), 0);
}

}  // namespace
}  // namespace kestra::cli
