#include "app/picture_chooser_win.h"

#include <commdlg.h>

#include "settings/app_path_win.h"
#include "toolkit/text_win.h"

namespace norvel {

std::optional<std::string> ChoosePictureFile(HWND owner) {
  const std::wstring initial_dir = Widen(AppDirectory()).value_or(L"");
  // Room for the longest path the system allows, not only MAX_PATH.
  std::wstring file(32768, L'\0');
  std::wstring title(MAX_PATH, L'\0');
  static constexpr wchar_t kFilter[] = L"所有文件\0*.*\0";  // one filter, all files
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.hInstance = GetModuleHandleW(nullptr);
  ofn.lpstrFilter = kFilter;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrFileTitle = title.data();
  ofn.nMaxFileTitle = static_cast<DWORD>(title.size());
  ofn.lpstrInitialDir = initial_dir.c_str();
  ofn.lpstrTitle = L"打开文件";
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  return NarrowLossy(file.c_str());
}

}  // namespace norvel
