#!/usr/bin/env bash
# Package PNGs of every colour type decode on Windows (GDI+ into DIB sections, under Wine) into
# exactly the skin bitmap bytes the fixtures expect (the Linux port is held to the same files),
# and broken data is refused.
source "$(dirname "$0")/wine_lib.sh"
wine_start
FIXTURES="$MC_SOURCE/tests/fixtures/skin"
mkdir -p "$WORK/out"

files=()
for png in "$FIXTURES"/*.png; do files+=("$(winpath "$png")"); done
wine "$MC_BUILD/skin_decode.exe" "$(winpath "$WORK/out")" "${files[@]}" >/dev/null 2>&1
for expected in "$FIXTURES"/*.expect; do
  name=$(basename "$expected" .expect)
  if cmp -s "$expected" "$WORK/out/$name.out"; then check "$name" same same
  else check "$name" "$(head -c 300 "$expected")" "$(head -c 300 "$WORK/out/$name.out" 2>/dev/null)"; fi
done
finish
