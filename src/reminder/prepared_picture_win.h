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
#include <string>
#include <vector>

#include "toolkit/handle_win.h"

namespace norvel {

// What identifies the content of a picture file without reading it.
struct PictureStamp {
  std::string path;
  bool exists = false;
  std::uint64_t size = 0;
  std::uint64_t last_write = 0;  // FILETIME units
  COLORREF background = 0;       // the colour transparent pixels were laid over
  friend bool operator==(const PictureStamp&, const PictureStamp&) = default;
};
PictureStamp StampOf(const std::string& path, COLORREF background);

struct PreparedPicture {
  PictureStamp stamp;
  UniqueBitmap bitmap;   // null: no picture (empty path, unreadable file, refused size)
  UniqueRegion outline;  // the outline with no frame; null when it could not be made
  bool cut = false;      // the outline was made (null outline then means: no key-free pixel)
  int width = 0, height = 0;
  std::size_t bytes = 0;  // memory held: the pixels and the outline's rectangles
};

// Loads and cuts the picture with the same steps the reminder's load takes (the picture
// loader, the image copy, the key colour of the bottom-left pixel, the region builder). COM
// must be initialised on the calling thread.
std::shared_ptr<const PreparedPicture> PreparePicture(const std::string& path, COLORREF background);

// Gives `window` the prepared picture's size and outline: the same window size and region as
// ShapeWindowToPicture(window, picture.bitmap, 1) gives.
void ShapeWindowToPrepared(HWND window, const PreparedPicture& picture);

class PicturePreparer {
 public:
  PicturePreparer() = default;
  ~PicturePreparer();  // waits for preparations still under way
  PicturePreparer(const PicturePreparer&) = delete;
  PicturePreparer& operator=(const PicturePreparer&) = delete;

  // Starts preparing `path` on a thread of its own, unless that file, unchanged, is already
  // prepared or being prepared.
  void Prepare(const std::string& path);
  // Prepares the last file again when it changed (size or time of last write).
  void Refresh();
  // The prepared picture of `path` when the file is unchanged since it was prepared (waiting
  // for a preparation of it that is still under way), otherwise null.
  std::shared_ptr<const PreparedPicture> Take(const std::string& path);

 private:
  using Result = std::shared_future<std::shared_ptr<const PreparedPicture>>;
  PictureStamp stamp_;
  Result pending_;
  std::vector<Result> retired_;  // replaced while still running; kept until they end
};

}  // namespace norvel
