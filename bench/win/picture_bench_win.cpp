// Where the time of a reminder with a large photo goes, step by step: decoding and laying the
// pixels over the background, copying into the image, finding the runs and building the
// region, and giving the window its size and region. The photo is NORVEL_BENCH_PHOTO.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "bench_win.h"
#include "reminder/pic_win.h"
#include "toolkit/picture_win.h"

namespace norvel::bench {

void PictureBenchmarks() {
  const char* photo = std::getenv("NORVEL_BENCH_PHOTO");
  if (!photo || !*photo) return;
  const COLORREF background = GetSysColor(COLOR_BTNFACE);
  UniqueBitmap picture;
  const double decode = BestOf(1, [&] { picture = LoadPicture(photo, background); });
  if (!picture) return;
  PictureOutline outline;
  const double cut = BestOf(1, [&] { outline = OutlineOf(picture.get(), 1); });
  const UniqueWindow window(CreateWindowExW(0, L"Static", L"", WS_OVERLAPPED | WS_CAPTION, 0, 0,
                                            321, 279, nullptr, nullptr, nullptr, nullptr));
  const double apply = BestOf(1, [&] { ApplyOutline(window.get(), outline); });
  const double total = decode + cut + apply;
  std::printf("\nreminder picture %dx%d, one run of each step\n", outline.width, outline.height);
  std::printf("  decode and lay over the background: %7.1f ms (%.2f of the whole)\n", decode * 1e3,
              decode / total);
  std::printf("  copy, scan and region:              %7.1f ms (%.2f)\n", cut * 1e3, cut / total);
  std::printf("  window size and region:             %7.1f ms (%.2f)\n", apply * 1e3,
              apply / total);
}

}  // namespace norvel::bench
