#include "graphics/plot_device.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/number_format.h"
#include "graphics/device_range.h"
#include "plot_file.h"

namespace kestra {
namespace {

using test::PlotOf;
using test::TempDir;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Five cells of 1000 in a row: half a plotter unit per model unit, plan y 1000 at plotter y 0.
ModelState WideRow() { return test::UniformModel(5, 1, 1, 1000, 1000); }

std::string PlotterLimitText(float sign) { return TrimmedFloatText(sign * static_cast<float>(kPlotterDeviceLimit)); }

// Two by two cells of 10: plan y 0..20 down from the top, world y up from the bottom.
ModelState TwoByTwo() { return test::UniformModel(2, 2, 1, 10, 10); }

TEST(HpglPlot, WideModelHalvesTheScaleAndSetsTheInputWindow) {
  const std::string hpgl = PlotOf(test::UniformModel(5, 1, 1, 1000, 1000), kPlotFormatHpgl, [](PlotContext& c) {
    EXPECT_FLOAT_EQ(c.device.HpglScale, 0.5f);
    DrawSegment(c, 0, 0, 5000, 1000, kBlack, true, true);
  });
  EXPECT_EQ(hpgl, "IN;VS10.0;SP1;\r\nRO 90;FT 1;IP 0,0, 10000, 2000;\r\nPU0,2000;PD10000,0;PU;SP0;");
}

TEST(HpglPlot, TallModelKeepsScaleOne) {
  const std::string hpgl = PlotOf(test::UniformModel(1, 72, 1, 1000, 100), kPlotFormatHpgl, [](PlotContext& c) {
    EXPECT_FLOAT_EQ(c.device.HpglScale, 1.0f);
    FillBox(c, 0, 0, 1000, 100, kBlack);
  });
  EXPECT_NE(hpgl.find("IP 0,0, 1000, 7200;\r\n"), std::string::npos);
  EXPECT_NE(hpgl.find("PU0,7200;RA1000,7100;"), std::string::npos);
}

TEST(HpglPlot, SectionsNeverGoIntoHpgl) {
  const std::string hpgl = PlotOf(TwoByTwo(), kPlotFormatHpgl, [](PlotContext& c) {
    DrawSegmentRowSection(c, 0, 95, 20, 95, kBlack, true);
    FillBoxColumnSection(c, 90, 0, 100, 10, kBlack);
  });
  EXPECT_EQ(hpgl.find("PD"), std::string::npos);
  EXPECT_EQ(hpgl.find("RA"), std::string::npos);
}

TEST(HpglPlot, LineToAFarPointIsCutAtThePlotterRange) {
  const std::string hpgl = PlotOf(WideRow(), kPlotFormatHpgl, [](PlotContext& c) {
    DrawSegment(c, 0, 1000, 1e10f, 1000, kBlack, true, true);
  });
  EXPECT_NE(hpgl.find("PU0,0;PD" + PlotterLimitText(1) + ",0;"), std::string::npos) << hpgl;
}

TEST(HpglPlot, LineFromAFarPointLiftsThePenWhereItEnters) {
  const std::string hpgl = PlotOf(WideRow(), kPlotFormatHpgl, [](PlotContext& c) {
    DrawSegment(c, -1e10f, 1000, 5000, 1000, kBlack, true, true);
  });
  EXPECT_NE(hpgl.find(";\r\nPU" + PlotterLimitText(-1) + ",0;PD10000,0;PU;SP0;"), std::string::npos) << hpgl;
}

TEST(HpglPlot, ElementsWithoutNumbersOrWhollyFarOutAreLeftOut) {
  const std::string hpgl = PlotOf(WideRow(), kPlotFormatHpgl, [](PlotContext& c) {
    DrawSegment(c, kNaN, 0, 10, 10, kBlack, true, true);
    DrawSegment(c, 1e10f, 0, 2e10f, 10, kBlack, true, true);
    FillBox(c, 0, kNaN, 10, 10, kBlack);
  });
  EXPECT_EQ(test::Occurrences(hpgl, "PD"), 0) << hpgl;
  EXPECT_EQ(test::Occurrences(hpgl, "RA"), 0) << hpgl;
}

TEST(HpglPen, ChannelsLightFrom127) {
  EXPECT_EQ(HpglPen(RgbColour(255, 0, 0)), 5);
  EXPECT_EQ(HpglPen(RgbColour(127, 127, 127)), 8);
  EXPECT_EQ(HpglPen(RgbColour(126, 126, 126)), 1);
  EXPECT_EQ(HpglPen(RgbColour(0, 0, 255)), 2);
  EXPECT_EQ(HpglPen(RgbColour(255, 255, 0)), 7);
}

TEST(HpglPen, SelectionIsWrittenIntoTheStream) {
  const std::string hpgl = PlotOf(test::UniformModel(1, 1, 1, 10, 10), kPlotFormatHpgl,
                                  [](PlotContext& c) { SelectPlotPen(c.device, RgbColour(255, 0, 0)); });
  EXPECT_NE(hpgl.find(";\r\nSP5;PU;SP0;"), std::string::npos) << hpgl;
}

TEST(DxfColourIndex, NearestTableEntryWins) {
  EXPECT_EQ(NearestColorIndex(RgbColour(255, 0, 0)), 1);
  EXPECT_EQ(NearestColorIndex(RgbColour(0, 0, 255)), 5);
  EXPECT_EQ(NearestColorIndex(RgbColour(255, 255, 255)), 7);  // the first of the whites
}

TEST(DxfPlot, WithoutPenSelectionNoColourGroupIsWritten) {
  const std::string dxf = PlotOf(TwoByTwo(), kPlotFormatDxf, [](PlotContext& c) {
    DrawSegment(c, 0, 0, 10, 10, kBlack, true, true);
    FillBox(c, 0, 0, 10, 10, kBlack);
  });
  EXPECT_EQ(dxf.find(" 62"), std::string::npos);
  EXPECT_EQ(dxf.rfind("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n", 0), 0u);
  const std::string trailer = "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
  EXPECT_EQ(dxf.substr(dxf.size() - trailer.size()), trailer);
}

TEST(DxfPlot, LineCarriesLayerColourAndWorldCoordinates) {
  const std::string dxf = PlotOf(TwoByTwo(), kPlotFormatDxf, [](PlotContext& c) {
    SelectPlotPen(c.device, RgbColour(255, 0, 0));
    DrawSegment(c, 0, 0, 10, 5, kBlack, true, true);
  });
  // Plan y points down from the grid's top edge; world y up from its bottom.
  EXPECT_NE(
      dxf.find("  0\r\nLINE\r\n  8\r\n0\r\n 62\r\n 1 \r\n 10\r\n 0\r\n 20\r\n 20\r\n 11\r\n 10\r\n 21\r\n 15\r\n"),
      std::string::npos)
      << dxf;
}

TEST(DxfPlot, PolylineStartsWithItsStartPointAndEndsWithSeqend) {
  const std::string dxf = PlotOf(TwoByTwo(), kPlotFormatDxf, [](PlotContext& c) {
    BeginPolyline(c, 1, 1, kBlack, true, true);
    ContinuePolyline(c, 2, 2, kBlack, true, true);
    ContinuePolyline(c, 3, 2, kBlack, true, true);
  });
  EXPECT_NE(
      dxf.find("  0\r\nPOLYLINE\r\n  8\r\n0\r\n 66\r\n1\r\n  0\r\nVERTEX\r\n  8\r\n0\r\n 10\r\n 1\r\n 20\r\n 19\r\n"
               "  0\r\nVERTEX\r\n  8\r\n0\r\n 10\r\n 2\r\n 20\r\n 18\r\n"),
      std::string::npos)
      << dxf;
  EXPECT_NE(dxf.find(" 20\r\n 18\r\n  0\r\nSEQEND\r\n  8\r\n0\r\n  0\r\nENDSEC\r\n"), std::string::npos) << dxf;
}

TEST(DxfPlot, PolylineBrokenByAnotherEntityCarriesOnFromItsLastVertex) {
  const std::string dxf = PlotOf(TwoByTwo(), kPlotFormatDxf, [](PlotContext& c) {
    BeginPolyline(c, 1, 1, kBlack, true, true);
    ContinuePolyline(c, 2, 2, kBlack, true, true);
    DrawSegmentRowSection(c, 0, 95, 1, 95, kBlack, true);
    ContinuePolyline(c, 3, 3, kBlack, true, true);
  });
  const std::size_t line = dxf.find("\r\nLINE\r\n");
  const std::size_t seqend = dxf.find("SEQEND");
  ASSERT_NE(line, std::string::npos);
  EXPECT_LT(seqend, line);
  const std::size_t second = dxf.find("POLYLINE", line);
  ASSERT_NE(second, std::string::npos);
  EXPECT_NE(dxf.find("VERTEX\r\n  8\r\n0\r\n 10\r\n 2\r\n 20\r\n 18\r\n", second), std::string::npos);
}

TEST(DxfPlot, LinesWithoutNumbersAreLeftOutAndFarOnesCut) {
  const std::string dxf = PlotOf(TwoByTwo(), kPlotFormatDxf, [](PlotContext& c) {
    DrawSegment(c, 0, 0, kNaN, 10, kBlack, true, true);
    DrawSegment(c, 0, 20, 1e30f, 20, kBlack, true, true);  // along world y 0
  });
  EXPECT_EQ(test::Occurrences(dxf, "LINE"), 1) << dxf;
  EXPECT_NE(dxf.find(" 11\r\n" + NumberText(static_cast<float>(kDxfDeviceLimit)) + "\r\n 21\r\n 0\r\n"),
            std::string::npos)
      << dxf;
}

TEST(DxfPlot, FarVertexBreaksThePolyline) {
  const std::string dxf = PlotOf(TwoByTwo(), kPlotFormatDxf, [](PlotContext& c) {
    BeginPolyline(c, 1, 1, kBlack, true, true);
    ContinuePolyline(c, 1e30f, 2, kBlack, true, true);
    ContinuePolyline(c, 3, 3, kBlack, true, true);
  });
  EXPECT_EQ(test::Occurrences(dxf, "POLYLINE"), 2) << dxf;
  EXPECT_EQ(test::Occurrences(dxf, "VERTEX"), 2) << dxf;
  EXPECT_EQ(test::Occurrences(dxf, "SEQEND"), 2) << dxf;
}

TEST(PlotFile, BitmapFormatOpensNoFile) {
  TempDir dir;
  PlotDevice device;
  device.PlotFormat = kPlotFormatBitmap;
  device.PlotFileName = dir.File("a.bmp");
  device.PlotToFile = true;
  EXPECT_TRUE(OpenPlotFile(device, ZoomWindow{}));
  EXPECT_TRUE(ClosePlotFile(device));
  EXPECT_FALSE(std::filesystem::exists(device.PlotFileName));
}

TEST(PlotFile, UnwritableFolderFailsToOpen) {
  PlotDevice device;
  device.PlotFileName = "/nonexistent-folder/a.dxf";
  device.PlotToFile = true;
  EXPECT_FALSE(OpenPlotFile(device, ZoomWindow{}));
}

}  // namespace
}  // namespace kestra
