#include "toolkit/layout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace norvel {

int TwipsToPixels(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  const long long half = 720;  // half of 1440
  return static_cast<int>(scaled >= 0 ? (scaled + half) / 1440 : -((-scaled + half) / 1440));
}

PixelRect ControlRect(std::span<const ControlLayout> controls, std::size_t index, int dpi) {
  const ControlLayout& c = controls[index];
  int left = c.left, top = c.top;
  for (int parent = c.container; parent >= 0; parent = controls[parent].container) {
    left += controls[parent].left;
    top += controls[parent].top;
  }
  return {TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), TwipsToPixels(c.width, dpi),
          TwipsToPixels(c.height, dpi)};
}

void TabOrder(std::span<const ControlLayout> controls, std::span<std::size_t> out) {
  std::iota(out.begin(), out.end(), std::size_t{0});
  std::stable_sort(out.begin(), out.end(), [&](std::size_t a, std::size_t b) {
    return controls[a].tab_index < controls[b].tab_index;
  });
}

int CentreOffset(int screen, int window) {
  const float half = static_cast<float>(screen - window) / 2.0f;
  return static_cast<int>(std::nearbyint(half));  // default rounding mode: half to even
}

}  // namespace norvel
