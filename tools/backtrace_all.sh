#!/usr/bin/env bash
# Prints a backtrace of every thread of each running process named <exe> in the Wine prefix
# of the environment (WINEPREFIX, DISPLAY as scripts/test sets them), through winedbg: the
# debugger attaches, prints "bt all" and detaches, leaving the process running.
# Usage: tools/backtrace_all.sh <exe name> [32]   (32: the 32-bit debugger, for a 32-bit exe)
set -uo pipefail
exe=${1:?usage: backtrace_all.sh <exe name> [32]}
loader=/usr/lib/wine/wine64
[ "${2:-}" = 32 ] && loader=/usr/lib/wine/wine
# "info process" lists "pid threads executable" (pids in hex), children indented.
pids=$(printf 'info process\nquit\n' | "$loader" winedbg 2>/dev/null |
  awk -v exe="'$exe'" 'index(tolower($0), tolower(exe)) { for (i = 1; i <= NF; i++)
    if ($i ~ /^=?[0-9a-f]+$/ && length($i) >= 8) { sub(/^=/, "", $i); print $i; break } }')
if [ -z "$pids" ]; then
  echo "backtrace_all: no process named $exe" >&2
  exit 1
fi
for pid in $pids; do
  echo "=== $exe, process 0x$pid"
  printf 'attach 0x%s\nbt all\ndetach\nquit\n' "$pid" | "$loader" winedbg 2>&1
done
