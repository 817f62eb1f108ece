// Standard Win32 controls made from layout tables, and their texts in UTF-8.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "toolkit/layout.h"

namespace norvel {

// Creates the control of `layout` as a child of `parent` (hidden rectangle; place it with
// PlaceControl). Frames are group boxes, labels statics, text boxes edits, lists editable
// drop-down combo boxes, buttons push buttons.
HWND CreateControl(HWND parent, const ControlLayout& layout);

// Moves a control to its rectangle; a combo box gets room for its drop-down list below.
void PlaceControl(HWND control, ControlKind kind, const PixelRect& rect);

// Centres `window` on the screen with its outer size (halves rounded as CentreOffset does).
void CentreOnScreen(HWND window);

std::string GetText(HWND window);
void SetText(HWND window, std::string_view utf8);

void AddComboItem(HWND combo, std::string_view utf8);

// Shows a modal message box and returns the button pressed.
// Chooses the item whose text is `utf8` exactly (none when no item has it).
void SelectComboItem(HWND combo, std::string_view utf8);

int ShowMessageBox(HWND owner, std::string_view text, std::string_view title, UINT flags);

}  // namespace norvel
