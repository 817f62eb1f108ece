#include "reminder/prepared_picture_win.h"

#include <chrono>

#include "toolkit/com_win.h"
#include "toolkit/picture_win.h"
#include "toolkit/text_win.h"

namespace norvel {

PictureStamp StampOf(const std::string& path, COLORREF background) {
  PictureStamp stamp;
  stamp.path = path;
  stamp.background = background;
  const auto wide = Widen(path);
  if (path.empty() || !wide) return stamp;
  // Attributes only: the file may be open elsewhere, and its content is not read here.
  const UniqueFile file(CreateFileW(wide->c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
  FILE_BASIC_INFO basic{};
  LARGE_INTEGER size{};
  if (!file || !GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic) ||
      !GetFileSizeEx(file.get(), &size)) {
    return stamp;
  }
  stamp.exists = true;
  stamp.size = static_cast<std::uint64_t>(size.QuadPart);
  stamp.last_write = static_cast<std::uint64_t>(basic.LastWriteTime.QuadPart);
  stamp.changed = static_cast<std::uint64_t>(basic.ChangeTime.QuadPart);
  return stamp;
}

std::shared_ptr<const PreparedPicture> PreparePicture(const std::string& path,
                                                      COLORREF background) {
  auto prepared = std::make_shared<PreparedPicture>();
  prepared->bitmap = LoadPicture(path, background);
  if (!prepared->bitmap) return prepared;
  try {
    prepared->outline = OutlineOf(prepared->bitmap.get(), 1);
    prepared->cut = true;
  } catch (...) {
    // Not cut: the reminder's load shapes the window itself, with the same outcome.
  }
  return prepared;
}

void ShapeWindowToPrepared(HWND window, const PreparedPicture& picture) {
  if (picture.cut) {
    ApplyOutline(window, picture.outline);
  } else {
    ShapeWindowToPicture(window, picture.bitmap.get(), 1);
  }
}

PicturePreparer::~PicturePreparer() {
  if (pending_.valid()) pending_.wait();
}

void PicturePreparer::Start(const PictureStamp& stamp) {
  stamp_ = stamp;
  waiting_.reset();
  if (!stamp.exists) {
    // No file (or no path): no picture, known without a thread.
    std::promise<std::shared_ptr<const PreparedPicture>> none;
    none.set_value(std::make_shared<const PreparedPicture>());
    pending_ = none.get_future().share();
    return;
  }
  pending_ = std::async(std::launch::async, [path = stamp.path, background = stamp.background] {
               const ComApartment com(COINIT_MULTITHREADED);  // the picture loader's
               try {
                 return PreparePicture(path, background);
               } catch (...) {
                 // Out of memory for a large picture: the load at the trigger tries again.
                 return std::shared_ptr<const PreparedPicture>();
               }
             }).share();
}

void PicturePreparer::Prepare(const std::string& path) {
  const PictureStamp stamp = StampOf(path, GetSysColor(COLOR_BTNFACE));
  if (pending_.valid() && stamp == stamp_) return;
  if (pending_.valid() && pending_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
    waiting_ = path;  // one decode at a time; this one starts when that one ends
    return;
  }
  Start(stamp);
}

void PicturePreparer::Refresh() {
  if (!pending_.valid()) return;
  if (pending_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
  if (waiting_) {
    const std::string path = std::move(*waiting_);
    waiting_.reset();
    Prepare(path);
  } else if (StampOf(stamp_.path, stamp_.background) != stamp_) {
    Start(StampOf(stamp_.path, stamp_.background));
  }
}

std::shared_ptr<const PreparedPicture> PicturePreparer::Take(const std::string& path) {
  if (!pending_.valid() || StampOf(path, GetSysColor(COLOR_BTNFACE)) != stamp_) return nullptr;
  return pending_.get();
}

}  // namespace norvel
