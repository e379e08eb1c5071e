#!/usr/bin/env bash
# The Windows client as shipped: a 32-bit GUI PE, statically linked (only system DLLs are
# imported), stripped, nothing after its last section (an appended package starts there), and
# under 1 MiB (it travels inside every branded copy).
set -euo pipefail
source "$MC_SOURCE/tests/lib/check.sh"
exe="$MC_BUILD/microclient.exe"

check "PE32 GUI i386" yes \
  "$(file -b "$exe" | grep -q '^PE32 executable (GUI) Intel 80386' && echo yes || echo no)"
foreign=$(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}' |
  grep -E 'libstdc|libgcc|winpthread|zlib|minizip|sodium' || true)
check "no runtime DLLs imported" "" "$foreign"
layout=$(python3 - "$exe" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
pe = struct.unpack_from("<I", data, 60)[0]
sections = struct.unpack_from("<H", data, pe + 6)[0]
optional = struct.unpack_from("<H", data, pe + 20)[0]
table = pe + 24 + optional
raw_end = max(size + ptr for size, ptr in
              (struct.unpack_from("<II", data, table + 40 * i + 16) for i in range(sections)))
symbols = struct.unpack_from("<I", data, pe + 12)[0]
print("%d %d %d" % (raw_end, len(data), symbols))
PY
)
read -r raw_end size symbols <<<"$layout"
check "nothing follows the last section" "$size" "$raw_end"
check "COFF symbol table pointer is zero" "0" "$symbols"
check "under 1 MiB" yes "$([ "$size" -lt $((1 << 20)) ] && echo yes || echo "no: $size bytes")"
finish
