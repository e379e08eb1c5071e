#!/usr/bin/env bash
# Browser benchmark (Linux port): time from exec to the first DocumentComplete of a local page,
# and the memory (PSS) of the whole process tree with one web view once the page has loaded,
# for our wrapper (browser_probe: the launcher/game sequence about:blank, attach, external,
# page) against minimal_webview, the least a WebKitGTK program does (the floor).
# Usage: bench/browser/run.sh [RUNS]   (needs build/linux built; not part of scripts/test)
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT=$PWD
RUNS=${1:-7}
export MC_BUILD=$ROOT/build/linux MC_SOURCE=$ROOT NO_AT_BRIDGE=1
source tests/gtk/gtk_lib.sh
gtk_session "$@"  # its own D-Bus session, Xvfb and HOME
browser_site "$WORK/site"
serve --root "$WORK/site" --no-store

FLOOR="$ROOT/build/bench/minimal_webview"
mkdir -p "$ROOT/build/bench"
if [ ! -x "$FLOOR" ] || [ "$ROOT/bench/browser/minimal_webview.cpp" -nt "$FLOOR" ]; then
  g++ -std=c++20 -O2 "$ROOT/bench/browser/minimal_webview.cpp" -o "$FLOOR" \
    $(pkg-config --cflags --libs gtk+-3.0 webkit2gtk-4.1)
fi
URL="http://127.0.0.1:$PORT/frame2.html"

# Process tree PSS in kB.
tree_pss() {
  local pids=$1 all="" next
  while [ -n "$pids" ]; do
    all="$all $pids"
    next=""
    for p in $pids; do next="$next $(pgrep -P "$p" || true)"; done
    pids=$(echo $next)
  done
  local total=0 pss
  for p in $all; do
    pss=$(awk '/^Pss:/ {print $2}' "/proc/$p/smaps_rollup" 2>/dev/null || echo 0)
    total=$((total + ${pss:-0}))
  done
  echo "$total"
}

# measure NAME COMMAND...: prints "ms kB" per run.
measure() {
  local start end pid
  start=$(date +%s.%N)
  "$@" "$URL" </dev/null >/dev/null 2>"$WORK/err" &
  pid=$!
  for _ in $(seq 300); do grep -q '^first-complete' "$WORK/err" && break; sleep 0.02; done
  end=$(awk '/^first-complete/ {print $2}' "$WORK/err")
  sleep 2  # settle: helper processes finish starting
  local pss; pss=$(tree_pss "$pid")
  kill "$pid"; wait "$pid" 2>/dev/null || true
  awk -v s="$start" -v e="$end" -v m="$pss" 'BEGIN { printf "%.0f %d\n", (e - s) * 1000, m }'
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

measure "$FLOOR" >/dev/null  # warm the file cache once
measure "$MC_BUILD/browser_probe" >/dev/null
: > "$WORK/floor"
: > "$WORK/client"
# Interleaved, so a busy machine weighs on both alike.
for _ in $(seq "$RUNS"); do
  measure "$FLOOR" >> "$WORK/floor"
  measure "$MC_BUILD/browser_probe" --external >> "$WORK/client"
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
printf '%-30s %12s %12s\n' "program ($RUNS runs, median)" "load ms" "PSS MB"
for name in floor client; do
  ms=$(cut -d' ' -f1 "$WORK/$name" | median)
  kb=$(cut -d' ' -f2 "$WORK/$name" | median)
  label=$([ "$name" = floor ] && echo "minimal WebKitGTK window" || echo "CWebBrowserEx (browser_probe)")
  printf '%-30s %12s %12.1f\n' "$label" "$ms" "$(echo "$kb / 1024" | bc -l)"
done
