// Zeroed storage of the grid's arrays: small ones from the heap, large ones
// from pages of their own, both all zero, copied whole and given back.
#include "core/zeroed_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "core/cell_array.h"

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

TEST(ZeroedPages, AreAlignedToAHugePageAndZero) {
  constexpr std::size_t kBytes = (std::size_t{5} << 20) + 123;
  auto* bytes = static_cast<unsigned char*>(MapZeroedPages(kBytes));
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bytes) % (std::size_t{2} << 20), 0u);
  EXPECT_TRUE(std::all_of(bytes, bytes + kBytes, [](unsigned char b) { return b == 0; }));
  bytes[kBytes - 1] = 1;  // the last byte asked for is writable
  UnmapZeroedPages(bytes, kBytes);
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
