# Sourced by the Linux port tests: a private Xvfb, a private D-Bus session with the AT-SPI bus
# (for reading dialogs), and a temporary HOME whose Desktop is a real folder. Needs MC_BUILD
# (the Linux build tree) and MC_SOURCE.
set -euo pipefail

CLIENT="$MC_BUILD/microclient"
TOOLS="$MC_SOURCE/tests/tools"

# Re-executes the calling test inside its own D-Bus session, once.
gtk_session() {
  if [ -z "${MC_IN_SESSION:-}" ]; then
    export MC_IN_SESSION=1
    exec dbus-run-session -- bash "$0" "$@"
  fi
  WORK=$(mktemp -d)
  export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_CACHE_HOME="$WORK/home/.cache"
  export XDG_DATA_HOME="$WORK/home/.local/share"
  mkdir -p "$HOME/Desktop"
  # A display number of its own, chosen by the server once it is ready, so parallel runs
  # never share one.
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
  GTK_XVFB=$!
  for _ in $(seq 200); do [ -s "$WORK/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(head -n 1 "$WORK/display")"
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  GTK_ATSPI=$!
  export GTK_A11Y=atspi
  trap gtk_stop EXIT
}

gtk_stop() {
  kill "${CLIENT_PID:-}" >/dev/null 2>&1 || true
  kill "$GTK_ATSPI" "$GTK_XVFB" >/dev/null 2>&1 || true
  # Helper processes (WebKit, Wine) may still be writing caches for a moment.
  rm -rf "$WORK" 2>/dev/null || { sleep 1; rm -rf "$WORK" 2>/dev/null; } || true
}

# brand OUT [make_package.py arguments...]: the client with a package appended.
brand() {
  local out=$1; shift
  python3 "$TOOLS/make_package.py" "$WORK/package.zip" "$@"
  cat "$CLIENT" "$WORK/package.zip" > "$out"
  chmod +x "$out"
}

# Starts a program in the background (CLIENT_PID), in the given folder.
start_in() {
  local dir=$1; shift
  (cd "$dir" && exec "$@") >"$WORK/client.log" 2>&1 &
  CLIENT_PID=$!
}

# wait_window ROLE: prints the id of a visible window with that WM_WINDOW_ROLE.
wait_window() {
  local role=$1 id
  for _ in $(seq 300); do  # up to ~30 s: the first WebKit start is slow on a busy machine
    for id in $(xdotool search --onlyvisible --name '.*' 2>/dev/null); do
      if xprop -id "$id" WM_WINDOW_ROLE 2>/dev/null | grep -q "\"$role\""; then
        echo "$id"; return 0
      fi
    done
    sleep 0.1
  done
  return 1
}

# wait_exit SECONDS: waits for the client to end; fails when it is still running.
wait_exit() {
  local limit=$1
  for _ in $(seq $((limit * 10))); do
    kill -0 "$CLIENT_PID" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

source "$MC_SOURCE/tests/tools/check.sh"
