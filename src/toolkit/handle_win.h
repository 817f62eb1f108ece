// One owner per handle: a move-only wrapper parameterised by how the handle is closed.
// Plain handle parameters elsewhere are non-owning views.
#pragma once

#include <windows.h>

#include <utility>

namespace norvel {

template <typename Traits>
class UniqueHandle {
 public:
  using pointer = typename Traits::pointer;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(pointer value) noexcept : value_(value) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  pointer get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Traits::invalid(); }

  // Hands ownership to the caller (for example to the system after SetWindowRgn).
  [[nodiscard]] pointer release() noexcept { return std::exchange(value_, Traits::invalid()); }

  void reset(pointer value = Traits::invalid()) noexcept {
    const pointer old = std::exchange(value_, value);
    if (old != Traits::invalid()) Traits::close(old);
  }

 private:
  pointer value_ = Traits::invalid();
};

struct FileHandleTraits {
  using pointer = HANDLE;
  static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(pointer h) noexcept { CloseHandle(h); }
};

struct KernelHandleTraits {
  using pointer = HANDLE;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer h) noexcept { CloseHandle(h); }
};

template <typename T>
struct GdiObjectTraits {
  using pointer = T;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer h) noexcept { DeleteObject(h); }
};

struct MemoryDcTraits {
  using pointer = HDC;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer h) noexcept { DeleteDC(h); }
};

struct WindowTraits {
  using pointer = HWND;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer h) noexcept { DestroyWindow(h); }
};

struct IconTraits {
  using pointer = HICON;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer h) noexcept { DestroyIcon(h); }
};

struct MenuTraits {
  using pointer = HMENU;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer h) noexcept { DestroyMenu(h); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueRegion = UniqueHandle<GdiObjectTraits<HRGN>>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;

// A device context from GetDC, given back with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a DC and selects the previous one back on destruction, so that
// an object is never deleted while selected.
class SelectionGuard {
 public:
  SelectionGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectionGuard() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectionGuard(const SelectionGuard&) = delete;
  SelectionGuard& operator=(const SelectionGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace norvel
