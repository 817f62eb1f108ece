// The menu of the settings window's icon: made once, and brought up to date each time it
// opens (start at log-in, one item per pending put-off reminder).
#include "app/form1_layout.h"
#include "app/form1_win.h"
#include "app/start_at_login_win.h"
#include "scheduler/put_off.h"
#include "toolkit/controls_win.h"
#include "toolkit/text_win.h"

namespace norvel {
namespace {

// Takes out the put-off items of the last opening, and their submenu.
void RemovePutOffItems(HMENU menu) {
  for (int id = form1::kMenuCancelPutOff; id <= form1::kMenuCancelPutOffLast; ++id) {
    DeleteMenu(menu, static_cast<UINT>(id), MF_BYCOMMAND);
  }
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
    if (GetSubMenu(menu, i)) DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
  }
}

}  // namespace

void Form1::CreateMenus() {
  // m_main "dc" is never shown as a menu bar; its submenu m_Menu is the tray's popup. The
  // submenu is ours until m_main holds it.
  m_main_.reset(CreateMenu());
  UniqueMenu m_menu(CreatePopupMenu());
  for (std::size_t i = 0; i < form1::kMenuItems.size(); ++i) {
    const std::wstring item = Widen(form1::kMenuItems[i]).value_or(L"");
    AppendMenuW(m_menu.get(), MF_STRING, static_cast<UINT_PTR>(form1::kMenuIds[i]), item.c_str());
  }
  const std::wstring top = Widen(form1::kMenuCaption).value_or(L"");
  if (AppendMenuW(m_main_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(m_menu.get()), top.c_str())) {
    (void)m_menu.release();
  }
}

void Form1::PrepareMenu(HMENU menu) {
  // Read afresh each time: Task Manager may have changed it meanwhile.
  CheckMenuItem(menu, form1::kMenuStartAtLogin,
                MF_BYCOMMAND | (StartAtLoginChecked() ? MF_CHECKED : MF_UNCHECKED));
  RemovePutOffItems(menu);
  const PendingPutOffs pending = pending_put_off_ ? pending_put_off_() : PendingPutOffs{};
  put_off_menu_alarms_.clear();
  // One item each before "退出"; more than three go into a submenu of their own.
  HMENU into = menu;
  UniqueMenu submenu;
  if (pending.size() > form1::kPutOffItemsInMenu) submenu.reset(CreatePopupMenu());
  for (const auto& [alarm, due] : pending) {
    const UINT id = form1::kMenuCancelPutOff + static_cast<UINT>(put_off_menu_alarms_.size());
    if (id > form1::kMenuCancelPutOffLast) break;
    put_off_menu_alarms_.push_back(alarm);
    const std::wstring item = Widen(CancelPutOffMenuText(due)).value_or(L"");
    if (submenu) {
      AppendMenuW(submenu.get(), MF_STRING, id, item.c_str());
    } else {
      InsertMenuW(into, form1::kMenuExit, MF_BYCOMMAND | MF_STRING, id, item.c_str());
    }
  }
  if (submenu) {
    const std::wstring title = Widen(kCancelPutOffMenuTitle).value_or(L"");
    if (InsertMenuW(menu, form1::kMenuExit, MF_BYCOMMAND | MF_POPUP,
                    reinterpret_cast<UINT_PTR>(submenu.get()), title.c_str())) {
      (void)submenu.release();  // the menu holds it now
    }
  }
}

void Form1::CancelPutOffItem(int id) {
  const auto k = static_cast<std::size_t>(id - form1::kMenuCancelPutOff);
  if (k < put_off_menu_alarms_.size() && cancel_put_off_) cancel_put_off_(put_off_menu_alarms_[k]);
}

void Form1::OnStartAtLoginClick() {
  if (!SetStartAtLogin(!StartAtLoginChecked())) {
    ShowMessageBox(hwnd(), "无法更改“开机时启动”:系统拒绝写入注册表(可能受策略或权限限制)。",
                   "Norvel", MB_OK | MB_ICONWARNING);
  }
}

}  // namespace norvel
