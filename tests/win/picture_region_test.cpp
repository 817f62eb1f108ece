// The picture loader on real files, and the fast region against the one-union-per-run
// region on pictures of every kind.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "imaging/dib_layout.h"
#include "region_reference_win.h"
#include "reminder/region_win.h"
#include "toolkit/picture_win.h"
#include "win_test_util.h"

namespace norvel {
namespace {

constexpr COLORREF kBackground = RGB(0xF0, 0xF0, 0xF0);

std::string Picture(const char* name) {
  return NarrowLossy(testing::WindowsPathOf(std::string(NORVEL_PICTURES) + "/" + name));
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  return {info.bmWidth, info.bmHeight};
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  SelectionGuard select(dc.get(), bitmap);
  return GetPixel(dc.get(), x, y);
}

TEST(PictureLoader, EveryFormatBecomesABitmap) {
  struct Case {
    const char* file;
    SIZE size;
  };
  for (const Case& c :
       {Case{"shape.bmp", {40, 30}}, Case{"shape.png", {40, 30}}, Case{"photo.jpg", {64, 48}},
        Case{"anim.gif", {24, 16}}, Case{"icon.ico", {48, 48}}, Case{"page.tiff", {20, 10}}}) {
    const UniqueBitmap bitmap = LoadPicture(Picture(c.file), kBackground);
    ASSERT_TRUE(bitmap) << c.file;
    const SIZE size = BitmapSize(bitmap.get());
    EXPECT_EQ(size.cx, c.size.cx) << c.file;  // the largest icon, the first frame and page
    EXPECT_EQ(size.cy, c.size.cy) << c.file;
  }
  EXPECT_EQ(PixelOf(LoadPicture(Picture("anim.gif"), kBackground).get(), 1, 1), RGB(255, 0, 0));
}

TEST(PictureLoader, TransparentPixelsTakeTheBackgroundAndOpaqueOnesKeepTheirColour) {
  const UniqueBitmap png = LoadPicture(Picture("shape.png"), kBackground);
  ASSERT_TRUE(png);
  EXPECT_EQ(PixelOf(png.get(), 0, 29), kBackground);
  EXPECT_EQ(PixelOf(png.get(), 14, 14), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(png.get(), 32, 8), RGB(0, 0, 255));
  const UniqueBitmap bmp = LoadPicture(Picture("shape.bmp"), kBackground);
  EXPECT_EQ(PixelOf(bmp.get(), 0, 29), RGB(0, 255, 0));
  EXPECT_EQ(Composite(200, 255, 10), 200);
  EXPECT_EQ(Composite(200, 0, 10), 10);
}

TEST(PictureLoader, WhatIsNoPictureGivesNone) {
  EXPECT_FALSE(LoadPicture("", kBackground));
  EXPECT_FALSE(LoadPicture(Picture("missing.bmp"), kBackground));
  EXPECT_FALSE(LoadPicture(Picture("not-a-picture.bmp"), kBackground));
  EXPECT_FALSE(LoadPicture(NarrowLossy(testing::WindowsPathOf(NORVEL_PICTURES)), kBackground));
}

PROCESS_MEMORY_COUNTERS_EX MemoryNow() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  K32GetProcessMemoryInfo(GetCurrentProcess(),
                          reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  return counters;
}

// A 2.7 MB PNG that states, and unpacks to, 30000 x 30000 RGB pixels (2.7 GB) once drove the
// program to gigabytes. It is refused from its header: no decoder ever holds its pixels. Wine
// keeps no peak of private bytes; the peak working set also shows memory taken and given back
// within the call. The bound is generous: it is about gigabytes, not about speed.
TEST(PictureLoader, BombIsRefusedBeforeItsPixelsTakeMemory) {
  WIN32_FILE_ATTRIBUTE_DATA file{};
  ASSERT_TRUE(
      GetFileAttributesExW(Widen(Picture("bomb.png"))->c_str(), GetFileExInfoStandard, &file));
  ASSERT_GT(file.nFileSizeLow, 2'000'000u);  // the real bomb, not a header alone
  const PROCESS_MEMORY_COUNTERS_EX before = MemoryNow();
  EXPECT_FALSE(LoadPicture(Picture("bomb.png"), kBackground));
  const PROCESS_MEMORY_COUNTERS_EX after = MemoryNow();
  constexpr long long kBound = 100LL << 20;
  EXPECT_LT(static_cast<long long>(after.PeakWorkingSetSize) -
                static_cast<long long>(before.PeakWorkingSetSize),
            kBound);
  EXPECT_LT(static_cast<long long>(testing::PrivateBytes(after)) -
                static_cast<long long>(testing::PrivateBytes(before)),
            kBound);
}

// A bottom-up 24-bit picture in memory.
struct Pixels {
  int width, height, stride;
  std::vector<std::uint8_t> bytes;
  Pixels(int w, int h) : width(w), height(h), stride(BytesPerScanLine(w)), bytes(stride * h) {}
  void Set(int x, int row, std::uint32_t rgb) {
    std::uint8_t* p = bytes.data() + static_cast<std::size_t>(row) * stride + 3 * x;
    p[0] = static_cast<std::uint8_t>(rgb), p[1] = static_cast<std::uint8_t>(rgb >> 8),
    p[2] = static_cast<std::uint8_t>(rgb >> 16);
  }
  ConstByteView View() const { return {bytes.data(), stride, height}; }
};

Pixels ClipArt(int w, int h) {  // a few large shapes on a flat key background
  Pixels p(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int dx = x - w / 3, dy = y - h / 2;
      const bool disc = dx * dx + dy * dy < (h / 3) * (h / 3);
      const bool bar = x > w / 2 && x < w * 4 / 5 && (y / 7) % 3 != 0;
      p.Set(x, y, disc ? 0xFF0000 : bar ? 0x0000FF : 0x00FF00);
    }
  }
  return p;
}

Pixels PhotoLike(int w, int h, std::mt19937& rng) {  // key only in a few scattered spots
  Pixels p(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) p.Set(x, y, (x * 7 + y * 3 + (rng() & 3)) & 0xFFFFFF);
  }
  p.Set(0, 0, 0x00FF00);
  for (int i = 0; i < w * h / 400; ++i) p.Set(rng() % w, rng() % h, 0x00FF00);
  return p;
}

Pixels Noise(int w, int h) {  // every other pixel is the key
  Pixels p(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) p.Set(x, y, (x + y) % 2 == 0 ? 0x00FF00 : 0x334455);
  }
  return p;
}

void ExpectSameRegion(const Pixels& p, FrameMeasures frame) {
  const std::uint32_t key = KeyColour(p.View(), 1);
  int peak_regions = 0;
  const UniqueRegion fast =
      BuildPictureRegion(p.View(), p.width, p.height, key, frame, &peak_regions);
  const UniqueRegion slow =
      testing::BuildPictureRegionOneUnionPerRun(p.View(), p.width, p.height, key, frame);
  ASSERT_TRUE(fast);
  EXPECT_TRUE(EqualRgn(fast.get(), slow.get()));
  EXPECT_LE(peak_regions, 32);
}

TEST(PictureRegionWin, FastRegionEqualsOneUnionPerRun) {
  std::mt19937 rng(11);
  ExpectSameRegion(ClipArt(320, 200), {4, 27});
  ExpectSameRegion(PhotoLike(300, 160, rng), {3, 22});
  ExpectSameRegion(Noise(240, 120), {0, 0});
  for (int round = 0; round < 40; ++round) {
    Pixels p(1 + static_cast<int>(rng() % 60), 1 + static_cast<int>(rng() % 40));
    for (int y = 0; y < p.height; ++y) {
      for (int x = 0; x < p.width; ++x) p.Set(x, y, rng() % 3 ? 0x00FF00 : 0x000001);
    }
    p.Set(0, 0, 0x00FF00);
    if (p.width * p.height > 1) p.Set(p.width - 1, p.height - 1, 0x000001);
    ExpectSameRegion(p, {static_cast<int>(rng() % 5), static_cast<int>(rng() % 30)});
  }
}

TEST(PictureRegionWin, NoOpaquePixelGivesNoRegion) {
  Pixels p(8, 8);
  EXPECT_FALSE(BuildPictureRegion(p.View(), 8, 8, KeyColour(p.View(), 1), {3, 22}));
}

}  // namespace
}  // namespace norvel
