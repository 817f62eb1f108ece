// Shutting the computer down or restarting it.
#pragma once

#include <windows.h>

namespace norvel {

// Enables "SeShutdownPrivilege" in the process's own token (which ExitWindowsEx requires).
// Returns 0, or the system's error number when the privilege could not be enabled.
DWORD EnableShutdownPrivilege();

// Enables the privilege and asks the system to shut down or restart (`flags`), never
// forced: other programs may save their work or refuse. Returns 0 when the system took the
// request, otherwise its error number.
DWORD RequestExitWindows(UINT flags);

}  // namespace norvel
