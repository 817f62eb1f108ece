// Whether the user presents or runs a full-screen program: the shell says so (presentation
// mode, a full-screen Direct3D program), or the foreground window of another program covers
// its whole monitor (the desktop and the taskbar do not count).
#pragma once

namespace norvel {

bool FullScreenProgramInFront();

}  // namespace norvel
