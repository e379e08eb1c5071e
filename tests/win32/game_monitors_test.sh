#!/usr/bin/env bash
# The Windows client on two monitors under Wine (Xorg's dummy driver: 1280 x 800 with a
# 1024 x 768 monitor right of it, which Wine reads through RandR): the launcher opens centred
# on the monitor holding the pointer, and so does the game window, maximised there; restore,
# full screen and maximise use the monitor holding the window, also after it was dragged to
# the other one; and a window whose monitor is unplugged comes back to the one that is left.
source "$(dirname "$0")/game_lib.sh"
source "$MC_SOURCE/tests/lib/desktops.sh"
xorg_start 1280x800 1024x768

check "Wine sees both monitors" "0 0 1280 800 work 0 0 1280 800|1280 0 2304 768 work 1280 0 2304 768" \
  "$(ctl monitors | paste -sd'|')"

# The launcher (the sample package without firstUrl), centred on the pointer's monitor.
game_brand "$MC_BUILD/microclient.exe" "$WORK/launch.exe" global.firstUrl=
PW=$(identify -format %w "$SAMPLE/main1.png") PH=$(identify -format %h "$SAMPLE/main1.png")
xdotool mousemove 1700 400
game_start "$WORK/launch.exe"
# (Centred with the size its template's caption and border would add, then sized to the
# picture: a few pixels up and left of the exact centre.)
read -r l t r b < <(ctl rect MicroClientLauncher)
check "the launcher opens centred on the pointer's monitor, the picture's size" \
  "yes ${PW}x$PH" \
  "$([ $((1280 + 1024 / 2 - (l + r) / 2)) -ge 0 ] && [ $((1280 + 1024 / 2 - (l + r) / 2)) -le 8 ] &&
     [ $((768 / 2 - (t + b) / 2)) -ge 0 ] && [ $((768 / 2 - (t + b) / 2)) -le 20 ] && echo yes ||
     echo "no ($l $t $r $b)") $((r - l))x$((b - t))"
kill_client

game_brand "$MC_BUILD/microclient.exe" "$WORK/client.exe"
SECOND="1280 0 2304 768" FIRST="0 0 1280 800"
ON_SECOND="1312 64 2272 704"  # the sample's 960 x 640, centred on the second monitor
game_start "$WORK/client.exe"
check "the game window maximises on the pointer's monitor" "$SECOND visible normal" \
  "$(ctl wait-state $SECOND visible)"
click_child 190
check "restore centres it on that monitor" "$ON_SECOND visible normal" \
  "$(ctl wait-state $ON_SECOND visible)"
ctl key 0x7A >/dev/null  # F11
check "full screen covers that monitor" "$SECOND visible normal" "$(ctl wait-state $SECOND visible)"
ctl key 0x7A >/dev/null
check "and back" "$ON_SECOND visible normal" "$(ctl wait-state $ON_SECOND visible)"

# Dragged onto the first monitor, the window uses that one.
drag 1792 74 -1200 0
check "dragged onto the first monitor" "112 64 1072 704 visible normal" \
  "$(ctl wait-state 112 64 1072 704 visible)"
xdotool mousemove 592 74 click --repeat 2 --delay 80 1
check "maximises on the first monitor" "$FIRST visible normal" "$(ctl wait-state $FIRST visible)"
xdotool mousemove 640 10 click --repeat 2 --delay 80 1
check "restores centred on the first monitor" "160 80 1120 720 visible normal" \
  "$(ctl wait-state 160 80 1120 720 visible)"
ctl key 0x7A >/dev/null
check "full screen covers the first monitor" "$FIRST visible normal" "$(ctl wait-state $FIRST visible)"
ctl key 0x7A >/dev/null
ctl wait-state 160 80 1120 720 visible >/dev/null

# Back on the second monitor, maximised there, then that monitor is unplugged.
drag 640 90 1100 0
ctl wait-state 1260 80 2220 720 visible >/dev/null
xdotool mousemove 1700 90 click --repeat 2 --delay 80 1
check "maximised on the second monitor again" "$SECOND visible normal" "$(ctl wait-state $SECOND visible)"
xrandr --output DUMMY1 --off
# Wine reads the new layout but does not broadcast WM_DISPLAYCHANGE for it as Windows does:
# the test sends it once Wine shows one monitor.
one_monitor() { [ "$(ctl monitors | wc -l)" -eq 1 ]; }
wait_until 5 one_monitor || true
ctl post 0x7E 32 $(((800 << 16) | 1280)) >/dev/null  # WM_DISPLAYCHANGE
check "its monitor unplugged, the window is maximised on the first" "$FIRST visible normal" \
  "$(ctl wait-state $FIRST visible)"

finish
