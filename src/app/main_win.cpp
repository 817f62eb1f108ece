// Entry point of norvel.exe.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/application_win.h"
#include "app/single_instance_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const norvel::SingleInstance instance;
  if (!instance.IsFirst()) return 0;  // the running one shows its window instead
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // The picture loader and the open-file dialog use COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int exit_code = 0;
  {
    norvel::Application application;
    exit_code = application.Run();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return exit_code;
}
