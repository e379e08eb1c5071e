#!/usr/bin/env bash
# Package benchmark on both ports: the start-up read path (locate, open, load and parse the
# configuration, inflate and decode a ~1 MB background) against zlib alone inflating the same
# entries, and the memory one pass adds, for the client as built and for a client whose program
# file is 64 MiB larger. Run after scripts/build. Windows figures come from Wine.
set -euo pipefail
cd "$(dirname "$0")/../.."
export MC_SOURCE=$PWD MC_BUILD=$PWD/build/win32
source tests/win32/wine_lib.sh
out=build/bench/package
rm -rf "$out" && mkdir -p "$out"
python3 bench/package/make_bench_client.py sample/package/config "$out"
head -c $((64 << 20)) /dev/urandom > "$out/pad.bin"

cat build/linux/package_bench_gtk "$out/package.zip" > "$out/linux-client"
objcopy --add-section .pad="$out/pad.bin" build/linux/package_bench_gtk "$out/linux-padded"
cat "$out/package.zip" >> "$out/linux-padded"
build/linux/package_bench_gtk "$out/linux-client" "$out/floor.txt" 50
build/linux/package_bench_gtk "$out/linux-padded" "$out/floor.txt" 5 | head -n 1

i686-w64-mingw32-objcopy --add-section .pad="$out/pad.bin" --set-section-flags .pad=contents,readonly \
  build/win32/microclient.exe "$out/win-padded.exe"
cat build/win32/microclient.exe "$out/package.zip" > "$out/win-client.exe"
cat "$out/package.zip" >> "$out/win-padded.exe"
wine_start
wine build/win32/package_bench_win32.exe "$out/win-client.exe" "$out/floor.txt" 50 | tr -d '\r'
wine build/win32/package_bench_win32.exe "$out/win-padded.exe" "$out/floor.txt" 5 | tr -d '\r' | head -n 1
