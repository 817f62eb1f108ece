#include "toolkit/registry_win.h"

#include <cstring>

namespace norvel {

RegistryKey RegistryKey::OpenUser(const std::wstring& subkey, RegistryAccess access) {
  const REGSAM rights = access == RegistryAccess::kRead ? KEY_READ : KEY_READ | KEY_WRITE;
  HKEY key = nullptr;
  const LONG status = RegOpenKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, rights, &key);
  return status == ERROR_SUCCESS ? RegistryKey(key) : RegistryKey(status);
}

RegistryKey RegistryKey::CreateUser(const std::wstring& subkey) {
  HKEY key = nullptr;
  const LONG status =
      RegCreateKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
  return status == ERROR_SUCCESS ? RegistryKey(key) : RegistryKey(status);
}

std::optional<std::vector<std::uint8_t>> RegistryKey::ReadRaw(const std::wstring& name,
                                                              DWORD& type) const {
  if (!key_) return std::nullopt;
  // The value may grow between asking its size and reading it: ask again until it fits.
  std::vector<std::uint8_t> data;
  for (;;) {
    DWORD size = static_cast<DWORD>(data.size());
    const LONG status = RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type,
                                         data.empty() ? nullptr : data.data(), &size);
    if (status == ERROR_SUCCESS && (!data.empty() || size == 0)) {
      data.resize(size);
      return data;
    }
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return std::nullopt;
    data.resize(size);
  }
}

std::optional<std::wstring> RegistryKey::ReadString(const std::wstring& name) const {
  DWORD type = REG_NONE;
  const auto data = ReadRaw(name, type);
  if (!data || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
  // A stored string need not end in a null and may even have an odd number of bytes; the
  // text ends at its first null, as for every reader of the value, and a stray byte is dropped.
  std::wstring text(data->size() / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), data->data(), text.size() * sizeof(wchar_t));
  const auto end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return text;
}

std::optional<std::vector<std::uint8_t>> RegistryKey::ReadBinary(const std::wstring& name) const {
  DWORD type = REG_NONE;
  auto data = ReadRaw(name, type);
  if (!data || type != REG_BINARY) return std::nullopt;
  return data;
}

LONG RegistryKey::WriteString(const std::wstring& name, const std::wstring& value) const {
  if (!key_) return status_;
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key_.get(), name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}

LONG RegistryKey::DeleteValue(const std::wstring& name) const {
  const LONG status = key_ ? RegDeleteValueW(key_.get(), name.c_str()) : status_;
  return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

}  // namespace norvel
