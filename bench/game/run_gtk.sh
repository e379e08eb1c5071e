#!/usr/bin/env bash
# Game window benchmark (Linux port): one full repaint of the frame and title bar at
# 1920 x 1040, the frame time of a resize drag in the real window (sample package, sample game
# page), and the time from exec of a branded client with firstUrl to its game window on screen
# and to the page's request at the server.
# Usage: bench/game/run_gtk.sh [RUNS]   (needs build/linux built; not part of scripts/test)
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT=$PWD
RUNS=${1:-9}
BUILD=$ROOT/build/linux
export MC_BUILD=$BUILD MC_SOURCE=$ROOT NO_AT_BRIDGE=1 XVFB_SCREEN=1920x1080x24
source tests/gtk/gtk_lib.sh
gtk_session "$@"  # its own D-Bus session, Xvfb and HOME

# The sample site, requests logged with their time, on a free port.
mkdir -p "$WORK/site"
cp "$ROOT"/sample/site/* "$WORK/site/"
serve --root "$WORK/site" --log-times
URL="$BASE/game.html"

# The sample package with firstUrl set, appended to the client.
cp -r "$ROOT/sample/package" "$WORK/package"
sed -i "s#^firstUrl=.*#firstUrl=$URL\r#" "$WORK/package/config/cg.txt"
brand "$WORK/client" --dir "$WORK/package"

echo "== paint (off-screen, the window's painter)"
"$BUILD/game_bench_gtk" paint "$ROOT/sample/package/config" 5000

echo "== resize drag (real window, 1920 x 1080 screen, software rendering under Xvfb)"
"$BUILD/game_bench_gtk" resize "$WORK/client" "$URL" 300

echo "== exec to game window shown, and to the page requested ($RUNS runs)"
shown=(); page=()
for _ in $(seq "$RUNS"); do
  : > "$REQUESTS"
  start=$(date +%s%N)
  "$WORK/client" >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --name '星海征途' >/dev/null 2>&1; do :; done
  shown+=($(( ($(date +%s%N) - start) / 1000000 )))
  until grep -q ' /game.html' "$REQUESTS"; do sleep 0.005; done
  at=$(awk '/ \/game.html/{print $1; exit}' "$REQUESTS")
  page+=($(python3 -c "print(int(($at * 1e9 - $start) / 1e6))"))
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END{print a[int((NR+1)/2)]}'; }
echo "window shown: median $(median "${shown[@]}") ms (runs: ${shown[*]})"
echo "page requested: median $(median "${page[@]}") ms (runs: ${page[*]})"
