# Sourced by the Windows port tests: each test gets a private Xvfb, a private copy of a 32-bit
# Wine prefix (made once per build tree) whose Desktop is a real folder, and its own wineserver.
# Needs MC_BUILD (the win32 build tree) and MC_SOURCE.
set -euo pipefail

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
export WINEARCH=win32
# Code page 936 (GBK) as the system code page, as on the target machines. Given to Wine only:
# glibc has no such locale here, and the shell would complain about it.
wine() { env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 wine "$@"; }

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

# Sets WINEPREFIX, HOME, DISPLAY, WINE_DESKTOP (Unix path of the user's Desktop) and WORK
# (a scratch folder, also reachable from Windows as Z:). Cleans up on exit.
wine_start() {
  wine_make_template
  WORK=$(mktemp -d)
  export HOME="$WORK/home"
  mkdir -p "$HOME"
  export WINEPREFIX="$WORK/prefix"
  cp -a "$wine_template" "$WINEPREFIX"
  local user_dir
  user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
  for link in "$user_dir"/*; do [ -L "$link" ] && rm "$link" && mkdir -p "$link"; done
  export WINE_DESKTOP="$user_dir/Desktop"
  mkdir -p "$WINE_DESKTOP"
  # A display number of its own, chosen by the server once it is ready.
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
  WINE_XVFB=$!
  for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n 1 "$WORK/display")"
  trap wine_stop EXIT
}

wine_stop() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$WINE_XVFB" >/dev/null 2>&1 || true
  # Helper processes (WebKit, Wine) may still be writing caches for a moment.
  rm -rf "$WORK" 2>/dev/null || { sleep 1; rm -rf "$WORK" 2>/dev/null; } || true
}

# Windows path of a Unix path.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
