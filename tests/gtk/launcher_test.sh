#!/usr/bin/env bash
# The Linux launcher end to end: a branded client against a local HTTP server. The first html
# area's page loads (a second area stays hidden behind the placeholder colour until then and
# shows with it), a click on a plain link keeps the launcher, a click on the marked link and a
# script location change inside an iframe each close it and open the game window on the
# address without the marker, Enter and Escape never close it, the close button asks first
# (Cancel keeps it, OK ends the program), and a missing button image stops the build there.
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"

site="$WORK/site"
mkdir -p "$site/slow"
# Pages under /slow take 5 s.
serve --root "$site" --no-store --delay /slow=5

# The launcher page: the marked link top left, a plain link below it, page colour red.
page() {  # page FILE
  cat > "$1" <<HTML
<!doctype html><html><head><style>
html, body { margin: 0; height: 100%; background: rgb(200, 30, 30); }
a { position: absolute; left: 0; width: 200px; height: 80px; display: block; }
</style></head><body>
<a id="start" style="top: 0; background: rgb(240, 200, 40)" href="game:$BASE/game.html?from=click">start</a>
<a id="plain" style="top: 100px; background: rgb(40, 160, 60)" href="/other.html">other</a>
</body></html>
HTML
}
page "$site/launcher.html"; page "$site/slow/launcher.html"; page "$site/other.html"
echo '<!doctype html><html><body style="margin:0;background:rgb(30,100,200)">two</body></html>' > "$site/area2.html"
echo '<!doctype html><html><body>game</body></html>' > "$site/game.html"
echo '<!doctype html><html><body>never</body></html>' > "$site/never.html"
cat > "$site/frames.html" <<'HTML'
<!doctype html><html><body style="margin:0;background:rgb(200,30,30)"><iframe src="inner.html"></iframe></body></html>
HTML
cat > "$site/inner.html" <<HTML
<!doctype html><html><body><script>
setTimeout(function () { location.href = 'game:$BASE/game.html?from=frame'; }, 300);
</script></body></html>
HTML

cfg="$MC_SOURCE/sample/package/config"
run="$WORK/run"
mkdir -p "$run"
# launch LINKCOUNT LINK-RECORDS [ENTRY=FILE...]: brands myclient.bin with the sample package, its
# link records replaced by the given ones (and no button images but the given ones), and starts
# it. LAUNCHER is its window id, LX/LY the picture's corner on the screen.
launch() {
  local count=$1 links=$2 entry; shift 2
  rm -rf "$WORK/pkg"; cp -r "$MC_SOURCE/sample/package" "$WORK/pkg"
  rm -f "$WORK/pkg/config/"[0-9]*_[nd].png
  for entry in "$@"; do cp "${entry#*=}" "$WORK/pkg/${entry%%=*}"; done
  COUNT=$count LINKS=$links MARKER=${MARKER:-game:} python3 - "$cfg/cg.txt" "$WORK/pkg/config/cg.txt" <<'PY'
import os, re, sys
keep, skip = [], False
for line in open(sys.argv[1], encoding="gbk").read().splitlines():
    header = re.match(r"\s*\[(.*)\]", line)
    if header:
        skip = header.group(1).lower().startswith("link")
    if not skip:
        keep.append(line)
text = "\n".join(keep)
for key, value in (("title", "登录器测试"), ("gameheader", os.environ["MARKER"]), ("closeMsg", "确定要退出吗？"),
                   ("loginCenterColor", "3351057"), ("linkCount", os.environ["COUNT"]), ("port", "9")):
    text = re.sub(r"(?m)^%s=.*$" % key, "%s=%s" % (key, value), text, count=1)
text += "\n" + os.environ["LINKS"].replace("\\n", "\n")
open(sys.argv[2], "w", encoding="gbk", newline="\r\n").write(text)
PY
  brand "$run/myclient.bin" --dir "$WORK/pkg"
  start_in "$run" "$run/myclient.bin"
  LAUNCHER=$(wait_window launcher || true)
  eval "$(xdotool getwindowgeometry --shell "$LAUNCHER" 2>/dev/null | sed 's/^/L/')"
}
area() {  # area N X Y W H URL: an html link record
  printf '[link%s]\\ntype=4\\nx=%s\\ny=%s\\nwidth=%s\\nheight=%s\\nurl=%s\\n' "$@"
}
# at X Y [EXPECTED]: the screen colour at picture point (X, Y); with EXPECTED, once it is that
# colour (within 20 s).
at() {
  if [ -n "${3:-}" ]; then wait_pixel $((LX + $1)) $((LY + $2)) "$3" 20; else
    screen_pixel $((LX + $1)) $((LY + $2)); fi
}
click() { xdotool mousemove $((LX + $1)) $((LY + $2)) click 1; }
shown() {  # shown ROLE: "yes" when a visible window has that role now
  local id
  for id in $(xdotool search --onlyvisible --name '.*' 2>/dev/null); do
    xprop -id "$id" WM_WINDOW_ROLE 2>/dev/null | grep -q "\"$1\"" && { echo yes; return; }
  done
  echo no
}
running() { client_running && echo yes || echo no; }
RED=200,30,30 BLUE=30,100,200 PLACEHOLDER=17,34,51

# 1. A first area that takes 5 s (the server's /slow prefix) and a fast second one.
launch 2 "$(area 1 40 92 560 340 "$BASE/slow/launcher.html")$(area 2 620 92 100 340 "$BASE/area2.html")"
check "launcher shown" yes "$([ -n "$LAUNCHER" ] && echo yes || echo no)"
# The taskbar shows the program's icon for the launcher as for the game window.
check "launcher carries the program icon" yes \
  "$(xprop -id "$LAUNCHER" _NET_WM_ICON 2>/dev/null | grep -q '_NET_WM_ICON(CARDINAL) = ' && echo yes || echo no)"
wait_request /area2.html || true
sleep 1
# The placeholder fills the last area's place; that area is still hidden.
check "placeholder colour before the first page" "$PLACEHOLDER" "$(at 670 300)"
at 300 400 "$RED" >/dev/null
check "first page shows" "$RED" "$(at 300 400)"
check "second area shows with it" "$BLUE" "$(at 670 300)"
xdotool windowfocus --sync "$LAUNCHER" 2>/dev/null || true
xdotool key Return Escape KP_Enter
sleep 1
check "Enter and Escape keep the launcher" yes "$(running)"
click 140 232
wait_request /other.html || true
sleep 1
check "a plain link keeps the launcher" "yes yes" "$(requested /other.html) $(running)"
click 140 132
wait_request "/game.html?from=click" || true
check "marked link: the game window asks for the address without the marker" yes "$(requested "/game.html?from=click")"
check "the closing launcher did not load it as well" 1 "$(grep -cxF "/game.html?from=click" "$REQUESTS")"
check "marked link: launcher closed" no "$(shown launcher)"
check "game window opened" yes "$(wait_window game >/dev/null && echo yes || echo no)"
kill_client; wait_exit 10 || true

# 2. A script in an iframe moves to the marked address.
launch 1 "$(area 1 40 92 560 340 "$BASE/frames.html")"
wait_request "/game.html?from=frame" || true
check "iframe location change captured" yes "$(requested "/game.html?from=frame")"
check "iframe: game window opened" yes "$(wait_window game >/dev/null && echo yes || echo no)"
kill_client; wait_exit 10 || true

# 3. The close button asks, titled with the program's name; Cancel keeps, OK ends.
before=$(grep -c '^/game.html' "$REQUESTS" || true)
launch 2 "$(area 1 40 92 560 340 "$BASE/launcher.html")[link2]\ntype=3\nx=698\ny=31\n" \
  "config/2_n.png=$cfg/7_n.png" "config/2_d.png=$cfg/7_d.png"
at 300 400 "$RED" >/dev/null
click 712 44
check "close question text" "确定要退出吗？" "$(dialog myclient cancel 20 || true)"
sleep 1
check "Cancel keeps the launcher" yes "$(running)"
click 712 44
check "asked again" "确定要退出吗？" "$(dialog myclient ok 20 || true)"
check "OK ends the program" yes "$(wait_exit 10 && echo yes || echo no)"
check "no game window after closing" 0 "$(( $(grep -c '^/game.html' "$REQUESTS") - before ))"

# 4. A button whose images are missing: the message, then the launcher with the controls
# before it; the link after it is never built.
dialog 启动失败 ok 20 > "$WORK/message" &
answer=$!
launch 3 "$(area 1 40 92 560 340 "$BASE/launcher.html")[link2]\ntype=1\nx=620\ny=92\n$(area 3 620 200 100 100 "$BASE/never.html")"
wait "$answer" || true
check "missing button image" "读取图片失败" "$(cat "$WORK/message")"
check "launcher stays open after the message" yes "$([ -n "$LAUNCHER" ] && echo yes || echo no)"
wait_request /launcher.html || true
sleep 2
check "links before it built, after it not" "yes no" "$(requested /launcher.html) $(requested /never.html)"
xdotool windowclose "$LAUNCHER" 2>/dev/null || true
check "closes without a game window" yes "$(wait_exit 10 && echo yes || echo no)"

# 5. Bad input: the first area at an absurd rectangle (it gets the whole picture), 49 more areas
# at negative, huge and ordinary ones, a button far off the picture, then a button whose image
# does not decode (the build stops there, silently), a page that opens pop-ups, a marker cut to
# 63 bytes and a game address longer than 255 bytes. The launcher keeps its size, stays
# responsive, and the game window gets the address cut to 255 bytes.
marker=$(printf 'x%.0s' $(seq 63))
long="$BASE/game.html?pad=$(printf 'a%.0s' $(seq 300))"
cat > "$site/pop.html" <<HTML
<!doctype html><html><head><style>
html, body { margin: 0; height: 100%; background: rgb(200, 30, 30); }
a { position: absolute; left: 0; width: 200px; height: 80px; display: block; background: #fff; }
</style></head><body onload="window.open('popup.html')">
<a style="top: 0" target="_blank" href="popup2.html">pop</a>
<a style="top: 100px" href="$marker$long">start</a>
</body></html>
HTML
records=$(area 1 -100000 -100000 2147483647 2147483647 "$BASE/pop.html")
for n in $(seq 2 50); do
  case $((n % 3)) in
    0) records+=$(area "$n" -50 -60 -10 -20 "$BASE/area2.html") ;;
    1) records+=$(area "$n" 2147483647 2147483647 2147483647 2147483647 "$BASE/area2.html") ;;
    2) records+=$(area "$n" 700 400 30 30 "$BASE/area2.html") ;;
  esac
done
records+="[link51]\ntype=1\nx=-2147483648\ny=2147483647\n[link52]\ntype=1\nx=10\ny=10\n"
records+=$(area 53 0 0 100 100 "$BASE/never.html")
echo "not a picture" > "$WORK/bad.png"
before=$(grep -c '^/game.html' "$REQUESTS" || true)
MARKER="${marker}yz" launch 53 "$records" "config/51_n.png=$cfg/1_n.png" "config/51_d.png=$cfg/1_d.png" \
  "config/52_n.png=$WORK/bad.png" "config/52_d.png=$WORK/bad.png"
check "bad input: launcher shown at the picture's size" "760x480" "${LWIDTH:-}x${LHEIGHT:-}"
wait_request /pop.html || true
at 300 400 "$RED" >/dev/null
click 100 40
sleep 3
check "bad input: pop-ups leave the launcher responsive" "yes 760" \
  "$(running) $(xdotool getwindowgeometry --shell "$LAUNCHER" 2>/dev/null | sed -n 's/^WIDTH=//p')"
check "bad input: nothing built after the undecodable image" no "$(requested /never.html)"
click 100 140
expected=${long:0:255}
expected=${expected#$BASE}
wait_request "$expected" || true
check "bad input: game address cut to 255 bytes" yes "$(requested "$expected")"
check "bad input: no other game request" 1 "$(( $(grep -c '^/game.html' "$REQUESTS") - before ))"
kill_client; wait_exit 10 || true

finish
