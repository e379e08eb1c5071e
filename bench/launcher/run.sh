#!/usr/bin/env bash
# Launcher benchmark (Linux port): the branded sample client against minimal_webview (the least
# a WebKitGTK program does to show one page in one window) on the same launcher page, runs
# alternating on one Xvfb. Measures, from exec: the window on screen (first visible window of
# the process), the launcher's picture painted (a pixel of the picture read from the screen
# every millisecond by pixel_watch), the first document of the page (the page's onload beacon
# reaching the server, seen by polling every 10 ms), and the PSS of the whole process tree
# (client and WebKit's helpers) once the page has loaded; and for a client whose firstUrl skips
# the launcher, exec to its game window's title band painted. Medians and ranges.
# Usage: bench/launcher/run.sh [RUNS]   (needs build/linux built; not part of scripts/test)
# BENCH_TREE=1 also prints the PSS of each process of the tree per run.
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT=$PWD
RUNS=${1:-7}
export MC_BUILD=$ROOT/build/linux MC_SOURCE=$ROOT NO_AT_BRIDGE=1
source tests/gtk/gtk_lib.sh
gtk_session "$@"  # its own D-Bus session, Xvfb and HOME

# The sample site, its launcher page reporting its load to the server.
cp -r sample/site "$WORK/site"
sed -i 's|<body>|<body onload="new Image().src = \x27/loaded?\x27 + Date.now()">|' "$WORK/site/launcher.html"
serve --root "$WORK/site" --no-store
cp -r sample/package "$WORK/package"
python3 - "$WORK/package/config/cg.txt" "$PORT" <<'PY'
import sys
path, port = sys.argv[1], sys.argv[2]
text = open(path, "rb").read().replace(b"127.0.0.1:8765", b"127.0.0.1:" + port.encode())
text = text.replace(b"port=8765", b"port=" + port.encode())
open(path, "wb").write(text)
PY
build/linux/mcpack pack build/linux/microclient "$WORK/package" "$WORK/client" >/dev/null
URL="http://127.0.0.1:$PORT/launcher.html?from=launcher"
# The same package opening the game page at once.
cp -r "$WORK/package" "$WORK/gamepackage"
sed -i "s#^firstUrl=.*#firstUrl=http://127.0.0.1:$PORT/game.html\r#" "$WORK/gamepackage/config/cg.txt"
build/linux/mcpack pack build/linux/microclient "$WORK/gamepackage" "$WORK/gameclient" >/dev/null

mkdir -p "$ROOT/build/bench"
FLOOR="$ROOT/build/bench/minimal_webview"
if [ ! -x "$FLOOR" ] || [ "$ROOT/bench/browser/minimal_webview.cpp" -nt "$FLOOR" ]; then
  g++ -std=c++20 -O2 "$ROOT/bench/browser/minimal_webview.cpp" -o "$FLOOR" \
    $(pkg-config --cflags --libs gtk+-3.0 webkit2gtk-4.1)
fi
WATCH="$ROOT/build/bench/pixel_watch"
if [ ! -x "$WATCH" ] || [ "$ROOT/bench/launcher/pixel_watch.cpp" -nt "$WATCH" ]; then
  g++ -std=c++20 -O2 "$ROOT/bench/launcher/pixel_watch.cpp" -o "$WATCH" -lX11
fi

tree_pss() {  # tree_pss PID: PSS of the process and all its descendants, kB
  local pids=$1 all="" next p total=0 pss
  while [ -n "$pids" ]; do
    all="$all $pids"; next=""
    for p in $pids; do next="$next $(pgrep -P "$p" || true)"; done
    pids=$(echo $next)
  done
  for p in $all; do
    pss=$(awk '/^Pss:/ {print $2}' "/proc/$p/smaps_rollup" 2>/dev/null || echo 0)
    total=$((total + ${pss:-0}))
  done
  echo "$total"
}

# measure COMMAND...: prints "window-ms picture-ms document-ms pss-kB"; the picture is the
# pixel $WATCH_AT ("X Y RRGGBB", empty: not watched, 0) and the document the page's beacon
# ($BEACON: a request-log pattern, empty: not waited for, 0).
measure() {
  local start shown="" loaded="" pid watcher painted=0
  : > "$REQUESTS"
  rm -f "$WORK/painted"
  if [ -n "${WATCH_AT:-}" ]; then
    "$WATCH" $WATCH_AT 20 > "$WORK/painted" &
    watcher=$!
  fi
  start=$(date +%s.%N)
  (cd "$WORK" && exec "$@") </dev/null >/dev/null 2>>"$WORK/stderr" &
  pid=$!
  for _ in $(seq 1000); do
    [ -n "$shown" ] || { xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1 && shown=$(date +%s.%N); }
    [ -n "$loaded" ] || [ -z "$BEACON" ] || { grep -q "$BEACON" "$REQUESTS" && loaded=$(date +%s.%N); }
    [ -n "$shown" ] && { [ -n "$loaded" ] || [ -z "$BEACON" ]; } && break
    sleep 0.01
  done
  [ -n "$loaded" ] || loaded=$start
  if [ -n "${WATCH_AT:-}" ]; then
    wait "$watcher" 2>/dev/null && painted=$(cat "$WORK/painted") || painted=$start
  else
    painted=$start
  fi
  sleep 2  # settle: helper processes finish starting
  local pss; pss=$(tree_pss "$pid")
  [ -z "${BENCH_TREE:-}" ] || for p in $pid $(pgrep -P "$pid"); do echo "tree $1 $p $(awk "/^Pss:/ {print \$2}" /proc/$p/smaps_rollup) $(cat /proc/$p/comm)"; done >&2
  kill "$pid" 2>/dev/null || { echo "measure: $1 ended early:" >&2; tail -n 5 "$WORK/stderr" >&2; }
  wait "$pid" 2>/dev/null || true
  awk -v s="$start" -v w="$shown" -v p="$painted" -v d="$loaded" -v m="$pss" \
    'BEGIN { printf "%.0f %.0f %.0f %d\n", (w - s) * 1000, (p - s) * 1000, (d - s) * 1000, m }'
}

# reference NAME X Y COMMAND...: the colour at X,Y once COMMAND's window has settled (its
# first run also warms the file cache); sets WATCH_AT for later runs of it.
reference() {
  local name=$1 x=$2 y=$3; shift 3
  WATCH_AT="" measure "$@" >/dev/null
  (cd "$WORK" && exec "$@") </dev/null >/dev/null 2>>"$WORK/stderr" &
  local pid=$!
  sleep 3
  local rgb; rgb=$(screen_pixel "$x" "$y")
  kill "$pid"; wait "$pid" 2>/dev/null || true
  printf -v "WATCH_$name" '%s %s %02x%02x%02x' "$x" "$y" ${rgb//,/ }
}

# stats COLUMN FILE: "median (min-max)" of a column.
stats() {
  cut -d' ' -f"$1" "$2" | sort -n |
    awk '{a[NR]=$1} END {m = (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2;
                          printf "%d (%d-%d)", m, a[1], a[NR]}'
}

# The launcher window is centred on the screen: a point of its picture's top band.
SCREEN=$(screen_size)
SW=${SCREEN%x*} SH=${SCREEN#*x}
PW=$(identify -format %w "$WORK/package/config/main1.png")
PH=$(identify -format %h "$WORK/package/config/main1.png")
BEACON='^/loaded'
reference LAUNCHER $(((SW - PW) / 2 + PW / 2)) $(((SH - PH) / 2 + 24)) "$WORK/client"
BEACON='^/game.html'
reference GAME 400 6 "$WORK/gameclient"
WATCH_AT="" BEACON='^/loaded' measure "$FLOOR" "$URL" >/dev/null
: > "$WORK/floor"; : > "$WORK/launcher"; : > "$WORK/game"
for _ in $(seq "$RUNS"); do  # interleaved, so a busy machine weighs on both alike
  WATCH_AT="" BEACON='^/loaded' measure "$FLOOR" "$URL" >> "$WORK/floor"
  WATCH_AT=$WATCH_LAUNCHER BEACON='^/loaded' measure "$WORK/client" >> "$WORK/launcher"
  WATCH_AT=$WATCH_GAME BEACON='^/game.html' measure "$WORK/gameclient" >> "$WORK/game"
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
printf '%-36s %18s %18s %18s %10s\n' "program ($RUNS runs, median (range))" "window ms" \
  "picture ms" "document ms" "PSS MB"
row() {
  printf '%-36s %18s %18s %18s %10.1f\n' "$1" "$(stats 1 "$WORK/$2")" "$3" \
    "$(stats 3 "$WORK/$2")" "$(echo "$(cut -d' ' -f4 "$WORK/$2" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}') / 1024" | bc -l)"
}
row "minimal WebKitGTK window" floor "-"
row "launcher (branded sample client)" launcher "$(stats 2 "$WORK/launcher")"
row "game window (firstUrl)" game "$(stats 2 "$WORK/game")"
