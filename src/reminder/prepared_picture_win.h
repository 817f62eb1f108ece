// The reminder's picture made ready ahead of its time: decoded and cut to its outline on a
// thread of its own when the picture is chosen, saved or the program starts, so that the
// reminder's load at the trigger second only puts it on the window. A large photo takes
// seconds to decode; done at the trigger second it delayed the reminder and stalled the
// ticks of that second.
#pragma once

#include <windows.h>

#include <cstdint>
#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "reminder/pic_win.h"
#include "reminder/picture_wait.h"
#include "reminder/prepare_worker.h"
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

// Makes the reminder's picture ready on a worker thread of its own, from about a minute
// before it is needed, and lets it go afterwards: a waiting program holds no decoded photo.
class PicturePreparer {
 public:
  // The worker posts kReadyMessage to `window` (when not null) once a picture is ready; the
  // window's owner then calls Adopt.
  explicit PicturePreparer(HWND window = nullptr);
  ~PicturePreparer();  // never waits for a decode under way
  PicturePreparer(const PicturePreparer&) = delete;
  PicturePreparer& operator=(const PicturePreparer&) = delete;

  static constexpr UINT kReadyMessage = WM_APP + 3;
  void SetWindow(HWND window) { window_->store(window); }

  // Wants `path` ready: prepared on the worker unless that file, unchanged, is already
  // prepared or being prepared. The latest request wins.
  void Prepare(const std::string& path);
  // Prepares the wanted file again when it changed (size, time of last write or change).
  void Refresh();
  // Lets the picture go (a reminder that took it keeps its own reference).
  void Release();
  // Takes over a picture the worker finished (on kReadyMessage).
  void Adopt();
  // The prepared picture of `path` when the file is unchanged since it was prepared,
  // otherwise null. Never waits for a preparation under way.
  std::shared_ptr<const PreparedPicture> Take(const std::string& path);
  // Where the picture of `path`, as the file is now, stands: ready (Take has it), being
  // prepared (it comes with kReadyMessage) or neither.
  PictureState State(const std::string& path);
  // Whether a decoded picture is held.
  bool Holds() const;

 private:
  using Worker = PrepareWorker<PictureStamp, std::shared_ptr<const PreparedPicture>>;
  std::optional<PictureStamp> wanted_;
  std::shared_ptr<std::atomic<HWND>> window_;
  std::unique_ptr<Worker> worker_;
};

}  // namespace norvel
