#!/usr/bin/env bash
# Skin benchmark on both ports: decoding a ~1 MB launcher background and the style sprite, the
# time from opening the translucent dialog to its first composed frame, and one render of it.
# Linux runs under its own Xvfb with xcompmgr; Windows under Wine with its own Xvfb. Run after
# scripts/build (and once the Windows tests, which make the Wine prefix).
set -euo pipefail
cd "$(dirname "$0")/../.."
out=build/bench/skin
rm -rf "$out" && mkdir -p "$out"
python3 bench/skin/make_bench_images.py "$out/background.png"
style=sample/package/config/style.png
iterations=${1:-30}

display=$((4000 + $$ % 1000))
Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb ${compositor:-} 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=":$display" NO_AT_BRIDGE=1
xcompmgr >/dev/null 2>&1 &
compositor=$!
build/linux/skin_bench_gtk "$out/background.png" "$style" "$iterations"
kill $compositor

export WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
export WINEPREFIX="$PWD/$out/prefix" HOME="$PWD/$out/home"
[ -d build/win32/wine-template ] || { echo "run the Windows tests once first (they make the Wine prefix)"; exit 1; }
cp -a build/win32/wine-template "$WINEPREFIX" && mkdir -p "$HOME"
wine build/win32/skin_bench_win32.exe "Z:$PWD/$out/background.png" "Z:$PWD/$style" "$iterations" | tr -d '\r'
wineserver -k || true
