#include "driver/list_view.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "toolkit/handle_win.h"
#include "toolkit/text_win.h"

namespace norvel::e2e {
namespace {

// Memory in the list's process, for one message's structure and its text.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, std::size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_.reset(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    if (process_) {
      address_ =
          VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  char* at(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
  bool Write(std::size_t offset, const void* data, std::size_t size) const {
    return address_ && offset + size <= size_ &&
           WriteProcessMemory(process_.get(), at(offset), data, size, nullptr);
  }
  bool Read(std::size_t offset, void* data, std::size_t size) const {
    return address_ && offset + size <= size_ &&
           ReadProcessMemory(process_.get(), at(offset), data, size, nullptr);
  }

 private:
  UniqueKernelHandle process_;
  void* address_ = nullptr;
  std::size_t size_;
};

constexpr std::size_t kTextChars = 256;

}  // namespace

int RowCount(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string CellText(HWND list, int row, int column) {
  RemoteBuffer remote(list, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(remote.at(sizeof item));
  item.cchTextMax = kTextChars;
  if (!remote.Write(0, &item, sizeof item)) return "<no memory>";
  const auto length = static_cast<std::size_t>(
      SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote.at(0))));
  std::vector<wchar_t> text(kTextChars);
  remote.Read(sizeof item, text.data(), text.size() * sizeof(wchar_t));
  return NarrowLossy(std::wstring_view(text.data(), std::min(length, kTextChars - 1)));
}

bool RowChecked(HWND list, int row) {
  const auto state =
      static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
  return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

int SelectedRow(HWND list) {
  return static_cast<int>(
      SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

RECT RowRect(HWND list, int row) {
  RemoteBuffer remote(list, sizeof(RECT));
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  remote.Write(0, &rect, sizeof rect);
  SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.at(0)));
  remote.Read(0, &rect, sizeof rect);
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace norvel::e2e
