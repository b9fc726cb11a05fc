#include "results/powerstation_layout.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "support/temp_dir.h"

namespace kestra {
namespace {

std::string OneRecordFile(std::size_t length) {
  std::ostringstream out;
  const PowerStationLayout layout;
  out << layout.FileStart();
  std::vector<std::byte> data(length);
  for (std::size_t i = 0; i < length; ++i) data[i] = static_cast<std::byte>(i);
  layout.WriteRecord(out, data);
  return out.str();
}

std::uint8_t ByteAt(const std::string& bytes, std::size_t index) { return static_cast<std::uint8_t>(bytes[index]); }

TEST(PowerStationLayout, RecordOfExactMultipleOf128BytesEndsWithAFullBlock) {
  const std::string file = OneRecordFile(256);
  ASSERT_EQ(file.size(), 1 + 256 + 4u);
  EXPECT_EQ(ByteAt(file, 0), kPowerStationSignature);
  for (const std::size_t lengthByte : {1u, 130u, 131u, 260u}) EXPECT_EQ(ByteAt(file, lengthByte), 129) << lengthByte;
}

TEST(PowerStationLayout, RecordSizeOfNValuesIs4nPlusTwoBytesPer32Values) {
  const PowerStationLayout layout;
  for (const std::int64_t n : {1, 11, 31, 32, 33, 64, 200}) {
    EXPECT_EQ(layout.RecordSize(4 * n), 4 * n + 2 * ((n + 31) / 32)) << n;
  }
}

TEST(PowerStationLayout, LastBlockLengthByteIsItsBytesPlusOne) {
  const std::string file = OneRecordFile(44);
  EXPECT_EQ(ByteAt(file, 1), 45);
  EXPECT_EQ(ByteAt(file, 46), 45);
}

bool ReadsBack(const std::string& bytes, std::int64_t length) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("record"), bytes);
  BinaryFile file;
  if (!file.Open(dir.File("record"))) return false;
  const PowerStationLayout layout;
  RecordSpan span;
  std::vector<std::byte> data(static_cast<std::size_t>(length));
  return layout.ReadRecordHeader(file, 1, length, span) && layout.ReadRecordValues(file, span, 0, data) &&
         layout.SkipRecord(file, span);
}

TEST(PowerStationLayout, LengthByteOfZeroOrAbove129IsDamage) {
  const std::string good = OneRecordFile(300);
  ASSERT_TRUE(ReadsBack(good, 300));
  // The length bytes of the second block (offsets 131 and 260) and of the last (261, 306).
  for (const std::size_t offset : {131u, 260u, 261u, 306u}) {
    for (const char bad : {char(0), char(130), char(255)}) {
      std::string damaged = good;
      damaged[offset] = bad;
      EXPECT_FALSE(ReadsBack(damaged, 300)) << offset << " " << int(static_cast<std::uint8_t>(bad));
    }
  }
}

}  // namespace
}  // namespace kestra
