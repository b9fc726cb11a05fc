#include "results/layer_result_reader.h"

#include <gtest/gtest.h>

#include "results/lahey_layout.h"
#include "results/powerstation_layout.h"
#include "support/recording_interface.h"
#include "support/result_builders.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

using test::LayerHeader;
using test::LayerPattern;

constexpr int kColumns = 4;
constexpr int kRows = 3;

// Time steps `steps` of period 1, layers 1..`layers`, the value base telling step and layer apart.
void WriteHeads(const std::string& path, ResultFileFormat format, int realBytes, std::initializer_list<int> steps,
                int layers) {
  test::WriteResultFile(path, format, realBytes, [&](ResultFileWriter& writer) {
    for (const int step : steps)
      for (int layer = 1; layer <= layers; ++layer)
        writer.WriteLayer(LayerHeader(step, 1, layer, kColumns, kRows),
                          LayerPattern(kColumns, kRows, 1000.0f * step + 0.5f * layer));
  });
}

struct LayerRead {
  bool ok;
  std::vector<float> values;
  std::int64_t position;
  test::RecordingInterface ui;
};

LayerRead Read(const std::string& path, int kstp, int layer, std::int64_t position = kFirstRecordPosition,
               ResultKind kind = ResultKind::Heads, int ncol = kColumns) {
  LayerRead read{};
  read.position = position;
  const LayerResultQuery query{kind, kstp, 1, layer, ncol, kRows};
  read.ok = ReadLayerResult(query, path, read.values, read.position, read.ui, true);
  return read;
}

TEST(LayerResultReader, EveryLayoutAndPrecisionReadsTheWantedLayer) {
  test::TempDir dir;
  for (const auto format : test::kEveryFormat) {
    for (const int realBytes : {4, 8}) {
      WriteHeads(dir.File("heads"), format, realBytes, {1, 2}, 2);
      ResultFile result;
      ASSERT_EQ(OpenLayerResultFile(dir.File("heads"), result), ResultFileOpening::Opened);
      EXPECT_EQ(result.Format(), format);
      EXPECT_EQ(result.realBytes, realBytes);
      const auto read = Read(dir.File("heads"), 2, 2);
      ASSERT_TRUE(read.ok) << FormatName(format) << realBytes << read.ui.LastMessage();
      EXPECT_EQ(read.values, LayerPattern(kColumns, kRows, 2001.0f));
    }
  }
}

TEST(LayerResultReader, MissingFileOrOneOfNoKnownLayoutOrAnotherGridIsReportedWithItsKind) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("heads"), std::string(200, 'x'));
  const auto read = Read(dir.File("heads"), 1, 1);
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(read.ui.LastMessage(), "The format of the head file " + dir.File("heads") +
                                       " is not compatible to the Lahey-Fortran compiler or the MS-FORTRAN PowerStation");
  EXPECT_EQ(read.ui.messages.at(0).icon, MessageIcon::Exclamation);
  EXPECT_EQ(read.ui.beeps, 1);
  const auto missing = Read(dir.File("none"), 1, 1, kFirstRecordPosition, ResultKind::Drawdowns);
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.ui.LastMessage(), "Could not find the Drawdown file " + dir.File("none"));
  // A file of another grid size fails at its first header.
  WriteHeads(dir.File("heads"), ResultFileFormat::PowerStation, 4, {1}, 1);
  const auto otherGrid = Read(dir.File("heads"), 1, 1, kFirstRecordPosition, ResultKind::Drawdowns, kColumns + 1);
  EXPECT_FALSE(otherGrid.ok);
  EXPECT_EQ(otherGrid.ui.LastMessage(), "Model dimensions specified in the drawdown file mismatch");
}

TEST(LayerResultReader, StreamFileWhoseFirstByteNamesALegacyLayoutIsStillRead) {
  test::TempDir dir;
  for (const int step : {int{kPowerStationSignature}, int{kLaheySignature}}) {
    WriteHeads(dir.File("heads"), ResultFileFormat::Stream, 4, {step}, 1);
    ASSERT_EQ(static_cast<std::uint8_t>(test::ReadWholeFile(dir.File("heads"))[0]), step);
    const auto read = Read(dir.File("heads"), step, 1);
    ASSERT_TRUE(read.ok) << read.ui.LastMessage();
    EXPECT_EQ(read.values, LayerPattern(kColumns, kRows, 1000.0f * step + 0.5f));
  }
}

TEST(LayerResultReader, SkippedStepIsNotFoundAsSoonAsALaterStepIsMet) {
  test::TempDir dir;
  WriteHeads(dir.File("heads"), ResultFileFormat::Lahey, 4, {1, 3}, 1);
  // Damage everything after the header of step 3: reading on would fail otherwise.
  std::string bytes = test::ReadWholeFile(dir.File("heads"));
  const std::size_t stepThreeData = 1 + 2 * (1 + 44 + 1) + (2 + 48 + 2);
  bytes.replace(stepThreeData, std::string::npos, "garbage");
  test::WriteWholeFile(dir.File("heads"), bytes);
  const auto read = Read(dir.File("heads"), 2, 1);
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(read.ui.LastMessage(), "Could not find Head data in layer 1 of time step 2, stress period 1");
  EXPECT_EQ(read.position, kFirstRecordPosition);
}

TEST(LayerResultReader, LayerThreeIsFoundFromWhereLayerTwoEndedWithoutRescanning) {
  test::TempDir dir;
  WriteHeads(dir.File("heads"), ResultFileFormat::Lahey, 4, {1}, 3);
  const auto layerTwo = Read(dir.File("heads"), 1, 2);
  ASSERT_TRUE(layerTwo.ok);
  const auto layerThree = Read(dir.File("heads"), 1, 3, layerTwo.position);
  ASSERT_TRUE(layerThree.ok) << layerThree.ui.LastMessage();
  EXPECT_EQ(layerThree.values, LayerPattern(kColumns, kRows, 1001.5f));
  EXPECT_EQ(layerThree.position, static_cast<std::int64_t>(test::ReadWholeFile(dir.File("heads")).size()) + 1);
  // The search starts at the carried position: layer 1 lies before it.
  const auto layerOne = Read(dir.File("heads"), 1, 1, layerTwo.position);
  EXPECT_FALSE(layerOne.ok);
  EXPECT_EQ(layerOne.ui.LastMessage(), "Could not find Head data in layer 1 of time step 1, stress period 1");
}

TEST(LayerResultReader, RecordOfTheOtherKindIsSkipped) {
  test::TempDir dir;
  test::WriteResultFile(dir.File("both"), ResultFileFormat::Stream, 4, [](ResultFileWriter& writer) {
    writer.WriteLayer(LayerHeader(1, 1, 1, kColumns, kRows, "DRAWDOWN"), LayerPattern(kColumns, kRows, -5.0f));
    writer.WriteLayer(LayerHeader(1, 1, 1, kColumns, kRows, "HEAD"), LayerPattern(kColumns, kRows, 50.0f));
  });
  for (const auto& [kind, base] : {std::pair{ResultKind::Heads, 50.0f}, std::pair{ResultKind::Drawdowns, -5.0f}}) {
    const auto read = Read(dir.File("both"), 1, 1, kFirstRecordPosition, kind);
    ASSERT_TRUE(read.ok) << base;
    EXPECT_EQ(read.values, LayerPattern(kColumns, kRows, base));
  }
}

TEST(LayerResultReader, MoreThan2000ColumnsReadInTheLaheyLayout) {
  test::TempDir dir;
  constexpr int kWide = 2500;
  test::WriteResultFile(dir.File("wide"), ResultFileFormat::Lahey, 4, [](ResultFileWriter& writer) {
    writer.WriteLayer(LayerHeader(1, 1, 1, kWide, kRows), LayerPattern(kWide, kRows, 0));
  });
  const auto read = Read(dir.File("wide"), 1, 1, kFirstRecordPosition, ResultKind::Heads, kWide);
  ASSERT_TRUE(read.ok) << read.ui.LastMessage();
  EXPECT_EQ(read.values, LayerPattern(kWide, kRows, 0));
}

TEST(LayerResultReader, DamagedDataRecordIsReportedWithItsLayerAndSilentWhenAsked) {
  test::TempDir dir;
  WriteHeads(dir.File("heads"), ResultFileFormat::Sequential, 4, {1}, 2);
  std::string bytes = test::ReadWholeFile(dir.File("heads"));
  bytes[4 + 44 + 4] = 99;  // the marker of layer 1's data record
  test::WriteWholeFile(dir.File("heads"), bytes);
  const auto read = Read(dir.File("heads"), 1, 2);
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(read.ui.LastMessage(), "Could not read the head data of layer 1 (time step 1, stress period 1) from the "
                                   "head file " + dir.File("heads") + ": the record at byte 1 is cut short or damaged");
  test::RecordingInterface quiet;
  std::vector<float> values;
  std::int64_t position = kFirstRecordPosition;
  EXPECT_FALSE(ReadLayerResult({ResultKind::Heads, 1, 1, 2, kColumns, kRows}, dir.File("heads"), values, position,
                               quiet, false));
  EXPECT_TRUE(quiet.messages.empty());
  EXPECT_EQ(quiet.beeps, 0);
}

}  // namespace
}  // namespace kestra
