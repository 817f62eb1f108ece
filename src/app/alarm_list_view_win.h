// The settings window's alarm list: a report-view list with a check box per row (the
// alarm's on/off), its five columns, and what the user did to it, as plain events.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

namespace norvel {

class AlarmListView {
 public:
  // Texts of a row, in the order of the columns (UTF-8).
  using Row = std::array<std::string, 5>;

  void Attach(HWND list);
  // The columns' widths at `dpi`.
  void LayOut(int dpi);

  void SetRowCount(int count);
  void SetRow(int index, const Row& texts, bool checked);
  void SetCell(int index, int column, const std::string& text);
  void Select(int index);

  // What a notification of the list means.
  struct Change {
    enum Kind { kSelected, kChecked } kind;
    int index;
    bool on;  // kChecked: the check box's new state
  };
  std::optional<Change> OnNotify(const NMHDR& header);

 private:
  HWND list_ = nullptr;
  int quiet_ = 0;  // the program changes the list: no events
};

}  // namespace norvel
