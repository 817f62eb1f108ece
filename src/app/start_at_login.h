// Start at log-in: what the per-user Run value says, whether Task Manager has disabled it,
// what to write, when to mend a value left behind by a moved folder, and the argument that
// starts the program in the tray. Paths are UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace norvel {

// Written after the path; starts the program without showing the settings window.
inline constexpr std::string_view kTrayArgument = "/tray";

// The program path a Run value names (blanks before it are skipped):
// - quoted: the text up to the closing quote; a value whose quote is never closed names
//   nothing (""), as does a lone quote;
// - unquoted: up to and including the first ".exe" (any case) that ends the value or is
//   followed by a blank, so that folders with blanks ("C:\Program Files\...") and a dotted
//   folder ("C:\a.exe.d\norvel.exe") still give the whole path; without such an ".exe", up
//   to the first blank, as a command line's first word.
std::string RunValuePath(std::string_view value);

// Paths compared as the file system does for ASCII: letters without regard to case, "\" and
// "/" alike. Bytes outside ASCII must match exactly (a simple fold: "É" and "é" differ).
bool SamePath(std::string_view a, std::string_view b);

// Whether a Run value starts `exe` (quoted or not, with or without arguments).
bool RunValueNames(std::string_view value, std::string_view exe);

// Whether Task Manager has disabled the item: it keeps 12 bytes whose first byte is odd (03,
// 07) when disabled and even (02, 06) when enabled. Only the first byte is looked at; a
// missing or empty value (or one of another type, which the caller passes as missing) does
// not disable, since Windows then starts the item.
bool DisabledAtLogin(const std::optional<std::vector<std::uint8_t>>& approved);

// The tray menu's check mark: the Run value names `exe` and Task Manager has not disabled it.
bool StartAtLoginChecked(const std::optional<std::string>& run_value,
                         const std::optional<std::vector<std::uint8_t>>& approved,
                         std::string_view exe);

// The Run (or RunOnce) value that starts `exe` in the tray: "\"<exe>\" /tray".
std::string RunValueFor(std::string_view exe);

enum class RunValueRepair { kLeave, kRewrite };

// At start: a Run value that names a program of this exe's file name in a folder that no
// longer holds it (the folder was moved or renamed) is rewritten to name `exe`. Left alone:
// a value that names `exe` already, another copy that exists (`named_exists` tells whether
// RunValuePath(value) exists), another program's name, a bare name without a folder (the
// shell finds those through its search path) and a value that names nothing.
RunValueRepair DecideRunValueRepair(std::string_view value, std::string_view exe,
                                    bool named_exists);

// Whether the arguments (without the program name) ask to start in the tray: "/tray" or
// "-tray" in any case, anywhere among them. Other arguments are ignored.
bool HasTrayArgument(const std::vector<std::string>& arguments);

}  // namespace norvel
