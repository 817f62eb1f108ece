#include "imaging/cDIBSection_win.h"

#include <string_view>
#include <utility>

#include "imaging/dib_layout.h"
#include "imaging/randomise.h"
#include "imaging/resample.h"
#include "toolkit/controls_win.h"

namespace norvel {
namespace {

constexpr std::string_view kClipboardTitle = "Norvel";
constexpr std::string_view kNoDibOnClipboard =
    "I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!";

// Noise fills are seeded from the local time of day.
float SecondsSinceMidnightNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return SecondsSinceMidnight(now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
}

}  // namespace

cDIBSection::cDIBSection(cDIBSection&& other) noexcept
    : dibHandle(std::move(other.dibHandle)),
      previousBitmap(std::exchange(other.previousBitmap, nullptr)),
      memoryDC(std::move(other.memoryDC)),
      bitsPointer(std::exchange(other.bitsPointer, nullptr)),
      bitmapInfo(other.bitmapInfo) {}

cDIBSection& cDIBSection::operator=(cDIBSection&& other) noexcept {
  if (this != &other) {
    ClearUp();
    dibHandle = std::move(other.dibHandle);
    previousBitmap = std::exchange(other.previousBitmap, nullptr);
    memoryDC = std::move(other.memoryDC);
    bitsPointer = std::exchange(other.bitsPointer, nullptr);
    bitmapInfo = other.bitmapInfo;
  }
  return *this;
}

bool cDIBSection::CopyToClipboard(bool bAsDIB) const {
  const WindowDc screen(GetDesktopWindow());
  if (!screen) return false;
  const UniqueMemoryDc work(CreateCompatibleDC(screen.get()));
  if (!work) return false;
  if (bAsDIB) {
    ShowMessageBox(nullptr, kNoDibOnClipboard, kClipboardTitle, MB_OK);
    return false;
  }
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), Width(), Height()));
  if (!bitmap) return false;
  {
    const SelectionGuard selected(work.get(), bitmap.get());
    PaintPicture(work.get());
  }
  // The clipboard needs an owner window: without one, Windows lets EmptyClipboard leave no
  // owner, and SetClipboardData then fails. A hidden message-only window of our own serves
  // for the copy; the data stays on the clipboard after the window is gone.
  const UniqueWindow owner(CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                           GetModuleHandleW(nullptr), nullptr));
  if (!owner || !OpenClipboard(owner.get())) return false;  // the bitmap is deleted on return
  EmptyClipboard();
  const bool accepted = SetClipboardData(CF_BITMAP, bitmap.get()) != nullptr;
  // Once accepted the clipboard owns the bitmap; a refused one is still ours to delete.
  if (accepted) static_cast<void>(bitmap.release());
  CloseClipboard();
  return accepted;
}

bool cDIBSection::CreateDIB(HDC lHDC, std::int32_t lWidth, std::int32_t lHeight,
                            UniqueBitmap& hDib) {
  BITMAPINFOHEADER& header = bitmapInfo.bmiHeader;
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = lWidth;
  header.biHeight = lHeight;  // positive: rows bottom-up in memory
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(SizeImage(lWidth, lHeight));
  void* bits = nullptr;
  hDib.reset(CreateDIBSection(lHDC, &bitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0));
  bitsPointer = hDib ? static_cast<std::uint8_t*>(bits) : nullptr;
  return static_cast<bool>(hDib);
}

void cDIBSection::CreateFromPicture(HBITMAP picThis) {
  // Only a bitmap's size is read; any other object (or none) counts as an empty picture.
  BITMAP picture{};
  if (picThis != nullptr && GetObjectType(picThis) == OBJ_BITMAP) {
    GetObjectW(picThis, sizeof picture, &picture);
  }
  if (!Create(picture.bmWidth, picture.bmHeight)) return;
  UniqueMemoryDc work;
  {
    const WindowDc screen(GetDesktopWindow());
    if (!screen) return;
    work.reset(CreateCompatibleDC(screen.get()));
  }
  if (!work) return;
  const SelectionGuard selected(work.get(), picThis);
  LoadPictureBlt(work.get());
}

bool cDIBSection::Create(std::int32_t lWidth, std::int32_t lHeight) {
  // An existing image is never reused, even at the same size.
  ClearUp();
  // Held locally until the DIB section is made, so that a failure or an overflow error
  // leaves the object empty instead of holding a memory DC without an image.
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return false;
  UniqueBitmap dib;
  if (!CreateDIB(dc.get(), lWidth, lHeight, dib)) return false;
  previousBitmap = SelectObject(dc.get(), dib.get());
  memoryDC = std::move(dc);
  dibHandle = std::move(dib);
  return true;
}

std::int32_t cDIBSection::BytesPerScanLine() const {
  return norvel::BytesPerScanLine(Width());
}

void cDIBSection::LoadPictureBlt(HDC lHDC, std::int32_t lSrcLeft, std::int32_t lSrcTop,
                                 std::int32_t lSrcWidth, std::int32_t lSrcHeight, DWORD eRop) {
  const std::int32_t width = lSrcWidth < 0 ? Width() : lSrcWidth;
  const std::int32_t height = lSrcHeight < 0 ? Height() : lSrcHeight;
  BitBlt(memoryDC.get(), 0, 0, width, height, lHDC, lSrcLeft, lSrcTop, eRop);
  // GDI may batch the drawing; the pixel memory must hold the result before anyone reads it.
  GdiFlush();
}

void cDIBSection::PaintPicture(HDC lHDC, std::int32_t lDestLeft, std::int32_t lDestTop,
                               std::int32_t lDestWidth, std::int32_t lDestHeight,
                               std::int32_t lSrcLeft, std::int32_t lSrcTop, DWORD eRop) const {
  const std::int32_t width = lDestWidth < 0 ? Width() : lDestWidth;
  const std::int32_t height = lDestHeight < 0 ? Height() : lDestHeight;
  BitBlt(lHDC, lDestLeft, lDestTop, width, height, memoryDC.get(), lSrcLeft, lSrcTop, eRop);
}

void cDIBSection::RandomiseBits(bool bGray) {
  if (bitsPointer == nullptr) return;
  GdiFlush();
  norvel::RandomiseBits(Bits(), bGray, SecondsSinceMidnightNow());
}

void cDIBSection::ClearUp() noexcept {
  // The DIB section is selected out of the memory DC before it is deleted.
  if (memoryDC && dibHandle) SelectObject(memoryDC.get(), previousBitmap);
  dibHandle.reset();
  memoryDC.reset();
  previousBitmap = nullptr;
  bitsPointer = nullptr;
}

std::optional<cDIBSection> cDIBSection::Resample(std::int32_t lNewHeight,
                                                 std::int32_t lNewWidth) const {
  if (lNewHeight < 0 || lNewWidth < 0) return std::nullopt;
  cDIBSection target;
  if (!target.Create(lNewWidth, lNewHeight)) return std::nullopt;
  if (lNewWidth == Width() && lNewHeight == Height()) {
    target.LoadPictureBlt(memoryDC.get());
  } else {
    ResampleInto(target);
  }
  return target;
}

void cDIBSection::ResampleInto(cDIBSection& target) const {
  GdiFlush();
  norvel::ResampleInto(Bits(), target.Bits());
}

}  // namespace norvel
