// Counting the GDI objects of the test process, for the leak tests.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace norvel::testing {

// The number of GDI objects this process holds, or nothing where it cannot be read.
// Windows answers through GetGuiResources. Wine's GetGuiResources always returns 0, but its
// 64-bit build keeps the process's GDI handle table where Windows does (the process
// environment block's GdiSharedHandleTable, 0x10000 entries of 24 bytes), and a live
// entry has a non-zero type. Wine's 32-bit build publishes no table.
inline std::optional<long> GdiObjectCount() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (counted != 0) return static_cast<long>(counted);
#ifdef _WIN64
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  const auto current_peb = reinterpret_cast<const std::uint8_t* (*)()>(
      reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "RtlGetCurrentPeb")));
  if (GetProcAddress(ntdll, "wine_get_version") == nullptr || current_peb == nullptr) {
    return std::nullopt;
  }
  struct HandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user;
  };
  static_assert(sizeof(HandleEntry) == 24);
  constexpr std::size_t kTableOffsetInPeb = 0xF8, kEntries = 0x10000;
  const std::uint8_t* peb = current_peb();
  const auto* table = *reinterpret_cast<const HandleEntry* const*>(peb + kTableOffsetInPeb);
  if (table == nullptr) return std::nullopt;
  long live = 0;
  for (std::size_t i = 0; i < kEntries; ++i) live += table[i].type != 0 ? 1 : 0;
  return live;
#else
  return std::nullopt;
#endif
}

// More than any process can hold (a GDI handle table has 0x10000 entries): when no count
// is available, a leak of one object per cycle over this many cycles makes creation fail.
inline constexpr int kCyclesBeyondHandleLimit = 0x10000 + 500;

}  // namespace norvel::testing
