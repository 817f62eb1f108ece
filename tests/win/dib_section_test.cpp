// The image class against the real GDI (as Wine provides it): its states, the copies to and
// from device contexts, resampling and noise on the DIB section's own memory.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "dib_test_util.h"
#include "gdi_object_count.h"
#include "imaging/cDIBSection_win.h"
#include "imaging/errors.h"
#include "imaging/resample.h"

namespace norvel {
namespace {

using testing::Canvas;
using testing::DibByte;
using testing::DibBytes;
using testing::DibPixel;
using testing::FillPattern;

void ExpectEmpty(const cDIBSection& dib) {
  EXPECT_EQ(dib.hdc(), nullptr);
  EXPECT_EQ(dib.hDib(), nullptr);
  EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
}

TEST(DibSection, CreateHoldsABottomUpSectionInItsOwnDcAndClearUpReleasesIt) {
  cDIBSection dib;
  ExpectEmpty(dib);
  EXPECT_EQ(dib.Width(), 0);
  ASSERT_TRUE(dib.Create(5, 3));
  EXPECT_EQ(dib.BytesPerScanLine(), 16);
  EXPECT_EQ(GetObjectType(dib.hdc()), static_cast<DWORD>(OBJ_MEMDC));
  EXPECT_EQ(GetCurrentObject(dib.hdc(), OBJ_BITMAP), dib.hDib());
  DIBSECTION section{};
  ASSERT_EQ(GetObjectW(dib.hDib(), sizeof section, &section), static_cast<int>(sizeof section));
  EXPECT_EQ(section.dsBm.bmBits, dib.DIBSectionBitsPtr());
  EXPECT_EQ(section.dsBm.bmWidthBytes, 16);
  EXPECT_EQ(section.dsBmih.biBitCount, 24);
  EXPECT_EQ(section.dsBmih.biHeight, 3);  // positive: bottom-up

  const HDC old_dc = dib.hdc();
  const HBITMAP old_dib = dib.hDib();
  dib.ClearUp();
  ExpectEmpty(dib);
  EXPECT_EQ(dib.Width(), 5);
  EXPECT_EQ(dib.Height(), 3);
  EXPECT_EQ(GetObjectType(old_dc), 0u);
  EXPECT_EQ(GetObjectType(old_dib), 0u);
  dib.RandomiseBits();  // a size but no pixel memory: nothing is written

  ASSERT_TRUE(dib.Create(1, 1));
  EXPECT_EQ(dib.BytesPerScanLine(), 4);
  ASSERT_TRUE(dib.Create(4, 2));
  EXPECT_EQ(dib.BytesPerScanLine(), 12);
}

TEST(DibSection, SecondCreateReleasesTheFirstImageEvenAtTheSameSize) {
  cDIBSection dib;
  ASSERT_TRUE(dib.Create(8, 8));
  const auto count = testing::GdiObjectCount();
  const HDC first_dc = dib.hdc();
  const HBITMAP first_dib = dib.hDib();
  ASSERT_TRUE(dib.Create(8, 8));
  EXPECT_EQ(GetObjectType(first_dc), 0u);
  EXPECT_EQ(GetObjectType(first_dib), 0u);
  EXPECT_EQ(testing::GdiObjectCount(), count);
}

TEST(DibSection, FailedCreateLeavesTheObjectEmptyWithTheRequestedSize) {
  cDIBSection dib;
  ASSERT_TRUE(dib.Create(8, 8));
  EXPECT_FALSE(dib.Create(0, 10));  // no DIB section is 0 pixels wide
  ExpectEmpty(dib);
  EXPECT_EQ(dib.Width(), 0);
  EXPECT_EQ(dib.Height(), 10);
  EXPECT_FALSE(dib.Create(-3, 4));
  ExpectEmpty(dib);
}

TEST(DibSection, OverflowInCreateLeavesTheObjectEmpty) {
  // The memory DC made before the error is released, not kept without an image.
  testing::WarmUpGdi();
  cDIBSection dib;
  const auto count = testing::GdiObjectCount();
  ASSERT_TRUE(dib.Create(4, 4));
  EXPECT_THROW(dib.Create(0x7FFFFFFF / 3 + 1, 1), OverflowError);  // the row's bytes
  ExpectEmpty(dib);
  EXPECT_EQ(dib.Width(), 0x7FFFFFFF / 3 + 1);
  EXPECT_THROW(dib.Create(100000, 100000), OverflowError);  // the image's bytes
  ExpectEmpty(dib);
  EXPECT_EQ(dib.Height(), 100000);
  EXPECT_EQ(testing::GdiObjectCount(), count);
}

TEST(DibSection, CreateFromPictureCopiesTheBitmapWithRowsBottomUp) {
  const WindowDc screen(GetDesktopWindow());
  UniqueBitmap picture(CreateCompatibleBitmap(screen.get(), 3, 2));
  {
    const UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    const SelectionGuard selected(dc.get(), picture.get());
    PatBlt(dc.get(), 0, 0, 3, 2, WHITENESS);
    SetPixel(dc.get(), 0, 1, RGB(255, 0, 0));  // bottom-left
    SetPixel(dc.get(), 2, 0, RGB(0, 0, 255));  // top-right
  }
  cDIBSection dib;
  dib.CreateFromPicture(picture.get());
  ASSERT_NE(dib.DIBSectionBitsPtr(), nullptr);
  EXPECT_EQ(dib.Width(), 3);
  EXPECT_EQ(dib.Height(), 2);
  const std::uint8_t* bits = dib.DIBSectionBitsPtr();
  EXPECT_EQ((std::vector<int>{bits[0], bits[1], bits[2]}), (std::vector<int>{0, 0, 255}));
  EXPECT_EQ(DibPixel(dib, 2, 1), 0x0000FFu);
  EXPECT_EQ(DibPixel(dib, 1, 0), 0xFFFFFFu);
  // The picture is selected back out of the work DC: it can be selected elsewhere.
  const UniqueMemoryDc other(CreateCompatibleDC(nullptr));
  const HGDIOBJ previous = SelectObject(other.get(), picture.get());
  EXPECT_NE(previous, nullptr);
  SelectObject(other.get(), previous);
}

TEST(DibSection, EmptyPictureOrOtherObjectLeavesTheObjectEmpty) {
  cDIBSection dib;
  ASSERT_TRUE(dib.Create(4, 4));
  dib.CreateFromPicture(nullptr);
  ExpectEmpty(dib);
  EXPECT_EQ(dib.Width(), 0);
  EXPECT_EQ(dib.Height(), 0);
  // A brush's description must not be read as a size.
  const UniqueBrush brush(CreateHatchBrush(HS_CROSS, RGB(10, 20, 0)));
  dib.CreateFromPicture(reinterpret_cast<HBITMAP>(brush.get()));
  ExpectEmpty(dib);
  EXPECT_EQ(dib.Width(), 0);
}

TEST(DibSection, PaintPictureAndLoadPictureBltRoundTripThroughADc) {
  cDIBSection source;
  ASSERT_TRUE(source.Create(7, 5));
  FillPattern(source);
  Canvas canvas(20, 12, 0x111111);

  source.PaintPicture(canvas.dc());  // whole image to the top-left corner
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 20; ++x) {
      const std::uint32_t expected = x < 7 && y < 5 ? DibPixel(source, x, 4 - y) : 0x111111;
      ASSERT_EQ(canvas.Pixel(x, y), expected) << x << "," << y;
    }
  }
  cDIBSection copy;
  ASSERT_TRUE(copy.Create(7, 5));
  copy.LoadPictureBlt(canvas.dc());
  EXPECT_EQ(DibBytes(copy), DibBytes(source));

  // A part of the image to a place in the DC, and back to the image's top-left corner.
  canvas.Fill(0x111111);
  source.PaintPicture(canvas.dc(), 10, 6, 3, 2, 1, 2);
  EXPECT_EQ(canvas.Pixel(10, 6), DibPixel(source, 1, 2));
  EXPECT_EQ(canvas.Pixel(12, 7), DibPixel(source, 3, 1));
  EXPECT_EQ(canvas.Pixel(13, 7), 0x111111u);
  EXPECT_EQ(canvas.Pixel(10, 8), 0x111111u);
  const std::vector<std::uint8_t> before = DibBytes(copy);
  copy.LoadPictureBlt(canvas.dc(), 10, 6, 3, 2);
  EXPECT_EQ(DibPixel(copy, 0, 4), DibPixel(source, 1, 2));
  EXPECT_EQ(DibPixel(copy, 2, 3), DibPixel(source, 3, 1));
  EXPECT_EQ(DibPixel(copy, 3, 4), DibPixel(source, 3, 4));  // outside the copy: unchanged
  EXPECT_EQ(DibPixel(copy, 0, 2), DibPixel(source, 0, 2));

  // A width or height of 0 copies nothing.
  canvas.Fill(0x222222);
  source.PaintPicture(canvas.dc(), 0, 0, 0, -1);
  source.PaintPicture(canvas.dc(), 0, 0, -1, 0);
  EXPECT_EQ(canvas.Pixel(0, 0), 0x222222u);
  EXPECT_EQ(canvas.Pixel(6, 4), 0x222222u);
  const std::vector<std::uint8_t> kept = DibBytes(copy);
  copy.LoadPictureBlt(canvas.dc(), 0, 0, 0, -1);
  copy.LoadPictureBlt(canvas.dc(), 0, 0, -1, 0);
  EXPECT_EQ(DibBytes(copy), kept);
  EXPECT_NE(kept, before);
}

TEST(DibSection, ResampleMakesANewImageHeightFirst) {
  cDIBSection source;
  ASSERT_TRUE(source.Create(9, 4));
  FillPattern(source);
  const std::vector<std::uint8_t> source_bytes = DibBytes(source);
  const std::optional<cDIBSection> resampled = source.Resample(3, 7);
  ASSERT_TRUE(resampled.has_value());
  EXPECT_EQ(resampled->Width(), 7);
  EXPECT_EQ(resampled->Height(), 3);
  std::vector<std::uint8_t> expected(static_cast<std::size_t>(24 * 3), 0);
  ResampleIntoReference({source.DIBSectionBitsPtr(), 9, 4}, {expected.data(), 7, 3});
  EXPECT_EQ(DibBytes(*resampled), expected);
  EXPECT_EQ(DibBytes(source), source_bytes);

  // The same size is an exact copy, down to a single pixel.
  const std::optional<cDIBSection> same = source.Resample(4, 9);
  ASSERT_TRUE(same.has_value());
  EXPECT_NE(same->hDib(), source.hDib());
  EXPECT_EQ(DibBytes(*same), source_bytes);
  cDIBSection pixel;
  ASSERT_TRUE(pixel.Create(1, 1));
  DibByte(pixel, 0, 0, 2) = 200;
  const std::optional<cDIBSection> pixel_copy = pixel.Resample(1, 1);
  ASSERT_TRUE(pixel_copy.has_value());
  EXPECT_EQ(DibPixel(*pixel_copy, 0, 0), 0xC80000u);
}

TEST(DibSection, ResampleRefusesSizesItCannotMake) {
  cDIBSection narrow, low;
  ASSERT_TRUE(narrow.Create(1, 5));
  ASSERT_TRUE(low.Create(5, 1));
  const auto count = testing::GdiObjectCount();
  EXPECT_THROW(static_cast<void>(narrow.Resample(3, 3)), OutOfRangeError);
  EXPECT_THROW(static_cast<void>(low.Resample(3, 3)), OutOfRangeError);
  EXPECT_EQ(testing::GdiObjectCount(), count);  // the new image was destroyed
  EXPECT_FALSE(low.Resample(0, 10).has_value());
  EXPECT_FALSE(low.Resample(-1, 5).has_value());
  EXPECT_FALSE(low.Resample(5, -1).has_value());
}

TEST(DibSection, RandomiseBitsFillsThePixelsAndKeepsTheRowPadding) {
  cDIBSection dib;
  ASSERT_TRUE(dib.Create(5, 4));  // stride 16: byte 15 of each row is padding
  std::memset(dib.DIBSectionBitsPtr(), 0x77, 16 * 4);
  dib.RandomiseBits(true);
  int unchanged = 0;
  for (int y = 0; y < 4; ++y) {
    EXPECT_EQ(dib.DIBSectionBitsPtr()[y * 16 + 15], 0x77);
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(DibByte(dib, x, y, 0), DibByte(dib, x, y, 1));
      EXPECT_EQ(DibByte(dib, x, y, 0), DibByte(dib, x, y, 2));
      unchanged += DibByte(dib, x, y, 0) == 0x77 ? 1 : 0;
    }
  }
  EXPECT_LT(unchanged, 20);
  dib.RandomiseBits();
  for (int y = 0; y < 4; ++y) {
    EXPECT_EQ(dib.DIBSectionBitsPtr()[y * 16 + 15], 0x77);
    for (int x = 0; x < 5; ++x) EXPECT_EQ(DibByte(dib, x, y, 0), 0);
  }
}

TEST(DibSection, MovingHandsTheImageOver) {
  cDIBSection first;
  ASSERT_TRUE(first.Create(6, 2));
  const HBITMAP section = first.hDib();
  cDIBSection second(std::move(first));
  ExpectEmpty(first);
  EXPECT_EQ(second.hDib(), section);
  cDIBSection third;
  ASSERT_TRUE(third.Create(3, 3));
  const HDC replaced = third.hdc();
  third = std::move(second);
  EXPECT_EQ(GetObjectType(replaced), 0u);  // the image it held is released
  EXPECT_EQ(third.hDib(), section);
  EXPECT_EQ(third.Width(), 6);
}

// Create, fill, resample (to another size and to the same size) and destroy, many times:
// the process holds as many GDI objects afterwards as before.
TEST(DibSectionLeaks, CreateFillResampleDestroyCyclesLeaveNoObjects) {
  const auto run = [](int cycles) {
    for (int i = 0; i < cycles; ++i) {
      cDIBSection dib;
      ASSERT_TRUE(dib.Create(2 + i % 11, 2 + i % 7)) << "cycle " << i;
      dib.RandomiseBits(i % 2 == 0);
      const auto other = dib.Resample(1 + i % 5, 3 + i % 9);
      ASSERT_TRUE(other.has_value()) << "cycle " << i;
      if (i % 10 == 0) {
        ASSERT_TRUE(dib.Resample(dib.Height(), dib.Width()).has_value());
      }
    }
  };
  run(1);  // GDI makes its first objects of a kind lazily
  const auto before = testing::GdiObjectCount();
  if (!before) {
    // No count here (Wine's 32-bit build): a leak would exhaust the handle table instead.
    run(testing::kCyclesBeyondHandleLimit);
    return;
  }
  run(10000);
  EXPECT_EQ(testing::GdiObjectCount(), before);
}

}  // namespace
}  // namespace norvel
