// The file choosers of the settings window: the picture's open-file dialog "打开文件", and the
// sound's "选择声音" (WAV files first).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace norvel {

// The full path of the file the user chose (UTF-8), or nullopt when the dialog was cancelled
// or failed. The dialog is modal, owned by `owner`, and starts in the program's folder.
std::optional<std::string> ChoosePictureFile(HWND owner);
std::optional<std::string> ChooseSoundFile(HWND owner);

}  // namespace norvel
