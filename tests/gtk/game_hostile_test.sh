#!/usr/bin/env bash
# The Linux game window with broken or hostile packages: frame pieces that name no picture,
# lie outside the sprite or have no size; absurd and very many buttons; a minimum size larger
# than the screen; a title cut inside a double-byte character; a window dragged off screen;
# and packages whose style.png or logo.png is missing or broken, which stop the window's
# initialisation. Each must show its defined reaction, stay usable and end cleanly.
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"
source "$MC_SOURCE/tests/gtk/game_lib.sh"
game_site
mkdir -p "$WORK/game"
PROGRAM="$WORK/game/sea.client"

# run_package SETTINGS...: brands the sample package with SETTINGS and starts it.
run_package() {
  PKG="$WORK/pkg"
  game_package "$PKG" "firstUrl=$BASE/game.html" "$@"
  game_brand "$PKG" "$PROGRAM"
  game_start "$PROGRAM"
}
# usable NAME: right clicks still reach the page and code 1 still ends the program.
usable() {
  local n
  n=$(requests '^/report\?ccj=[0-9]+:3,400,500')
  xdotool mousemove 400 500 click 3
  wait_requests '^/report\?ccj=[0-9]+:3,400,500' $((n + 1)) || true
  check "$1: right clicks still reach the page" $((n + 1)) "$(requests '^/report\?ccj=[0-9]+:3,400,500')"
  page_call '["1"]' >/dev/null
  check "$1: the page still ends the program" yes "$(ended 10)"
}

# --- Frame pieces: numbers outside the pictures, a picture outside the sprite, pieces of no
# size, transparent ones, and pieces with detail along their stretch (a button's faces). The
# pieces that exist are plain copies: stretched without smoothing, alpha ignored (transparent
# sprite pixels show their stored black, as do the parts of a cut outside the sprite).
run_package edgeImage1=0 edgeImage3=99 gamePic10.x=0 gamePic10.y=0 gamePic10.width=30 \
  gamePic12.x=5000 gamePic13.x=120 gamePic13.y=0 gamePic13.height=27 gamePic14.width=0 \
  gamePic15.height=-5 gamePic16.x=280
check "odd pieces: maximised" "0,0,1280,800" "$(eventually_geometry "$GAME_ID" 0,0,1280,800)"
check "odd pieces: the band as planned" same "$(frame_check max)"
click 1238 10
eventually_geometry "$GAME_ID" 160,80,960,640 >/dev/null
check "odd pieces: the restored frame as planned" same "$(frame_check restored)"
usable "odd pieces"

# --- Buttons: positions at the ends of the int range, pictures that do not exist, faces far
# outside the sprite, and 200 buttons.
buttons=(gameButtonCount=200 gamebutton9.x=-2147483648 gamebutton8.x=2147483647
  gamebutton8.y=2147483647 gamebutton7.image=0 gamebutton6.image=999 gamePic8.interval=2147483647)
for i in $(seq 10 200); do
  buttons+=("gamebutton$i.type=$((i % 13))" "gamebutton$i.image=$((i % 8 + 1))"
    "gamebutton$i.x=-$((300 + i * 4))" "gamebutton$i.y=$((i % 3))" "gamebutton$i.title=按钮$i")
done
run_package "${buttons[@]}"
check "200 buttons: maximised" "0,0,1280,800" "$(eventually_geometry "$GAME_ID" 0,0,1280,800)"
click 1265 10
check "200 buttons: the close button still asks" "确定要退出游戏吗？" "$(question sea cancel)"
usable "200 buttons"

# --- A minimum size larger than the screen: the restored window is as large as the screen
# allows, and sizing cannot go below the work area.
run_package minGameWidth=5000 minGameHeight=4000
click 1238 10
check "large minimum: restored, kept to the screen" "0,0,1280,800|same" \
  "$(geometry "$GAME_ID")|$(frame_check restored)"
drag 1278 798 -200 -150
check "large minimum: sizing stops at the work area" "0,0,1280,800" "$(geometry "$GAME_ID")"
usable "large minimum"

# --- A title whose 127-byte field ends inside a double-byte character, and a page title
# longer than its field: whole characters only.
run_package "title=$(printf '测%.0s' $(seq 70))"
check "long title: cut to whole characters" "$(printf '测%.0s' $(seq 63))" "$(xdotool getwindowname "$GAME_ID")"
check "long title: painted" yes "$([ "$(title_extent max)" -gt 300 ] && echo yes || echo no)"
page_call "[\"6\",\"$(printf '长%.0s' $(seq 100))\",\"x\"]" >/dev/null
check "long page title: the window text stays" "$(printf '测%.0s' $(seq 63))" "$(xdotool getwindowname "$GAME_ID")"

# --- A window dragged off the screen stays usable; full screen brings it back.
click 1238 10
eventually_geometry "$GAME_ID" 160,80,960,640 >/dev/null
drag 500 90 -600 -200
off_screen() {
  local x y
  IFS=, read -r x y _ _ <<< "$(geometry "$GAME_ID")"
  [ "$x" -lt 0 ] && [ "$y" -lt 0 ]
}
check "dragged off the screen" yes "$(wait_until 10 off_screen && echo yes || echo no)"
xdotool mousemove 300 300 key F11  # keys go to the window under the pointer
eventually_geometry "$GAME_ID" 0,0,1280,800 >/dev/null
xdotool key F11
check "full screen and back: the restored rectangle again" "160,80,960,640" \
  "$(eventually_geometry "$GAME_ID" 160,80,960,640)"
usable "dragged off"

# --- Initialisation stopped: the window stays open in the system's frame with what was made,
# and closes through the question.
stopped_case() {  # NAME MESSAGE PAGE-LOADED PACKAGE-CHANGE
  local pages
  PKG="$WORK/pkg"
  game_package "$PKG" "firstUrl=$BASE/game.html"
  eval "$4"
  game_brand "$PKG" "$PROGRAM"
  pages=$(requests '^/game.html$')
  start_in "$WORK/game" "$PROGRAM"
  if [ -n "$2" ]; then
    check "$1: the reading message" "$2" "$(dialog 启动失败 ok 20 || true)"
  fi
  GAME_ID=$(wait_window game || true)
  check "$1: the window stays open" yes "$([ -n "$GAME_ID" ] && echo yes || echo no)"
  check "$1: on the work area, not maximised later" "0,0,1280,800" "$(geometry "$GAME_ID")"
  [ "$3" = no ] || wait_requests '^/game.html$' $((pages + 1)) || true
  check "$1: game page loaded" "$3" "$([ "$(requests '^/game.html$')" -gt "$pages" ] && echo yes || echo no)"
  $GAME_X11 close "$GAME_ID"
  check "$1: closing asks the question" "确定要退出游戏吗？" "$(question sea ok)"
  check "$1: OK ends the program" yes "$(ended 10)"
}
stopped_case "no style.png" "读取图片失败" no 'rm "$PKG/config/style.png"'
stopped_case "style.png broken" "" no 'head -c 100 "$MC_SOURCE/sample/package/config/main1.png" > "$PKG/config/style.png"'
stopped_case "no logo.png" "读取图片失败" yes 'rm "$PKG/config/logo.png"'
finish
