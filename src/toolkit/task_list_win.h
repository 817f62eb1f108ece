// Keeping the program out of the taskbar's list of running programs.
#pragma once

#include <windows.h>

namespace norvel {

// A hidden top-level window that owns the program's windows: an owned window gets no
// taskbar button. Created on first use; lives as long as the process.
HWND TaskListOwner();

// Takes `window` out of the task list by giving it that owner.
void HideFromTaskList(HWND window);

}  // namespace norvel
