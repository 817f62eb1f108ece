#include "reminder/prepared_picture_win.h"

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

PicturePreparer::PicturePreparer(HWND window)
    : window_(std::make_shared<std::atomic<HWND>>(window)) {
  worker_ = std::make_unique<Worker>(
      [](const PictureStamp& stamp) -> std::shared_ptr<const PreparedPicture> {
        // No file (or no path): no picture, known without decoding.
        if (!stamp.exists) return std::make_shared<const PreparedPicture>();
        const ComApartment com(COINIT_MULTITHREADED);  // the picture loader's
        try {
          return PreparePicture(stamp.path, stamp.background);
        } catch (...) {
          // Out of memory for a large picture: the load at the trigger tries again.
          return nullptr;
        }
      },
      // The worker may outlive the preparer: it holds the window's handle itself.
      [window = window_] {
        if (const HWND target = window->load()) PostMessageW(target, kReadyMessage, 0, 0);
      });
}

PicturePreparer::~PicturePreparer() = default;

void PicturePreparer::Prepare(const std::string& path) {
  wanted_ = StampOf(path, GetSysColor(COLOR_BTNFACE));
  worker_->Request(*wanted_);
}

void PicturePreparer::Refresh() {
  if (wanted_) Prepare(wanted_->path);
}

void PicturePreparer::Release() {
  wanted_.reset();
  worker_->Release();
}

void PicturePreparer::Adopt() {
  worker_->Adopt();
}

bool PicturePreparer::Holds() const {
  return worker_->HoldsResult();
}

std::shared_ptr<const PreparedPicture> PicturePreparer::Take(const std::string& path) {
  if (!wanted_ || path != wanted_->path) return nullptr;
  return worker_->Take(StampOf(path, GetSysColor(COLOR_BTNFACE))).value_or(nullptr);
}

PictureState PicturePreparer::State(const std::string& path) {
  if (!wanted_ || path != wanted_->path) return PictureState::kNone;
  const PictureStamp stamp = StampOf(path, GetSysColor(COLOR_BTNFACE));
  if (worker_->Take(stamp)) return PictureState::kReady;
  return worker_->Pending(stamp) ? PictureState::kPending : PictureState::kNone;
}

}  // namespace norvel
