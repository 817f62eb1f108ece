// The controls of a window made from its layout table, with their handles kept by id, and an
// edit field whose text is limited in code page 936 bytes.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/handle_win.h"
#include "toolkit/layout.h"

namespace norvel {

class ControlSet {
 public:
  // Creates the controls of `layout` as children of `parent`, in their tab order.
  void Create(HWND parent, std::span<const ControlLayout> layout);
  // Gives them the message font at `dpi` and puts them where the table says.
  void LayOut(int dpi);
  // A control by its id (GetDlgItem would ask the window manager each time).
  HWND operator[](int id) const;
  // WM_CTLCOLORSTATIC for a label or frame: the window's button-face background, with the
  // label's transparent background and blue text where its layout says so.
  LRESULT Colour(HDC dc, HWND control) const;
  void Clear() { controls_.clear(); }

 private:
  HWND parent_ = nullptr;
  std::span<const ControlLayout> layout_;
  std::vector<std::pair<int, HWND>> controls_;  // id and handle, in creation order
  UniqueFont font_;
};

// Keeps an edit field's text within `limit` code page 936 bytes: typing beyond it is refused
// (with a beep) and a paste is cut to what fits.
class ByteLimitedEdit {
 public:
  explicit ByteLimitedEdit(std::size_t limit) : limit_(limit) {}
  // The edit's text as it stands now is within the limit (set by the program).
  void Accept(HWND edit);
  // For EN_CHANGE: cuts what the last edit inserted beyond the limit.
  void OnChange(HWND edit);

 private:
  std::size_t limit_;
  std::string accepted_;  // the text before the current edit
  bool adjusting_ = false;
};

}  // namespace norvel
