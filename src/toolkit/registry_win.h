// The per-user registry: one owner per open key of HKEY_CURRENT_USER, and the few value
// operations the program needs. Nothing here reaches the machine-wide hives, so no
// administrator rights are ever asked for. (HKCU\Software is shared between 32- and 64-bit
// programs, so both builds see the same values without a redirection flag.)
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/handle_win.h"

namespace norvel {

struct RegistryKeyTraits {
  using pointer = HKEY;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer h) noexcept { RegCloseKey(h); }
};

using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;

enum class RegistryAccess { kRead, kReadWrite };

// A move-only open key. A key that could not be opened is empty and remembers why
// (status()); its reads give nothing and its writes return that status, so a caller can
// open and write in one expression and still learn the reason of a failure.
class RegistryKey {
 public:
  RegistryKey() noexcept = default;

  // An existing subkey of HKEY_CURRENT_USER ("Software\\..."); never creates it.
  static RegistryKey OpenUser(const std::wstring& subkey,
                              RegistryAccess access = RegistryAccess::kRead);
  // The subkey opened for reading and writing, created (with missing parents) first.
  static RegistryKey CreateUser(const std::wstring& subkey);

  explicit operator bool() const noexcept { return static_cast<bool>(key_); }
  HKEY get() const noexcept { return key_.get(); }
  // ERROR_SUCCESS for an open key; otherwise the open's error (ERROR_FILE_NOT_FOUND for a
  // missing subkey, ERROR_INVALID_HANDLE for a key never opened or moved from).
  LONG status() const noexcept { return key_ ? ERROR_SUCCESS : status_; }

  // A REG_SZ or REG_EXPAND_SZ value as stored (environment strings not expanded), without
  // its terminating nulls. Nothing for a missing value or one of another type.
  std::optional<std::wstring> ReadString(const std::wstring& name) const;
  // A REG_BINARY value's bytes. Nothing for a missing value or one of another type.
  std::optional<std::vector<std::uint8_t>> ReadBinary(const std::wstring& name) const;

  // Writes a REG_SZ value; the Win32 status (ERROR_SUCCESS when written).
  LONG WriteString(const std::wstring& name, const std::wstring& value) const;
  // Deletes a value. A value that is not there, or a key that does not exist, counts as
  // deleted (ERROR_SUCCESS): the caller wants it gone and it is.
  LONG DeleteValue(const std::wstring& name) const;

 private:
  explicit RegistryKey(HKEY key) noexcept : key_(key) {}
  explicit RegistryKey(LONG failure) noexcept : status_(failure) {}

  std::optional<std::vector<std::uint8_t>> ReadRaw(const std::wstring& name, DWORD& type) const;

  UniqueRegistryKey key_;
  // Why the key is empty; not looked at while it is open. A moved-from key keeps the value
  // of its source, ERROR_INVALID_HANDLE for an open one, so it never claims success.
  LONG status_ = ERROR_INVALID_HANDLE;
};

}  // namespace norvel
