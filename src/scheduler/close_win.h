// Shutting the computer down or restarting it.
#pragma once

namespace norvel {

// Enables "SeShutdownPrivilege" in the process's own token (which ExitWindowsEx requires).
// Results are not examined: if it fails, the shut-down request that follows fails.
void EnableShutdownPrivilege();

}  // namespace norvel
