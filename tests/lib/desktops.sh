# Desktops players have, started inside the test's own display: a Wayland compositor (weston,
# shown in the Xvfb so that screenshots and xdotool reach it), an EWMH window manager with a
# panel, and an X server with two monitors (Xorg's dummy driver; Xvfb has no RandR monitors).
# Everything started here ends with the script.

# weston_start [SHELL]: a weston session filling the current X display, run by weston's X11
# back end with the pixman renderer, with SHELL (default desktop-shell.so: no panel, no
# animations; kiosk-shell.so keeps every window full screen); sets WAYLAND_DISPLAY, so GTK
# programs started afterwards use Wayland, WESTON_PID, and XDG_RUNTIME_DIR for its socket. A
# weston started before must have ended.
weston_start() {
  local size shell=${1:-desktop-shell.so}
  size=$(screen_size)
  export XDG_RUNTIME_DIR="$WORK/runtime"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  cat > "$WORK/weston.ini" <<'INI'
[core]
idle-time=0
[shell]
panel-position=none
locking=false
animation=none
close-animation=none
startup-animation=none
focus-animation=none
INI
  weston --backend=x11-backend.so --shell="$shell" --use-pixman --width="${size%x*}" \
    --height="${size#*x}" --config="$WORK/weston.ini" --socket=wayland-mc \
    --log="$WORK/weston.log" >/dev/null 2>&1 &
  WESTON_PID=$!
  WESTON_START=$(proc_start "$WESTON_PID")
  at_exit_kill "$WESTON_PID"
  # Up once its socket takes clients and its output is a window of the X display.
  wait_until 20 test -S "$XDG_RUNTIME_DIR/wayland-mc" && wait_until 20 weston_output_shown ||
    { echo "weston_start: weston did not start"; tail -n 20 "$WORK/weston.log"; return 1; }
  weston_pointer_sync
  export WAYLAND_DISPLAY=wayland-mc
}

# weston_pointer_sync: makes weston's pointer stand where the X pointer is. Its X11 back end
# takes the position from the EnterNotify of its window and then adds up relative motions;
# on a loaded machine the first one is at times lost while weston starts, and the two
# pointers then stay apart for good (its cursor at 0,0, every click landing elsewhere).
# Unmapping and mapping the window again sends a fresh one.
weston_pointer_sync() {
  local window
  window=$(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) "Weston Compositor.*/\1/p' |
    head -n 1)
  [ -n "$window" ] || return 0
  xdotool windowunmap --sync "$window" windowmap --sync "$window"
}

# weston_stop: ends the weston of weston_start and waits until it has.
weston_stop() {
  kill_same "$WESTON_PID" "$WESTON_START" || true
  wait_until 10 weston_gone || echo "weston_stop: weston did not end"
}
weston_gone() { ! same_process "$WESTON_PID" "$WESTON_START"; }
weston_output_shown() { xwininfo -root -children 2>/dev/null | grep 'Weston Compositor' >/dev/null; }

# nested_start kwin|mutter: KDE's compositor (with the Breeze decoration Plasma uses) or
# GNOME's, each native on Wayland and shown as one window filling the current X display, as
# weston_start does; sets WAYLAND_DISPLAY, XDG_RUNTIME_DIR and NESTED_PID. Needs the test's
# D-Bus session. Another may start once nested_stop has ended this one.
nested_start() {
  local size program title
  size=$(screen_size)
  export XDG_RUNTIME_DIR="$WORK/runtime"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  case "$1" in
    kwin)
      program=$(command -v kwin_wayland)
      # kwin_wayland carries a file capability; a sandbox that refuses it ("Operation not
      # permitted") runs a plain copy under the same file name.
      if ! "$program" --version >/dev/null 2>&1; then
        mkdir -p "$WORK/kwin" && cp "$program" "$WORK/kwin/kwin_wayland"
        program="$WORK/kwin/kwin_wayland"
      fi
      title='KDE Wayland Compositor'
      "$program" --x11-display "$DISPLAY" --socket wayland-mc --width "${size%x*}" \
        --height "${size#*x}" --no-lockscreen --no-global-shortcuts --no-kactivities \
        >"$WORK/nested.log" 2>&1 & ;;
    mutter)
      title='mutter'
      MUTTER_DEBUG_DUMMY_MODE_SPECS=$size mutter --nested --wayland --no-x11 \
        --wayland-display=wayland-mc >"$WORK/nested.log" 2>&1 & ;;
    *) echo "nested_start: unknown compositor $1"; return 1 ;;
  esac
  NESTED_PID=$!
  NESTED_START=$(proc_start "$NESTED_PID")
  at_exit_kill "$NESTED_PID"
  wait_until 30 test -S "$XDG_RUNTIME_DIR/wayland-mc" &&
    wait_until 20 nested_output_shown "$title" ||
    { echo "nested_start: $1 did not start"; tail -n 20 "$WORK/nested.log"; return 1; }
  export WAYLAND_DISPLAY=wayland-mc
}
nested_output_shown() { xwininfo -root -children 2>/dev/null | grep "\"$1" >/dev/null; }
nested_stop() {
  kill_same "$NESTED_PID" "$NESTED_START" || true
  wait_until 10 nested_gone || echo "nested_stop: the compositor did not end"
  rm -rf "$XDG_RUNTIME_DIR"
}
nested_gone() { ! same_process "$NESTED_PID" "$NESTED_START"; }

# wm_start openbox|xfwm4: that window manager with a tint2 panel along the bottom edge of the
# primary monitor; waits
# until the manager has taken the screen and the panel's strut has made the work area smaller.
# WM_NAME is the manager, WORKAREA the work area ("X,Y,W,H").
wm_start() {
  WM_NAME=$1
  case "$WM_NAME" in
    openbox) openbox --sm-disable >"$WORK/wm.log" 2>&1 & ;;
    xfwm4) xfwm4 --sm-client-disable >"$WORK/wm.log" 2>&1 & ;;
    *) echo "wm_start: unknown window manager $WM_NAME"; return 1 ;;
  esac
  at_exit_kill $!
  wait_until 20 wm_supports _NET_WM_STATE_FULLSCREEN ||
    { echo "wm_start: $WM_NAME did not start"; cat "$WORK/wm.log"; display_report; return 1; }
  mkdir -p "$WORK/tint2"
  cat > "$WORK/tint2/tint2rc" <<'RC'
panel_items = T
panel_position = bottom center horizontal
panel_monitor = primary
panel_size = 100% 30
panel_dock = 0
strut_policy = follow_size
panel_layer = top
taskbar_mode = single_desktop
RC
  tint2 -c "$WORK/tint2/tint2rc" >"$WORK/tint2.log" 2>&1 &
  at_exit_kill $!
  local full
  full=$(screen_size)
  wait_until 20 work_area_below "${full#*x}" ||
    { echo "wm_start: the panel reserved no space"; cat "$WORK/tint2.log"; return 1; }
  WORKAREA=$(work_area)
}

# screen_size: the X screen's size, "WxH".
screen_size() { xdpyinfo 2>/dev/null | awk '/dimensions:/{size = $2} END{print size}'; }

# wm_supports ATOM: the running window manager announces ATOM in _NET_SUPPORTED.
wm_supports() { xprop -root _NET_SUPPORTED 2>/dev/null | grep -w "$1" >/dev/null; }

# work_area: the first desktop's _NET_WORKAREA as "X,Y,W,H".
work_area() {
  xprop -root _NET_WORKAREA 2>/dev/null | sed -nE 's/.*= ([0-9]+), ([0-9]+), ([0-9]+), ([0-9]+).*/\1,\2,\3,\4/p'
}
work_area_below() { local h; h=$(work_area | cut -d, -f4); [ -n "$h" ] && [ "$h" -lt "$1" ]; }

# xorg_start MONITOR...: an Xorg server on the dummy driver with one monitor per argument
# ("WxH", a mode the driver knows: 1280x800, 1024x768, 800x600, ...), side by side from the
# left, top edges aligned; sets DISPLAY. Needs no hardware and no console, but the right to
# start Xorg (root).
xorg_start() {
  local conf="$WORK/xorg.conf" number width=0 height=0 m output=0 previous
  for m in "$@"; do
    width=$((width + ${m%x*}))
    [ "${m#*x}" -gt "$height" ] && height=${m#*x}
  done
  cat > "$conf" <<CONF
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "card"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "card"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual $width $height
  EndSubSection
EndSection
CONF
  number=$(mktemp)
  Xorg -displayfd 3 -config "$conf" -noreset -nolisten tcp -sharevts -novtswitch \
    -logfile "$WORK/xorg.log" 3>"$number" >/dev/null 2>&1 &
  XORG_PID=$!
  at_exit_kill "$XORG_PID"
  wait_until 20 displayfd_written "$number" ||
    { echo "xorg_start: Xorg did not start"; tail -n 20 "$WORK/xorg.log"; rm -f "$number"; return 1; }
  export DISPLAY=":$(head -n 1 "$number")"
  rm -f "$number"
  # Each monitor is an output of the dummy card with a mode of its size.
  previous=""
  for m in "$@"; do
    xrandr --addmode "DUMMY$output" "$m" 2>/dev/null || true  # the first output has them all
    if [ -z "$previous" ]; then
      xrandr --output "DUMMY$output" --mode "$m" --pos 0x0 --primary
    else
      xrandr --output "DUMMY$output" --mode "$m" --right-of "$previous"
    fi
    previous="DUMMY$output"
    output=$((output + 1))
  done
  [ "$(xrandr --listmonitors | awk 'NR == 1 {print $2}')" = "$#" ] ||
    { echo "xorg_start: expected $# monitors"; xrandr --listmonitors; return 1; }
}
