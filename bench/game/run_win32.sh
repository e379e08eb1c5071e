#!/usr/bin/env bash
# Game window benchmark of the Windows port under Wine (run after scripts/build and once the
# Windows tests have made the Wine prefix): one full repaint of frame and title bar and a
# resize drag's frame time at 1920 x 1040, and exec to the game window shown with firstUrl.
set -euo pipefail
cd "$(dirname "$0")/../.."
out=build/bench/game-win32
rm -rf "$out" && mkdir -p "$out/package/config" "$out/site"
cp sample/package/config/* "$out/package/config/"
printf '<html><body>game</body></html>\n' > "$out/site/game.html"

python3 tests/tools/http_server.py --root "$out/site" > "$out/port.txt" &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -s "$out/port.txt" ] && break; sleep 0.1; done
port=$(head -n 1 "$out/port.txt")
iconv -f gbk -t utf-8 sample/package/config/cg.txt |
  sed "s|^firstUrl=.*|firstUrl=http://127.0.0.1:$port/game.html|" |
  iconv -f utf-8 -t gbk > "$out/package/config/cg.txt"
python3 tests/tools/make_package.py "$out/package.zip" --dir "$out/package"
cat build/win32/game_bench_win32.exe "$out/package.zip" > "$out/paint.exe"
cat build/win32/microclient.exe "$out/package.zip" > "$out/client.exe"

export WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
template=build/win32/wine-template
[ -f "$template/.ready" ] || { echo "run the Windows tests once first (they make the Wine prefix)"; exit 1; }
export WINEPREFIX="$PWD/$out/prefix"
cp -a "$template" "$WINEPREFIX"
run() { xvfb-run -a -s "-screen 0 1920x1080x24" env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$@"; }
run sh -c "cd '$out' && wine ./paint.exe paint | tr -d '\r' && wine ./paint.exe launch client.exe 7 | tr -d '\r'; wineserver -k"
