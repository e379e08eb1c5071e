#!/usr/bin/env bash
# The Linux client on two monitors (Xorg's dummy driver: 1280 x 800 with a 1024 x 768 monitor
# right of it), without a window manager and under openbox: the launcher opens centred on the
# monitor holding the pointer, and so does the game window, maximised there; restore, full
# screen and maximise use the monitor holding the window, also after it was dragged to the
# other one; and a window whose monitor is unplugged comes back to the one that is left.
export NO_AT_BRIDGE=1
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"
source "$MC_SOURCE/tests/gtk/game_lib.sh"
DRAG_HOLD=0.3  # the system moves and sizes the window from the press
game_site
xorg_start 1280x800 1024x768

game_client minGameWidth=600 minGameHeight=400
game_package "$WORK/lpkg"
game_brand "$WORK/lpkg" "$WORK/game/launch.client"
PW=$(identify -format %w "$MC_SOURCE/sample/package/config/main1.png")
PH=$(identify -format %h "$MC_SOURCE/sample/package/config/main1.png")

SECOND="1280,0,1024,768"
FIRST="0,0,1280,800" FIRST_AREA="0,0,1280,800"

round() {  # round NAME: one round on the desktop as it is
  local name=$1 fw fh
  IFS=, read -r _ _ fw fh <<< "$FIRST_AREA"
  xdotool mousemove 1700 400

  # The launcher, centred on the monitor holding the pointer.
  start_in "$WORK/game" "$WORK/game/launch.client"
  local launcher
  launcher=$(wait_window launcher || true)
  check "$name: the launcher opens centred on the pointer's monitor" \
    "$((1280 + (1024 - PW) / 2)),$(((768 - PH) / 2)),$PW,$PH" "$(geometry "$launcher")"
  kill_client
  wait_exit

  # The game window, maximised on that monitor; restore and full screen stay there.
  game_start "$GAME_CLIENT"
  check "$name: the game window maximises on the pointer's monitor" "$SECOND" \
    "$(eventually_geometry "$GAME_ID" "$SECOND")"
  click $((1280 + 1024 - 42)) 10
  check "$name: restore centres it on that monitor" "1492,184,600,400" \
    "$(eventually_geometry "$GAME_ID" 1492,184,600,400)"
  xdotool mousemove 1792 384 key F11
  check "$name: full screen covers that monitor" "$SECOND" \
    "$(eventually_geometry "$GAME_ID" "$SECOND")"
  xdotool key F11
  check "$name: and back" "1492,184,600,400" "$(eventually_geometry "$GAME_ID" 1492,184,600,400)"

  # Dragged onto the first monitor, the window uses that one.
  drag 1792 194 -1200 0
  check "$name: dragged onto the first monitor" "292,184,600,400" \
    "$(eventually_geometry "$GAME_ID" 292,184,600,400)"
  double_click 592 194
  check "$name: maximises on the first monitor" "$FIRST_AREA" \
    "$(eventually_geometry "$GAME_ID" "$FIRST_AREA")"
  double_click 640 10
  local restored="340,$(((fh - 400) / 2)),600,400"
  check "$name: restores centred on the first monitor" "$restored" \
    "$(eventually_geometry "$GAME_ID" "$restored")"
  xdotool mousemove 640 400 key F11
  check "$name: full screen covers the first monitor" "$FIRST" \
    "$(eventually_geometry "$GAME_ID" "$FIRST")"
  xdotool key F11
  eventually_geometry "$GAME_ID" "$restored" >/dev/null

  # Back on the second monitor, maximised there, then that monitor is unplugged.
  drag 640 $(((fh - 400) / 2 + 10)) 1100 0
  eventually_geometry "$GAME_ID" "1440,$(((fh - 400) / 2)),600,400" >/dev/null
  double_click 1740 $(((fh - 400) / 2 + 10))
  check "$name: maximised on the second monitor again" "$SECOND" \
    "$(eventually_geometry "$GAME_ID" "$SECOND")"
  xrandr --output DUMMY1 --off
  check "$name: its monitor unplugged, the window is maximised on the first" "$FIRST_AREA" \
    "$(eventually_geometry "$GAME_ID" "$FIRST_AREA")"
  check "$name: and shows the page below its title band" "${fw}x$((fh - 27))" \
    "$(eventually_page_size "${fw}x$((fh - 27))")"
  kill_client
  wait_exit
  xrandr --output DUMMY1 --mode 1024x768 --right-of DUMMY0
}

round "no window manager"
wm_start openbox
FIRST_AREA="0,0,1280,770"  # above the panel
round openbox
finish
