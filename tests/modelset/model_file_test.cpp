#include "modelset/model_file.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(values.NCOL, 4);
  EXPECT_EQ(values.NROW, 3);
  EXPECT_EQ(values.NLAY, 2);
  EXPECT_EQ(values.DataFlags(3, 2), 2);
  EXPECT_EQ(values.title, "Valley aquifer");
  EXPECT_TRUE(ui.messages.empty());
}

TEST(ModelFile, IncompleteFlowModelIsRefusedAndValuesKept) {
  test::TempDir dir;
  DataFlagTable flags = CompleteFlags();
  flags(0, 5) = 0;
  test::WriteModelFile(dir.File("m.mdl"), 4, 3, 2, flags);
  test::RecordingInterface ui;
  ModelFileValues values;
  values.NCOL = 7;
  EXPECT_FALSE(ReadModelFile(dir.File("m.mdl"), values, ui));
  EXPECT_EQ(values.NCOL, 7);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "The flow model should be complete before running KESTRA");
  EXPECT_EQ(ui.messages[0].title, "Error");
  EXPECT_EQ(ui.beeps, 1);
}

TEST(ModelFile, DimensionBelowOneIsRefused) {
  test::TempDir dir;
  test::WriteModelFile(dir.File("m.mdl"), 4, 0, 2, CompleteFlags());
  test::RecordingInterface ui;
  ModelFileValues values;
  EXPECT_FALSE(ReadModelFile(dir.File("m.mdl"), values, ui));
  EXPECT_EQ(values.NCOL, 0);
  EXPECT_EQ(ui.messages.size(), 1u);
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

TEST(PositionFile, ReadsOriginAndComputesRotation) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("m.LMK"), "1000.5, 2000, 1.5707963\r\n-1\r\n");
  ModelOrigin origin;
  ReadPositionFile(dir.File("m.LMK"), origin);
  EXPECT_FLOAT_EQ(origin.X0, 1000.5f);
  EXPECT_FLOAT_EQ(origin.Y0, 2000.0f);
  EXPECT_NEAR(origin.cosAngle, 0.0f, 1e-6);  // float angle of pi/2
  EXPECT_NEAR(origin.sinAngle, 1.0f, 1e-6);
  EXPECT_TRUE(origin.isSet);
}

TEST(PositionFile, MissingFileLeavesOriginUnset) {
  test::TempDir dir;
  ModelOrigin origin;
  ReadPositionFile(dir.File("none.LMK"), origin);
  EXPECT_FALSE(origin.isSet);
  EXPECT_EQ(origin.X0, 0.0f);
}

}  // namespace
}  // namespace kestra
