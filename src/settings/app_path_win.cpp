#include "settings/app_path_win.h"

#include <windows.h>

#include <vector>

#include "settings/ini.h"
#include "toolkit/text_win.h"

namespace norvel {

std::string AppExePath() {
  // Paths may be longer than MAX_PATH; grow until the whole name fits.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return NarrowLossy(std::wstring_view(buffer.data(), n));
    buffer.resize(buffer.size() * 2);
  }
}

std::string AppDirectory() {
  std::string path = AppExePath();
  const auto cut = path.find_last_of("\\/");
  if (cut == std::string::npos) return {};
  // A program in a drive's root keeps its backslash ("C:\"), as the platform reports it.
  path.resize(cut == 2 && path[1] == ':' ? cut + 1 : cut);
  return path;
}

std::string AppSettingsFile() {
  return SettingsFilePath(AppDirectory());
}

}  // namespace norvel
