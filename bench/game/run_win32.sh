#!/usr/bin/env bash
# Game window benchmark of the Windows port under Wine (run after scripts/build): one full
# repaint of frame and title bar and a resize drag's frame time at 1920 x 1040, and exec to the
# game window shown with firstUrl.
set -euo pipefail
cd "$(dirname "$0")/../.."
export MC_SOURCE=$PWD MC_BUILD=$PWD/build/win32 XVFB_SCREEN=1920x1080x24
source tests/win32/wine_lib.sh
out=build/bench/game-win32
rm -rf "$out" && mkdir -p "$out/package/config" "$out/site"
cp sample/package/config/* "$out/package/config/"
printf '<html><body>game</body></html>\n' > "$out/site/game.html"

wine_start
serve --root "$out/site"
port=$PORT
iconv -f gbk -t utf-8 sample/package/config/cg.txt |
  sed "s|^firstUrl=.*|firstUrl=http://127.0.0.1:$port/game.html|" |
  iconv -f utf-8 -t gbk > "$out/package/config/cg.txt"
brand_onto build/win32/game_bench_win32.exe "$out/paint.exe" --dir "$out/package"
brand "$out/client.exe" --dir "$out/package"
cd "$out"
wine ./paint.exe paint | tr -d '\r'
wine ./paint.exe launch client.exe 7 | tr -d '\r'
