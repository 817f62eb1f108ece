// The picture chooser of the settings window: the open-file dialog "打开文件".
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace norvel {

// The full path of the file the user chose (UTF-8), or nullopt when the dialog was cancelled
// or failed. The dialog is modal, owned by `owner`, and starts in the program's folder.
std::optional<std::string> ChoosePictureFile(HWND owner);

}  // namespace norvel
