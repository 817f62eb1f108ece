#include "app/picture_chooser_win.h"

#include <commdlg.h>

#include "settings/app_path_win.h"
#include "toolkit/text_win.h"

namespace norvel {

namespace {

std::optional<std::string> ChooseFile(HWND owner, const wchar_t* filter,
                                      const wchar_t* title_text) {
  const std::wstring initial_dir = Widen(AppDirectory()).value_or(L"");
  // Room for the longest path the system allows, not only MAX_PATH.
  std::wstring file(32768, L'\0');
  std::wstring title(MAX_PATH, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.hInstance = GetModuleHandleW(nullptr);
  ofn.lpstrFilter = filter;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrFileTitle = title.data();
  ofn.nMaxFileTitle = static_cast<DWORD>(title.size());
  ofn.lpstrInitialDir = initial_dir.c_str();
  ofn.lpstrTitle = title_text;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  return NarrowLossy(file.c_str());
}

}  // namespace

std::optional<std::string> ChoosePictureFile(HWND owner) {
  return ChooseFile(owner, L"所有文件\0*.*\0", L"打开文件");  // one filter, all files
}

std::optional<std::string> ChooseSoundFile(HWND owner) {
  return ChooseFile(owner, L"声音文件 (*.wav)\0*.wav\0所有文件\0*.*\0", L"选择声音");
}

}  // namespace norvel
