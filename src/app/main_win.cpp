// Entry point of norvel.exe.
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "app/application_win.h"
#include "app/single_instance_win.h"
#include "app/start_at_login_win.h"
#include "toolkit/com_win.h"

namespace {

// DLLs that load at run time (the open-file dialog's shell extensions, the picture codecs)
// come from the system folder only, never from the program's own folder, where a planted
// DLL would run inside Norvel. Looked up by name: Windows 7 has the function only with
// update KB2533623, and there the program must still start.
void LoadDllsFromSystemFolderOnly() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  const auto set_default = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel32, "SetDefaultDllDirectories")));
  if (!set_default || !set_default(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    SetDllDirectoryW(L"");  // at least not the current directory
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  LoadDllsFromSystemFolderOnly();
  // Started at log-in ("/tray"): no window, and a Norvel already running stays as it is.
  const bool at_login = norvel::StartedForTray();
  auto instance = std::make_unique<norvel::SingleInstance>(!at_login);
  if (!instance->IsFirst()) return 0;  // the running one shows its window instead
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // The picture loader and the open-file dialog use COM on this thread; the apartment
  // outlives the application.
  const norvel::ComApartment com(COINIT_APARTMENTTHREADED);
  norvel::Application application(std::move(instance), !at_login);
  return application.Run();
}
