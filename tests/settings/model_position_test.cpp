// The world position the user sets in the settings file, over the model's own.
#include "settings/model_position.h"

#include <gtest/gtest.h>

#include "core/world_position.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"
#include "support/result_builders.h"

namespace kestra {
namespace {

TEST(ModelPosition, WrittenKeysReadBackAndOtherSectionsStay) {
  test::TempDir dir;
  const std::string path = dir.File("site.ini");
  test::WriteWholeFile(path, "[POROSITY]\r\nLayer1=0.3\r\n");
  test::RecordingInterface ui;
  const PositionChoice choice{500000.125, 4100000.5, -12.5, "EPSG:32633"};
  ASSERT_TRUE(WriteModelPosition(path, choice, ui));
  EXPECT_EQ(ReadModelPosition(path), choice);
  EXPECT_NE(test::ReadWholeFile(path).find("Layer1=0.3"), std::string::npos);
  // Cleared keys set nothing.
  ASSERT_TRUE(WriteModelPosition(path, PositionChoice{}, ui));
  EXPECT_TRUE(ReadModelPosition(path).IsEmpty());
}

TEST(ModelPosition, ValuesThatAreNoFiniteNumbersSetNothing) {
  test::TempDir dir;
  const std::string path = dir.File("site.ini");
  test::WriteWholeFile(path, "[MODEL_POSITION]\nXOrigin=east\nYOrigin=inf\nRotation=15\nCRS=\n");
  const PositionChoice read = ReadModelPosition(path);
  EXPECT_FALSE(read.xOrigin);
  EXPECT_FALSE(read.yOrigin);
  EXPECT_EQ(read.rotation, 15);
  EXPECT_FALSE(read.crs);
}

TEST(ModelPosition, AChoiceReplacesOnlyWhatItSets) {
  ModelState state = test::GridOfWidths({10, 10}, {10, 10}, 1);
  SetWorldPosition(state, {100, 200, 10, "EPSG:4326"});
  const PositionChoice fromFile{std::nullopt, 250.0, std::nullopt, "EPSG:32633"};
  const PositionChoice fromCommandLine{std::nullopt, std::nullopt, 45.0, std::nullopt};
  ApplyPositionChoice(OverriddenPosition(fromFile, fromCommandLine), state);
  const WorldPosition position = PositionOf(state);
  EXPECT_EQ(position.xOrigin, 100);
  EXPECT_EQ(position.yOrigin, 250);
  EXPECT_EQ(position.rotation, 45);
  EXPECT_EQ(position.crs, "EPSG:32633");
}

}  // namespace
}  // namespace kestra
