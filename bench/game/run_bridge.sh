#!/usr/bin/env bash
# Script-bridge benchmark (Linux port): a game page that sets its title 200,000 times in a loop
# and then ends the window (code 1). Prints, per run, how long the page's loop took, how long
# the window took to end after the loop, and how much the client's resident memory grew.
# Usage: bench/game/run_bridge.sh [RUNS] [CALLS]   (needs build/linux built; not part of scripts/test)
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT=$PWD
RUNS=${1:-3}
CALLS=${2:-200000}
export MC_BUILD=$ROOT/build/linux MC_SOURCE=$ROOT NO_AT_BRIDGE=1
source tests/gtk/gtk_lib.sh
gtk_session "$@"
source tests/gtk/game_lib.sh
game_site
PKG="$WORK/pkg"
game_package "$PKG" "firstUrl=$BASE/game.html"
mkdir -p "$WORK/game"
game_brand "$PKG" "$WORK/game/sea.client"
rss_kb() { awk '/^VmRSS/ { print $2 }' "/proc/$CLIENT_PID/status"; }
now_ms() { date +%s%3N; }

printf '%-4s %12s %16s %12s\n' run "loop (ms)" "loop to end (ms)" "RSS +(MB)"
for run in $(seq "$RUNS"); do
  game_start "$WORK/game/sea.client" >/dev/null
  before=$(rss_kb)
  start=$(now_ms)
  page_call "(function () { for (var i = 0; i < $CALLS; i++) window.external.JsCallClient('6', 't' + i, 'x'); return []; })()" >/dev/null
  looped=$(now_ms)
  peak=$(rss_kb)
  page_call '["1"]' >/dev/null || true
  wait_exit 120
  ended=$(now_ms)
  printf '%-4s %12s %16s %12s\n' "$run" $((looped - start)) $((ended - looped)) \
    "$(( (peak - before) / 1024 ))"
done
