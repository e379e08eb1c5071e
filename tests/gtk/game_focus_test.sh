#!/usr/bin/env bash
# The keyboard stays with the game page: after every title-bar button, the settings menu
# (chosen or dismissed), the close, cache and restart questions, minimise and restore, full screen in
# and out (by key, and by the page's own request) and the tray, a key pressed without clicking
# into the page reaches it. Run on a bare display, then under a window manager (openbox).
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"
source "$MC_SOURCE/tests/gtk/game_lib.sh"
game_site
link_recorder "$WORK/opened.txt"
trayer --edge bottom --align right --widthtype pixel --width 60 --heighttype pixel --height 30 \
  >/dev/null 2>&1 &
at_exit_kill $!

PKG="$WORK/pkg"
game_package "$PKG" "firstUrl=$BASE/game.html?fullscreen=1" minGameWidth=600 minGameHeight=400
mkdir -p "$WORK/game"
game_brand "$PKG" "$WORK/game/sea.client"

# key_arrives STEP: presses the next letter where the pointer is, no click, and checks that the
# page reported it.
letters=(a b c d e f g h i j k l m n o p q r s t u v w x y z)
pressed=0
key_arrives() {
  local key=${letters[$((pressed % 26))]} before
  pressed=$((pressed + 1))
  before=$(requests "^/report\?key=$key$")
  xdotool key "$key"
  wait_requests "^/report\?key=$key$" $((before + 1)) 5 || true
  check "$DESKTOP: $1, then a key reaches the page" $((before + 1)) "$(requests "^/report\?key=$key$")"
}
menu() { /usr/bin/python3 "$MC_SOURCE/tests/gtk/game_menu.py" "$@" >/dev/null || true; }
tray_icon() {
  local icon=""
  for _ in $(seq 60); do
    icon=$(xdotool search --name '单击图标恢复窗口' 2>/dev/null | head -n 1)
    [ -n "$icon" ] && break
    sleep 0.05
  done
  echo "$icon"
}

play() {
  game_start "$WORK/game/sea.client"
  eventually_geometry "$GAME_ID" 0,0,1280,800 >/dev/null
  xdotool mousemove 700 10
  key_arrives "start, pointer on the title band"

  click 1238 10  # restore
  eventually_geometry "$GAME_ID" 340,200,600,400 >/dev/null
  # Without a window manager keys go to the window under the pointer: onto the smaller window.
  xdotool mousemove 640 210
  key_arrives "restore button"
  click 898 210  # maximise, on the restored window
  eventually_geometry "$GAME_ID" 0,0,1280,800 >/dev/null
  key_arrives "maximise button"

  click 1140 12
  menu list 10
  xdotool key Escape
  key_arrives "settings menu dismissed with Escape"
  click 1140 12
  menu choose "全屏(F11)"
  wait_pixel 1265 10 32,80,128 >/dev/null || true
  key_arrives "full screen from the settings menu"
  xdotool mousemove 640 400 key F11
  eventually_geometry "$GAME_ID" 0,0,1280,800 >/dev/null
  key_arrives "F11 out of full screen"

  click 1265 10
  question sea cancel >/dev/null
  key_arrives "close question answered Cancel"
  local answer
  for answer in ok cancel; do
    click 1140 12
    menu choose "清理"
    question "清理缓存" "$answer" >/dev/null
    key_arrives "cache question answered $answer"
  done
  click 1140 12
  menu choose "刷新(F5)"
  question sea cancel >/dev/null
  key_arrives "restart question answered Cancel"

  click 1210 10  # minimise
  sleep 0.5
  xdotool windowactivate "$GAME_ID" 2>/dev/null || xdotool windowmap "$GAME_ID"
  eventually_map_state "$GAME_ID" IsViewable >/dev/null
  xdotool mousemove 700 10
  key_arrives "minimise and back"

  xdotool key F9
  eventually_map_state "$GAME_ID" IsUnMapped >/dev/null
  local icon
  icon=$(tray_icon)
  IFS=, read -r ix iy iw ih <<< "$(geometry "$icon")"
  xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click 1
  eventually_map_state "$GAME_ID" IsViewable >/dev/null
  xdotool mousemove 700 10
  key_arrives "hidden to the tray and back"

  # The page's own full-screen request: the window's full screen, left by key or by the page.
  local on off
  on=$(requests '^/report\?fullscreen=on$')
  off=$(requests '^/report\?fullscreen=off$')
  click 640 400
  wait_requests '^/report\?fullscreen=on$' $((on + 1)) || true
  check "$DESKTOP: the page's request: the page covers the title band" 32,80,128 \
    "$(wait_pixel 1265 10 32,80,128)"
  check "$DESKTOP: the page's request: the window covers the screen" 0,0,1280,800 "$(geometry "$GAME_ID")"
  key_arrives "full screen from the page"
  xdotool key F11
  wait_requests '^/report\?fullscreen=off$' $((off + 1)) || true
  check "$DESKTOP: F11 leaves the page's full screen too" $((off + 1)) \
    "$(requests '^/report\?fullscreen=off$')"
  check "$DESKTOP: and the window's: the frame again" same "$(frame_check max)"
  key_arrives "F11 out of the page's full screen"
  click 640 400
  wait_requests '^/report\?fullscreen=on$' $((on + 2)) || true
  page_call '(document.exitFullscreen(), [])' >/dev/null
  check "$DESKTOP: the page leaving full screen leaves the window's" same "$(frame_check max)"
  xdotool key F11
  check "$DESKTOP: F11 then enters full screen again" 32,80,128 "$(wait_pixel 1265 10 32,80,128)"
  xdotool key F11

  page_call '["1"]' >/dev/null
  wait_exit 10 || kill_client
}

DESKTOP="bare display"
play

DESKTOP="openbox"
openbox --sm-disable >/dev/null 2>&1 &
at_exit_kill $!
wait_until 10 xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1 || true
play
finish
