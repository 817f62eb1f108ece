#include "app/alarm_list_view_win.h"

#include <commctrl.h>

#include "app/form1_layout.h"
#include "toolkit/text_win.h"

namespace norvel {
namespace {

// The program's own changes report nothing back.
class Quiet {
 public:
  explicit Quiet(int& depth) : depth_(depth) { ++depth_; }
  ~Quiet() { --depth_; }
  Quiet(const Quiet&) = delete;
  Quiet& operator=(const Quiet&) = delete;

 private:
  int& depth_;
};

bool IsChecked(UINT state) {
  return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

}  // namespace

void AlarmListView::Attach(HWND list) {
  list_ = list;
  const DWORD extended = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
  SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  for (std::size_t i = 0; i < form1::kAlarmColumns.size(); ++i) {
    std::wstring title = Widen(form1::kAlarmColumns[i]).value_or(L"");
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = title.data();
    column.cx = form1::kAlarmColumnWidths[i];
    column.iSubItem = static_cast<int>(i);
    SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

void AlarmListView::LayOut(int dpi) {
  for (std::size_t i = 0; i < form1::kAlarmColumnWidths.size(); ++i) {
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, i, MulDiv(form1::kAlarmColumnWidths[i], dpi, 96));
  }
}

void AlarmListView::SetRowCount(int count) {
  const Quiet quiet(quiet_);
  int rows = static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
  for (; rows > count; --rows) SendMessageW(list_, LVM_DELETEITEM, rows - 1, 0);
  for (; rows < count; ++rows) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = rows;
    item.pszText = const_cast<wchar_t*>(L"");
    SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void AlarmListView::SetCell(int index, int column, const std::string& text) {
  const Quiet quiet(quiet_);
  std::wstring wide = Widen(text).value_or(L"");
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(list_, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
}

void AlarmListView::SetRow(int index, const Row& texts, bool checked) {
  for (std::size_t i = 0; i < texts.size(); ++i) SetCell(index, static_cast<int>(i), texts[i]);
  const Quiet quiet(quiet_);
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  SendMessageW(list_, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

void AlarmListView::Select(int index) {
  const Quiet quiet(quiet_);
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list_, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
  SendMessageW(list_, LVM_ENSUREVISIBLE, index, FALSE);
}

std::optional<AlarmListView::Change> AlarmListView::OnNotify(const NMHDR& header) {
  if (header.hwndFrom != list_ || header.code != LVN_ITEMCHANGED || quiet_ > 0) return std::nullopt;
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  if (change.iItem < 0 || !(change.uChanged & LVIF_STATE)) return std::nullopt;
  const UINT was = change.uOldState, now = change.uNewState;
  if ((now & LVIS_SELECTED) && !(was & LVIS_SELECTED)) {
    return Change{Change::kSelected, change.iItem, true};
  }
  // A row's first state image comes with the row: only a change from one box to the other
  // is the user's.
  if ((was & LVIS_STATEIMAGEMASK) != 0 && (now & LVIS_STATEIMAGEMASK) != 0 &&
      IsChecked(was) != IsChecked(now)) {
    return Change{Change::kChecked, change.iItem, IsChecked(now)};
  }
  return std::nullopt;
}

}  // namespace norvel
