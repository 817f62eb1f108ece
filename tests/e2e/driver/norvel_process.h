// Runs the real norvel.exe from a fresh folder of its own, as a user would install it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/handle_win.h"
#include "win_test_util.h"

namespace norvel::e2e {

class NorvelProcess {
 public:
  NorvelProcess();   // copies norvel.exe (built beside the driver) into a fresh folder
  ~NorvelProcess();  // ends the program if it still runs; the folder goes with its files
  NorvelProcess(const NorvelProcess&) = delete;
  NorvelProcess& operator=(const NorvelProcess&) = delete;

  const std::wstring& folder() const { return folder_.path(); }
  std::wstring SettingsPath() const { return folder_.File(L"option.ini"); }
  bool WriteSettingsBytes(const std::string& bytes) const;
  std::string SettingsBytes() const;
  // What the program wrote down in norvel.log beside it (empty when there is none).
  std::string LogBytes() const { return testing::ReadFileBytes(folder_.File(L"norvel.log")); }
  // The names of the files in the program's folder.
  std::vector<std::wstring> FolderFiles() const;

  // Extra settings for a start: environment variables (NAME=value) added to the driver's
  // own, and a file that receives the program's standard output and error (Wine's traces).
  struct StartOptions {
    std::vector<std::wstring> environment;
    std::wstring output_file;
  };
  bool Start() { return Start(StartOptions{}); }
  bool Start(const StartOptions& options);
  DWORD process_id() const { return process_id_; }
  HANDLE process() const { return process_.get(); }
  // True when the program ended within `timeout_ms`; its exit code goes to `exit_code`.
  bool WaitForExit(DWORD timeout_ms, DWORD* exit_code = nullptr) const;
  void Kill();
  // Holds the program up until GetTickCount64 reaches `until_tick`: every thread of it is
  // suspended meanwhile, as a busy or sleeping machine holds a program up.
  void HoldUpUntil(ULONGLONG until_tick) const;

 private:
  testing::TempFolder folder_;
  std::wstring exe_;
  UniqueKernelHandle process_;
  DWORD process_id_ = 0;
};

// The folder of the running test program.
std::wstring ProgramFolder();

}  // namespace norvel::e2e
