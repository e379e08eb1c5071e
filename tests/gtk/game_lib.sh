# Sourced by the game window tests after gtk_lib.sh: the game test site, branded clients made
# from the sample package, and the small steps a player takes (drags, clicks, keys), with waits
# that end as soon as what they wait for has happened.

GAME_CHECK="$MC_BUILD/game_frame_check"

# In the sanitizer build the client keeps whole allocation stacks: the accessibility bridge
# (through which these tests read questions and menus) keeps strings until the process ends,
# and only a whole stack shows that memory as the system library's (cmake/lsan-suppressions.txt)
# rather than as a bare g_malloc.
if [ -n "${ASAN_OPTIONS:-}" ]; then export ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_malloc=0"; fi
GAME_X11="/usr/bin/python3 $MC_SOURCE/tests/gtk/game_x11.py"

# game_site: serves the game test page (http_server.py --calls); sets PORT, BASE, REQUESTS (the
# request log) and CALLS (the page's queue of JsCallClient calls).
game_site() {
  CALLS="$WORK/calls"
  : > "$CALLS"
  serve --calls "$CALLS"
}

# game_package DIR [KEY=VALUE | SECTION.KEY=VALUE ...]: a copy of the sample package in DIR with
# keys of config/cg.txt set (added when missing); KEY alone goes to [global]. Values are UTF-8
# here and GBK in the file.
game_package() {
  local dir=$1; shift
  rm -rf "$dir"; mkdir -p "$dir"
  cp -r "$MC_SOURCE/sample/package/config" "$dir/config"
  python3 - "$dir/config/cg.txt" "$@" <<'PY'
import sys
path, settings = sys.argv[1], sys.argv[2:]
lines = open(path, "rb").read().decode("gbk").split("\r\n")
for setting in settings:
    key, value = setting.split("=", 1)
    section, key = key.split(".", 1) if "." in key else ("global", key)
    start = lines.index("[%s]" % section) if "[%s]" % section in lines else None
    if start is None:
        lines += ["[%s]" % section, "%s=%s" % (key, value)]
        continue
    end = next((i for i in range(start + 1, len(lines)) if lines[i].startswith("[")), len(lines))
    for i in range(start + 1, end):
        if lines[i].split("=", 1)[0] == key:
            lines[i] = "%s=%s" % (key, value)
            break
    else:
        lines.insert(start + 1, "%s=%s" % (key, value))
open(path, "wb").write("\r\n".join(lines).encode("gbk"))
PY
}

# game_brand PACKAGE_DIR OUT: the Linux client branded with the package folder, whatever it
# holds (broken packages included).
game_brand() { brand "$2" --dir "$1"; }

# game_client [KEY=VALUE | SECTION.KEY=VALUE ...]: PKG, the sample package opening the game
# page at once (firstUrl) with those keys set, and GAME_CLIENT, the client branded with it in
# its own folder.
game_client() {
  PKG="$WORK/pkg"
  game_package "$PKG" "firstUrl=$BASE/game.html" "$@"
  mkdir -p "$WORK/game"
  GAME_CLIENT="$WORK/game/sea.client"
  game_brand "$PKG" "$GAME_CLIENT"
}

# launcher_client: LAUNCH_CLIENT, a client in the game folder whose launcher page (served by a
# second server) is one yellow (240,200,40) link filling the page that opens the game page in
# the game window. BASE stays the game site's.
launcher_client() {
  local game_base=$BASE
  mkdir -p "$WORK/site" "$WORK/game"
  cat > "$WORK/site/launcher.html" <<HTML
<!doctype html><html><body style="margin:0;background:rgb(240,200,40)">
<a href="game:$BASE/game.html?from=launcher" style="display:block;height:100vh">start</a>
</body></html>
HTML
  serve --root "$WORK/site" --no-store
  game_package "$WORK/lpkg" "link5.url=$BASE/launcher.html"
  BASE=$game_base
  LAUNCH_CLIENT="$WORK/game/launch.client"
  game_brand "$WORK/lpkg" "$LAUNCH_CLIENT"
}

# game_start PROGRAM: starts a branded client in its folder and waits for its game window
# (GAME_ID) and for the page to run (its first report reached the server). Under Wayland
# (WAYLAND_DISPLAY set) the window is no X window: GAME_ID stays empty.
game_start() {
  local reports
  reports=$(requests '^/report\?external')
  start_in "$(dirname "$1")" "$1"
  GAME_ID=""
  if [ -z "${WAYLAND_DISPLAY:-}" ]; then
    GAME_ID=$(wait_window game || true)
    [ -n "$GAME_ID" ] || { echo "no game window"; cat "$WORK/client.log"; display_report; return 1; }
  fi
  wait_requests '^/report\?external' $((reports + 1)) 30 || echo "the page did not start"
}

# page_size: the page's size as it last reported it ("WxH").
page_size() { sed -n 's/^\/report?size=//p' "$REQUESTS" | tail -n 1; }

# eventually_page_size EXPECTED: the page's size once it has reported EXPECTED as its latest
# (within about 10 s), else the latest.
eventually_page_size() {
  wait_until 10 page_size_is "$1" || true
  page_size
}
page_size_is() { [ "$(page_size)" = "$1" ]; }

# page_call EXPRESSION: the page calls window.external.JsCallClient(...EXPRESSION) and this
# waits until it has; prints "done" or what failed.
page_call() {
  local n
  n=$(wc -l < "$CALLS")
  printf '%s\n' "$1" >> "$CALLS"
  if wait_requests "^/report\?(done|failed)=$n( |$)"; then
    grep -E "^/report\?(done|failed)=$n( |$)" "$REQUESTS" | head -n 1 | sed 's/^\/report?\([a-z]*\).*/\1/'
  else
    echo timeout
  fi
}

# geometry ID: "X,Y,WIDTH,HEIGHT" of a window on the screen.
geometry() {
  xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /^ *Width:/{w=$NF} /^ *Height:/{h=$NF} END{print x "," y "," w "," h}'
}

# eventually_geometry ID EXPECTED: the geometry once it is EXPECTED (within about 10 s: a window
# manager may take several steps to get there).
eventually_geometry() {
  local g
  for _ in $(seq 200); do
    g=$(geometry "$1")
    [ "$g" = "$2" ] && break
    sleep 0.05
  done
  echo "$g"
}

# map_state ID: IsViewable, IsUnMapped (hidden) or gone.
map_state() {
  xwininfo -id "$1" 2>/dev/null | awk '/Map State/{print $NF; found=1} END{if(!found) print "gone"}'
}

eventually_map_state() {
  local s
  for _ in $(seq 60); do
    s=$(map_state "$1")
    [ "$s" = "$2" ] && break
    sleep 0.05
  done
  echo "$s"
}

# drag X Y DX DY: the left button held from (X, Y) while the pointer travels by (DX, DY) in
# small steps, as a hand moves it. With DRAG_HOLD set (seconds), the hand rests that long on
# the pressed button and again once it has travelled a few pixels, as a player's does: where a
# window manager or compositor moves or sizes the window, it takes over only once the client,
# seeing the press or the start of the move, asks it to.
drag() {
  local x=$1 y=$2 dx=$3 dy=$4 steps i rested=""
  steps=$(( (${dx#-} > ${dy#-} ? ${dx#-} : ${dy#-}) / 4 + 1 ))
  local args=(mousemove "$x" "$y" mousedown 1)
  [ -z "${DRAG_HOLD:-}" ] || args+=(sleep "$DRAG_HOLD")
  for i in $(seq 1 "$steps"); do  # the pointer stops at the screen's edge
    args+=(mousemove $(( (x + dx * i / steps) > 0 ? x + dx * i / steps : 0 ))
      $(( (y + dy * i / steps) > 0 ? y + dy * i / steps : 0 )))
    if [ -n "${DRAG_HOLD:-}" ] && [ -z "$rested" ] &&
      [ $(( (${dx#-} > ${dy#-} ? ${dx#-} : ${dy#-}) * i / steps )) -ge 12 ]; then
      args+=(sleep "$DRAG_HOLD")
      rested=yes
    fi
  done
  args+=(mouseup 1)
  xdotool "${args[@]}"
  sleep 0.2
}

# click X Y [BUTTON]: one click. Two clicks on one spot within the double-click time are a
# double-click (on the title band: maximise or restore), so clicks there are kept apart.
click() {
  local now last
  now=$(date +%s%3N)
  last=$(cat "$WORK/last_click" 2>/dev/null || echo "none 0")
  if [ "${last% *}" = "$1,$2" ] && [ $((now - ${last#* })) -lt 600 ]; then sleep 0.6; fi
  xdotool mousemove "$1" "$2" click "${3:-1}"
  echo "$1,$2 $(date +%s%3N)" > "$WORK/last_click"
}

# double_click X Y
double_click() {
  xdotool mousemove "$1" "$2" click --repeat 2 --delay 80 1
  echo "none 0" > "$WORK/last_click"
  sleep 0.3
}

# frame_check STATE [X,Y,W,H]: "same" once a screenshot of the game window (at that place, by
# default where the X server has GAME_ID) shows the frame of $PKG as the paint plan for STATE
# (max or restored) has it (within about 3 s), else what differs. The pointer rests on the
# page meanwhile, so no button tooltip lies over the frame.
frame_check() {
  local g out shot="$WORK/shot.png"
  g=${2:-$(geometry "$GAME_ID")}
  IFS=, read -r gx gy gw gh <<< "$g"
  xdotool mousemove $((gx + gw / 2)) $((gy + gh / 2))
  for _ in $(seq 30); do
    screenshot "$shot"
    if out=$("$GAME_CHECK" frame "$PKG/config" "$shot" ${g//,/ } "$1"); then echo same; return; fi
    sleep 0.05
  done
  echo "$out" | paste -sd' '
}

# title_extent STATE: rightmost column of the title text in the window's band (the pointer
# rests on the page meanwhile).
title_extent() {
  local g shot="$WORK/shot.png"
  g=$(geometry "$GAME_ID")
  IFS=, read -r gx gy gw gh <<< "$g"
  xdotool mousemove $((gx + gw / 2)) $((gy + gh / 2))
  screenshot "$shot"
  "$GAME_CHECK" title "$PKG/config" "$shot" ${g//,/ } "$1"
}

# question TITLE ok|cancel: the text of the question titled TITLE, answered.
question() { dialog "$1" "$2" 15 || true; }
