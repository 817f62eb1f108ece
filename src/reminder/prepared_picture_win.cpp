#include "reminder/prepared_picture_win.h"

#include <objbase.h>

#include <algorithm>
#include <chrono>

#include "imaging/cDIBSection_win.h"
#include "reminder/pic.h"
#include "reminder/pic_win.h"
#include "reminder/region_win.h"
#include "toolkit/picture_win.h"
#include "toolkit/text_win.h"

namespace norvel {
namespace {

bool IsReady(const std::shared_future<std::shared_ptr<const PreparedPicture>>& result) {
  return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

// The outline with no frame: the region ShapeWindowToPicture builds, less the frame offset.
void Cut(PreparedPicture& prepared) {
  cDIBSection dib;
  dib.CreateFromPicture(prepared.bitmap.get());
  const int width = dib.Width(), height = dib.Height();
  const ConstByteView pixels(dib.DIBSectionBitsPtr(), dib.BytesPerScanLine(), height);
  prepared.outline = BuildPictureRegion(pixels, width, height, KeyColour(pixels, 1), {0, 0});
  prepared.width = width;
  prepared.height = height;
  prepared.bytes =
      static_cast<std::size_t>(dib.BytesPerScanLine()) * static_cast<std::size_t>(height);
  if (prepared.outline) prepared.bytes += GetRegionData(prepared.outline.get(), 0, nullptr);
  prepared.cut = true;
}

}  // namespace

PictureStamp StampOf(const std::string& path, COLORREF background) {
  PictureStamp stamp;
  stamp.path = path;
  stamp.background = background;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  const auto wide = Widen(path);
  if (!path.empty() && wide && GetFileAttributesExW(wide->c_str(), GetFileExInfoStandard, &data)) {
    stamp.exists = true;
    stamp.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    stamp.last_write = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                       data.ftLastWriteTime.dwLowDateTime;
  }
  return stamp;
}

std::shared_ptr<const PreparedPicture> PreparePicture(const std::string& path,
                                                      COLORREF background) {
  auto prepared = std::make_shared<PreparedPicture>();
  prepared->stamp = StampOf(path, background);
  prepared->bitmap = LoadPicture(path, background);
  if (prepared->bitmap) {
    try {
      Cut(*prepared);
    } catch (...) {
      // The reminder's load then shapes the window itself, with the same error.
      prepared->outline.reset();
      prepared->cut = false;
    }
  }
  return prepared;
}

void ShapeWindowToPrepared(HWND window, const PreparedPicture& picture) {
  if (!picture.cut) {
    ShapeWindowToPicture(window, picture.bitmap.get(), 1);
    return;
  }
  RECT outer{}, client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  const FrameMeasures frame =
      MeasureFrame(outer.right - outer.left, client.right, outer.bottom - outer.top, client.bottom);
  SetWindowPos(window, nullptr, 0, 0, picture.width + 2 * frame.F,
               frame.F + picture.height + frame.T, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!picture.outline) return;  // no pixel differs from the key: the window stays rectangular
  UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  if (!region || CombineRgn(region.get(), picture.outline.get(), nullptr, RGN_COPY) == ERROR)
    return;
  OffsetRgn(region.get(), frame.F, frame.T);
  // The system owns the region once it accepted it; otherwise the wrapper deletes it.
  if (SetWindowRgn(window, region.get(), TRUE)) (void)region.release();
}

PicturePreparer::~PicturePreparer() {
  if (pending_.valid()) pending_.wait();
  for (const Result& result : retired_) result.wait();
}

void PicturePreparer::Prepare(const std::string& path) {
  const COLORREF background = GetSysColor(COLOR_BTNFACE);
  const PictureStamp stamp = StampOf(path, background);
  if (pending_.valid() && stamp == stamp_) return;
  std::erase_if(retired_, IsReady);
  if (pending_.valid() && !IsReady(pending_)) retired_.push_back(pending_);
  stamp_ = stamp;
  pending_ = std::async(std::launch::async, [path, background] {
               // The picture loader works through COM on this thread.
               const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
               auto prepared = PreparePicture(path, background);
               if (SUCCEEDED(com)) CoUninitialize();
               return prepared;
             }).share();
}

void PicturePreparer::Refresh() {
  std::erase_if(retired_, IsReady);
  if (pending_.valid() && StampOf(stamp_.path, stamp_.background) != stamp_) Prepare(stamp_.path);
}

std::shared_ptr<const PreparedPicture> PicturePreparer::Take(const std::string& path) {
  if (!pending_.valid() || StampOf(path, GetSysColor(COLOR_BTNFACE)) != stamp_) return nullptr;
  return pending_.get();
}

}  // namespace norvel
