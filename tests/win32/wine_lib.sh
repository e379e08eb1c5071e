# Sourced by the Windows port tests (and the Windows benchmarks): the shared library
# (tests/lib), and wine_start: a private Xvfb, a private copy of a 32-bit Wine prefix (made once
# per build tree) whose Desktop is a real folder, and its own wineserver. Also wine (run with
# the target systems' code page), start_exe and winpath. Needs MC_BUILD (the win32 build tree)
# and MC_SOURCE.
set -euo pipefail
source "$MC_SOURCE/tests/lib/common.sh"

CLIENT="$MC_BUILD/microclient.exe"

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
export WINEARCH=win32
# Code page 936 (GBK) as the system code page, as on the target machines. Given to Wine only:
# glibc has no such locale here, and the shell would complain about it.
WINE_LOCALE=(env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8)
wine() { "${WINE_LOCALE[@]}" wine "$@"; }

# start_exe DIR PROGRAM [ARGS...]: starts a Windows program with DIR as current directory, in
# the background (CLIENT_PID, the program's process; its output in $WORK/client.log).
start_exe() {
  local dir=$1; shift
  start_in "$dir" "${WINE_LOCALE[@]}" wine "$@"
}

wine_template="$MC_BUILD/wine-template"

wine_make_template() {
  (
    flock 9
    [ -f "$wine_template/.ready" ] && exit 0
    rm -rf "$wine_template"
    local home; home=$(mktemp -d)
    HOME=$home WINEPREFIX="$wine_template" xvfb-run -a wineboot -i >/dev/null 2>&1 || true
    HOME=$home WINEPREFIX="$wine_template" wineserver -w || true
    # Without a window manager, managed windows cost seconds on every destruction.
    cat > "$home/managed.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"
REG
    HOME=$home WINEPREFIX="$wine_template" xvfb-run -a wine regedit "$home/managed.reg" >/dev/null 2>&1 || true
    HOME=$home WINEPREFIX="$wine_template" wineserver -w || true
    rm -rf "$home"
    [ -f "$wine_template/system.reg" ] || { echo "wine prefix could not be made" >&2; exit 1; }
    touch "$wine_template/.ready"
  ) 9>"$MC_BUILD/.wine-template.lock"
}

# wine_start: sets WINEPREFIX, HOME, DISPLAY, WINE_DESKTOP (Unix path of the user's Desktop)
# and WORK (a scratch folder, also reachable from Windows as Z:). Cleans up on exit.
wine_start() {
  wine_make_template
  make_work
  export HOME="$WORK/home"
  mkdir -p "$HOME"
  export WINEPREFIX="$WORK/prefix"
  cp -a "$wine_template" "$WINEPREFIX"
  local user_dir
  user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
  for link in "$user_dir"/*; do [ -L "$link" ] && rm "$link" && mkdir -p "$link"; done
  export WINE_DESKTOP="$user_dir/Desktop"
  mkdir -p "$WINE_DESKTOP"
  xvfb_start
  at_exit "wineserver -k >/dev/null 2>&1"
}

# Windows path of a Unix path.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
