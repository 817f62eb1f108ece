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
  NorvelProcess();  // copies norvel.exe (built beside the driver) into a fresh folder
  // ... into a folder of this name inside the fresh one, as a user names a folder ("我的 程序").
  explicit NorvelProcess(const std::wstring& subfolder);
  ~NorvelProcess();  // ends the program if it still runs; the folder goes with its files
  NorvelProcess(const NorvelProcess&) = delete;
  NorvelProcess& operator=(const NorvelProcess&) = delete;

  const std::wstring& folder() const { return folder_path_; }
  const std::wstring& exe() const { return exe_; }
  std::wstring SettingsPath() const { return folder_path_ + L"\\option.ini"; }
  bool WriteSettingsBytes(const std::string& bytes) const;
  std::string SettingsBytes() const;
  // What the program wrote down in norvel.log beside it (empty when there is none).
  std::string LogBytes() const { return testing::ReadFileBytes(folder_path_ + L"\\norvel.log"); }
  // The names of the files in the program's folder.
  std::vector<std::wstring> FolderFiles() const;

  // Extra settings for a start: environment variables (NAME=value) added to the driver's
  // own, a file that receives the program's standard output and error (Wine's traces), and
  // the command line's arguments after the program ("/tray").
  struct StartOptions {
    std::vector<std::wstring> environment;
    std::wstring output_file;
    std::wstring arguments;
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
  // Holds up only the thread `thread_id` of the program (its UI thread, say) until
  // GetTickCount64 reaches `until_tick`; its other threads run on.
  static void HoldUpThreadUntil(DWORD thread_id, ULONGLONG until_tick);

 private:
  testing::TempFolder folder_;
  std::wstring folder_path_;  // the program's own folder, in folder_
  std::wstring exe_;
  UniqueKernelHandle process_;
  DWORD process_id_ = 0;
};

// The folder of the running test program.
std::wstring ProgramFolder();

// The ids of the running processes of this file name ("wineboot.exe").
std::vector<DWORD> ProcessesNamed(const wchar_t* name);
// The ids of the running processes of the program `exe` (its full path).
std::vector<DWORD> ProcessesOf(const std::wstring& exe);
// Ends every process of `exe` as NorvelProcess ends its own: closes its settings window
// first, and terminates one that does not end.
void EndProcessesOf(const std::wstring& exe);

}  // namespace norvel::e2e
