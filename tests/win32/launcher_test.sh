#!/usr/bin/env bash
# The Windows launcher under Wine against a local HTTP server. Pages do not render here, but the
# first html area's navigations are reported: an area whose own address carries the marker is
# captured, the launcher closes and the game window asks the server for the address without
# the marker (the launcher itself never loads it). An unmarked area keeps the launcher; its close
# button asks with the program's name as caption (Cancel keeps, OK ends without a game window);
# a missing button image is reported and stops the build there.
source "$(dirname "$0")/wine_lib.sh"
wine_start

site="$WORK/site"
mkdir -p "$site"
echo '<html><body>launcher</body></html>' > "$site/launcher.html"
echo '<html><body>game</body></html>' > "$site/game.html"
echo '<html><body>never</body></html>' > "$site/never.html"
serve --root "$site" --no-store

cfg="$MC_SOURCE/sample/package/config"
dir="$WORK/run"
mkdir -p "$dir"
# launch LINKCOUNT LINK-RECORDS [ENTRY=FILE...]: the sample package with these link records
# (and only the given button images), branded onto myclient.exe and started.
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
                   ("linkCount", os.environ["COUNT"]), ("port", "9")):
    text = re.sub(r"(?m)^%s=.*$" % key, "%s=%s" % (key, value), text, count=1)
text += "\n" + os.environ["LINKS"].replace("\\n", "\n")
open(sys.argv[2], "w", encoding="gbk", newline="\r\n").write(text)
PY
  brand "$dir/myclient.exe" --dir "$WORK/pkg"
  start_exe "$dir" "$dir/myclient.exe"
}
area() { printf '[link%s]\\ntype=4\\nx=%s\\ny=%s\\nwidth=%s\\nheight=%s\\nurl=%s\\n' "$@"; }
probe() { wine "$MC_BUILD/$1" "${@:2}" | tr -d '\r'; }
count() { grep -cxF "$1" "$REQUESTS" || true; }
close_button="[link2]\ntype=3\nx=698\ny=31\n"
close_images=("config/2_n.png=$cfg/7_n.png" "config/2_d.png=$cfg/7_d.png")

# 1. The area's own address carries the marker.
launch 1 "$(area 1 40 92 560 340 "game:$BASE/game.html?from=area")"
wait_request "/game.html?from=area" || true
check "captured: the game window asks for the address without the marker" 1 "$(count "/game.html?from=area")"
check "game window shown" "登录器测试" "$(probe window_probe.exe MicroClientGame keep 20000)"
wineserver -k >/dev/null 2>&1 || true  # the game window's own close asks first
wait_exit 15 || true

# 2. An unmarked page: the launcher stays; keys typed in the page; the close question, Cancel
# then OK. Wine's trace of the WebBrowser control shows its TranslateAccelerator being called.
export WINEDEBUG=-all,trace+ieframe
launch 2 "$(area 1 40 92 560 340 "$BASE/launcher.html")$close_button" "${close_images[@]}"
export WINEDEBUG=-all
check "launcher shown" "登录器测试" "$(probe window_probe.exe MicroClientLauncher keep 20000)"
wait_request /launcher.html || true
check "unmarked page requested by the launcher" 1 "$(count /launcher.html)"
# (The area is still hidden, as Wine never completes a document: dialog navigation, which
# would walk the visible controls for ever looking for it, leaves its keys alone.)
accelerated() { grep -c 'InPlaceActiveObject_TranslateAccelerator' "$WORK/client.log" || true; }
some_accelerated() { [ "$(accelerated)" -gt 0 ]; }
probe launcher_command.exe key 0x09 0x41 >/dev/null  # Tab, A
check "keys typed in a page area go to its control's TranslateAccelerator first" yes \
  "$(wait_until 5 some_accelerated && echo yes || echo no)"
probe launcher_command.exe key 0x0D 0x1B 0x74 >/dev/null  # Enter, Escape, F5
check "Enter, Escape and F5 in the page keep the launcher and ask nothing" "no dialog|登录器测试" \
  "$(probe dialog_probe.exe cancel 1500)|$(probe window_probe.exe MicroClientLauncher keep 2000)"
# The close button's command, as its click sends it to the layer.
wine "$MC_BUILD/launcher_command.exe" 203 >/dev/null &
check "close question" "myclient|确定要退出吗？" "$(probe dialog_probe.exe cancel 20000)"
check "Cancel keeps the launcher" "登录器测试" "$(probe window_probe.exe MicroClientLauncher keep 2000)"
wine "$MC_BUILD/launcher_command.exe" 203 >/dev/null &
check "asked again" "myclient|确定要退出吗？" "$(probe dialog_probe.exe ok 20000)"
check "OK ends the program" yes "$(ended 15)"
check "no game window (the only game request is the first run's)" 1 "$(grep -c '^/game.html' "$REQUESTS")"

# 3. A button without images: the message, then the launcher with what came before it.
launch 3 "$(area 1 40 92 560 340 "$BASE/launcher.html")[link2]\ntype=1\nx=620\ny=92\n$(area 3 620 200 100 100 "$BASE/never.html")"
check "missing button image" "启动失败|读取图片失败" "$(probe dialog_probe.exe ok 20000)"
check "launcher stays open" "登录器测试" "$(probe window_probe.exe MicroClientLauncher keep 20000)"
sleep 2
check "links before it built, after it not" "2 0" "$(count /launcher.html) $(count /never.html)"
probe window_probe.exe MicroClientLauncher close 2000 >/dev/null
check "closing ends the program" yes "$(ended 15)"

# 4. Bad input: 50 areas at absurd, negative and ordinary rectangles, a button far off the
# picture, a button whose image does not decode (the build stops there, silently), a marker cut
# to 63 bytes, and a first area whose own address carries it; that address is cut to its
# 255-byte field by the configuration, so the game gets its remaining 192 bytes.
marker=$(printf 'x%.0s' $(seq 63))
long="$BASE/game.html?pad=$(printf 'a%.0s' $(seq 300))"
records=$(area 1 -100000 -100000 2147483647 2147483647 "$marker$long")
for n in $(seq 2 50); do
  case $((n % 3)) in
    0) records+=$(area "$n" -50 -60 -10 -20 "$BASE/launcher.html") ;;
    1) records+=$(area "$n" 2147483647 2147483647 2147483647 2147483647 "$BASE/launcher.html") ;;
    2) records+=$(area "$n" 700 400 30 30 "$BASE/launcher.html") ;;
  esac
done
records+="[link51]\ntype=1\nx=-2147483648\ny=2147483647\n[link52]\ntype=1\nx=10\ny=10\n"
records+=$(area 53 0 0 100 100 "$BASE/never.html")
echo "not a picture" > "$WORK/bad.png"
MARKER="${marker}yz" launch 53 "$records" "config/51_n.png=$cfg/1_n.png" "config/51_d.png=$cfg/1_d.png" \
  "config/52_n.png=$WORK/bad.png" "config/52_d.png=$WORK/bad.png"
expected=${long:0:192}
expected=${expected#$BASE}
wait_request "$expected" || true
check "bad input: marker stripped from the cut address" 1 "$(count "$expected")"
check "bad input: game window shown" "登录器测试" "$(probe window_probe.exe MicroClientGame keep 20000)"
check "bad input: nothing built after the undecodable image" 0 "$(count /never.html)"

finish
