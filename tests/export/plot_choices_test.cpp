// The file names and section switches the Save Plot As dialog proposes.
#include "export/plot_choices.h"

#include <gtest/gtest.h>

#include "graphics/plot_device.h"

namespace kestra {
namespace {

TEST(PlotChoices, EachFormatPutsItsExtensionInPlaceOfTheOld) {
  EXPECT_EQ(PlotFileNameForFormat("/data/plot.dxf", kPlotFormatHpgl, "/m/site.mdl"), "/data/plot.pgl");
  EXPECT_EQ(PlotFileNameForFormat("/data/plot.pgl", kPlotFormatDxf, "/m/site.mdl"), "/data/plot.dxf");
  EXPECT_EQ(PlotFileNameForFormat("/data/plot.DXF", kPlotFormatBitmap, "/m/site.mdl"), "/data/plot.bmp");
  EXPECT_EQ(PlotFileNameForFormat("/data/plot.bmp", kPlotFormatPng, "/m/site.mdl"), "/data/plot.png");
  EXPECT_EQ(PlotFileNameForFormat("/data/plot.png", kPlotFormatSvg, "/m/site.mdl"), "/data/plot.svg");
  EXPECT_EQ(PlotFileNameForFormat("/data/plot.svg", kPlotFormatPdf, "/m/site.mdl"), "/data/plot.pdf");
  // The name keeps its case; a name without an extension gets one.
  EXPECT_EQ(PlotFileNameForFormat("/Data/My Plot", kPlotFormatDxf, "/m/site.mdl"), "/Data/My Plot.dxf");
}

TEST(PlotChoices, PathlinesGoBesideTheModel) {
  EXPECT_EQ(PlotFileNameForFormat("/data/plot.dxf", kPlotFormatModpath, "/models/Site/site.mdl"),
            "/models/Site/pathline");
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
