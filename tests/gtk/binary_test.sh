#!/usr/bin/env bash
# The Linux client as shipped: no debug information inside (players download it in every
# branded copy); all of it in microclient.debug beside it, which the client's debug link names.
set -euo pipefail
source "$MC_SOURCE/tests/lib/check.sh"
client="$MC_BUILD/microclient"

sections() { readelf -S -W "$1" | awk '{for (i = 1; i <= NF; i++) if ($i ~ /^\./) {print $i; break}}'; }
check "no debug sections in the client" "" "$(sections "$client" | grep '^\.debug_' || true)"
check "no symbol table in the client" "" "$(sections "$client" | grep -x '\.symtab' || true)"
check "debug information beside it" yes \
  "$(sections "$client.debug" | grep -qx '\.debug_info' && echo yes || echo no)"
check "debug link names it" "microclient.debug" \
  "$(readelf -p .gnu_debuglink "$client" | awk '/\[/ {print $3; exit}')"
finish
