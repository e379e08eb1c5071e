#!/usr/bin/env bash
# Package PNGs of every colour type decode on Linux into exactly the skin bitmap bytes the
# fixtures expect (the Windows port is held to the same files), and broken data is refused.
set -euo pipefail
source "$MC_SOURCE/tests/lib/check.sh"
FIXTURES="$MC_SOURCE/tests/fixtures/skin"
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

"$MC_BUILD/skin_decode" "$OUT" "$FIXTURES"/*.png
for expected in "$FIXTURES"/*.expect; do
  name=$(basename "$expected" .expect)
  if cmp -s "$expected" "$OUT/$name.out"; then check "$name" same same
  else check "$name" "$(head -c 300 "$expected")" "$(head -c 300 "$OUT/$name.out" 2>/dev/null)"; fi
done
finish
