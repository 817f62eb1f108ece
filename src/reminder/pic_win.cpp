#include "reminder/pic_win.h"

#include <limits>

#include "imaging/cDIBSection_win.h"
#include "imaging/errors.h"
#include "reminder/pic.h"
#include "reminder/region_win.h"

namespace norvel {
namespace {

int CheckedSum(long long value) {
  if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min()) {
    throw OverflowError("window size out of range");
  }
  return static_cast<int>(value);
}

}  // namespace

PictureOutline OutlineOf(HBITMAP picture, std::int32_t lKeyColor) {
  cDIBSection dib;
  dib.CreateFromPicture(picture);
  PictureOutline outline;
  outline.width = dib.Width();
  outline.height = dib.Height();
  // An empty picture (not a bitmap) has no key pixel and no outline: the window shrinks to
  // its bare frame.
  if (outline.width <= 0 || outline.height <= 0) return outline;
  const ConstByteView pixels(dib.DIBSectionBitsPtr(), dib.BytesPerScanLine(), outline.height);
  const std::uint32_t key = KeyColour(pixels, lKeyColor);
  outline.region = BuildPictureRegion(pixels, outline.width, outline.height, key, {0, 0});
  return outline;
}

void ApplyOutline(HWND window, const PictureOutline& outline) {
  RECT outer{}, client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  const FrameMeasures frame =
      MeasureFrame(outer.right - outer.left, client.right, outer.bottom - outer.top, client.bottom);

  // The client area becomes exactly the picture; the position stays.
  SetWindowPos(window, nullptr, 0, 0, CheckedSum(outline.width + 2LL * frame.F),
               CheckedSum(static_cast<long long>(frame.F) + outline.height + frame.T),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!outline.region) return;
  // A copy, moved past the frame: the outline may serve again at the next load.
  UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  if (!region || CombineRgn(region.get(), outline.region.get(), nullptr, RGN_COPY) == ERROR) return;
  OffsetRgn(region.get(), frame.F, frame.T);
  // The system owns the region once it accepted it; otherwise the wrapper deletes it.
  if (SetWindowRgn(window, region.get(), TRUE)) (void)region.release();
}

void ShapeWindowToPicture(HWND frmTarget, HBITMAP picture, std::int32_t lKeyColor) {
  ApplyOutline(frmTarget, OutlineOf(picture, lKeyColor));
}

}  // namespace norvel
