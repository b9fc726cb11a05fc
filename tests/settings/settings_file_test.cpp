#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include "settings/settings_keys.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

class SettingsFile : public testing::Test {
 protected:
  Settings Read(const std::string& contents) {
    test::WriteWholeFile(path, contents);
    Settings settings;
    ReadSettings(path, settings, ui);
    return settings;
  }

  test::TempDir dir;
  std::string path = dir.File("site.ini");
  test::RecordingInterface ui;
};

TEST_F(SettingsFile, AMissingFileGivesTheDefaultsSilently) {
  Settings settings;
  settings.meshColor = 1;
  ReadSettings(dir.File("none.ini"), settings, ui);
  Settings defaults;
  defaults.labelFormatStored = false;  // so contour labels follow the levels
  EXPECT_EQ(settings, defaults);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(ui.hourglassOn);
}

TEST_F(SettingsFile, EveryWrittenValueReadsBack) {
  Settings written;
  written.meshColor = 123456;
  written.maxContourColor = 16777215;  // white must stay a colour
  written.minContourColor = 12632256;
  written.showMesh = -1;
  written.showRivers = 0;
  written.showWaterTable = -2;
  written.vectorSize = 40;
  written.vectorColor = 65280;
  written.labelStyle = 0;
  written.labelDecimals = 4;
  written.labelPrefix = "h=";
  written.labelSuffix = " m";  // its blank kept
  written.imageWidth = 180.5f;
  written.imageTop = 0.25f;
  written.includeRightXsection = 0;
  written.sectionColumn = 7;
  written.sectionRow = 3;
  written.exaggeration = 12.5f;
  written.sectionGrid = 0;
  written.showContours = -1;
  written.dxfMaps[2] = {"/maps/roads and rivers.dxf", 1500.25f, -20, 0.001f, -1, 255};
  written.dxfMaps[5] = {"/maps/wells.dxf", 0, 0, 1, 1, 16711680};
  ASSERT_TRUE(WriteSettings(path, written, ui));

  Settings read;
  ReadSettings(path, read, ui);
  written.contourDisplay = written.showContours;  // reading CONTOURS sets the display switch too
  EXPECT_EQ(read, written);
}

TEST_F(SettingsFile, PreProcessorSectionsSurviveAWriteByteForByte) {
  const std::string foreign =
      "[OPTIONS]\r\nHNOFLO=-1E+20\r\nHDRY=-888\r\nUnknownKey=keep me\r\n\r\n"
      "[RES1]\r\nOPTION=3\r\n\r\n[PREPROCESSOR]\r\n; a comment\r\nGrid=on\r\n\r\n";
  test::WriteWholeFile(path, foreign);
  ASSERT_TRUE(WriteSettings(path, Settings{}, ui));
  const std::string text = test::ReadWholeFile(path);
  EXPECT_EQ(text.substr(0, foreign.size()), foreign);
  Settings read;
  ReadSettings(path, read, ui);
  EXPECT_FLOAT_EQ(read.HNOFLO, -1e20f);
  EXPECT_FLOAT_EQ(read.HDRY, -888);
  EXPECT_EQ(read.reservoirOption, 3);
}

TEST_F(SettingsFile, VectorColourIsReadAsColorAndWrittenAsColor) {
  Settings settings = Read("[VelocityVectors]\r\ncolor=65535\r\n");
  EXPECT_EQ(settings.vectorColor, 65535);
  settings.vectorColor = 42;
  ASSERT_TRUE(WriteSettings(path, settings, ui));
  const std::string text = test::ReadWholeFile(path);
  EXPECT_NE(text.find("color= 42\r\n"), std::string::npos);
  EXPECT_EQ(text.find("Color="), std::string::npos);
}

// Each key of the file below needs cleaning before the views may use it.
TEST_F(SettingsFile, ReadValuesAreCleanedForTheViews) {
  const std::string prefix(25, 'P');
  const std::string mapFile = "/data/" + std::string(124, 'm');
  Settings settings = Read(
      "[SavePlotAs]\nIncludeLowerXsection=-1\nIncludeRightXsection=1\n"
      "[COLOR]\nMESH=grey\nDRAIN=99999999999\n[GRID_APPEARANCE]\nMESH=70000\n"
      "[CONTOURS]\nLabelPrefix=  " + prefix + "  \nDecimal=-3\n[DXF_MAPS]\nFILE#1=" + mapFile + "\n"
      "[CROSS_SECTIONS]\nEXAGGERATION=0\nCOLUMN=0\nROW=500\n");
  EXPECT_EQ(settings.includeLowerXsection, 1);  // the absolute value
  EXPECT_EQ(settings.includeRightXsection, 1);
  EXPECT_EQ(settings.meshColor, 0);           // text that is no number reads 0
  EXPECT_EQ(settings.drainColor, 8454143);    // overflow keeps the previous value
  EXPECT_EQ(settings.showMesh, kOn);
  EXPECT_EQ(settings.labelPrefix, prefix);    // long texts read back whole
  EXPECT_EQ(settings.dxfMaps[1].file, mapFile);
  EXPECT_EQ(settings.labelDecimals, 0);       // values that would break the views fall back
  EXPECT_FLOAT_EQ(settings.exaggeration, 1);
  EXPECT_EQ(settings.sectionColumn, 1);
  ClampSectionsToGrid(settings, 20, 10);
  EXPECT_EQ(settings.sectionRow, 10);
}

TEST_F(SettingsFile, SingleKeyWritesChangeOnlyThatKeyAndFailedWritesSaySo) {
  test::WriteWholeFile(path, "[CROSS_SECTIONS]\r\nCOLUMN=1\r\nROW=1\r\n");
  ASSERT_TRUE(WriteSettingsKey(path, "CROSS_SECTIONS", "COLUMN", " 12", ui));
  EXPECT_EQ(test::ReadWholeFile(path), "[CROSS_SECTIONS]\r\nCOLUMN= 12\r\nROW=1\r\n");
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(WriteSettings(dir.File("missing/site.ini"), Settings{}, ui));
  EXPECT_FALSE(WriteSettingsKey(dir.File("missing/site.ini"), "COLOR", "Particles", " 255", ui));
  ASSERT_EQ(ui.messages.size(), 2u);
  for (const auto& message : ui.messages)
    EXPECT_NE(message.text.find("missing/site.ini: No such file or directory"), std::string::npos) << message.text;
}

TEST_F(SettingsFile, WriteSettingsFollowsTheTableOrder) {
  ASSERT_TRUE(WriteSettings(path, Settings{}, ui));
  const std::string text = test::ReadWholeFile(path);
  std::size_t last = 0;
  for (const char* marker : {"[COLOR]", "MaxContour=", "[GRID_APPEARANCE]", "[VelocityVectors]", "[CONTOURS]",
                             "LabelUphill=", "[ImageSettings]", "[SavePlotAs]", "[CROSS_SECTIONS]", "SHOW_GRID=",
                             "[DXF_MAPS]", "FILE#1=", "COLOR1=", "FILE#5=", "COLOR5="}) {
    const auto at = text.find(marker);
    ASSERT_NE(at, std::string::npos) << marker;
    EXPECT_GE(at, last) << marker;
    last = at;
  }
  EXPECT_EQ(text.find("[OPTIONS]"), std::string::npos);
  EXPECT_EQ(text.find("[RES1]"), std::string::npos);
}

class TimeSection : public SettingsFile {
 protected:
  TrackingSettings ReadTime(const std::string& contents, int modelUnit) {
    test::WriteWholeFile(path, contents);
    TrackingSettings tracking;
    ReadTimeSettings(path, modelUnit, tracking);
    return tracking;
  }
};

TEST_F(TimeSection, MissingOrUnusableKeysGiveOneYearInTheModelUnit) {
  const TrackingSettings days = ReadTime("", 4);
  EXPECT_EQ(days.TimeUnit, 4);
  EXPECT_DOUBLE_EQ(days.StepLength, 365.25);
  EXPECT_EQ(days.MaximumSteps, 100);
  EXPECT_EQ(days.MarkSizeTopView, 10);
  EXPECT_EQ(days.MarkSizeXsections, 3);
  EXPECT_DOUBLE_EQ(ReadTime("", 2).StepLength, 525960);
  EXPECT_DOUBLE_EQ(ReadTime("", 0).StepLength, 31557600);
  EXPECT_DOUBLE_EQ(ReadTime("[TIME]\nCurrent UNIT=3\n", 1).StepLength, 8766);
  // Zero step or interval and unknown units fall back.
  const TrackingSettings fallback = ReadTime("[TIME]\nCurrent UNIT=9\nSTEP LENGHT=0\nMark Interval=0\n", 4);
  EXPECT_EQ(fallback.TimeUnit, 4);
  EXPECT_DOUBLE_EQ(fallback.StepLength, 365.25);
  EXPECT_DOUBLE_EQ(fallback.MarkInterval, 1);
}

TEST_F(TimeSection, WrittenValuesReadBack) {
  TrackingSettings written;
  written.TimeUnit = 4;
  written.StepLength = 86400.5;
  written.MaximumSteps = 2500;
  written.MarkInterval = 2.5;
  written.MarkSizeTopView = 12;
  written.MarkSizeXsections = 5;
  written.MarkOnTopView = -1;
  written.MarkOnXsections = -1;
  written.BoundaryCells = BoundaryCellRule::AllAreSinks;
  written.FaceVelocities = FaceVelocityRule::Interpolated;
  written.WeakSinks = WeakCellRule::PassThrough;
  ASSERT_TRUE(WriteTimeSettings(path, written, ui));
  const std::string text = test::ReadWholeFile(path);
  for (const char* line : {"STEP LENGHT= 86400.5", "Boundary cells= 1", "[TRACKING]"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
  TrackingSettings read;
  ReadTimeSettings(path, 1, read);
  EXPECT_EQ(read, written);
}

TEST_F(TimeSection, RulesReadTheirCodesInAnyCaseAndFallBackToTheirDefaults) {
  using enum FaceVelocityRule;
  using enum WeakCellRule;
  using enum BoundaryCellRule;
  const struct {
    const char* file;
    FaceVelocityRule faces;
    WeakCellRule sinks, sources;
    BoundaryCellRule boundary;
  } cases[] = {
      {"", OwnCell, Stop, PassThrough, SinksByFlowSign},
      {"[TRACKING]\nFace velocities=1\nWeak sinks=0\nWeak sources=1\n[TIME]\nBoundary cells=1\n", Interpolated,
       PassThrough, Stop, AllAreSinks},
      {"[tracking]\nface VELOCITIES= 1\n[time]\nboundary CELLS= 1\n", Interpolated, Stop, PassThrough, AllAreSinks},
      {"[TRACKING]\nFace velocities=5\nWeak sinks=7\nWeak sources=-1\n[TIME]\nBoundary cells=7\n", OwnCell, Stop,
       PassThrough, SinksByFlowSign},
      {"[TIME]\nFace velocities=1\n", OwnCell, Stop, PassThrough, SinksByFlowSign},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const TrackingSettings tracking = ReadTime(c.file, 1);
    EXPECT_EQ(tracking.FaceVelocities, c.faces);
    EXPECT_EQ(tracking.WeakSinks, c.sinks);
    EXPECT_EQ(tracking.WeakSources, c.sources);
    EXPECT_EQ(tracking.BoundaryCells, c.boundary);
  }
}

TEST(ProfileInteger, ReadsALeadingInteger) {
  for (const auto& [text, value] : {std::pair{" -1", -1}, {"25 px", 25}, {"1.9", 1}, {"x", 0}})
    EXPECT_EQ(ProfileInteger(text), value) << text;
}

}  // namespace
}  // namespace kestra
