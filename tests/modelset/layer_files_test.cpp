#include "modelset/layer_files.h"

#include <gtest/gtest.h>

#include "support/model_writers.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

TEST(LayerTypes, CodeFiveReadsAsOneAndThreeStays) {
  test::TempDir dir;
  test::WriteLayerTypeFile(dir.File("m.L"), 3, {5, 3, 0});
  test::RecordingInterface ui;
  std::vector<std::int16_t> laycon;
  ASSERT_TRUE(ReadLayerTypes(dir.File("m.L"), 3, laycon, ui));
  EXPECT_EQ(laycon, (std::vector<std::int16_t>{0, 1, 3, 0}));
}

TEST(LayerTypes, MissingCodesAreZeroAndExtraCodesIgnored) {
  test::TempDir dir;
  test::WriteLayerTypeFile(dir.File("short.L"), 1, {1});
  test::WriteLayerTypeFile(dir.File("long.L"), 4, {1, 1, 1, 1});
  test::RecordingInterface ui;
  std::vector<std::int16_t> laycon;
  ASSERT_TRUE(ReadLayerTypes(dir.File("short.L"), 3, laycon, ui));
  EXPECT_EQ(laycon, (std::vector<std::int16_t>{0, 1, 0, 0}));
  ASSERT_TRUE(ReadLayerTypes(dir.File("long.L"), 2, laycon, ui));
  EXPECT_EQ(laycon, (std::vector<std::int16_t>{0, 1, 1}));
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

TEST(LayerProperties, MissingFileIsCreatedWithBlueShades) {
  test::TempDir dir;
  LayerPropertyFile file;
  ASSERT_TRUE(ReadLayerProperties(dir.File("m.lyp"), 3, file));
  // 255 / 3 = 85 per layer, blue is the third byte.
  EXPECT_EQ(LayerColor(file.layers[1]), 85 * 65536);
  EXPECT_EQ(LayerColor(file.layers[3]), 255 * 65536);
  EXPECT_EQ(test::ReadWholeFile(dir.File("m.lyp")).size(), 12u + 3 * 24);
}

TEST(LayerProperties, BlueIsCappedAt255) {
  // 255 / 2 rounds (ties to even) to 128, so layer 2 would reach blue 256.
  LayerPropertyFile two = DefaultLayerProperties(2);
  EXPECT_EQ(LayerColor(two.layers[1]), 128 * 65536);
  EXPECT_EQ(LayerColor(two.layers[2]), 255 * 65536);
  LayerPropertyFile eight = DefaultLayerProperties(8);
  EXPECT_EQ(LayerColor(eight.layers[8]), 255 * 65536);
}

TEST(LayerProperties, RoundTripKeepsEveryByte) {
  test::TempDir dir;
  LayerPropertyFile file = DefaultLayerProperties(2);
  file.headerValue = 7;
  file.layers[2].bytes[23] = 0xAB;
  SetLayerColor(file.layers[1], 0x123456);
  ASSERT_TRUE(WriteLayerProperties(dir.File("m.lyp"), file));
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

}  // namespace
}  // namespace kestra
