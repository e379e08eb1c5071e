#!/usr/bin/env bash
# The package tool: checking the sample deployment and a broken copy of it, branding the Linux
# client, and refusing what it cannot do. Needs MC_BUILD and MC_SOURCE; no display.
set -uo pipefail
source "$MC_SOURCE/tests/lib/common.sh"

MCPACK="$MC_BUILD/mcpack"
CLIENT="$MC_BUILD/microclient"
SAMPLE="$MC_SOURCE/sample/package"
make_work

# run COMMAND...: its output (stdout and stderr) in $out, its exit status in $rc.
run() { out=$("$@" 2>&1); rc=$?; }
yes_if() { "$@" && echo yes || echo no; }
has() { yes_if grep -qF -- "$1" <<<"$out"; }
line_of() { grep -n -- "$1" "$2" | head -1 | cut -d: -f1; }

run "$MCPACK" check "$SAMPLE"
check "sample: exit status" 0 "$rc"
check "sample: output" "$SAMPLE: no problems" "$out"

# A copy with a broken header, a count naming a missing section, a missing button image and a
# background cut short (its header still reads, its pixels do not).
broken="$WORK/broken"
cp -r "$SAMPLE" "$broken"
cg="$broken/config/cg.txt"
sed -i 's/^\[link3\]/[link3/; s/^picCount=16/picCount=17/' "$cg"
rm "$broken/config/6_d.png"
head -c 4000 "$SAMPLE/config/main1.png" > "$broken/config/main1.png"
run "$MCPACK" check "$broken"
check "broken: exit status" 1 "$rc"
check "broken: header without ]" yes \
  "$(has "$cg:$(line_of '^\[link3' "$cg"): section header \"[link3\" has no \"]\"")"
check "broken: the section behind the broken header is missing" yes \
  "$(has "$cg:$(line_of '^linkCount=' "$cg"): linkCount is 7 but [link3] is missing")"
check "broken: count naming a missing section" yes \
  "$(has "$cg:$(line_of '^picCount=' "$cg"): picCount is 17 but [gamePic17] is missing")"
link6_type=$(awk '/^\[link6\]/ { in6 = 1 } in6 && /^type=/ { print NR; exit }' "$cg")
check "broken: missing button image" yes \
  "$(has "$cg:$link6_type: [link6] (type 2) needs config/6_d.png, which is missing")"
check "broken: truncated picture" yes \
  "$(has "$broken/config/main1.png: does not decode as a PNG image")"
check "broken: summary" "$broken: 5 problems" "$(tail -1 <<<"$out")"

# A sprite sheet larger than the client decodes (6000 x 6000 is over its 2^25 pixels): the check
# decodes with the client's own decoder and limits, so it reports what the client would refuse.
huge="$WORK/huge"
cp -r "$SAMPLE" "$huge"
python3 - "$huge/config/style.png" <<'EOF'
import struct, sys, zlib
side = 6000
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
rows = (b"\0" + b"\0" * (side // 8)) * side
with open(sys.argv[1], "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 1, 0, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))
EOF
run "$MCPACK" check "$huge"
check "oversized sprite: exit status" 1 "$rc"
check "oversized sprite: reported" yes "$(has "$huge/config/style.png: does not decode as a PNG image")"
rm -rf "$huge"  # the listings below expect only what they made

# A signing key that is not a minisign public key: the client would install no update.
keyed="$WORK/keyed"
cp -r "$SAMPLE" "$keyed"
printf 'untrusted comment: minisign public key\r\nRWQ not base64\r\n' > "$keyed/config/update.pub"
run "$MCPACK" check "$keyed"
check "broken update key: exit status" 1 "$rc"
check "broken update key: reported" yes "$(has "$keyed/config/update.pub:2: not the base64 text of a minisign public key: the client installs no update")"
rm "$keyed/config/update.pub"
minisign -G -W -p "$keyed/config/update.pub" -s "$WORK/update.key" >/dev/null
run "$MCPACK" check "$keyed"
check "minisign's own key: no problem" 0 "$rc"
rm -rf "$keyed" "$WORK/update.key"

# Branding: the client's bytes, then a standalone ZIP of config/ that the client can read.
run "$MCPACK" pack "$CLIENT" "$SAMPLE" "$WORK/branded"
check "pack: exit status" 0 "$rc"
check "pack: executable" yes "$(yes_if test -x "$WORK/branded")"
size=$(stat -c %s "$CLIENT")
check "pack: starts with the client" yes "$(yes_if cmp -s -n "$size" "$CLIENT" "$WORK/branded")"
tail -c +$((size + 1)) "$WORK/branded" > "$WORK/package.zip"
check "pack: package holds config/, deflated, offsets from its own start" ok "$(python3 - \
  "$WORK/package.zip" "$SAMPLE" <<'EOF'
import os, struct, sys, zipfile
package, root = sys.argv[1], sys.argv[2]
data = open(package, "rb").read()
end = data.rfind(b"PK\x05\x06")
size, offset = struct.unpack("<II", data[end + 12:end + 20])
z = zipfile.ZipFile(package)
want = sorted("config/" + f for f in os.listdir(os.path.join(root, "config")))
ok = (offset + size == end and z.testzip() is None and z.namelist() == want
      and all(i.compress_type == zipfile.ZIP_DEFLATED for i in z.infolist())
      and all(z.read(n) == open(os.path.join(root, n), "rb").read() for n in want))
print("ok" if ok else "bad")
EOF
)"
cp -r "$SAMPLE" "$WORK/copy"
touch -d 2001-02-03 "$WORK/copy/config/"*
"$MCPACK" pack "$CLIENT" "$WORK/copy" "$WORK/again" >/dev/null
check "pack: same files, same bytes whatever their times" yes \
  "$(yes_if cmp -s "$WORK/branded" "$WORK/again")"

run "$MCPACK" pack "$CLIENT" "$broken" "$WORK/branded-broken"
check "pack with problems: exit status" 1 "$rc"
check "pack with problems: still written" yes "$(yes_if test -x "$WORK/branded-broken")"

sed -i 's/^linkCount=7/linkCount=0/' "$cg"
run "$MCPACK" pack "$CLIENT" "$broken" "$WORK/not-starting"
check "pack of a client that would not start: exit status" 1 "$rc"
check "pack of a client that would not start: nothing written, no temporary file left" \
  "again branded branded-broken broken copy package.zip" "$(cd "$WORK" && echo *)"

# A package folder holding a link, a pipe or a file larger than the client takes is refused by
# pack and reported by check, judged without reading it (a pipe may never end; the sparse file
# would take seconds and gigabytes to read). Nothing is written.
odd="$WORK/odd"
for kind in link pipe large; do
  rm -rf "$odd"
  cp -r "$SAMPLE" "$odd"
  case $kind in
    link) ln -s /etc/passwd "$odd/config/extra.png"
      what="a symbolic link; a package holds only folders and regular files" ;;
    pipe) mkfifo "$odd/config/extra.png"
      what="a named pipe; a package holds only folders and regular files" ;;
    large) truncate -s 4G "$odd/config/extra.png"
      what="4294967296 bytes, more than the client takes (67108864 bytes a file)" ;;
  esac
  out=$(timeout 20 "$MCPACK" pack "$CLIENT" "$odd" "$WORK/odd-out" 2>&1); rc=$?
  check "$kind in the package: pack refuses" "2 mcpack: $odd/config/extra.png: $what, nothing written" \
    "$rc $out"
  check "$kind in the package: nothing written" "" "$(cd "$WORK" && ls -d odd-out* 2>/dev/null)"
  out=$(timeout 20 "$MCPACK" check "$odd" 2>&1); rc=$?
  check "$kind in the package: check reports it" "1 $odd/config/extra.png: $what|$odd: 1 problem" \
    "$rc $(paste -sd'|' <<<"$out")"
done
rm -rf "$odd"
ln -s "$SAMPLE/config" "$WORK/linked-config"
mkdir -p "$WORK/linked" && ln -s "$SAMPLE/config" "$WORK/linked/config"
run "$MCPACK" pack "$CLIENT" "$WORK/linked" "$WORK/odd-out"
check "config folder is a link: refused" "2 $WORK/linked/config: a symbolic link" "$rc $(cut -d';' -f1 <<<"${out#mcpack: }")"
rm -rf "$WORK/linked" "$WORK/linked-config"

# The output is made new: a link at OUT is replaced, its target left alone.
printf 'keep' > "$WORK/victim"
ln -s "$WORK/victim" "$WORK/linked-out"
run "$MCPACK" pack "$CLIENT" "$SAMPLE" "$WORK/linked-out"
check "link at the output: exit status" 0 "$rc"
check "link at the output: target untouched" keep "$(cat "$WORK/victim")"
check "link at the output: replaced by the client" yes \
  "$(yes_if test -f "$WORK/linked-out" -a ! -L "$WORK/linked-out" -a -x "$WORK/linked-out")"
rm -f "$WORK/victim" "$WORK/linked-out"

# Usage errors: exit status 2 and a message on stderr.
while IFS='|' read -r what args; do
  # shellcheck disable=SC2086
  err=$("$MCPACK" $args 2>&1 >/dev/null); rc=$?
  check "usage: $what: exit status" 2 "$rc"
  check "usage: $what: message on stderr" yes "$(yes_if test -n "$err")"
done <<EOF
no arguments|
unknown command|unpack $SAMPLE
check without a folder|check
check of a missing folder|check $WORK/nowhere
pack with too few arguments|pack $CLIENT $SAMPLE
pack of an unreadable client|pack $WORK/nowhere $SAMPLE $WORK/out
pack of a file that is no program|pack $SAMPLE/config/cg.txt $SAMPLE $WORK/out
pack onto a branded client|pack $WORK/branded $SAMPLE $WORK/out
pack of a missing folder|pack $CLIENT $WORK/nowhere $WORK/out
EOF
check "usage errors write nothing" no "$(yes_if test -e "$WORK/out")"

finish
