// Code page 936 through the Windows API, independent of the machine's ANSI code page.
#include <windows.h>

#include "toolkit/codepage.h"
#include "toolkit/text_win.h"
#include "toolkit/utf.h"

namespace norvel {
namespace {

constexpr UINT kCodePage = 936;

class WinCp936 final : public Cp936Codec {
 public:
  std::string Decode(std::string_view gbk) const override {
    if (gbk.empty()) return {};
    const int in_len = static_cast<int>(gbk.size());
    const int n = MultiByteToWideChar(kCodePage, 0, gbk.data(), in_len, nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(kCodePage, 0, gbk.data(), in_len, wide.data(), n);
    return Utf16ToUtf8Lossy(
        std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
  }

  std::optional<std::string> Encode(std::string_view utf8) const override {
    const auto wide = Widen(utf8);
    if (!wide) return std::nullopt;
    if (wide->empty()) return std::string();
    const int in_len = static_cast<int>(wide->size());
    BOOL used_default = FALSE;
    const int n = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide->data(), in_len,
                                      nullptr, 0, nullptr, &used_default);
    if (n <= 0 || used_default) return std::nullopt;
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide->data(), in_len, out.data(), n,
                        nullptr, &used_default);
    if (used_default) return std::nullopt;
    return out;
  }
};

}  // namespace

const Cp936Codec& Cp936() {
  static const WinCp936 codec;
  return codec;
}

}  // namespace norvel
