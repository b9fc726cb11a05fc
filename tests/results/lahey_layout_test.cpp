#include "results/lahey_layout.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "support/temp_dir.h"

namespace kestra {
namespace {

TEST(LaheyLayout, MarkerSizeFollowsTheValueRanges) {
  EXPECT_EQ(LaheyMarkerSize(63), 1);
  EXPECT_EQ(LaheyMarkerSize(64), 2);
  EXPECT_EQ(LaheyMarkerSize(16383), 2);
  EXPECT_EQ(LaheyMarkerSize(16384), 3);
  EXPECT_EQ(LaheyMarkerSize(4194303), 3);
  EXPECT_EQ(LaheyMarkerSize(4194304), 4);
}

std::string OneRecordFile(std::size_t length) {
  std::ostringstream out;
  const LaheyLayout layout;
  out << layout.FileStart();
  layout.WriteRecord(out, std::vector<std::byte>(length, std::byte{0x5A}));
  return out.str();
}

std::uint8_t ByteAt(const std::string& bytes, std::size_t index) { return static_cast<std::uint8_t>(bytes[index]); }

TEST(LaheyLayout, HeaderMarkerOfThreeBytesForMoreThan16383Bytes) {
  const std::string file = OneRecordFile(20000);
  EXPECT_EQ(ByteAt(file, 0), kLaheySignature);
  // 20000 << 2 | 2 little-endian: the count of further bytes in the first byte.
  const std::uint32_t encoded = 20000u << 2 | 2u;
  EXPECT_EQ(ByteAt(file, 1), encoded & 0xFF);
  EXPECT_EQ(ByteAt(file, 2), (encoded >> 8) & 0xFF);
  EXPECT_EQ(ByteAt(file, 3), (encoded >> 16) & 0xFF);
}

TEST(LaheyLayout, TrailerOfThreeByteMarkerReadsBackwards) {
  const std::string file = OneRecordFile(20000);
  // Trailer value: data length plus the 3-byte header marker, written so
  // that the last byte is the lowest and holds the count of bytes before it.
  const std::uint32_t encoded = 20003u << 2 | 2u;
  const std::size_t end = file.size();
  ASSERT_EQ(end, 1 + 3 + 20000 + 3u);
  EXPECT_EQ(ByteAt(file, end - 1), encoded & 0xFF);
  EXPECT_EQ(ByteAt(file, end - 2), (encoded >> 8) & 0xFF);
  EXPECT_EQ(ByteAt(file, end - 3), (encoded >> 16) & 0xFF);
}

TEST(LaheyLayout, DamagedTrailerFailsTheSkip) {
  test::TempDir dir;
  std::string bytes = OneRecordFile(100);
  bytes[bytes.size() - 2] = static_cast<char>(bytes[bytes.size() - 2] ^ 0x10);
  test::WriteWholeFile(dir.File("damaged"), bytes);
  BinaryFile file;
  ASSERT_TRUE(file.Open(dir.File("damaged")));
  const LaheyLayout layout;
  RecordSpan span;
  ASSERT_TRUE(layout.ReadRecordHeader(file, 1, 100, span));
  EXPECT_FALSE(layout.SkipRecord(file, span));
}

TEST(LaheyLayout, HeaderMarkerCutByTheEndOfTheFileIsRefused) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("cut"), OneRecordFile(20000).substr(0, 2));
  BinaryFile file;
  ASSERT_TRUE(file.Open(dir.File("cut")));
  RecordSpan span;
  EXPECT_FALSE(LaheyLayout().ReadRecordHeader(file, 1, 20000, span));
}

}  // namespace
}  // namespace kestra
