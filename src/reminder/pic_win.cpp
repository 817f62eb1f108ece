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

void ShapeWindowToPicture(HWND frmTarget, HBITMAP picture, std::int32_t lKeyColor) {
  cDIBSection dib;
  dib.CreateFromPicture(picture);
  const int W = dib.Width();
  const int H = dib.Height();

  RECT outer{}, client{};
  GetWindowRect(frmTarget, &outer);
  GetClientRect(frmTarget, &client);
  const FrameMeasures frame =
      MeasureFrame(outer.right - outer.left, client.right, outer.bottom - outer.top, client.bottom);

  // The client area becomes exactly the picture; the position stays.
  SetWindowPos(frmTarget, nullptr, 0, 0, CheckedSum(W + 2LL * frame.F),
               CheckedSum(static_cast<long long>(frame.F) + H + frame.T),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  const ConstByteView pixels(dib.DIBSectionBitsPtr(), dib.BytesPerScanLine(), H);
  const std::uint32_t key = KeyColour(pixels, lKeyColor);
  UniqueRegion region = BuildPictureRegion(pixels, W, H, key, frame);
  // The system owns the region once it accepted it; otherwise the wrapper deletes it.
  if (region && SetWindowRgn(frmTarget, region.get(), TRUE)) (void)region.release();
}

}  // namespace norvel
