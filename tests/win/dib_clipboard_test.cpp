// The image class and the clipboard: as a bitmap it gets there, as a DIB the user is told
// that it cannot, and a bitmap the clipboard does not take is not leaked.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "dib_test_util.h"
#include "gdi_object_count.h"
#include "imaging/cDIBSection_win.h"

namespace norvel {
namespace {

using testing::DibBytes;
using testing::FillPattern;

DWORD TimeoutMs(DWORD ms) {
  const char* scale = std::getenv("NORVEL_TIMEOUT_SCALE");
  const long factor = scale ? std::strtol(scale, nullptr, 10) : 1;
  return ms * static_cast<DWORD>(factor > 0 ? factor : 1);
}

void PutTextOnClipboard(const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(GlobalLock(memory), text.c_str(), bytes);
  GlobalUnlock(memory);
  if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  CloseClipboard();
}

std::wstring TextOnClipboard() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"(clipboard busy)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

std::wstring WindowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

struct BoxSearch {
  const wchar_t* title;
  HWND box = nullptr;
  HWND other = nullptr;
};

BOOL CALLBACK FindDialogOfThisProcess(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<BoxSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t class_name[16] = {};
  GetClassNameW(window, class_name, 16);
  if (process == GetCurrentProcessId() && std::wstring(class_name) == L"#32770") {
    (WindowText(window) == search.title ? search.box : search.other) = window;
  }
  return TRUE;
}

// What the dismisser saw of the message box.
struct SeenBox {
  std::wstring text;
  int buttons = 0;
  bool found = false;
};

// Waits on its own thread for a dialog of this process titled `title`, records its text and
// buttons and presses OK. Any other dialog of the process is closed too, so a wrong box
// fails the test instead of blocking it.
SeenBox DismissMessageBox(const wchar_t* title) {
  BoxSearch search{title};
  SeenBox seen;
  const ULONGLONG deadline = GetTickCount64() + TimeoutMs(10000);
  while (search.box == nullptr && GetTickCount64() < deadline) {
    Sleep(20);
    EnumWindows(FindDialogOfThisProcess, reinterpret_cast<LPARAM>(&search));
    if (search.other) PostMessageW(search.other, WM_COMMAND, IDOK, 0);
  }
  if (search.box == nullptr) return seen;
  seen.found = true;
  for (HWND child = GetWindow(search.box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t class_name[16] = {};
    GetClassNameW(child, class_name, 16);
    if (lstrcmpiW(class_name, L"Button") == 0) {
      ++seen.buttons;
    } else if (lstrcmpiW(class_name, L"Static") == 0 && !WindowText(child).empty()) {
      seen.text = WindowText(child);
    }
  }
  PostMessageW(search.box, WM_COMMAND, IDOK, 0);
  return seen;
}

TEST(DibSectionClipboard, AsBitmapLeavesTheWholePictureOnTheClipboard) {
  cDIBSection dib;
  ASSERT_TRUE(dib.Create(10, 10));
  FillPattern(dib);
  ASSERT_TRUE(dib.CopyToClipboard(false));

  ASSERT_TRUE(OpenClipboard(nullptr));
  const auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  ASSERT_NE(bitmap, nullptr);
  BITMAP size{};
  GetObjectW(bitmap, sizeof size, &size);
  EXPECT_EQ(size.bmWidth, 10);
  EXPECT_EQ(size.bmHeight, 10);
  // Read back in the image's own layout: the same bytes.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 10;
  info.bmiHeader.biHeight = 10;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  std::vector<std::uint8_t> bytes(32 * 10);
  const WindowDc screen(GetDesktopWindow());
  EXPECT_EQ(GetDIBits(screen.get(), bitmap, 0, 10, bytes.data(), &info, DIB_RGB_COLORS), 10);
  CloseClipboard();
  for (std::size_t row = 0; row < 10; ++row) bytes[row * 32 + 30] = bytes[row * 32 + 31] = 0;
  EXPECT_EQ(bytes, DibBytes(dib));
}

TEST(DibSectionClipboard, AsDibShowsTheMessageAndLeavesTheClipboardAlone) {
  cDIBSection dib;
  ASSERT_TRUE(dib.Create(10, 10));
  PutTextOnClipboard(L"before the copy");
  SeenBox seen;
  std::thread dismisser([&seen] { seen = DismissMessageBox(L"Norvel"); });
  const bool copied = dib.CopyToClipboard();
  dismisser.join();
  EXPECT_FALSE(copied);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.text,
            L"I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!");
  EXPECT_EQ(seen.buttons, 1);
  EXPECT_EQ(TextOnClipboard(), L"before the copy");
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
}

TEST(DibSectionClipboard, BitmapIsDeletedWhenTheClipboardCannotBeOpened) {
  cDIBSection dib;
  ASSERT_TRUE(dib.Create(10, 10));
  PutTextOnClipboard(L"held elsewhere");
  // Another window of another thread keeps the clipboard open meanwhile.
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<bool> holding = false;
  std::thread holder([&] {
    HWND window =
        CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    holding = OpenClipboard(window) != FALSE;
    SetEvent(opened);
    WaitForSingleObject(done, INFINITE);
    if (holding) CloseClipboard();
    DestroyWindow(window);
  });
  WaitForSingleObject(opened, INFINITE);
  EXPECT_FALSE(dib.CopyToClipboard(false));  // the first one may make objects GDI keeps
  const auto count = testing::GdiObjectCount();
  const bool copied = dib.CopyToClipboard(false);
  const auto after = testing::GdiObjectCount();
  SetEvent(done);
  holder.join();
  CloseHandle(opened);
  CloseHandle(done);
  ASSERT_TRUE(holding);
  EXPECT_FALSE(copied);
  EXPECT_EQ(after, count);
  EXPECT_EQ(TextOnClipboard(), L"held elsewhere");
}

}  // namespace
}  // namespace norvel
