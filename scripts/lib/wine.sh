# Shared by scripts/test and scripts/run: a private Wine prefix on a private or given display.
# Source it, then call wine_env_start <state-dir>; wine_env_stop ends what it started.

NORVEL_STARTED_PIDS=()

wine_env_exports() {
  local state=$1
  export WINEPREFIX="$state/prefix"
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # The users' systems are Simplified Chinese: the ANSI code page must be 936.
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  export NORVEL_WINE_STATE="$state"
}

# Starts Xvfb on a free display (-displayfd avoids display-number races) unless DISPLAY is
# set and usable. Sets DISPLAY.
wine_env_display() {
  local state=$1 want_private=${2:-yes}
  if [ "$want_private" = no ] && [ -n "${DISPLAY:-}" ]; then return 0; fi
  local fdfile="$state/xvfb.display"
  rm -f "$fdfile"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -ac 3>"$fdfile" >"$state/xvfb.log" 2>&1 &
  NORVEL_STARTED_PIDS+=($!)
  local i
  for i in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  [ -s "$fdfile" ] || { echo "Xvfb did not start (see $state/xvfb.log)" >&2; return 1; }
  export DISPLAY=":$(tr -d '\n' <"$fdfile")"
}

# How 32-bit Windows programs run here: "native", "emulated" (32-bit Linux code through
# qemu, registered by scripts/setup where the kernel runs 64-bit user code only) or "none".
wine_env_32bit_mode() {
  if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo none
  elif grep -qx enabled /proc/sys/fs/binfmt_misc/norvel-i386 2>/dev/null; then
    echo emulated
  else
    echo native
  fi
}

# Wine's own tools are 64-bit; Debian's "wine" wrapper would start them through the 32-bit
# loader first, which is slow where 32-bit code is emulated.
wine64() { /usr/lib/wine/wine64 "$@"; }
wine32() { /usr/lib/wine/wine "$@"; }
wine_reg() { LC_ALL=C wine64 reg "$@" >/dev/null 2>&1; }

# Creates the prefix once (about 10 s) and configures it; later runs reuse it.
# Version of the prefix settings below; a change applies them again without a new prefix.
NORVEL_PREFIX_CONFIG=2

wine_env_prefix() {
  local state=$1
  local made="$WINEPREFIX/.norvel-prefix-made"
  local configured="$WINEPREFIX/.norvel-configured-v$NORVEL_PREFIX_CONFIG"
  if [ ! -f "$made" ]; then
    # A prefix without the stamp is half made (an interrupted run): start it afresh.
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineserver -p
    if ! wine64 wineboot -i >"$state/wineboot.log" 2>&1; then
      echo "wineboot failed, see $state/wineboot.log" >&2
      return 1
    fi
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    touch "$made"
  fi
  wineserver -p
  if [ ! -f "$configured" ]; then
    # Virtual-desktop mode with the shell (taskbar and notification area): drags,
    # double-clicks, minimize and menus behave like Windows, and the tray icon has a home.
    wine_reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f
    wine_reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1280x800 /f
    # The Chinese font stands in for the fonts the windows name.
    local face
    for face in "宋体" "SimSun" "新宋体" "NSimSun" "Microsoft YaHei" "微软雅黑"; do
      wine_reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "WenQuanYi Micro Hei" /f
    done
    wineserver -k || true
    wineserver -w || true
    rm -f "$WINEPREFIX"/.norvel-configured-v*
    touch "$configured"
    wineserver -p
  fi
  wine_env_desktop
}

# Starts the desktop (explorer) so that tests do not pay for it. Programs started before the
# desktop is up can fail; this waits for its X window.
wine_env_desktop() {
  wine64 explorer /desktop=shell,1280x800 >/dev/null 2>&1 &
  NORVEL_STARTED_PIDS+=($!)
  timeout 60 xdotool search --sync --name 'Wine desktop' >/dev/null 2>&1 || true
}

# Ends every program of the prefix and starts its server and desktop afresh (settings of the
# desktop, such as its dpi, take effect).
wine_env_restart_desktop() {
  wineserver -k; wineserver -w; wineserver -p
  wine_env_desktop
}

wine_env_start() {
  local private=${2:-yes}
  mkdir -p "$1"
  local state
  state=$(cd "$1" && pwd)
  wine_env_exports "$state"
  wine_env_display "$state" "$private" && wine_env_prefix "$state"
}

wine_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  local pid
  for pid in "${NORVEL_STARTED_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${NORVEL_STARTED_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  NORVEL_STARTED_PIDS=()
}
