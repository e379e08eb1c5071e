#!/usr/bin/env bash
# The skinned window toolkit on Linux as a user meets it, under Xvfb with a compositor: a
# translucent dialog of the sample background over a solid backdrop, with skin buttons.
# Screenshots are checked pixel by pixel (transparent, opaque and half-transparent pixels, the
# pressed and hover faces); a click on a transparent pixel must reach the backdrop, a drag must
# move the window by the pointer's offset, and a link button must open its link with the
# desktop's default handler once per press.
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"
export NO_AT_BRIDGE=1

xcompmgr >/dev/null 2>&1 &
at_exit_kill $!

CONFIG="$MC_SOURCE/sample/package/config"
LOG="$WORK/demo.log"
LINKS="$WORK/links.txt"
BACKDROP=51,204,102

# The desktop's handler of http links is a recorder writing each address it gets to a file.
link_recorder "$LINKS"

# glide X Y: moves the pointer there as a mouse does, in more than one motion event. (GTK 3
# shows a frame drawn while the mouse is held and the pointer crosses a widget's edge only
# once the next event arrives; a real mouse always sends more.)
glide() { xdotool mousemove "$1" "$2"; xdotool mousemove "$1" $(($2 + 1)); }
# wait_log LINE: waits for a line of the demo's log.
wait_log() { wait_until 10 grep -qx "$1" "$LOG" 2>/dev/null; }
count_log() { grep -cx "$1" "$LOG" || true; }
# keep_shot NAME: keeps the last screenshot as $MC_BUILD/skin-shots/linux-NAME.png for a look.
mkdir -p "$MC_BUILD/skin-shots"
keep_shot() { cp "$WORK/shot.png" "$MC_BUILD/skin-shots/linux-$1.png"; }
# wait_links N: waits until the recorder has N addresses.
wait_links() { wait_file "$LINKS" 10 "$1" || true; wc -l < "$LINKS"; }

start_in "$WORK" "$MC_BUILD/skin_demo" "$CONFIG" "$LOG" --link 'http://127.0.0.1:9/page?a=1;b=2' \
  --backdrop 33CC66
wait_log drawn || check "demo shows its window" drawn "$(cat "$LOG" 2>/dev/null)"

# Centred in the 1280 x 800 work area: ((1280 - 760) / 2, (800 - 480) / 2).
check "centred in the work area" "at 260 160 760 480" "$(head -n 1 "$LOG")"
X=260 Y=160

# The picture: alpha 0 shows the backdrop, alpha 255 its exact colour, alpha 140 a blend.
check_pixel "transparent pixel shows what is below" $((X + 2)) $((Y + 2)) "$BACKDROP"
check_pixel "opaque pixel has the picture's colour" $((X + 300)) $((Y + 250)) "$(pixel "$CONFIG/main1.png" 300 250)"
blend=$(convert "$CONFIG/main1.png" -crop 1x1+18+240 -depth 8 txt:- | tail -n 1 |
  sed -E 's/^[^(]*\(([0-9]+),([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3 \4/')
got=$(pixel "$WORK/shot.png" $((X + 18)) $((Y + 240)))
keep_shot dialog

# A mask shapes its button: the key-coloured left half shows the picture, the rest the face,
# and the button took the mask's size (30 x 20).
check_pixel "masked-out half shows the picture" $((X + 305)) $((Y + 50)) "$(pixel "$CONFIG/main1.png" 305 50)"
check_pixel "shaped half shows the face" $((X + 320)) $((Y + 50)) 255,0,0
check_pixel "mask sized the button" $((X + 320)) $((Y + 65)) "$(pixel "$CONFIG/main1.png" 320 65)"
check "half-transparent pixel is blended over the backdrop" yes "$(python3 -c "
src = [int(v) for v in '$blend'.split()]; a = src[3] / 255
want = [round(c * a + b * (1 - a)) for c, b in zip(src[:3], [$BACKDROP])]
got = [int(v) for v in '$got'.split(',')]
print('yes' if a not in (0, 1) and all(abs(g - w) <= 2 for g, w in zip(got, want)) else (want, got))")"

# Hover: the title-bar style button (faces stacked 24 pixels apart in style.png) at (600, 31).
HX=$((X + 600 + 14)) HY=$((Y + 31 + 11))
normal=$(pixel "$CONFIG/style.png" 14 11) over=$(pixel "$CONFIG/style.png" 14 59)
check "style faces differ where probed" yes "$([ "$normal" != "$over" ] && echo yes || echo no)"
check_pixel "style button shows its normal face" $HX $HY "$normal"
xdotool mousemove $HX $HY
check_pixel "hovering shows the over face" $HX $HY "$over"
keep_shot hover
xdotool mousemove $((X + 300)) $((Y + 250))
check_pixel "leaving shows the normal face again" $HX $HY "$normal"

# Press on the link button (1_n / 1_d at (620, 92)): the pressed face follows the pointer while
# held, a release outside is no click, and every press opens the link once.
LX=$((X + 620 + 50)) LY=$((Y + 92 + 20))
up=$(pixel "$CONFIG/1_n.png" 50 20) down=$(pixel "$CONFIG/1_d.png" 50 20)
check "link faces differ where probed" yes "$([ "$up" != "$down" ] && echo yes || echo no)"
xdotool mousemove $LX $LY mousedown 1
check_pixel "pressed face while held" $LX $LY "$down"
keep_shot pressed
check "press opens the link, semicolons as ampersands" "1 http://127.0.0.1:9/page?a=1&b=2" \
  "$(wait_links 1) $(tail -n 1 "$LINKS")"
glide $LX $((LY + 120))
check_pixel "normal face with the pointer moved off" $LX $LY "$up"
glide $LX $LY
check_pixel "pressed face with the pointer back" $LX $LY "$down"
glide $LX $((LY + 120))
xdotool mouseup 1
check_pixel "normal face after release outside" $LX $LY "$up"
xdotool mousemove $LX $LY click 1
wait_log "command 201"
check "release outside is no click, release over is one" 1 "$(count_log "command 201")"
check "second press opens the link again" 2 "$(wait_links 2)"
xdotool click --repeat 2 --delay 100 1
check "a double click opens the link twice" 4 "$(wait_links 4)"
for _ in $(seq 50); do [ "$(count_log "command 201")" -ge 3 ] && break; sleep 0.1; done
check "a double click is two clicks" 3 "$(count_log "command 201")"

# A click on a transparent pixel reaches the window below.
xdotool mousemove $((X + 2)) $((Y + 2)) click 1
wait_log "backdrop-press $((X + 2)) $((Y + 2))"
check "click on a transparent pixel reaches the window below" 1 \
  "$(count_log "backdrop-press $((X + 2)) $((Y + 2))")"

# A drag on an uncovered opaque part moves the window by the pointer's offset.
xdotool mousemove $((X + 300)) $((Y + 250)) mousedown 1
sleep 0.2
xdotool mousemove $((X + 325)) $((Y + 265))
xdotool mousemove $((X + 350)) $((Y + 280))
sleep 0.2
xdotool mouseup 1
wait_log "at $((X + 50)) $((Y + 30)) 760 480"
check "drag moves the window by the pointer's offset" "at $((X + 50)) $((Y + 30)) 760 480" \
  "$(grep '^at ' "$LOG" | tail -n 1)"
X=$((X + 50)) Y=$((Y + 30))
check_pixel "moved picture keeps its opaque pixel" $((X + 300)) $((Y + 250)) "$(pixel "$CONFIG/main1.png" 300 250)"
keep_shot dragged
check "no press reached the backdrop during the drag" 1 "$(grep -c '^backdrop-press' "$LOG")"

# The close button ends the dialog; the dialog's result is a Cancel.
xdotool mousemove $((X + 698 + 15)) $((Y + 31 + 13)) click 1
wait_log "result 2"
check "close button ends the dialog" "command 203 result 2" \
  "$(grep -E '^(command 203|result)' "$LOG" | tr '\n' ' ' | sed 's/ $//')"
check "demo ends" yes "$(ended 10)"
check "links opened in all" 4 "$(wc -l < "$LINKS")"

finish
