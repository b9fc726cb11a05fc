// kestra-cli plot figures: PDF and SVG drawn as vector paths and text, never
// an embedded image; rasters of exactly the size asked for.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <string>

#include "cli/cli_runner.h"
#include "support/model_writers.h"
#include "support/shell_output.h"
#include "support/temp_dir.h"

namespace kestra::cli {
namespace {

std::string Mixed3d(const test::TempDir& dir) { return test::CopySharedRun(dir, "mixed3d", "modflow", "mixed3d.nam"); }

TEST(FigureCommand, PdfHoldsTextAndPathsButNoImage) {
  test::TempDir dir;
  const std::string pdf = dir.File("figure.pdf");
  std::string errors;
  ASSERT_EQ(Plot({Mixed3d(dir), "--out", pdf, "--layer", "2", "--paper", "A4", "--landscape", "--flood", "head",
                  "--contours", "head", "--note", "Steady state, calibrated run"},
                 &errors),
            0)
      << errors;
  const test::ShellRun images = test::RunShell("pdfimages -list '" + pdf + "'");
  if (!images.available) GTEST_SKIP() << "poppler-utils is not installed";
  // The header and its rule, and no image row below them.
  EXPECT_EQ(std::count(images.output.begin(), images.output.end(), '\n'), 2) << images.output;
  const std::string text = test::RunShell("pdftotext -layout '" + pdf + "' -").output;
  // Without a stored position the sections go through the pumping well at row 8, column 15.
  for (const char* expected : {"mixed3d: layer 2, period 1, step 1", "x (m)", "y (m)", "Elevation (m)",
                               "Row 8, vertical exaggeration", "Column 15", "Head (m)",
                               "Steady state, calibrated run"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  // Ticks in plain decimals: no E-notation anywhere.
  EXPECT_EQ(text.find("E+0"), std::string::npos) << text;
  const std::string info = test::RunShell("pdfinfo '" + pdf + "'").output;
  EXPECT_NE(info.find("842 x 595 pts (A4)"), std::string::npos) << info;
}

TEST(FigureCommand, SvgIsVectorAndRastersHaveTheSizeAskedFor) {
  test::TempDir dir;
  const std::string model = Mixed3d(dir);
  std::string errors;
  ASSERT_EQ(Plot({model, "--out", dir.File("figure.svg")}, &errors), 0) << errors;
  const std::string svg = test::ReadWholeFile(dir.File("figure.svg"));
  EXPECT_NE(svg.find("<polyline"), std::string::npos);
  EXPECT_NE(svg.find("<text"), std::string::npos);
  EXPECT_EQ(svg.find("<image"), std::string::npos);
  for (const char* name : {"figure.png", "figure.tif"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(Plot({model, "--out", dir.File(name), "--size", "1200x900", "--dpi", "300"}, &errors), 0) << errors;
    const QImage image(QString::fromStdString(dir.File(name)));
    EXPECT_EQ(image.size(), QSize(1200, 900));
    EXPECT_EQ(image.dotsPerMeterX(), 11811);  // 300 dpi
  }
}

TEST(FigureCommand, FigureOptionsAreChecked) {
  test::TempDir dir;
  const std::string model = Mixed3d(dir);
  const struct {
    Arguments args;
    std::string reason;
  } cases[] = {
      {{"--out", dir.File("a.png"), "--paper", "A4"}, "--paper sizes a PDF only"},
      {{"--out", dir.File("a.dxf"), "--flood", "head"}, "--flood colours a picture"},
      {{"--out", dir.File("a.png"), "--flood", "salinity"}, "head, drawdown or velocity"},
      {{"--out", dir.File("a.png"), "--dpi", "0"}, "1 to 2400"},
  };
  for (const auto& c : cases) {
    Arguments args{model};
    args.insert(args.end(), c.args.begin(), c.args.end());
    std::string errors;
    EXPECT_EQ(Plot(args, &errors), 2);
    EXPECT_NE(errors.find(c.reason), std::string::npos) << errors;
  }
}

}  // namespace
}  // namespace kestra::cli
