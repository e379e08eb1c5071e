#!/usr/bin/env bash
# The Linux game window under EWMH window managers with a panel (openbox and xfwm4, each with a
# tint2 panel along the bottom): maximised fills the work area and full screen the whole
# screen as the manager's own states (_NET_WM_STATE), so the panel is never above the full
# screen; F11 there and back keeps the same X window mapped throughout (no UnmapNotify); the
# restore button, the title band and the borders go through the manager, a border dragged past
# the work area's edge moves that edge alone and the configured minimum still holds.
export NO_AT_BRIDGE=1
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"
source "$MC_SOURCE/tests/gtk/game_lib.sh"
DRAG_HOLD=0.3  # the system moves and sizes the window from the press
game_site

game_client minGameWidth=600 minGameHeight=400
PAGE=32,80,128
TITLE=27  # the sample's title band; its side and bottom pieces are 3 pixels

# states: the window's _NET_WM_STATE as the manager keeps it, in a fixed order.
states() {
  xprop -id "$GAME_ID" _NET_WM_STATE 2>/dev/null | grep -oE '_NET_WM_STATE_(MAXIMIZED_VERT|MAXIMIZED_HORZ|FULLSCREEN)' |
    sort | paste -sd' '
}
eventually_states() {
  wait_until 5 states_are "$1" || true
  states
}
states_are() { [ "$(states)" = "$1" ]; }
# (Some managers drop the maximised states while the window is full screen, some keep them.)
full_screen_state() { states | grep -w _NET_WM_STATE_FULLSCREEN >/dev/null; }
MAXIMIZED="_NET_WM_STATE_MAXIMIZED_HORZ _NET_WM_STATE_MAXIMIZED_VERT"
bottom_below() {  # bottom_below Y: the window's bottom edge lies below Y
  local gx gy gw gh
  IFS=, read -r gx gy gw gh <<< "$(geometry "$GAME_ID")"
  [ $((gy + gh)) -gt "$1" ]
}

under() {  # under WM: the whole round under that window manager
  local wm=$1 area w h
  wm_start "$wm"
  IFS=, read -r _ _ w h <<< "$WORKAREA"
  area="0,0,$w,$h"
  game_start "$GAME_CLIENT"
  check "$wm: starts maximised on the work area, as the manager's state" "$area|$MAXIMIZED" \
    "$(eventually_geometry "$GAME_ID" "$area")|$(eventually_states "$MAXIMIZED")"
  check "$wm: the page fills the work area below the title band" "${w}x$((h - TITLE))" \
    "$(eventually_page_size "${w}x$((h - TITLE))")"

  # Full screen and back: the same window, never unmapped, the panel below it.
  xev -id "$GAME_ID" -event structure > "$WORK/events.$wm" 2>&1 &
  local watcher=$!
  xdotool mousemove 640 400 key F11
  check "$wm: F11 is the manager's full screen" yes \
    "$(wait_until 5 full_screen_state && echo yes || echo no)"
  check "$wm: full screen covers the whole screen" "0,0,1280,800" \
    "$(eventually_geometry "$GAME_ID" 0,0,1280,800)"
  check "$wm: the page shows where the panel is" "$PAGE" "$(wait_pixel 640 790 "$PAGE")"
  check "$wm: and reaches the page" "1280x800" "$(eventually_page_size 1280x800)"
  xdotool key F11
  check "$wm: F11 again: maximised on the work area" "$area|$MAXIMIZED" \
    "$(eventually_geometry "$GAME_ID" "$area")|$(eventually_states "$MAXIMIZED")"
  check "$wm: the frame again" same "$(frame_check max)"
  kill "$watcher" 2>/dev/null
  check "$wm: full screen and back never unmapped the window" "0|IsViewable" \
    "$(grep -c UnmapNotify "$WORK/events.$wm")|$(map_state "$GAME_ID")"
  check "$wm: still the same window" "$GAME_ID" "$(wait_window game)"

  # Restored: the configured size centred in the work area, no longer maximised.
  local x=$(((w - 600) / 2)) y=$(((h - 400) / 2))
  click $((w - 42)) 10
  check "$wm: the restore button leaves the manager's maximised state" "$x,$y,600,400|" \
    "$(eventually_geometry "$GAME_ID" "$x,$y,600,400")|$(eventually_states "")"
  check "$wm: restored frame" same "$(frame_check restored)"

  # The title band moves the window through the manager.
  drag $((x + 300)) $((y + 10)) 40 30
  x=$((x + 40)) y=$((y + 30))
  check "$wm: a drag on the title band moves the window" "$x,$y,600,400" \
    "$(eventually_geometry "$GAME_ID" "$x,$y,600,400")"

  # The bottom border dragged past the panel: the top edge stays where it is.
  drag $((x + 300)) $((y + 398)) 0 $((h + 20 - y - 398))
  wait_until 5 bottom_below "$h" || true
  local gx gy gw gh
  IFS=, read -r gx gy gw gh <<< "$(geometry "$GAME_ID")"
  check "$wm: the bottom border past the work area moves the bottom edge alone" \
    "$x,$y,600|yes" "$gx,$gy,$gw|$([ $((gy + gh)) -gt "$h" ] && echo yes || echo no)"
  # The right border outward, then inward past the configured minimum: the minimum holds.
  drag $((x + 598)) $((y + 200)) 50 0
  check "$wm: the right border widens the window" "$x,$y,650,$gh" \
    "$(eventually_geometry "$GAME_ID" "$x,$y,650,$gh")"
  drag $((x + 648)) $((y + 200)) -150 0
  check "$wm: the minimum width holds" "$x,$y,600,$gh" \
    "$(eventually_geometry "$GAME_ID" "$x,$y,600,$gh")"

  # A double-click on the band maximises again, as the manager's state.
  double_click $((x + 300)) $((y + 10))
  check "$wm: a double-click on the band maximises" "$area|$MAXIMIZED" \
    "$(eventually_geometry "$GAME_ID" "$area")|$(eventually_states "$MAXIMIZED")"
  kill_client
  wait_exit
}

under openbox
# A fresh display for the second manager.
xvfb_start
under xfwm4
finish
