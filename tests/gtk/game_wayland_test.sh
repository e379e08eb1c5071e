#!/usr/bin/env bash
# The Linux client on native Wayland (weston, shown inside the test's Xvfb): the game window
# appears maximised at the size the core computes from the output's work area, with its frame;
# restore gives the configured size, the compositor moves it by the title band and sizes it by
# its borders (never below the configured minimum); double-clicks, the maximise button, the
# settings menu's full screen and F11 change its size as the model decides, and the page fills
# it. The launcher works too: its
# start link opens the game window. Under a compositor that keeps every window full screen
# (weston's kiosk shell), refused requests leave the window usable. Sizes are what the page
# reports of itself and what a screenshot of the output shows.
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"
source "$MC_SOURCE/tests/gtk/game_lib.sh"
DRAG_HOLD=0.3  # the system moves and sizes the window from the press
game_site
weston_start

game_client minGameWidth=600 minGameHeight=400
PAGE=32,80,128
# The sample frame: a 27-pixel title band, 3-pixel sides and bottom.
FRAME_TOP=27 FRAME_SIDE=3

# window_box: "X,Y,W,H" of the restored window as the output shows it: the page's box with
# the frame around it.
window_box() {
  local box
  screenshot "$WORK/box.png"
  box=$(color_box "$WORK/box.png" "$PAGE")
  [ "$box" != none ] || { echo none; return; }
  IFS=, read -r bx by bw bh <<< "$box"
  echo "$((bx - FRAME_SIDE)),$((by - FRAME_TOP)),$((bw + 2 * FRAME_SIDE)),$((bh + FRAME_TOP + FRAME_SIDE))"
}
# eventually_window_box EXPECTED: the window's box once it is EXPECTED ("X,Y,W,H", or "W,H"
# for any place) (within about 5 s).
eventually_window_box() {
  wait_until 5 window_box_is "$1" || true
  window_box
}
window_box_is() { [[ "$(window_box)" == *"$1" ]]; }

game_start "$GAME_CLIENT"
check "maximised: the page fills the output below the title band" 1280x773 \
  "$(eventually_page_size 1280x773)"
check "maximised: the title band drawn from the sprite" same "$(frame_check max 0,0,1280,800)"
check "the page shows" "$PAGE" "$(wait_pixel 300 400 "$PAGE")"

# Restore: the configured size; where it goes is the compositor's choice.
click 1238 10
check "restore button: the configured size" 594x370 "$(eventually_page_size 594x370)"
box=$(eventually_window_box 600,400)
check "restored: a 600 x 400 window on the output" "600,400" "$(echo "$box" | cut -d, -f3,4)"
check "restored: its frame from the sprite" same "$(frame_check restored "$box")"

# The title band: the compositor moves the window by as much as the pointer.
IFS=, read -r x y _ _ <<< "$box"
drag $((x + 300)) $((y + 10)) 40 30
x=$((x + 40)) y=$((y + 30))
check "a drag on the title band moves the window" "$x,$y,600,400" \
  "$(eventually_window_box "$x,$y,600,400")"

# The borders: the compositor sizes the window, the configured minimum holds.
drag $((x + 598)) $((y + 200)) 50 0
check "the right border widens the window" 644x370 "$(eventually_page_size 644x370)"
drag $((x + 648)) $((y + 200)) -150 0
check "no narrower than the configured minimum" 594x370 "$(eventually_page_size 594x370)"
drag $((x + 300)) $((y + 398)) 0 40
check "the bottom border makes it taller" 594x410 "$(eventually_page_size 594x410)"

# Double-clicks on the band, the maximise button and F11.
double_click $((x + 300)) $((y + 10))
check "a double-click on the band maximises" 1280x773 "$(eventually_page_size 1280x773)"
double_click 640 10
check "another restores to the configured size" 594x370 "$(eventually_page_size 594x370)"
box=$(eventually_window_box 600,400)
IFS=, read -r x y _ _ <<< "$box"
click $((x + 555)) $((y + 10))  # the maximise button, left of the right border
check "the maximise button" 1280x773 "$(eventually_page_size 1280x773)"
click 1140 12
/usr/bin/python3 "$MC_SOURCE/tests/gtk/game_menu.py" choose "全屏(F11)" >/dev/null || true
check "the settings menu's full screen: the page covers the output" 1280x800 \
  "$(eventually_page_size 1280x800)"
check "full screen: the page over the title band" "$PAGE" "$(wait_pixel 300 10 "$PAGE")"
xdotool key F11
check "F11 again: maximised" 1280x773 "$(eventually_page_size 1280x773)"
check "and its frame again" same "$(frame_check max 0,0,1280,800)"
double_click 640 10
eventually_page_size 594x370 >/dev/null
box=$(eventually_window_box 600,400)
xdotool mousemove 640 400 key F11
check "full screen from the restored state" 1280x800 "$(eventually_page_size 1280x800)"
xdotool key F11
check "F11 again: restored" 594x370 "$(eventually_page_size 594x370)"
# The same window throughout: a window made anew would be placed anew by the compositor.
check "and where it was" "$box" "$(eventually_window_box "$box")"
check "still running" yes "$(client_running && echo yes || echo no)"
kill_client
wait_exit

# The launcher: its page's start link opens the game window, maximised as before.
launcher_client
launcher_shows() {
  screenshot "$WORK/launcher.png"
  [ "$(color_box "$WORK/launcher.png" 240,200,40)" != none ]
}
reports=$(requests '^/report\?external')
start_in "$WORK/game" "$LAUNCH_CLIENT"
wait_until 30 launcher_shows || true
link=$(color_box "$WORK/launcher.png" 240,200,40)
check "the launcher shows its page" yes "$([ "$link" != none ] && echo yes || echo no)"
if [ "$link" != none ]; then
  IFS=, read -r lx ly lw lh <<< "$link"
  click $((lx + lw / 2)) $((ly + lh / 2))
fi
check "its start link opens the game window's page" yes \
  "$(wait_requests '^/report\?external' $((reports + 1)) 30 && echo yes || echo no)"
check "maximised like the first" 1280x773 "$(eventually_page_size 1280x773)"
kill_client
wait_exit

# A compositor that refuses: kiosk-shell keeps every window full screen. Restore, full screen
# and back are asked for and refused; the window stays, at the output's size, laid out for
# the state the model is in, and keys still reach the page.
weston_stop
weston_start kiosk-shell.so
game_start "$GAME_CLIENT"
check "kiosk: the window fills the output, the model's maximised layout" 1280x773 \
  "$(eventually_page_size 1280x773)"
click 1238 10
check "kiosk: restore refused, the restored layout in the full window" 1274x770 \
  "$(eventually_page_size 1274x770)"
xdotool mousemove 640 400 key F11
check "kiosk: full screen" 1280x800 "$(eventually_page_size 1280x800)"
keys=$(requests '^/report\?key=a$')
xdotool key F11 mousemove 640 400 click 1 key a
check "kiosk: back from full screen, the page still gets keys" "1274x770|yes" \
  "$(eventually_page_size 1274x770)|$(wait_requests '^/report\?key=a$' $((keys + 1)) && echo yes || echo no)"
check "kiosk: still running" yes "$(client_running && echo yes || echo no)"
finish
