#include "toolkit/text_win.h"

#include <windows.h>

namespace norvel {

std::optional<std::wstring> Widen(std::string_view utf8) {
  if (utf8.empty()) return std::wstring();
  const int in_len = static_cast<int>(utf8.size());
  const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), in_len, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), in_len, out.data(), n);
  return out;
}

namespace {
std::optional<std::string> NarrowWith(std::wstring_view utf16, DWORD flags) {
  if (utf16.empty()) return std::string();
  const int in_len = static_cast<int>(utf16.size());
  const int n =
      WideCharToMultiByte(CP_UTF8, flags, utf16.data(), in_len, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::nullopt;
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, flags, utf16.data(), in_len, out.data(), n, nullptr, nullptr);
  return out;
}
}  // namespace

std::string NarrowLossy(std::wstring_view utf16) {
  return NarrowWith(utf16, 0).value_or(std::string());
}

}  // namespace norvel
