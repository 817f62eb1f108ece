#!/usr/bin/env bash
# Start at log-in as the system does it: the per-user Run value names norvel.exe in a folder
# whose name has blanks and Chinese characters, and a log-in of the Wine prefix starts it. The
# program must then run in the notification area, its settings window hidden, and show its
# reminder at the second that option.ini names.
#
# Usage: login_test.sh <folder of the 64-bit norvel.exe and wait_window.exe>
# Runs inside the Wine environment of scripts/test (WINEPREFIX, DISPLAY, the Chinese locale).
# It ends every program of the prefix on its way (a log-in starts from an empty session) and
# leaves the prefix with its server and desktop running. Exit status 0 when all checks held.
#
# The log-in under Wine 8: `wineboot` without arguments, on a running wineserver, starts the
# per-user (and machine) Run values as Windows' log-in does and returns without waiting for
# them (in about a second). It does not run the per-user RunOnce values, and a fresh
# wineserver alone (the first program of a session) runs no Run value at all.
set -uo pipefail
bin=${1:?usage: login_test.sh <folder of the 64-bit norvel.exe and wait_window.exe>}
bin=$(cd "$bin" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib/wine.sh"

run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
folder_name="Norvel 登录 测试 $$"
folder="$WINEPREFIX/drive_c/$folder_name"
exe="C:\\$folder_name\\norvel.exe"
value="\"$exe\" /tray"
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

norvel_runs() { pgrep -f "$folder_name" >/dev/null; }

# Closed as a user would (taskkill without /f sends WM_CLOSE), so that the icon leaves the
# tray; killed by its process id if it does not end.
end_norvel() {
  norvel_runs || return 0
  wine64 taskkill /im norvel.exe >/dev/null 2>&1
  local i pid
  for i in $(seq 1 50); do
    norvel_runs || return 0
    sleep 0.1
  done
  for pid in $(pgrep -f "$folder_name"); do kill "$pid" 2>/dev/null; done
}

# A value left behind would start the program at every later log-in of the prefix.
cleanup() {
  end_norvel
  wine64 reg delete "$run_key" /v Norvel /f >/dev/null 2>&1
  rm -rf "$folder"
}
trap cleanup EXIT

# Red pixels of the dial's second hand in the notification area (bottom right of the
# 1280x800 desktop).
tray_red_pixels() {
  import -window root png:- 2>/dev/null | convert png:- -crop 160x30+1120+770 +repage -depth 8 txt:- |
    awk -F'[(),]+' 'NR > 1 && $3 > 200 && $4 < 90 && $5 < 90 { n++ } END { print n + 0 }'
}

mkdir -p "$folder"
cp "$bin/norvel.exe" "$folder/"
# The reminder some 30 seconds ahead: the log-in itself takes a few.
trigger=$(($(date +%s) + 30))
printf '[设置]\r\n提示语=登录后的提醒\r\n小时=%s\r\n分钟=%s\r\n秒钟=%s\r\n动作=无动作\r\n图片=\r\n' \
  "$(date -d "@$trigger" +%-H)" "$(date -d "@$trigger" +%-M)" "$(date -d "@$trigger" +%-S)" |
  iconv -f UTF-8 -t GBK >"$folder/option.ini"
echo "trigger at $(date -d "@$trigger" +%T); program $exe"

# The value as the program's own menu item writes it. reg.exe runs in the Chinese locale here
# (not LC_ALL=C as wine_reg does), so that the folder's name reaches it intact; it prints in
# the console's code page, GBK.
wine64 reg add "$run_key" /v Norvel /d "$value" /f >/dev/null 2>&1
stored=$(wine64 reg query "$run_key" /v Norvel 2>/dev/null | iconv -f GBK -t UTF-8 | tr -d '\r' |
  sed -n 's/^ *Norvel *REG_SZ *//p')
[ "$stored" = "$value" ] || fail "Run value is [$stored], expected [$value]"

# Log off: every program of the prefix ends. Then log in.
wineserver -k
wineserver -w
wineserver -p
if ! timeout 60 /usr/lib/wine/wine64 wineboot >/dev/null 2>&1; then
  fail "wineboot did not return within 60 s (or failed)"
fi
for i in $(seq 1 100); do norvel_runs && break; sleep 0.1; done
norvel_runs || fail "the log-in did not start norvel.exe"
echo "running after the log-in: $(pgrep -af "$folder_name" | head -1)"
# The desktop with its taskbar, as scripts/test starts it (the program's first window may
# have started it already).
wine64 explorer /desktop=shell,1280x800 >/dev/null 2>&1 &
timeout 60 xdotool search --sync --name 'Wine desktop' >/dev/null 2>&1

/usr/lib/wine/wine64 "$bin/wait_window.exe" NorvelForm1 30 hidden
case $? in
  0) echo "settings window: exists, hidden" ;;
  3) fail "the settings window was shown at a start in the tray" ;;
  *) fail "no settings window (NorvelForm1) appeared" ;;
esac

icon=0
for i in $(seq 1 20); do
  icon=$(tray_red_pixels)
  [ "$icon" -gt 0 ] && break
  sleep 1
done
if [ "$icon" -gt 0 ]; then echo "tray icon: present"; else fail "no icon in the notification area"; fi

/usr/lib/wine/wine64 "$bin/wait_window.exe" NorvelForm2 $((trigger - $(date +%s) + 15))
status=$?
shown=$(date +%s)
if [ $status -ne 0 ]; then
  fail "no reminder by $(date -d "@$shown" +%T)"
elif [ "$shown" -lt "$trigger" ] || [ "$shown" -gt $((trigger + 3)) ]; then
  fail "reminder shown at $(date -d "@$shown" +%T), not at its second"
else
  echo "reminder: shown at $(date -d "@$shown" +%T)"
fi
[ -n "${NORVEL_ARTIFACTS:-}" ] && import -window root "$NORVEL_ARTIFACTS/login-reminder.png"

if [ $failures -eq 0 ]; then echo "log-in test passed"; else echo "log-in test: $failures failed"; fi
[ $failures -eq 0 ]
