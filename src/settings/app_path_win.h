// Where the running program lives.
#pragma once

#include <string>

namespace norvel {

// The full path of the running exe (UTF-8), as the system reports it.
std::string AppExePath();

// The directory of the running exe (UTF-8, no trailing separator except for a drive root).
std::string AppDirectory();

// The settings file of this program: the exe's directory followed by "\option.ini".
std::string AppSettingsFile();

}  // namespace norvel
