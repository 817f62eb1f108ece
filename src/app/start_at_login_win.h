// Start at log-in through the per-user Run key: the tray menu's "开机时启动", the repair at
// start, the one-time start after a restart the program carries out, and the "/tray" start.
// The decisions are in app/start_at_login.h; this file reads and writes the registry.
#pragma once

namespace norvel {

// Whether the program will start at log-in: the Run value names this norvel.exe and Task
// Manager has not disabled it. The tray menu's check mark.
bool StartAtLoginChecked();

// On: writes the Run value "\"<this exe>\" /tray" and removes Task Manager's disabling mark.
// Off: deletes the Run value. False when a write or deletion was refused; the caller tells
// the user (nothing is retried, and nothing outside the current user's hive is touched).
bool SetStartAtLogin(bool on);

// At start: a Run value left naming a norvel.exe in a folder that no longer holds it (the
// user moved the folder) is rewritten to name this exe. False only when such a rewrite was
// refused; true when it was done or nothing needed doing.
bool RepairStartAtLogin();

// Before a restart the program carries out itself: when start at log-in is off, writes the
// RunOnce value "\"<this exe>\" /tray" so the program comes back once after the restart.
// ERROR_SUCCESS when the program will start after the restart (start at log-in is on, or
// the value was written); otherwise the system's error of the refused write.
long ArmRunOnceForRestart();
// Takes the RunOnce value back when the restart did not happen: ERROR_SUCCESS when it is
// gone (or was never there), otherwise the system's error.
long DisarmRunOnce();

// Whether this process was started with "/tray" (or "-tray", any case) among its arguments:
// start without showing the settings window.
bool StartedForTray();

}  // namespace norvel
