#include "results/record_layout.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "results/lahey_layout.h"
#include "results/powerstation_layout.h"
#include "support/result_builders.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

std::vector<std::byte> Bytes(std::size_t count) {
  std::vector<std::byte> bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::byte>(i * 7 + 3);
  return bytes;
}

// A file of records of the given lengths, less `cutBytes` at its end, opened for reading.
struct WrittenFile {
  test::TempDir dir;
  BinaryFile file;

  WrittenFile(const RecordLayout& layout, const std::vector<std::size_t>& lengths, std::size_t cutBytes = 0) {
    std::ostringstream out;
    out << layout.FileStart();
    for (const std::size_t length : lengths) layout.WriteRecord(out, Bytes(length));
    test::WriteWholeFile(dir.File("records"), out.str().substr(0, out.str().size() - cutBytes));
    EXPECT_TRUE(file.Open(dir.File("records")));
  }
};

class EveryLayout : public testing::TestWithParam<ResultFileFormat> {};

// Record lengths around every marker and block boundary of the layouts.
const std::vector<std::size_t> kLengths = {0, 1, 36, 63, 64, 127, 128, 129, 256, 16383, 16384, 20000};

TEST_P(EveryLayout, RecordsWrittenReadBackWithTheirSizes) {
  const RecordLayout& layout = LayoutOf(GetParam());
  WrittenFile written(layout, kLengths);
  BinaryFile& file = written.file;
  std::int64_t offset = layout.FirstRecordOffset();
  for (const std::size_t length : kLengths) {
    RecordSpan span;
    ASSERT_TRUE(layout.ReadRecordHeader(file, offset, static_cast<std::int64_t>(length), span)) << length;
    EXPECT_EQ(span.end - offset, layout.RecordSize(static_cast<std::int64_t>(length))) << length;
    std::vector<std::byte> data(length);
    ASSERT_TRUE(layout.ReadRecordValues(file, span, 0, data)) << length;
    EXPECT_EQ(data, Bytes(length)) << length;
    EXPECT_TRUE(layout.SkipRecord(file, span)) << length;
    offset = span.end;
  }
  EXPECT_EQ(offset, file.Size());
}

TEST_P(EveryLayout, PartOfARecordReadsFromAnyDataByte) {
  const RecordLayout& layout = LayoutOf(GetParam());
  WrittenFile written(layout, {1000});
  BinaryFile& file = written.file;
  RecordSpan span;
  ASSERT_TRUE(layout.ReadRecordHeader(file, layout.FirstRecordOffset(), 1000, span));
  std::vector<std::byte> part(300);
  ASSERT_TRUE(layout.ReadRecordValues(file, span, 100, part));
  const auto all = Bytes(1000);
  EXPECT_EQ(part, std::vector<std::byte>(all.begin() + 100, all.begin() + 400));
  EXPECT_FALSE(layout.ReadRecordValues(file, span, 900, part));
}

TEST_P(EveryLayout, RecordReachingPastTheEndOfTheFileIsRefused) {
  const RecordLayout& layout = LayoutOf(GetParam());
  WrittenFile written(layout, {200}, 1);
  BinaryFile& file = written.file;
  RecordSpan span;
  EXPECT_FALSE(layout.ReadRecordHeader(file, layout.FirstRecordOffset(), 200, span));
  EXPECT_FALSE(layout.ReadRecordHeader(file, layout.FirstRecordOffset(), std::int64_t{1} << 40, span));
}

INSTANTIATE_TEST_SUITE_P(RecordLayout, EveryLayout, testing::ValuesIn(test::kEveryFormat), [](const auto& info) {
  const std::string name = FormatName(info.param);
  return name.substr(0, name.find(' '));
});

TEST(MarkedLayouts, MarkerOfAnotherLengthIsRefused) {
  for (const auto format : {ResultFileFormat::PowerStation, ResultFileFormat::Lahey, ResultFileFormat::Sequential}) {
    const RecordLayout& layout = LayoutOf(format);
    WrittenFile written(layout, {44, 44});
    BinaryFile& file = written.file;
    RecordSpan span;
    EXPECT_FALSE(layout.ReadRecordHeader(file, layout.FirstRecordOffset(), 52, span)) << FormatName(format);
    EXPECT_TRUE(layout.ReadRecordHeader(file, layout.FirstRecordOffset(), 44, span)) << FormatName(format);
  }
}

// One record of `length` bytes 0, 1, 2, ... in `layout`, as the file holds it.
std::string OneRecordFile(const RecordLayout& layout, std::size_t length) {
  std::ostringstream out;
  out << layout.FileStart();
  layout.WriteRecord(out, Bytes(length));
  return out.str();
}

std::uint8_t ByteAt(const std::string& bytes, std::size_t index) { return static_cast<std::uint8_t>(bytes[index]); }

// Whether `bytes` holds one record of `length` bytes that reads and skips whole.
bool ReadsBack(const RecordLayout& layout, const std::string& bytes, std::int64_t length) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("record"), bytes);
  BinaryFile file;
  if (!file.Open(dir.File("record"))) return false;
  RecordSpan span;
  std::vector<std::byte> data(static_cast<std::size_t>(length));
  return layout.ReadRecordHeader(file, 1, length, span) && layout.ReadRecordValues(file, span, 0, data) &&
         layout.SkipRecord(file, span);
}

TEST(LaheyLayout, MarkerSizeFollowsTheValueRanges) {
  for (const auto& [length, size] : {std::pair{63, 1}, {64, 2}, {16383, 2}, {16384, 3}, {4194303, 3}, {4194304, 4}})
    EXPECT_EQ(LaheyMarkerSize(length), size) << length;
}

TEST(LaheyLayout, ThreeByteMarkersOfARecordOfMoreThan16383Bytes) {
  const std::string file = OneRecordFile(LaheyLayout(), 20000);
  ASSERT_EQ(file.size(), 1 + 3 + 20000 + 3u);
  EXPECT_EQ(ByteAt(file, 0), kLaheySignature);
  // The header: 20000 << 2 | 2 little-endian, the count of further bytes in
  // the first byte. The trailer: the length with the 3-byte header marker,
  // written backwards so that its last byte is the lowest.
  const std::uint32_t header = 20000u << 2 | 2u, trailer = 20003u << 2 | 2u;
  for (std::size_t n = 0; n < 3; ++n) {
    EXPECT_EQ(ByteAt(file, 1 + n), (header >> 8 * n) & 0xFF) << n;
    EXPECT_EQ(ByteAt(file, file.size() - 1 - n), (trailer >> 8 * n) & 0xFF) << n;
  }
}

TEST(LaheyLayout, DamagedTrailerOrCutHeaderMarkerIsRefused) {
  const LaheyLayout layout;
  std::string damaged = OneRecordFile(layout, 100);
  damaged[damaged.size() - 2] = static_cast<char>(damaged[damaged.size() - 2] ^ 0x10);
  test::TempDir dir;
  test::WriteWholeFile(dir.File("damaged"), damaged);
  BinaryFile file;
  ASSERT_TRUE(file.Open(dir.File("damaged")));
  RecordSpan span;
  ASSERT_TRUE(layout.ReadRecordHeader(file, 1, 100, span));  // the damage lies in the trailer only
  EXPECT_FALSE(layout.SkipRecord(file, span));
  EXPECT_FALSE(ReadsBack(layout, OneRecordFile(layout, 20000).substr(0, 2), 20000));
}

TEST(PowerStationLayout, BlocksOf128BytesCarryTheirLengthPlusOneAtBothEnds) {
  const PowerStationLayout layout;
  const std::string full = OneRecordFile(layout, 256);
  ASSERT_EQ(full.size(), 1 + 256 + 4u);
  EXPECT_EQ(ByteAt(full, 0), kPowerStationSignature);
  for (const std::size_t lengthByte : {1u, 130u, 131u, 260u}) EXPECT_EQ(ByteAt(full, lengthByte), 129) << lengthByte;
  const std::string partial = OneRecordFile(layout, 44);
  EXPECT_EQ(ByteAt(partial, 1), 45);
  EXPECT_EQ(ByteAt(partial, 46), 45);
  for (const std::int64_t n : {1, 11, 31, 32, 33, 64, 200})  // values of 4 bytes
    EXPECT_EQ(layout.RecordSize(4 * n), 4 * n + 2 * ((n + 31) / 32)) << n;
}

TEST(PowerStationLayout, LengthByteOfZeroOrAbove129IsDamage) {
  const PowerStationLayout layout;
  const std::string good = OneRecordFile(layout, 300);
  ASSERT_TRUE(ReadsBack(layout, good, 300));
  // The length bytes of the second block (offsets 131 and 260) and of the last (261, 306).
  for (const std::size_t offset : {131u, 260u, 261u, 306u}) {
    for (const char bad : {char(0), char(130), char(255)}) {
      std::string damaged = good;
      damaged[offset] = bad;
      EXPECT_FALSE(ReadsBack(layout, damaged, 300)) << offset << " " << int(static_cast<std::uint8_t>(bad));
    }
  }
}

}  // namespace
}  // namespace kestra
