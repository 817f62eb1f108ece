// Line breaks in the reminder message: the edit control and the labels show a line break
// only as CR LF, while a message written into the settings file by hand may use LF or CR
// alone; a window title is one line.
#pragma once

#include <string>
#include <string_view>

namespace norvel {

// Every line break (CR LF, or a lone LF or CR) as CR LF.
std::string WithCrLfLineBreaks(std::string_view text);

// Every line break (CR LF, or a lone LF or CR) as one space.
std::string LineBreaksAsSpaces(std::string_view text);

}  // namespace norvel
