#!/usr/bin/env bash
# The Linux game window as a player meets it, on the sample package: maximised on the work
# area with the title band drawn from style.png, restore to the configured size centred, the
# restored frame, moving by the title band, sizing by every border zone down to the minimum,
# double-clicks on the band (also over a button), no border zones while maximised, full screen
# from the settings menu and back, and which keys reach the page (the hide key with no
# notification area and no window manager leaves the window where it is).
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"
source "$MC_SOURCE/tests/gtk/game_lib.sh"
game_site

# A desktop browser stand-in that records what link buttons open.
OPENED="$WORK/opened.txt"
link_recorder "$OPENED"

PKG="$WORK/pkg"
game_package "$PKG" "firstUrl=$BASE/game.html" minGameWidth=600 minGameHeight=400
mkdir -p "$WORK/game"
game_brand "$PKG" "$WORK/game/sea.client"
game_start "$WORK/game/sea.client"
PAGE=32,80,128

# --- Maximised: the work area (the whole screen under Xvfb), the title band alone.
check "starts maximised on the work area" "0,0,1280,800" "$(eventually_geometry "$GAME_ID" 0,0,1280,800)"
check "window text is the configured title" "星海征途" "$(xdotool getwindowname "$GAME_ID")"
check "maximised: title band copied from the sprite" same "$(frame_check max)"
extent=$(title_extent max)
check "maximised: bold title drawn in its colour" yes "$([ "$extent" -gt 70 ] && echo yes || echo no)"
check "the page fills the rest" "$PAGE" "$(wait_pixel 640 400 "$PAGE")"

# Keys: Enter and Escape reach the page and end nothing; F1 to F12 never reach it.
xdotool mousemove 640 400 click 1 key Return Escape F1 F12 a
wait_requests '^/report\?key=a$'
check "Enter reaches the page" 1 "$(requests '^/report\?key=Enter$')"
check "Escape reaches the page" 1 "$(requests '^/report\?key=Escape$')"
check "function keys never reach the page" 0 "$(requests '^/report\?key=F(1|12)$')"
check "Enter and Escape end nothing" IsViewable "$(map_state "$GAME_ID")"
# F9 hides to the tray, but this desktop has no notification area: the window is minimised
# instead, which a bare X server without a window manager cannot do, so it stays in sight.
xdotool key F9 a
wait_requests '^/report\?key=a$' 2
check "F9 without a notification area or window manager: the window stays" IsViewable "$(map_state "$GAME_ID")"

# No border zone and no drag while maximised: a press at the top-left corner moves nothing.
drag 2 4 60 40
check "maximised: the corner neither sizes nor drags" "0,0,1280,800" "$(geometry "$GAME_ID")"

# --- Restore: the configured size, centred in the work area.
click 1238 10
check "restore button: configured size, centred" "340,200,600,400" \
  "$(eventually_geometry "$GAME_ID" 340,200,600,400)"
check "restored: border and title band copied from the sprite" same "$(frame_check restored)"

drag 640 210 40 30
check "a drag on the title band moves the window" "380,230,600,400" \
  "$(eventually_geometry "$GAME_ID" 380,230,600,400)"

# Sizing from each border zone (window at 380,230, 600 x 400; minimum 600 x 400).
size_case() {  # NAME X Y DX DY EXPECTED
  drag "$2" "$3" "$4" "$5"
  check "border zone $1" "$6" "$(eventually_geometry "$GAME_ID" "$6")"
}
size_case "right: wider" 978 430 50 0 "380,230,650,400"
size_case "right: stops at the minimum" 1028 430 -100 0 "380,230,600,400"
size_case "bottom: taller" 600 628 0 40 "380,230,600,440"
size_case "bottom: stops at the minimum" 600 668 0 -100 "380,230,600,400"
size_case "left: wider" 381 430 -30 0 "350,230,630,400"
size_case "left: inward past the minimum pushes the right side out" 351 430 100 0 "450,230,600,400"
size_case "bottom-right corner" 1048 628 20 10 "450,230,620,410"
size_case "top-left corner" 452 232 -10 -10 "440,220,630,420"
size_case "top-right corner" 1068 222 10 -10 "440,210,640,430"
size_case "bottom-left corner" 441 638 -10 10 "430,210,650,440"

# --- Double-clicks on the title band toggle; the restored rectangle is the first one.
double_click 700 220
check "double-click on the band maximises" "0,0,1280,800" "$(eventually_geometry "$GAME_ID" 0,0,1280,800)"
double_click 700 10
check "double-click again: back to the first restored rectangle" "340,200,600,400" \
  "$(eventually_geometry "$GAME_ID" 340,200,600,400)"
# Over a link button (论坛, the second link from the left): the band takes the double-click,
# the button sees one press only.
double_click 709 212
check "double-click over a button toggles" "0,0,1280,800" "$(eventually_geometry "$GAME_ID" 0,0,1280,800)"
wait_file "$OPENED" 2 || true
sleep 0.3
check "the button under the double-click opened its link once" "1" "$(grep -c 'view=forum' "$OPENED" || true)"

# --- Full screen from the settings menu: no frame, no buttons, the page over the screen.
click 1140 12
items=$(/usr/bin/python3 "$MC_SOURCE/tests/gtk/game_menu.py" list 10 | paste -sd'|')
check "settings menu: items in order, version after its title" "刷新(F5)|清理|全屏(F11)|版本号1.30" "$items"
/usr/bin/python3 "$MC_SOURCE/tests/gtk/game_menu.py" choose "全屏(F11)" >/dev/null || true
check "full screen: the page covers the title band" "$PAGE" "$(wait_pixel 300 10 "$PAGE")"
check "full screen: no buttons" "$PAGE" "$(wait_pixel 1265 10 "$PAGE")"
check "full screen: the primary screen" "0,0,1280,800" "$(geometry "$GAME_ID")"
xdotool mousemove 640 400 key F11
check "F11 leaves full screen into the maximised state" same "$(frame_check max)"

# From the restored state full screen returns to the restored rectangle.
click 1238 10
eventually_geometry "$GAME_ID" 340,200,600,400 >/dev/null
xdotool mousemove 640 400 key F11
for _ in $(seq 60); do [ "$(geometry "$GAME_ID")" = 0,0,1280,800 ] && break; sleep 0.05; done
xdotool key F11
check "full screen from restored returns to the restored rectangle" "340,200,600,400" \
  "$(eventually_geometry "$GAME_ID" 340,200,600,400)"
check "and its frame again" same "$(frame_check restored)"
check "still running" yes "$(client_running && echo yes || echo no)"
finish
