#!/usr/bin/env bash
# The skinned window toolkit on Windows under Wine, as a user meets it: a layered translucent
# dialog of the sample background with its colour-keyed overlay of skin buttons, over a solid
# backdrop. Wine without a compositor does not blend half-transparent pixels, so screenshots
# are checked at alpha 0 (what is below shows) and alpha 255 (exact colour), and for the
# pressed and hover faces. A click on a transparent pixel must reach the backdrop, a drag must
# move the pair by the pointer's offset, and a link button must hand its link to the shell
# once per press (the prefix's http handler is a recorder).
source "$(dirname "$0")/wine_lib.sh"
wine_start

CONFIG="$MC_SOURCE/sample/package/config"
LOG="$WORK/demo.log"
LINKS="$WORK/links.txt"
BACKDROP=51,204,102
link_recorder "$LINKS"

# wait_log LINE [SECONDS]: waits (10 s) until the demo has logged LINE.
wait_log() { wait_until "${2:-10}" grep -qx "$1" "$LOG" 2>/dev/null; }
count_log() { grep -cx "$1" "$LOG" || true; }
wait_links() {  # wait_links N: waits until the recorder has N addresses
  wait_file "$LINKS" 10 "$1" || true
  wc -l < "$LINKS"
}
mkdir -p "$MC_BUILD/skin-shots"
keep_shot() { cp "$WORK/shot.png" "$MC_BUILD/skin-shots/wine-$1.png"; }

start_exe "$WORK" "$MC_BUILD/skin_demo.exe" "$(winpath "$CONFIG")" "$(winpath "$LOG")" \
  --link 'http://127.0.0.1:9/page?a=1;b=2' --backdrop 33CC66
wait_log ready 60 || check "demo shows its window" ready "$(cat "$LOG" 2>/dev/null)"

# Centred by the framed size (AdjustWindowRect of the template's style), sized to the picture.
read -r _ WL WT WR WB < <(grep '^work ' "$LOG")
read -r _ FW FH < <(grep '^framed ' "$LOG")
X=$((WL + (WR - WL - FW) / 2)) Y=$((WT + (WB - WT - FH) / 2))
check "framed size is larger than the picture" yes "$([ "$FW" -gt 760 ] && [ "$FH" -gt 480 ] && echo yes || echo no)"
check "centred by the framed size, sized to the picture" "at $X $Y 760 480" "$(grep '^at ' "$LOG" | tail -n 1)"
check "overlay lies exactly over it" "overlay $X $Y 760 480" "$(grep '^overlay ' "$LOG" | tail -n 1)"

check_pixel "transparent pixel shows what is below" $((X + 2)) $((Y + 2)) "$BACKDROP"
check_pixel "opaque pixel has the picture's colour" $((X + 300)) $((Y + 250)) "$(pixel "$CONFIG/main1.png" 300 250)"
check_pixel "overlay's colour key is invisible over the picture" $((X + 100)) $((Y + 200)) "$(pixel "$CONFIG/main1.png" 100 200)"
keep_shot dialog

# A mask shapes its button: the key-coloured left half shows the picture, the rest the face,
# and the button took the mask's size (30 x 20).
check_pixel "masked-out half shows the picture" $((X + 305)) $((Y + 50)) "$(pixel "$CONFIG/main1.png" 305 50)"
check_pixel "shaped half shows the face" $((X + 320)) $((Y + 50)) 255,0,0
check_pixel "mask sized the button" $((X + 320)) $((Y + 65)) "$(pixel "$CONFIG/main1.png" 320 65)"

HX=$((X + 600 + 14)) HY=$((Y + 31 + 11))
normal=$(pixel "$CONFIG/style.png" 14 11) over=$(pixel "$CONFIG/style.png" 14 59)
check_pixel "style button shows its normal face" $HX $HY "$normal"
xdotool mousemove $HX $HY
check_pixel "hovering shows the over face" $HX $HY "$over"
keep_shot hover
xdotool mousemove $((X + 300)) $((Y + 250))
check_pixel "leaving shows the normal face again" $HX $HY "$normal"

LX=$((X + 620 + 50)) LY=$((Y + 92 + 20))
up=$(pixel "$CONFIG/1_n.png" 50 20) down=$(pixel "$CONFIG/1_d.png" 50 20)
xdotool mousemove $LX $LY mousedown 1
check_pixel "pressed face while held" $LX $LY "$down"
keep_shot pressed
check "press opens the link, semicolons as ampersands" "1 http://127.0.0.1:9/page?a=1&b=2" \
  "$(wait_links 1) $(tail -n 1 "$LINKS" | tr -d '\r')"
xdotool mousemove $LX $((LY + 120))
check_pixel "normal face with the pointer moved off" $LX $LY "$up"
xdotool mousemove $LX $LY
check_pixel "pressed face with the pointer back" $LX $LY "$down"
xdotool mousemove $LX $((LY + 120)) mouseup 1
check_pixel "normal face after release outside" $LX $LY "$up"
xdotool mousemove $LX $LY click 1
wait_log "command 201"
check "release outside is no click, release over is one" 1 "$(count_log "command 201")"
check "second press opens the link again" 2 "$(wait_links 2)"
xdotool click --repeat 2 --delay 100 1
check "a double click opens the link twice" 4 "$(wait_links 4)"
for _ in $(seq 50); do [ "$(count_log "command 201")" -ge 3 ] && break; sleep 0.1; done
check "a double click is two clicks" 3 "$(count_log "command 201")"

xdotool mousemove $((X + 2)) $((Y + 2)) click 1
wait_log "backdrop-press $((X + 2)) $((Y + 2))"
check "click on a transparent pixel reaches the window below" 1 \
  "$(count_log "backdrop-press $((X + 2)) $((Y + 2))")"

# A press on the colour-keyed overlay over an opaque pixel reaches the translucent window,
# whose system move loop follows the pointer.
xdotool mousemove $((X + 300)) $((Y + 250)) mousedown 1
sleep 0.2
xdotool mousemove $((X + 325)) $((Y + 265))
xdotool mousemove $((X + 350)) $((Y + 280))
sleep 0.2
xdotool mouseup 1
wait_log "at $((X + 50)) $((Y + 30)) 760 480"
check "drag moves the window by the pointer's offset" "at $((X + 50)) $((Y + 30)) 760 480" \
  "$(grep '^at ' "$LOG" | tail -n 1)"
check "the overlay follows" "overlay $((X + 50)) $((Y + 30)) 760 480" "$(grep '^overlay ' "$LOG" | tail -n 1)"
X=$((X + 50)) Y=$((Y + 30))
check_pixel "moved picture keeps its opaque pixel" $((X + 300)) $((Y + 250)) "$(pixel "$CONFIG/main1.png" 300 250)"
keep_shot dragged
check "no press reached the backdrop during the drag" 1 "$(grep -c '^backdrop-press' "$LOG")"

xdotool mousemove $((X + 698 + 15)) $((Y + 31 + 13)) click 1
wait_log "result 2"
check "close button ends both windows; the dialog's result is a Cancel" "command 203 result 2" \
  "$(grep -E '^(command 203|result)' "$LOG" | tr '\n' ' ' | sed 's/ $//')"
check "demo ends" yes "$(ended 10)"
check "links opened in all" 4 "$(wc -l < "$LINKS")"

finish
