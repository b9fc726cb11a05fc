#include "results/record_layout.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

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

INSTANTIATE_TEST_SUITE_P(RecordLayout, EveryLayout,
                         testing::Values(ResultFileFormat::PowerStation, ResultFileFormat::Lahey,
                                         ResultFileFormat::Sequential, ResultFileFormat::Stream),
                         [](const auto& info) {
                           switch (info.param) {
                             case ResultFileFormat::PowerStation: return std::string("PowerStation");
                             case ResultFileFormat::Lahey: return std::string("Lahey");
                             case ResultFileFormat::Sequential: return std::string("Sequential");
                             case ResultFileFormat::Stream: break;
                           }
                           return std::string("Stream");
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

}  // namespace
}  // namespace kestra
