// Zeroed storage of the grid's arrays: small ones from the heap, large ones
// from pages of their own, both all zero, copied whole and given back.
#include "core/zeroed_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "core/cell_array.h"

#include <sys/mman.h>
#include <unistd.h>

namespace kestra {
namespace {

bool AllZero(const ZeroedBuffer<float>& buffer) {
  return std::all_of(buffer.begin(), buffer.end(), [](float v) { return v == 0; });
}

// On both sides of the size from which an array gets pages of its own (1 MB).
TEST(ZeroedBuffer, IsAllZeroAndCopiesAndMovesWholeAtEverySize) {
  constexpr std::size_t kOwnPages = (std::size_t{1} << 20) / sizeof(float);
  for (const std::size_t size : {std::size_t{1}, std::size_t{1000}, kOwnPages - 1, kOwnPages, 3 * kOwnPages + 7}) {
    ZeroedBuffer<float> buffer(size);
    ASSERT_EQ(buffer.size(), size);
    EXPECT_TRUE(AllZero(buffer)) << size;
    buffer[0] = 1;
    buffer[size - 1] = 2;
    ZeroedBuffer<float> copy = buffer;
    EXPECT_EQ(copy, buffer) << size;
    EXPECT_NE(copy.data(), buffer.data());
    copy[size / 2] = 3;
    EXPECT_FALSE(copy == buffer) << size;
    const ZeroedBuffer<float> moved = std::move(copy);
    EXPECT_TRUE(copy.empty());
    EXPECT_EQ(moved[size / 2], 3) << size;
  }
  EXPECT_TRUE(ZeroedBuffer<float>(0).empty());
  EXPECT_EQ(ZeroedBuffer<float>(0).data(), nullptr);
}

// Sizes that take whole huge pages, the last one in part, and one whose
// last part is too small for that: all of what was mapped is given back.
TEST(ZeroedPages, AreAlignedToAHugePageZeroAndGivenBackWhole) {
  constexpr std::size_t kHugePage = std::size_t{2} << 20;
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  const std::size_t oddSize = (std::size_t{5} << 20) + 123;
  const struct {
    std::size_t bytes, mapped;
  } kCases[] = {{kHugePage, kHugePage},
                {4000000, 2 * kHugePage},
                {oddSize, (oddSize + page - 1) / page * page}};
  for (const auto& c : kCases) {
    auto* data = static_cast<unsigned char*>(MapZeroedPages(c.bytes));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data) % kHugePage, 0u) << c.bytes;
    EXPECT_TRUE(std::all_of(data, data + c.bytes, [](unsigned char b) { return b == 0; })) << c.bytes;
    data[c.bytes - 1] = 1;  // the last byte asked for is writable
    unsigned char resident = 0;
    ASSERT_EQ(mincore(data + c.mapped - page, 1, &resident), 0) << c.bytes << ": the last page is not mapped";
    UnmapZeroedPages(data, c.bytes);
    for (std::size_t at = 0; at < c.mapped; at += page)
      ASSERT_EQ(mincore(data + at, 1, &resident), -1) << c.bytes << ": still mapped at " << at;
  }
}

TEST(PagedVector, StartsALargeArrayAtAHugePageAndKeepsItsValuesAsItGrows) {
  PagedVector<std::int32_t> values;
  for (std::int32_t n = 0; n < 3000000; ++n) values.push_back(n);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(values.data()) % (std::size_t{2} << 20), 0u);
  for (std::int32_t n = 0; n < 3000000; n += 999) ASSERT_EQ(values[static_cast<std::size_t>(n)], n);
  const PagedVector<std::int32_t> copy = values;
  EXPECT_EQ(copy, values);
}

// An array dimensioned again is all zero, whatever it held before.
TEST(CellArray, DimensionedAgainIsAllZero) {
  CellArray<float> heads;
  const GridShape shape{200, 200, 10};
  heads.Dimension(shape);
  std::fill(heads.values.begin(), heads.values.end(), 7.5f);
  heads.Dimension(shape);
  EXPECT_TRUE(AllZero(heads.values));
  EXPECT_EQ(heads.values.size(), shape.Size());
}

}  // namespace
}  // namespace kestra
