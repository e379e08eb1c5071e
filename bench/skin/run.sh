#!/usr/bin/env bash
# Skin benchmark on both ports: decoding a ~1 MB launcher background and the style sprite, the
# time from opening the translucent dialog to its first composed frame, and one render of it.
# Linux runs under its own Xvfb with xcompmgr; Windows under Wine with its own Xvfb. Run after
# scripts/build.
set -euo pipefail
cd "$(dirname "$0")/../.."
export MC_SOURCE=$PWD MC_BUILD=$PWD/build/win32
source tests/win32/wine_lib.sh
out=build/bench/skin
rm -rf "$out" && mkdir -p "$out"
python3 bench/skin/make_bench_images.py "$out/background.png"
style=sample/package/config/style.png
iterations=${1:-30}

xvfb_start
export NO_AT_BRIDGE=1
xcompmgr >/dev/null 2>&1 &
compositor=$!
at_exit_kill "$compositor"
build/linux/skin_bench_gtk "$out/background.png" "$style" "$iterations"
kill $compositor

wine_start  # a Wine prefix of its own, on another Xvfb
wine build/win32/skin_bench_win32.exe "$(winpath "$PWD/$out/background.png")" "$(winpath "$PWD/$style")" \
  "$iterations" | tr -d '\r'
