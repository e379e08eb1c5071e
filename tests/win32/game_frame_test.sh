#!/usr/bin/env bash
# The Windows game window under Wine as a user meets it: the shipped client branded with the
# sample package and firstUrl on a local game page. It covers the work area with the title
# band painted from config/style.png, restores to the configured size centred, moves by its
# title band, sizes by its border zones down to the minimum, toggles on a double-click of the
# title band, goes full screen from its settings menu and back with F11, ignores Enter and
# Escape, and asks the closeMsg question before it ends.
source "$(dirname "$0")/game_lib.sh"

# Expected and actual pixels are collected as point lists and compared in one go:
# expect PIECE X Y SCREEN-X SCREEN-Y: pixel (X, Y) of an edge piece of the sample sprite (its
# pictures 9 to 16) should show at the screen point.
declare -A PIECE_AT=([1]="0 74" [2]="8 74" [3]="68 74" [4]="76 74" [5]="81 74" [6]="86 74"
                     [7]="92 74" [8]="96 74")
STYLE_POINTS=() SCREEN_POINTS=()
expect() {
  local at=(${PIECE_AT[$1]})
  STYLE_POINTS+=("$((at[0] + $2)),$((at[1] + $3))")
  SCREEN_POINTS+=("$4,$5")
}
# compare DESCRIPTION: takes a screenshot and checks the points collected since the last one.
compare() {
  screenshot
  check "$1" "$(pixels_at "$SAMPLE/style.png" "${STYLE_POINTS[@]}")" \
    "$(pixels_at "$WORK/shot.png" "${SCREEN_POINTS[@]}")"
  STYLE_POINTS=() SCREEN_POINTS=()
}

game_brand "$MC_BUILD/microclient.exe" "$WORK/client.exe"
game_start "$WORK/client.exe"
read -r WL WT WR WB < <(ctl work)
check "the game page is requested" yes "$(requested /game.html 5)"
check "starts maximised over the work area" "$WL $WT $WR $WB visible normal" \
  "$(ctl wait-state "$WL" "$WT" "$WR" "$WB" visible)"

# Maximised: the title band alone, stretched over the full width, rows copied one to one.
for y in $(seq 0 26); do
  expect 2 0 "$y" $((WL + 1)) $((WT + y))
  expect 2 0 "$y" $((WL + 700)) $((WT + y))
done
compare "maximised: the title band over the full width, no corner"
check "logo at its position, as decoded" "$(pixels_at "$SAMPLE/logo.png" 10,10 3,15)" \
  "$(pixels_at "$WORK/shot.png" $((WL + 18)),$((WT + 13)) $((WL + 11)),$((WT + 18)))"
white=$(count_color "$WORK/shot.png" $((WL + 34)) $((WT + 7)) $((WL + 140)) $((WT + 27)) 255,255,255)
check "bold title in its colour at titlex, titley" yes "$([ "$white" -gt 40 ] && echo yes || echo "no ($white)")"
check "nothing of the title above titley" 0 \
  "$(count_color "$WORK/shot.png" $((WL + 34)) $((WT + 0)) $((WL + 140)) $((WT + 6)) 255,255,255)"
# Title-bar buttons show the three faces stacked in their picture (the close button: picture
# 1 at (0, 0), 28 x 22, 2 apart): normal, hover, and pressed while held.
read -r cl ct _ < <(ctl child 185)
screen=()
face() {  # face: two pixels of the close button, where its three faces differ
  screenshot; screen+=("$(pixels_at "$WORK/shot.png" $((cl + 6)),$((ct + 1)) $((cl + 14)),$((ct + 11)))")
}
xdotool mousemove $((WL + 500)) $((WT + 300)); sleep 0.3; face
xdotool mousemove $((cl + 14)) $((ct + 11)); sleep 0.3; face
xdotool mousedown 1; sleep 0.3; face
xdotool mousemove $((WL + 500)) $((WT + 300)); sleep 0.2; xdotool mouseup 1  # no click
check "close button faces: normal, hover, pressed" \
  "$(pixels_at "$SAMPLE/style.png" 6,1 14,11 6,49 14,59 6,25 14,35)" "${screen[*]}"
check "released outside: no question" "no dialog" "$(dialog cancel 1000)"

check "maximised: no border zone" "1 1 1 1" \
  "$(ctl hit $WL $WT $((WL + 1)) $((WT + 400)) $((WR - 1)) $((WB - 1)) $((WL + 600)) $((WB - 1)))"

# Restore: the configured size, centred in a box of the work area's size.
X=$(((WR - WL - 960) / 2)) Y=$(((WB - WT - 640) / 2))
click_child 190
check "restore: configured size, centred" "$X $Y $((X + 960)) $((Y + 640)) visible normal" \
  "$(ctl wait-state $X $Y $((X + 960)) $((Y + 640)) visible)"
check "restore button hidden, maximise button shown" "hidden visible" \
  "$(ctl child 190 | cut -d' ' -f5) $(ctl child 186 | cut -d' ' -f5)"
check "browser inside the border" "$((X + 3)) $((Y + 27)) $((X + 957)) $((Y + 637)) visible" \
  "$(ctl child 170)"

# Restored: corners at their own size, sides and bands stretched (the sample's pieces are
# uniform along their stretch, so any point of a piece shows the same column or row).
R=$((X + 960)) B=$((Y + 640))
for y in 0 1 5 26; do
  for x in 0 1 5; do expect 1 $x $y $((X + x)) $((Y + y)); expect 3 $x $y $((R - 6 + x)) $((Y + y)); done
  expect 2 0 $y $((X + 480)) $((Y + y))
done
for x in 0 1 2; do expect 4 $x 0 $((X + x)) $((Y + 300)); expect 5 $x 0 $((R - 3 + x)) $((Y + 300)); done
# (The browser ends above the bottom piece and inside the side pieces, so it covers the inner
# corner of each bottom corner piece.)
for p in "0 0" "2 1" "1 4" "3 4" "3 2"; do read -r x y <<< "$p"; expect 6 $x $y $((X + x)) $((B - 5 + y)); done
for p in "1 0" "3 1" "2 4" "0 4" "0 2"; do read -r x y <<< "$p"; expect 8 $x $y $((R - 4 + x)) $((B - 5 + y)); done
for y in 0 1 2; do expect 7 0 $y $((X + 480)) $((B - 3 + y)); done
compare "restored: the eight pieces at their places"

# The hit test of the restored window: "x y code" (corner zones as large as the corners).
points="" expected=""
for row in "$X $Y 13" "$((X + 5)) $((Y + 26)) 13" "$((R - 1)) $Y 14" "$((R - 6)) $((Y + 26)) 14" \
           "$X $((B - 1)) 16" "$((X + 3)) $((B - 5)) 16" "$((R - 1)) $((B - 1)) 17" \
           "$((R - 4)) $((B - 5)) 17" "$X $((Y + 300)) 10" "$((X + 3)) $((Y + 300)) 10" \
           "$((X + 4)) $((Y + 300)) 1" "$((R - 3)) $((Y + 300)) 11" "$((R - 4)) $((Y + 300)) 1" \
           "$((X + 480)) $((B - 3)) 15" "$((X + 480)) $((B - 4)) 1" "$((X + 480)) $Y 1" \
           "$((X + 480)) $((Y + 10)) 1"; do
  read -r px py code <<< "$row"
  points+="$px $py " expected+="$code "
done
check "restored: hit test table" "${expected% }" "$(ctl hit $points)"

# Dragging the title band moves the window; the border zones size it, never below the
# configured minimum: shrinking from the left pushes the right side out.
drag $((X + 400)) $((Y + 13)) 50 30
X=$((X + 50)) Y=$((Y + 30))
check "title band drag moves the window" "$X $Y $((X + 960)) $((Y + 640)) visible normal" \
  "$(ctl wait-state $X $Y $((X + 960)) $((Y + 640)) visible)"
size() {  # size DESCRIPTION FROM-X FROM-Y DX DY L T R B
  xdotool mousemove "$2" "$3" mousedown 1
  sleep 0.2; xdotool mousemove $(($2 + $4)) $(($3 + $5)); sleep 0.2
  xdotool mouseup 1
  check "$1" "$6 $7 $8 $9 visible normal" "$(ctl wait-state "$6" "$7" "$8" "$9" visible)"
}
size "right border sizes" $((X + 959)) $((Y + 300)) 40 0 $X $Y $((X + 1000)) $((Y + 640))
size "bottom border sizes" $((X + 500)) $((Y + 639)) 0 30 $X $Y $((X + 1000)) $((Y + 670))
size "left border inward stops at the minimum width" $((X + 1)) $((Y + 300)) 100 0 \
  $((X + 100)) $Y $((X + 1060)) $((Y + 670))
X=$((X + 100))
size "bottom-right corner inward stops at the minimum" $((X + 958)) $((Y + 668)) -300 -300 \
  $X $Y $((X + 960)) $((Y + 640))
size "top-left corner sizes" $((X + 2)) $((Y + 2)) -20 -20 $((X - 20)) $((Y - 20)) $((X + 960)) $((Y + 640))
X=$((X - 20)) Y=$((Y - 20))

# A double-click on the title band toggles: maximised, then back to the first restored
# rectangle, not to where the window was moved and sized.
xdotool mousemove $((X + 400)) $((Y + 10)) click --repeat 2 --delay 80 1
check "double-click on the title band maximises" "$WL $WT $WR $WB visible normal" \
  "$(ctl wait-state "$WL" "$WT" "$WR" "$WB" visible)"
X=$(((WR - WL - 960) / 2)) Y=$(((WB - WT - 640) / 2))
xdotool mousemove $((WL + 600)) $((WT + 10)) click --repeat 2 --delay 80 1
check "double-click again restores the first restored rectangle" \
  "$X $Y $((X + 960)) $((Y + 640)) visible normal" "$(ctl wait-state $X $Y $((X + 960)) $((Y + 640)) visible)"

# Full screen from the settings menu (third item); the menu opens below the button.
read -r sl _ _ sb _ < <(ctl child 191)
click_child 191
read -r ml mt mr mb _ < <(ctl menu)
check "settings menu below the settings button" "$sl $((sb + 1))" "$ml $mt"
xdotool mousemove $(((ml + mr) / 2)) $((mt + (mb - mt) * 5 / 8)) click 1
read -r sw sh < <(xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}')
check "full screen: the window's client area is the screen" "0 0 $sw $sh visible normal" \
  "$(ctl wait-state 0 0 "$sw" "$sh" visible)"
check "full screen: the browser covers it, buttons and logo hidden" \
  "0 0 $sw $sh visible|hidden|hidden" \
  "$(ctl child 170)|$(ctl child 185 | cut -d' ' -f5)|$(ctl child 300 | cut -d' ' -f5)"
screenshot
check "full screen: no title band drawn" no \
  "$([ "$(pixels_at "$WORK/shot.png" 700,5)" == "$(pixels_at "$SAMPLE/style.png" 8,79)" ] && echo yes || echo no)"
ctl key 0x7A page >/dev/null  # F11, bound to the full-screen item, typed in the page
check "F11 in the page leaves full screen to the restored rectangle" \
  "$X $Y $((X + 960)) $((Y + 640)) visible normal" "$(ctl wait-state $X $Y $((X + 960)) $((Y + 640)) visible)"
check "buttons and logo shown again, browser inside the border" \
  "visible|visible|$((X + 3)) $((Y + 27)) $((X + 957)) $((Y + 637)) visible" \
  "$(ctl child 185 | cut -d' ' -f5)|$(ctl child 300 | cut -d' ' -f5)|$(ctl child 170)"

# Enter and Escape, in the page and on the window, do nothing.
ctl key 0x0D page >/dev/null; ctl key 0x1B page >/dev/null
ctl key 0x0D >/dev/null; ctl key 0x1B >/dev/null
check "Enter and Escape ask nothing" "no dialog" "$(dialog cancel 1500)"
check "Enter and Escape keep the window" "$X $Y $((X + 960)) $((Y + 640)) visible normal" "$(ctl state)"

# Closing asks the closeMsg question, captioned with the program's name; Cancel keeps the
# window, OK ends the program.
ctl post 0x10 0 0 >/dev/null  # WM_CLOSE
check "close asks the closeMsg question" "client|确定要退出游戏吗？" "$(dialog cancel)"
check "Cancel keeps the window" "$X $Y $((X + 960)) $((Y + 640)) visible normal" "$(ctl state)"
click_child 185
check "the close button asks the same question" "client|确定要退出游戏吗？" "$(dialog ok)"
check "OK ends the program" yes "$(ended)"

finish
