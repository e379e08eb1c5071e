#!/usr/bin/env bash
# Launcher benchmark (Linux port): the branded sample client against minimal_webview (the least
# a WebKitGTK program does to show one page in one window) on the same launcher page. Measures,
# from exec: the window on screen (first visible window of the process), the first document of
# the page (the page's onload beacon reaching the server, seen by polling every 10 ms), and the PSS of the whole process
# tree (client and WebKit's helpers) once the page has loaded. Both are measured the same way.
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

FLOOR="$ROOT/build/bench/minimal_webview"
mkdir -p "$ROOT/build/bench"
if [ ! -x "$FLOOR" ] || [ "$ROOT/bench/browser/minimal_webview.cpp" -nt "$FLOOR" ]; then
  g++ -std=c++20 -O2 "$ROOT/bench/browser/minimal_webview.cpp" -o "$FLOOR" \
    $(pkg-config --cflags --libs gtk+-3.0 webkit2gtk-4.1)
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

measure() {  # measure COMMAND...: prints "window-ms document-ms pss-kB"
  local start shown="" loaded="" pid
  : > "$REQUESTS"
  start=$(date +%s.%N)
  (cd "$WORK" && exec "$@") </dev/null >/dev/null 2>>"$WORK/stderr" &
  pid=$!
  for _ in $(seq 1000); do
    [ -n "$shown" ] || { xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1 && shown=$(date +%s.%N); }
    [ -n "$loaded" ] || { grep -q '^/loaded' "$REQUESTS" && loaded=$(date +%s.%N); }
    [ -n "$shown" ] && [ -n "$loaded" ] && break
    sleep 0.01
  done
  sleep 2  # settle: helper processes finish starting
  local pss; pss=$(tree_pss "$pid")
  [ -z "${BENCH_TREE:-}" ] || for p in $pid $(pgrep -P "$pid"); do echo "tree $1 $p $(awk "/^Pss:/ {print \$2}" /proc/$p/smaps_rollup) $(cat /proc/$p/comm)"; done >&2
  kill "$pid" 2>/dev/null || { echo "measure: $1 ended early:" >&2; tail -n 5 "$WORK/stderr" >&2; }
  wait "$pid" 2>/dev/null || true
  awk -v s="$start" -v w="$shown" -v d="$loaded" -v m="$pss" \
    'BEGIN { printf "%.0f %.0f %d\n", (w - s) * 1000, (d - s) * 1000, m }'
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

measure "$FLOOR" "$URL" >/dev/null  # warm the file cache once
measure "$WORK/client" >/dev/null
: > "$WORK/floor"; : > "$WORK/launcher"
for _ in $(seq "$RUNS"); do  # interleaved, so a busy machine weighs on both alike
  measure "$FLOOR" "$URL" >> "$WORK/floor"
  measure "$WORK/client" >> "$WORK/launcher"
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
printf '%-34s %10s %12s %10s\n' "program ($RUNS runs, median)" "window ms" "document ms" "PSS MB"
for name in floor launcher; do
  label=$([ "$name" = floor ] && echo "minimal WebKitGTK window" || echo "launcher (branded sample client)")
  printf '%-34s %10s %12s %10.1f\n' "$label" "$(cut -d' ' -f1 "$WORK/$name" | median)" \
    "$(cut -d' ' -f2 "$WORK/$name" | median)" "$(echo "$(cut -d' ' -f3 "$WORK/$name" | median) / 1024" | bc -l)"
done
