#!/usr/bin/env bash
# Runs the picture chooser's sequence across a reminder (PictureChooserAcrossReminder) <runs>
# times (one driver process, a new norvel.exe each time) with the 32-bit or 64-bit build, in a
# Wine prefix and on a virtual display of its own (build/wine-chooser<bits>). While it runs,
# whenever the program writes down in norvel.log that its tick stopped, the host's view of its
# threads and every thread's backtrace (tools/backtrace_all.sh) are taken into
# build/chooser-runs/chooser-backtrace-<n>.txt. Prints each run's result and the count that
# passed.
# Usage: tools/chooser_runs.sh <runs> [32|64]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:?usage: chooser_runs.sh <runs> [32|64]}
bits=${2:-32}
logs=$root/build/chooser-runs
mkdir -p "$logs"
source "$root/scripts/lib/wine.sh"
trap wine_env_stop EXIT
wine_env_start "$root/build/wine-chooser$bits" yes || exit 1
if [ "$bits" = 32 ]; then loader=/usr/lib/wine/wine; bin=$root/build/win32/bin; scale=10
else loader=/usr/lib/wine/wine64; bin=$root/build/win64/bin; scale=1; fi
[ "$(wine_env_32bit_mode)" = emulated ] && [ "$bits" = 32 ] && echo "32-bit code runs emulated (qemu) here"

host_threads() {  # the host's view of norvel.exe's threads: where each waits in the kernel
  local pid task
  for pid in $(pgrep -f 'norvel\.exe( |$)'); do
    echo "=== host process $pid: thread, name, kernel wait, system call and its first arguments"
    for task in /proc/"$pid"/task/*; do
      echo "${task##*/} $(cat "$task/comm") $(cat "$task/wchan") $(cut -d' ' -f1-3 "$task/syscall")"
    done
  done 2>/dev/null
}

watch_for_stops() {  # takes the backtraces once per log that says the tick stopped
  local n seen=""
  n=$(find "$logs" -name 'chooser-backtrace-*.txt' | wc -l)  # numbered on from earlier runs
  while sleep 1; do
    for log in "$WINEPREFIX"/drive_c/users/*/Temp/*/norvel.log; do
      # Only the logs of this run's programs: the prefix keeps those of earlier runs.
      [ "$log" -nt "$started" ] && grep -q '计时停止了' "$log" 2>/dev/null &&
        ! grep -qxF "$log" <<<"$seen" || continue
      seen+="$log"$'\n'; n=$((n + 1))
      host_threads >"$logs/chooser-backtrace-$n.txt"
      "$root/tools/backtrace_all.sh" norvel.exe "$bits" >>"$logs/chooser-backtrace-$n.txt" 2>&1
      cp "$log" "$logs/chooser-norvel-$n.log"
    done
  done
}
started=$logs/.started
touch "$started"
watch_for_stops &
watcher=$!
out=$logs/chooser-runs-$bits.log
(cd "$bin" && NORVEL_TIMEOUT_SCALE=$scale timeout $((runs * 600)) "$loader" norvel_e2e_tests.exe \
  --gtest_filter='PictureChooserAcrossReminder.*' --gtest_repeat="$runs") >"$out" 2>&1
grep -E '^\[ +(OK|FAILED) +\] PictureChooserAcrossReminder' "$out" | cat -n
passed=$(grep -cE '^\[ +OK +\] PictureChooserAcrossReminder' "$out")
kill "$watcher" 2>/dev/null
echo "$passed of $runs runs passed ($bits-bit)"
