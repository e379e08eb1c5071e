# Sourced by the Linux port tests (and the Linux benchmarks): the shared library (tests/lib),
# and gtk_session: a private D-Bus session with the AT-SPI bus (for reading dialogs), Xvfb and
# a temporary HOME whose Desktop is a real folder. Needs MC_BUILD (the Linux build tree) and
# MC_SOURCE.
set -euo pipefail
source "$MC_SOURCE/tests/lib/common.sh"

CLIENT="$MC_BUILD/microclient"

# gtk_session [ARGS...]: re-executes the calling script inside its own D-Bus session, once,
# then sets up WORK, HOME and the XDG folders under it, Xvfb (XVFB_SCREEN for another screen
# size) and, unless NO_AT_BRIDGE is set, the accessibility bus. Everything ends with the script.
gtk_session() {
  if [ -z "${MC_IN_SESSION:-}" ]; then
    export MC_IN_SESSION=1
    exec dbus-run-session -- bash "$0" "$@"
  fi
  make_work
  export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_CACHE_HOME="$WORK/home/.cache"
  export XDG_DATA_HOME="$WORK/home/.local/share"
  mkdir -p "$HOME/Desktop"
  xvfb_start
  if [ -z "${NO_AT_BRIDGE:-}" ]; then
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    at_exit_kill $!
    export GTK_A11Y=atspi
  fi
  at_exit kill_client
}

# dialog TITLE [ok|cancel] [TIMEOUT-SECONDS]: the text of the message dialog titled TITLE,
# read through AT-SPI, and the button pressed (tests/gtk/dialog.py).
dialog() { /usr/bin/python3 "$MC_SOURCE/tests/gtk/dialog.py" "$@"; }
