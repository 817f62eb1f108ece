// The reminder's picture made ready ahead of its time: decoded and cut to its outline on a
// thread of its own when the picture is chosen, saved or the program starts, so that the
// reminder's load at the trigger second only puts it on the window. A large photo takes
// seconds to decode; done at the trigger second it delayed the reminder and stalled the
// ticks of that second.
#pragma once

#include <windows.h>

#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "reminder/pic_win.h"
#include "toolkit/handle_win.h"

namespace norvel {

// What identifies the content of a picture file without reading it.
struct PictureStamp {
  std::string path;
  bool exists = false;
  std::uint64_t size = 0;
  std::uint64_t last_write = 0;  // FILETIME units
  std::uint64_t changed = 0;     // the last change of the file or its attributes
  COLORREF background = 0;       // the colour transparent pixels were laid over
  friend bool operator==(const PictureStamp&, const PictureStamp&) = default;
};
PictureStamp StampOf(const std::string& path, COLORREF background);

struct PreparedPicture {
  UniqueBitmap bitmap;     // null: no picture (empty path, unreadable file, refused size)
  PictureOutline outline;  // valid when `cut`
  bool cut = false;        // false: the outline could not be made ahead (the load tries again)
};

// Loads the picture and cuts its outline with the same steps as the reminder's load (the
// picture loader, the image copy, the key colour of the bottom-left pixel, the region
// builder). COM must be initialised on the calling thread.
std::shared_ptr<const PreparedPicture> PreparePicture(const std::string& path, COLORREF background);

// Gives `window` the prepared picture's size and outline: the same window size and region as
// ShapeWindowToPicture(window, picture.bitmap, 1).
void ShapeWindowToPrepared(HWND window, const PreparedPicture& picture);

class PicturePreparer {
 public:
  PicturePreparer() = default;
  ~PicturePreparer();  // waits for a preparation under way
  PicturePreparer(const PicturePreparer&) = delete;
  PicturePreparer& operator=(const PicturePreparer&) = delete;

  // Prepares `path` on a thread of its own, unless that file, unchanged, is already prepared
  // or being prepared. One preparation runs at a time: a request meanwhile waits for it
  // (only the latest is kept) and starts at the next Refresh.
  void Prepare(const std::string& path);
  // Starts a waiting request, or prepares the file again when it changed (size, time of
  // last write or change).
  void Refresh();
  // The prepared picture of `path` when the file is unchanged since it was prepared (waiting
  // for a preparation of it that is still under way), otherwise null.
  std::shared_ptr<const PreparedPicture> Take(const std::string& path);

 private:
  void Start(const PictureStamp& stamp);

  PictureStamp stamp_;
  std::shared_future<std::shared_ptr<const PreparedPicture>> pending_;
  std::optional<std::string> waiting_;
};

}  // namespace norvel
