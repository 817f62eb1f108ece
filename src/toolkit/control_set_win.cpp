#include "toolkit/control_set_win.h"

#include "toolkit/controls_win.h"
#include "toolkit/dpi_win.h"
#include "toolkit/text_limit.h"
#include "toolkit/text_win.h"

namespace norvel {

void ControlSet::Create(HWND parent, std::span<const ControlLayout> layout) {
  parent_ = parent;
  layout_ = layout;
  std::vector<std::size_t> order(layout.size());
  TabOrder(layout, order);
  controls_.clear();
  for (const std::size_t i : order)
    controls_.emplace_back(layout[i].id, CreateControl(parent, layout[i]));
}

void ControlSet::LayOut(int dpi) {
  LOGFONTW lf = MessageFont(dpi);
  // The controls take the new font before the old one is deleted (on a DPI change).
  UniqueFont font(CreateFontIndirectW(&lf));
  for (std::size_t i = 0; i < layout_.size(); ++i) {
    const HWND control = (*this)[layout_[i].id];
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    PlaceControl(control, layout_[i].kind, ControlRect(layout_, i, dpi));
  }
  font_ = std::move(font);
}

HWND ControlSet::operator[](int id) const {
  for (const auto& [control_id, control] : controls_) {
    if (control_id == id) return control;
  }
  return parent_ ? GetDlgItem(parent_, id) : nullptr;
}

LRESULT ControlSet::Colour(HDC dc, HWND control) const {
  const int id = GetDlgCtrlID(control);
  std::uint32_t flags = kNoFlags;
  for (const ControlLayout& layout : layout_) {
    if (layout.id == id) flags = layout.flags;
  }
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  SetTextColor(dc, (flags & kBlueText) ? RGB(0, 0, 255) : GetSysColor(COLOR_BTNTEXT));
  if (flags & kTransparent) SetBkMode(dc, TRANSPARENT);
  // The window's own background colour, so that a changed text never leaves traces.
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void ByteLimitedEdit::Accept(HWND edit) {
  accepted_ = GetText(edit);
}

void ByteLimitedEdit::OnChange(HWND edit) {
  if (adjusting_) return;  // our own correction below
  const std::string current = GetText(edit);
  const auto fitted = FitEditToLimit(accepted_, current, limit_);
  if (!fitted) {
    accepted_ = current;
    return;
  }
  adjusting_ = true;
  SetText(edit, fitted->text);
  const auto caret = Widen(std::string_view(fitted->text).substr(0, fitted->caret));
  const WPARAM position = caret ? caret->size() : 0;
  SendMessageW(edit, EM_SETSEL, position, static_cast<LPARAM>(position));
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);
  adjusting_ = false;
  MessageBeep(MB_OK);
  accepted_ = fitted->text;
}

}  // namespace norvel
