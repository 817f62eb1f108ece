// Window layouts as data: every control's place in twips (1440 per inch) relative to its
// container, converted to pixels at the window's DPI. The program and its tests read the
// same tables.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace norvel {

enum class ControlKind { kFrame, kLabel, kComboBox, kTextBox, kButton, kListView };

// Optional settings of a control beyond its kind.
enum ControlFlags : std::uint32_t {
  kNoFlags = 0,
  kMultiLine = 1u << 0,     // text box: several lines, Enter makes a new line, vertical bar
  kTransparent = 1u << 1,   // label: the background shows through
  kBlueText = 1u << 2,      // label: text colour blue (0x00FF0000)
  kCentred = 1u << 3,       // label: text centred
  kOwnMouse = 1u << 5,      // label: takes its own clicks instead of passing them on
  kDropDownList = 1u << 6,  // combo box: choose from the list only, no typing
};

struct ControlLayout {
  std::string_view name;
  int id;  // control id (and the window's child id)
  ControlKind kind;
  int container;                 // index of the containing frame in the table, -1 for the window
  std::string_view caption;      // UTF-8
  int left, top, width, height;  // twips, from the container's outer top-left corner
  int tab_index;
  std::uint32_t flags = kNoFlags;
};

struct PixelRect {
  int left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Twips to pixels at `dpi` (twips per pixel = 1440 / dpi), rounded to the nearest pixel,
// halves away from zero.
int TwipsToPixels(int twips, int dpi);

// Where control `index` lies in the window's client area, in pixels: the offsets of its
// containers are added up in twips and each value is converted on its own.
PixelRect ControlRect(std::span<const ControlLayout> controls, std::size_t index, int dpi);

// The controls' indices in creation order: ascending tab index, which is also the order in
// which Tab moves the focus and the stacking order (frames below what they hold).
void TabOrder(std::span<const ControlLayout> controls, std::span<std::size_t> out);

// The position that centres `window` pixels in `screen` pixels: the half is taken in single
// precision and rounded half to even.
int CentreOffset(int screen, int window);

}  // namespace norvel
