#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "imaging/byte_view.h"
#include "imaging/dib_layout.h"
#include "imaging/errors.h"
#include "imaging/image_bits.h"

namespace norvel {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(BytesPerScanLine, RoundsThreeBytesPerPixelUpToAMultipleOfFour) {
  const std::int32_t expected[] = {0, 4, 8, 12, 12, 16, 20, 24};
  for (std::int32_t width = 0; width < 8; ++width) {
    EXPECT_EQ(BytesPerScanLine(width), expected[width]) << "width " << width;
  }
  EXPECT_EQ(SizeImage(5, 3), 48);
  EXPECT_EQ(SizeImage(4, 2), 24);
  EXPECT_EQ(SizeImage(1, 1), 4);
}

TEST(BytesPerScanLine, OverflowsAtTheEdgeOfTheSigned32BitRange) {
  EXPECT_EQ(BytesPerScanLine(715827881), 2147483644);         // 2147483643 + 3 fits
  EXPECT_THROW(BytesPerScanLine(715827882), OverflowError);   // 2147483646 + 3 does not
  EXPECT_THROW(BytesPerScanLine(715827883), OverflowError);   // width * 3 does not
  EXPECT_EQ(BytesPerScanLine(-715827882), -2147483644);       // -2147483646 + 3 fits
  EXPECT_THROW(BytesPerScanLine(-715827883), OverflowError);  // width * 3 does not
  EXPECT_THROW(BytesPerScanLine(kMin), OverflowError);
}

TEST(SizeImage, OverflowsWhenStrideTimesHeightLeavesTheRange) {
  EXPECT_EQ(SizeImage(1, 536870911), 2147483644);
  EXPECT_THROW(SizeImage(1, 536870912), OverflowError);
  EXPECT_EQ(SizeImage(1, -536870912), kMin);
  EXPECT_THROW(SizeImage(1, -536870913), OverflowError);
  EXPECT_THROW(SizeImage(715827882, 1), OverflowError);  // the stride itself
}

TEST(ByteView, FirstIndexIsTheByteInTheRowSecondTheMemoryRow) {
  std::vector<std::uint8_t> memory(48, 0);
  const ByteView view(memory.data(), 16, 3);
  view(15, 2) = 7;
  view(0, 1) = 9;
  EXPECT_EQ(memory[47], 7);
  EXPECT_EQ(memory[16], 9);
  EXPECT_EQ(view.Row(1).data(), memory.data() + 16);
  EXPECT_EQ(view.Row(1).size(), 16u);
  const ConstByteView read_only = view;
  EXPECT_EQ(read_only(15, 2), 7);
}

TEST(ByteView, IndexOutsideTheViewThrowsAndTouchesNoMemory) {
  std::vector<std::uint8_t> memory(48, 0xAB);
  const ByteView view(memory.data(), 16, 3);
  const std::int32_t outside[][2] = {{-1, 0}, {16, 0}, {0, -1}, {0, 3}, {kMin, kMin}};
  for (const auto& index : outside) {
    EXPECT_THROW(view(index[0], index[1]) = 0, OutOfRangeError) << index[0] << ", " << index[1];
  }
  EXPECT_THROW(view.Row(3), OutOfRangeError);
  EXPECT_THROW(view.Row(-1), OutOfRangeError);
  EXPECT_EQ(memory, std::vector<std::uint8_t>(48, 0xAB));
}

TEST(ByteView, ImageWithoutPixelMemoryGivesAnEmptyView) {
  // The header of a failed create still has a size; its view must not reach address 0.
  const ByteView view = ImageBits{nullptr, 10, 10}.View();
  EXPECT_TRUE(view.Empty());
  EXPECT_EQ(view.Rows(), 0);
  EXPECT_THROW(view(0, 0), OutOfRangeError);
}

TEST(ImageBits, ViewCoversHeightRowsOfTheStride) {
  std::vector<std::uint8_t> memory(48);
  const ByteView view = ImageBits{memory.data(), 5, 3}.View();
  EXPECT_EQ(view.Stride(), 16);
  EXPECT_EQ(view.Rows(), 3);
  EXPECT_THROW((ImageBits{memory.data(), 715827882, 1}.View()), OverflowError);
}

}  // namespace
}  // namespace norvel
