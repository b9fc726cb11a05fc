// The small text and binary files of a model file set: the model file, the
// position file, the layer files and the stress-period table.
#include "modelset/layer_files.h"
#include "modelset/model_file.h"
#include "modelset/stress_period_file.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/model_writers.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

DataFlagTable CompleteFlags() {
  DataFlagTable flags;
  flags(0, 5) = 1;
  flags(3, 2) = 2;
  return flags;
}

TEST(ModelFile, ReadsDimensionsFlagsAndTitle) {
  test::TempDir dir;
  test::WriteModelFile(dir.File("m.mdl"), 4, 3, 2, CompleteFlags(), "Valley aquifer");
  test::RecordingInterface ui;
  ModelFileValues values;
  ASSERT_TRUE(ReadModelFile(dir.File("m.mdl"), values, ui));
  EXPECT_EQ(std::tie(values.NCOL, values.NROW, values.NLAY), std::tuple(4, 3, 2));
  EXPECT_EQ(values.DataFlags(3, 2), 2);
  EXPECT_EQ(values.title, "Valley aquifer");
  EXPECT_TRUE(ui.messages.empty());
}

TEST(ModelFile, IncompleteFlowModelOrDimensionBelowOneIsRefusedAndTheValuesKept) {
  DataFlagTable incomplete = CompleteFlags();
  incomplete(0, 5) = 0;
  const struct {
    int nrow;
    DataFlagTable flags;
    const char* message;  // nullptr: not checked
  } cases[] = {{3, incomplete, "The flow model should be complete before running KESTRA"},
               {0, CompleteFlags(), nullptr}};
  for (const auto& c : cases) {
    test::TempDir dir;
    test::WriteModelFile(dir.File("m.mdl"), 4, c.nrow, 2, c.flags);
    test::RecordingInterface ui;
    ModelFileValues values;
    values.NCOL = 7;
    EXPECT_FALSE(ReadModelFile(dir.File("m.mdl"), values, ui));
    EXPECT_EQ(values.NCOL, 7);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.beeps, 1);
    if (c.message == nullptr) continue;
    EXPECT_EQ(ui.messages[0].text, c.message);
    EXPECT_EQ(ui.messages[0].title, "Error");
  }
}

TEST(ModelFile, TruncatedFilesNeverGiveAModel) {
  const std::string whole = test::ReadWholeFile((test::TestDataDir() / "mixed3d/lahey/mixed3d.mdl").string());
  test::TempDir dir;
  for (std::size_t length = 0; length < 40; ++length) {
    test::WriteWholeFile(dir.File("t.mdl"), whole.substr(0, length));
    test::RecordingInterface ui;
    ModelFileValues values;
    EXPECT_FALSE(ReadModelFile(dir.File("t.mdl"), values, ui)) << length;
  }
}

TEST(PositionFile, ReadsOriginAndComputesRotationAndAMissingFileLeavesItUnset) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("m.LMK"), "1000.5, 2000, 1.5707963\r\n-1\r\n");
  ModelOrigin origin;
  ReadPositionFile(dir.File("m.LMK"), origin);
  EXPECT_FLOAT_EQ(origin.X0, 1000.5f);
  EXPECT_FLOAT_EQ(origin.Y0, 2000.0f);
  EXPECT_NEAR(origin.cosAngle, 0.0f, 1e-6);  // float angle of pi/2
  EXPECT_NEAR(origin.sinAngle, 1.0f, 1e-6);
  EXPECT_TRUE(origin.isSet);
  ModelOrigin unset;
  ReadPositionFile(dir.File("none.LMK"), unset);
  EXPECT_FALSE(unset.isSet);
  EXPECT_EQ(unset.X0, 0.0f);
}

TEST(LayerTypes, CodeFiveReadsAsOneMissingCodesAsZeroAndExtraCodesAreIgnored) {
  const struct {
    int count;
    std::vector<int> codes;
    int nlay;
    std::vector<std::int16_t> expected;  // index 0 unused
  } cases[] = {
      {3, {5, 3, 0}, 3, {0, 1, 3, 0}},
      {1, {1}, 3, {0, 1, 0, 0}},
      {4, {1, 1, 1, 1}, 2, {0, 1, 1}},
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    test::WriteLayerTypeFile(dir.File("m.L"), c.count, c.codes);
    test::RecordingInterface ui;
    std::vector<std::int16_t> laycon;
    ASSERT_TRUE(ReadLayerTypes(dir.File("m.L"), c.nlay, laycon, ui));
    EXPECT_EQ(laycon, c.expected) << c.count;
  }
}

TEST(LayerTypes, MissingFileIsReportedWithTheErrorTitle) {
  test::TempDir dir;
  test::RecordingInterface ui;
  std::vector<std::int16_t> laycon{9, 9};
  EXPECT_FALSE(ReadLayerTypes(dir.File("m.L"), 2, laycon, ui));
  EXPECT_EQ(laycon, (std::vector<std::int16_t>{0, 0, 0}));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "The file " + dir.File("m.L") + " dose not exist!");
  EXPECT_EQ(ui.messages[0].title, "Error");
}

TEST(LayerProperties, MissingFileIsCreatedWithBlueShadesCappedAt255) {
  test::TempDir dir;
  LayerPropertyFile file;
  ASSERT_TRUE(ReadLayerProperties(dir.File("m.lyp"), 3, file));
  // 255 / 3 = 85 per layer, blue is the third byte.
  EXPECT_EQ(LayerColor(file.layers[1]), 85 * 65536);
  EXPECT_EQ(LayerColor(file.layers[3]), 255 * 65536);
  EXPECT_EQ(test::ReadWholeFile(dir.File("m.lyp")).size(), 12u + 3 * 24);
  // 255 / 2 rounds (ties to even) to 128, so layer 2 would reach blue 256.
  LayerPropertyFile two = DefaultLayerProperties(2);
  EXPECT_EQ(LayerColor(two.layers[1]), 128 * 65536);
  EXPECT_EQ(LayerColor(two.layers[2]), 255 * 65536);
  EXPECT_EQ(LayerColor(DefaultLayerProperties(8).layers[8]), 255 * 65536);
}

TEST(LayerProperties, RoundTripKeepsEveryByte) {
  test::TempDir dir;
  LayerPropertyFile file = DefaultLayerProperties(2);
  file.headerValue = 7;
  file.layers[2].bytes[23] = 0xAB;
  SetLayerColor(file.layers[1], 0x123456);
  std::string error;
  ASSERT_TRUE(WriteLayerProperties(dir.File("m.lyp"), file, error)) << error;
  LayerPropertyFile read;
  ASSERT_TRUE(ReadLayerProperties(dir.File("m.lyp"), 2, read));
  EXPECT_EQ(read.headerValue, 7);
  EXPECT_EQ(read.layers[2].bytes, file.layers[2].bytes);
  EXPECT_EQ(LayerColor(read.layers[1]), 0x123456);
}

TEST(LayerProperties, ShortFileGivesTheDefaults) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("m.lyp"), std::string(30, '\x01'));
  LayerPropertyFile read;
  EXPECT_FALSE(ReadLayerProperties(dir.File("m.lyp"), 2, read));
  EXPECT_EQ(LayerColor(read.layers[2]), 255 * 65536);
}

TEST(LayerProperties, SharedModelsReadTheirLayerColours) {
  LayerPropertyFile read;
  ASSERT_TRUE(ReadLayerProperties((test::TestDataDir() / "mixed3d/lahey/mixed3d.lyp").string(), 3, read));
  EXPECT_EQ(LayerColor(read.layers[1]), 85 * 65536);
  EXPECT_EQ(LayerColor(read.layers[3]), 255 * 65536);
}

// NPER, time unit, then PERLEN, NSTP and TSMULT from index 1.
StressPeriods ThreePeriods() { return {3, 4, {0, 1, 100, 50}, {0, 1, 4, 2}, {0, 1, 1.5f, 1}}; }

// Every field of `periods`, to compare them whole.
auto Fields(const StressPeriods& periods) {
  return std::tie(periods.NPER, periods.timeUnit, periods.PERLEN, periods.NSTP, periods.TSMULT);
}

TEST(StressPeriodFile, TableWrittenOnceOrNperTimesReadsTheSameAndTheLastCopyCounts) {
  test::TempDir dir;
  for (int copies : {1, 3}) {
    test::WriteTraFile(dir.File("m.TRA"), ThreePeriods(), copies);
    test::RecordingInterface ui;
    StressPeriods read;
    ASSERT_TRUE(ReadStressPeriodFile(dir.File("m.TRA"), read, ui)) << copies;
    EXPECT_EQ(Fields(read), Fields(ThreePeriods()));
  }
  test::WriteWholeFile(dir.File("m.TRA"), "2 1\n1 1 1\n1 1 1\n5 2 1\n7 3 2\n");
  test::RecordingInterface ui;
  StressPeriods read;
  ASSERT_TRUE(ReadStressPeriodFile(dir.File("m.TRA"), read, ui));
  EXPECT_EQ(read.PERLEN[2], 7.0f);
  EXPECT_EQ(read.NSTP[1], 2);
}

// Refused tables leave the periods as they were, with one message; a
// non-finite value is named with its period.
TEST(StressPeriodFile, BadTablesAreRefused) {
  struct Case {
    const char* text;
    const char* reason;  // nullptr: the message is not checked
  };
  test::TempDir dir;
  for (const Case& c : {Case{"0 4\n", nullptr}, Case{"-2 4\n1 1 1\n", nullptr}, Case{"2 4\n1 1 1\n10 0 1\n", nullptr},
                        Case{"2 4\n1 1 1\n", nullptr}, Case{"", nullptr},
                        Case{"2 4\n1 1 1\nnan 2 1\n", ": PERLEN of stress period 2 is not a finite number."},
                        Case{"2 4\n1 1 1\n10 2 inf\n", ": TSMULT of stress period 2 is not a finite number."},
                        // Finite as text, infinite as the 32-bit value the table keeps.
                        Case{"1 4\n1E+39 1 1\n", ": PERLEN of stress period 1 is not a finite number."},
                        Case{"1 4\n1 1 -inf\n", ": TSMULT of stress period 1 is not a finite number."}}) {
    SCOPED_TRACE(c.text);
    test::WriteWholeFile(dir.File("m.TRA"), c.text);
    test::RecordingInterface ui;
    StressPeriods read = ThreePeriods();
    EXPECT_FALSE(ReadStressPeriodFile(dir.File("m.TRA"), read, ui));
    EXPECT_EQ(Fields(read), Fields(ThreePeriods()));
    ASSERT_EQ(ui.messages.size(), 1u);
    if (c.reason == nullptr) continue;
    EXPECT_EQ(ui.LastMessage(),
              "The file " + dir.File("m.TRA") + " does not hold a valid stress-period table" + c.reason);
  }
}

}  // namespace
}  // namespace kestra
