// The settings window's alarm list as a user reads it: rows, cells, check boxes and the
// chosen row of another process's list view (read through memory lent in that process, as
// accessibility tools do: list-view messages carry pointers).
#pragma once

#include <windows.h>

#include <string>

namespace norvel::e2e {

int RowCount(HWND list);
std::string CellText(HWND list, int row, int column);
bool RowChecked(HWND list, int row);
int SelectedRow(HWND list);
// The row's rectangle on the screen.
RECT RowRect(HWND list, int row);

}  // namespace norvel::e2e
