#!/usr/bin/env bash
# The Windows game window under Wine with packages that go wrong: frame pieces that would show
# smoothing or blending if they were drawn any other way than as plain copies; edge and button
# picture numbers that name no picture, pictures outside the sprite, empty and negative sizes,
# absurd button positions and hundreds of buttons; a minimum size larger than the screen, an
# over-long double-byte title and a window dragged off the screen; a missing or undecodable
# picture that stops the initialisation. The window must never crash or hang, show no garbage
# text, and stay usable: it can always be closed through the closeMsg question.
source "$(dirname "$0")/game_lib.sh"

# write_png OUT WIDTH HEIGHT "X,Y,W,H=R,G,B,A" ...: an RGBA picture of filled rectangles.
write_png() {
  python3 - "$@" <<'PY'
import struct, sys, zlib
out, w, h, fills = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4:]
px = [[(0, 0, 0, 255)] * w for _ in range(h)]
for f in fills:
    rect, color = f.split("=")
    x, y, fw, fh = map(int, rect.split(","))
    for yy in range(y, y + fh):
        for xx in range(x, x + fw):
            px[yy][xx] = tuple(map(int, color.split(",")))
raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in px)
chunk = lambda t, d: struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d))
open(out, "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
                      + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))
PY
}

read -r WL WT WR WB < <(ctl work)
MAXIMISED="$WL $WT $WR $WB"
X=$(((WR - WL - 960) / 2)) Y=$(((WB - WT - 640) / 2))
RESTORED="$X $Y $((X + 960)) $((Y + 640))"
run() {  # run [game_package arguments...]: a freshly branded client, started
  game_brand "$MC_BUILD/microclient.exe" "$WORK/client.exe" "$@"
  game_start "$WORK/client.exe"
}
close_it() {  # close_it DESCRIPTION: WM_CLOSE, the question answered OK, the program gone
  ctl post 0x10 0 0 >/dev/null
  check "$1: closes through the closeMsg question" "client|确定要退出游戏吗？|yes" "$(dialog ok)|$(ended)"
}
colors() {  # colors X0 Y0 X1 Y1: the distinct colours of a screen rectangle
  pixels "$WORK/shot.png" "$@" | tr ' ' '\n' | sort -u | paste -sd' '
}

# Pieces stretched from columns red / blue (blue with alpha 0) and rows green / yellow: a plain
# copy shows exactly these colours, smoothing or alpha blending would show others.
# The band is as high as the sample's, so that the buttons stay clear of the browser.
write_png "$WORK/sprite.png" 8 30 "0,0,4,27=255,0,0,255" "1,0,1,27=0,0,255,0" \
  "3,0,1,27=0,0,255,0" "4,0,2,1=0,255,0,255" "4,1,2,1=255,255,0,255" "6,0,2,27=0,255,255,255" \
  "0,27,2,2=255,0,255,255"
pieces=()
for k in 9 10 11 12 13 14 15 16; do
  case $k in 10) r="0 0 4 27" ;; 12|13) r="4 0 2 2" ;; 9|11) r="6 0 2 27" ;; *) r="0 27 2 2" ;; esac
  read -r px py pw ph <<< "$r"
  pieces+=("gamePic$k.x=$px" "gamePic$k.y=$py" "gamePic$k.width=$pw" "gamePic$k.height=$ph")
done
run style.png="$WORK/sprite.png" "${pieces[@]}"
ctl wait-state $MAXIMISED visible >/dev/null
click_child 190
ctl wait-state $RESTORED visible >/dev/null
# (Above and below the logo and the title text, left of the buttons; the band may be painted
# a moment after the window has its place.)
band() {
  screenshot
  echo "$(colors $((X + 2)) $Y $((X + 600)) $((Y + 3)))|$(colors $((X + 2)) $((Y + 24)) $((X + 600)) $((Y + 27)))"
}
band_is() { [ "$(band)" = "$1" ]; }
wait_until 5 band_is "0,0,255 255,0,0|0,0,255 255,0,0" || true
check "stretched band: only its own colours, alpha ignored" "0,0,255 255,0,0|0,0,255 255,0,0" "$(band)"
check "stretched side: only its own colours" "0,255,0 255,255,0" \
  "$(colors $X $((Y + 27)) $((X + 2)) $((Y + 600)))"
close_it "plain-copy sprite"

# Numbers that name nothing, pictures outside the sprite, empty sizes, absurd buttons, 200 more
# buttons; the hide button's picture does not exist, yet its key (F9) is bound.
extra="+"
for i in $(seq 10 209); do
  extra+="[gamebutton$i]\ntype=$((i % 13))\nx=$((-i * 7))\ny=$((i % 30))\nimage=$((i % 9))\ntitle=按钮$i\ntips=提示\n"
done
run global.edgeImage1=0 global.edgeImage3=-1 global.edgeImage5=17 global.edgeImage8=99999999999 \
  gamePic13.x=100000 gamePic13.y=-100000 gamePic12.width=0 gamePic15.width=-5 \
  gamePic15.height=2147483647 gamebutton1.x=-2147483648 gamebutton1.y=2147483647 \
  gamebutton4.x=100000 gamebutton5.image=99 gamebutton7.image=0 global.gameButtonCount=209 "$extra"
check "bad numbers: starts maximised" "$MAXIMISED visible normal" "$(ctl wait-state $MAXIMISED visible)"
# 7 of the 9 sample buttons have pictures, and 178 of the 200 more (image 0 names none).
check "buttons without a picture are skipped" 185 "$(ctl buttons)"
ctl key 0x78 page >/dev/null
check "the skipped hide button's key still hides" "$MAXIMISED hidden normal" "$(ctl wait-state $MAXIMISED hidden)"
read -r ix iy < <(ctl tray)
xdotool mousemove "$ix" "$iy" click 1
check "the tray icon brings it back" "$MAXIMISED visible normal" "$(ctl wait-state $MAXIMISED visible)"
xdotool mousemove $((WL + 300)) $((WT + 1)) click --repeat 2 --delay 80 1
check "bad numbers: restores" "$RESTORED visible normal" "$(ctl wait-state $RESTORED visible)"
close_it "bad numbers"

# A minimum size larger than the screen, an over-long double-byte title (cut to whole
# characters), and a window dragged up and left off the screen.
run global.minGameWidth=100000 global.minGameHeight=100 global.title=$(printf '星%.0s' $(seq 100))
check "long title: whole characters only" "$(printf '星%.0s' $(seq 63))" "$(ctl title)"
ctl wait-state $MAXIMISED visible >/dev/null
Y2=$(((WB - WT - 100) / 2))
click_child 190
sleep 0.5
read -r l t r b _ < <(ctl state)
# (X windows are at most 32767 pixels wide; the window gets what the system allows.)
check "restored from x = 0, wider than the screen, of the configured height" "0 $Y2 yes $((Y2 + 100))" \
  "$l $t $([ "$r" -gt "$WR" ] && echo yes || echo "no ($r)") $b"
drag 400 $((Y2 + 13)) -390 $((-Y2 - 8))
read -r l t _ <<< "$(ctl state)"
check "dragged partly off the screen" "yes" "$([ "$l" -lt 0 ] && [ "$t" -lt 0 ] && echo yes || echo "no ($l $t)")"
xdotool mousemove 20 3 click --repeat 2 --delay 80 1
check "its title band still maximises it" "$MAXIMISED visible normal" "$(ctl wait-state $MAXIMISED visible)"
close_it "huge minimum"

# A missing sprite: the image message, then a window that stopped making its parts: not
# maximised, nothing painted of its own, no title text, still closable.
run -style.png
check "missing sprite: the image message" "启动失败|读取图片失败" "$(dialog ok)"
check "the stopped window covers the work area, shown" "$MAXIMISED visible normal" \
  "$(ctl wait-state $MAXIMISED visible)"
check "it has neither browser nor buttons" "no child|0" "$(ctl child 170)|$(ctl buttons)"
sleep 0.3; screenshot
check "it paints nothing of its own: one colour" 1 \
  "$(colors $WL $WT $((WL + 400)) $((WT + 40)) | wc -w)"
ctl key 0x78 >/dev/null
check "no function keys" "$MAXIMISED visible normal" "$(ctl state)"
close_it "missing sprite"

# An undecodable logo stops the initialisation silently, after the frame, browser and buttons.
run logo.png="$SAMPLE/cg.txt"
ctl wait-state $MAXIMISED visible >/dev/null
check "undecodable logo: no message" "no dialog" "$(dialog ok 1500)"
check "browser and buttons made, no logo" "yes|9|no child" \
  "$([ "$(ctl child 170)" != "no child" ] && echo yes)|$(ctl buttons)|$(ctl child 300)"
close_it "undecodable logo"

finish
