#!/usr/bin/env bash
# The translucent launcher picture on a screen that blends nothing (bare X, a window manager
# without compositing), over a coloured root window: every pixel at least half opaque shows the
# picture's own colour, every other one the root window, so the soft shadow leaves no dark rim.
# When a compositor starts, the picture is blended again and its shadow shows.
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"
export NO_AT_BRIDGE=1

CONFIG="$MC_SOURCE/sample/package/config"
LOG="$WORK/demo.log"
ROOT=51,204,102

start_in "$WORK" "$MC_BUILD/skin_demo" "$CONFIG" "$LOG"
wait_until 30 grep -qx drawn "$LOG" 2>/dev/null ||
  check "demo shows its window" drawn "$(cat "$LOG" 2>/dev/null)"
# Coloured once a client holds the server: the last client leaving resets it (and its colour).
xsetroot -solid '#33cc66'
check "centred in the work area" "at 260 160 760 480" "$(head -n 1 "$LOG")"
X=260 Y=160

# compare SHOT: how many picture pixels outside the controls differ from what an unblended
# screen must show (the picture's colour at alpha >= 128, else the root colour), then the
# first few that do.
compare() {
  convert "$CONFIG/main1.png" -depth 8 rgba:"$WORK/picture.rgba"
  convert "$1" -crop "760x480+$X+$Y" -depth 8 rgb:"$WORK/screen.rgb"
  python3 - "$WORK/picture.rgba" "$WORK/screen.rgb" "$ROOT" <<'PY'
import sys
picture, screen = open(sys.argv[1], "rb").read(), open(sys.argv[2], "rb").read()
root = tuple(int(c) for c in sys.argv[3].split(","))
# The demo's controls (picture coordinates): they paint themselves.
controls = [(620, 92, 100, 76), (600, 31, 28, 22), (620, 268, 100, 76), (300, 40, 60, 60),
            (698, 31, 30, 26)]
wrong = []
for y in range(480):
    for x in range(760):
        if any(cx <= x < cx + w and cy <= y < cy + h for cx, cy, w, h in controls):
            continue
        r, g, b, a = picture[4 * (760 * y + x):4 * (760 * y + x) + 4]
        want = (r, g, b) if a >= 128 else root
        got = tuple(screen[3 * (760 * y + x):3 * (760 * y + x) + 3])
        if got != want:
            wrong.append("%d,%d:a%d:%s!=%s" % (x, y, a, got, want))
print(len(wrong), " ".join(wrong[:5]))
PY
}
# settled_compare: the comparison once it finds nothing wrong (within about 4 s), else the last.
settled_compare() {
  local out
  for _ in $(seq 20); do
    screenshot
    out=$(compare "$WORK/shot.png")
    [ "${out%% *}" = 0 ] && break
    sleep 0.2
  done
  echo "$out"
}
check "unblended: opaque-enough pixels in their own colours, the rest the root window" "0 " \
  "$(settled_compare)"
mkdir -p "$MC_BUILD/skin-shots"
cp "$WORK/shot.png" "$MC_BUILD/skin-shots/linux-uncomposited.png"

# A half-transparent shadow pixel (alpha 140) shows its own colour, one of alpha 108 the root;
# a click on the latter reaches the root window's side, not the picture (no move).
shadow=$(pixel "$CONFIG/main1.png" 18 240)
check_pixel "shadow pixel of alpha 140: its own colour" $((X + 18)) $((Y + 240)) "$shadow"
check_pixel "shadow pixel of alpha 108: the root window" $((X + 16)) $((Y + 240)) "$ROOT"
xdotool mousemove $((X + 16)) $((Y + 240)) mousedown 1 mousemove $((X + 60)) $((Y + 280)) mouseup 1
sleep 0.3
check "a press on a cut-away shadow pixel moves nothing" "at 260 160 760 480" "$(grep '^at ' "$LOG" | tail -n 1)"

# A compositor starts: the picture is blended over what is below again, shadow included.
xcompmgr >/dev/null 2>&1 &
at_exit_kill $!
blended() {  # "yes" once the alpha-108 pixel is a blend of the picture over the backdrop
  local below got
  screenshot
  below=$(pixel "$WORK/shot.png" $((X + 2)) $((Y + 2)))  # alpha 0: what lies below
  got=$(pixel "$WORK/shot.png" $((X + 16)) $((Y + 240)))
  python3 -c "
src = [int(v) for v in '$(convert "$CONFIG/main1.png" -crop 1x1+16+240 -depth 8 txt:- | tail -n 1 |
  sed -E 's/^[^(]*\(([0-9]+),([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3 \4/')'.split()]
a = src[3] / 255
want = [round(c * a + b * (1 - a)) for c, b in zip(src[:3], [$below])]
got = [$got]
print('yes' if all(abs(g - w) <= 2 for g, w in zip(got, want)) else 'no %s %s' % (want, got))"
}
check "composited: the shadow is blended again" yes \
  "$(for _ in $(seq 30); do r=$(blended); [ "$r" = yes ] && break; sleep 0.2; done; echo "$r")"
finish
