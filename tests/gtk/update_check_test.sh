#!/usr/bin/env bash
# The Linux update check against a real local server with the real libcurl transfer, one case
# a line: result code and what stays in the work directory. Bad version files, unreachable or
# misbehaving servers, odd paths, downloads that must not replace the program, a directory or
# disk that cannot take the files, HTTPS; then the result reaching (or not) its window.
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"

PROBE="$MC_BUILD/update_probe"
png="$MC_SOURCE/sample/package/config/main1.png"
site="$WORK/site"
mkdir -p "$site/v" "$site/e"

brand "$site/e/client" "config/main1.png=$png" "config/cg.txt:=[global]\nversion=2.0\nlinkCount=1\n[link1]\nurl=x\n"
cp "$site/e/client" "$site/e/new client"
brand "$WORK/nocg" "config/main1.png=$png"
# Cut inside the package, whatever the size of the client.
head -c $(( $(stat -c %s "$site/e/client") - 2000 )) "$site/e/client" > "$WORK/cut"
printf '2.0\r\n' > "$site/v/new file.txt"
printf '\x89PNG\r\n\x1a\n\0\0\0\x0d' > "$WORK/binary"
{ printf '2.0\n'; head -c 1048576 /dev/zero | tr '\0' 'x'; } > "$WORK/huge"

routes=(
  --route "/v/new.txt=text:2.0\r\n1.0\r\n" --route "/v/same.txt=text:1.0\r\n" \
  --route "/v/empty.txt=text:" --route "/v/binary.txt=file:$WORK/binary" \
  --route "/v/noeol.txt=text:2.0" --route "/v/huge.txt=file:$WORK/huge" \
  --route "/v/text.txt=text:version 2.0\r\n" \
  --route "/v/404=status:404" --route "/v/500=status:500" \
  --route "/v/loop=redirect:/v/loop" --route "/v/moved=redirect:/v/new.txt" \
  --route "/v/stall=stall:3:$WORK/huge" --route "/v/short=truncate:3:$WORK/huge" \
  --route "/e/bare=file:$CLIENT" --route "/e/nocg=file:$WORK/nocg" \
  --route "/e/text=text:<html>not found</html>" --route "/e/cut=unsized:$WORK/cut" \
  --route "/e/short=truncate:100000:$site/e/client" --route "/e/stall=stall:1000:$site/e/client" \
  --route "/v/endless-new=endless:2.0\r\n" --route "/v/endless-same=endless:1.0\n" \
  --route "/e/endless=endless:" --route "/e/oversized=announce:268435457" \
  --route "/e/1mb=announce:1048576")
serve --root "$site" "${routes[@]}"
port=$PORT
serve --root "$site" "${routes[@]}" --tls "$WORK/cert.pem"
tls_port=$PORT
refused=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

# expect DESCRIPTION EXPECTED-OUTPUT EXPECTED-FILES SERVER PORT VERSION_URL EXE_URL [options]:
# runs the check (local version 1.0) in a fresh directory. Files are listed with the tick
# count shown as N; "script" output is shown without its directory.
expect() {
  local what=$1 output=$2 files=$3; shift 3
  local run=${RUN_DIR:-$WORK/run}
  mkdir -p "$run" && find "$run" -mindepth 1 -delete
  if [ -n "${PREPARE:-}" ]; then (cd "$run" && eval "$PREPARE"); fi
  local got
  got=$(cd "$run" && $RUN_AS "$PROBE" check "$1" "$2" "$3" "$4" 1.0 "${@:5}" 2>&1 | sed "s|$run/||")
  check "$what" "$output" "$got"
  check "$what: files" "$files" "$(ls -A "$run" | sed -E 's/^-?[0-9]+/N/' | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')"
}
h=127.0.0.1
RUN_AS=""

# expect_ending SECONDS DESCRIPTION ...: expect, with the check ended after SECONDS should it
# hang (its output then lacks the code, so the case fails); a guard, not a speed goal.
expect_ending() {
  local limit=$1
  RUN_AS="timeout $limit $RUN_AS" expect "${@:2}"
}

# Version files.
expect "published version not newer" "code 0" "" $h "$port" /v/same.txt /e/client
expect "version file empty" "code 0" "" $h "$port" /v/empty.txt /e/client
expect "version file binary" "code 0" "" $h "$port" /v/binary.txt /e/client
expect "version file starts with text" "code 0" "" $h "$port" /v/text.txt /e/client
expect "newer version without line end" "script Launcher_update.sh" "Launcher_update.sh Nclient" \
  $h "$port" /v/noeol.txt /e/client
expect "1 MB version file: first line only" "script Launcher_update.sh" "Launcher_update.sh Nclient" \
  $h "$port" /v/huge.txt /e/client
expect "redirect followed" "script Launcher_update.sh" "Launcher_update.sh Nclient" \
  $h "$port" /v/moved /e/client
expect "paths with spaces" "script Launcher_update.sh" "Launcher_update.sh Nnew client" \
  $h "$port" "/v/new file.txt" "/e/new client"
check "the script moves the download, or the program back" \
  "mv -f -- '$WORK/run/Nnew client' '$WORK/run/update_probe' || mv -f -- '$MC_BUILD/Launcher_back_up' '$MC_BUILD/update_probe'" \
  "$(sed -n 3p "$WORK/run/Launcher_update.sh" | sed -E "s|/-?[0-9]+new client|/Nnew client|")"

# Bodies without end, or announced beyond any real client: the version file is read only as
# far as its first line can reach, a program over the limit is refused (on its announced
# length before a byte is written: the route never sends one, so only that ends it quickly).
expect_ending 10 "endless version file, newer first line" "script Launcher_update.sh" \
  "Launcher_update.sh Nclient" $h "$port" /v/endless-new /e/client
expect_ending 10 "endless version file, same first line" "code 0" "" $h "$port" /v/endless-same /e/client
expect_ending 60 "endless program" "code 10011" "" $h "$port" /v/new.txt /e/endless
expect_ending 10 "program announced over 256 MiB" "code 10011" "" $h "$port" /v/new.txt /e/oversized \
  --stall-timeout 20

# The script replaces a link planted under its name and does not write through it.
printf 'keep' > "$WORK/victim"
chmod 600 "$WORK/victim"
PREPARE="ln -s '$WORK/victim' Launcher_update.sh"
expect "link planted at the script's name" "script Launcher_update.sh" "Launcher_update.sh Nclient" \
  $h "$port" /v/new.txt /e/client
PREPARE=""
check "link planted at the script's name: target untouched" "keep 600" \
  "$(cat "$WORK/victim") $(stat -c %a "$WORK/victim")"
check "link planted at the script's name: script is a file" yes \
  "$([ -f "$WORK/run/Launcher_update.sh" ] && [ ! -L "$WORK/run/Launcher_update.sh" ] && echo yes || echo no)"

# Servers that cannot be reached or do not answer with the file.
expect "empty server" "code 10009" "" "" "$port" /v/new.txt /e/client
expect "server name does not resolve" "code 10009" "" no-such-host.invalid "$port" /v/new.txt /e/client
expect "port refused" "code 10009" "" $h "$refused" /v/new.txt /e/client
expect "version 404" "code 10009" "" $h "$port" /v/404 /e/client
expect "version 500" "code 10009" "" $h "$port" /v/500 /e/client
expect "redirect loop" "code 10009" "" $h "$port" /v/loop /e/client
expect "version file stalls mid-body" "code 10009" "" $h "$port" /v/stall /e/client --stall-timeout 2
expect "version file shorter than announced" "code 10009" "" $h "$port" /v/short /e/client
expect "version path without leading /" "code 10009" "" $h "$port" v/new.txt /e/client
expect "exe path without leading /" "code 10011" "" $h "$port" /v/new.txt e/client

# Downloads that must never replace the program.
expect "exe shorter than announced" "code 10011" "" $h "$port" /v/new.txt /e/short
expect "exe stalls mid-body" "code 10011" "" $h "$port" /v/new.txt /e/stall --stall-timeout 2
expect "exe cut short without a length" "code 10011" "" $h "$port" /v/new.txt /e/cut
expect "exe is an error page" "code 10011" "" $h "$port" /v/new.txt /e/text
expect "exe has no package" "code 10011" "" $h "$port" /v/new.txt /e/bare
expect "exe package without config/cg.txt" "code 10011" "" $h "$port" /v/new.txt /e/nocg
expect "exe 404" "code 10011" "" $h "$port" /v/new.txt /e/missing
expect "file size limit during the exe" "code 10011" "" $h "$port" /v/new.txt /e/client --max-file-size 100000

# A real full disk: a small file system (when this user may mount one).
small="$WORK/small"
mkdir -p "$small"
if mount -t tmpfs -o size=256k tmpfs "$small" 2>/dev/null; then
  at_exit 'umount "$small" 2>/dev/null'  # before the scratch folder goes
  RUN_DIR=$small/run
  expect "disk full during the exe" "code 10011" "" $h "$port" /v/new.txt /e/client
  expect_ending 10 "program announced over the free space" "code 10011" "" $h "$port" /v/new.txt /e/1mb \
    --stall-timeout 20
  dd if=/dev/zero of="$small/filler" bs=4k 2>/dev/null || true  # until the disk is full
  expect "disk full during the version file" "code 10009" "" $h "$port" /v/new.txt /e/client
  RUN_DIR=""
  umount "$small"
else
  echo "note: cannot mount a small file system here; the full disk is covered by the file size limit"
fi

# A work directory that cannot take files (as an unprivileged user when run as root).
chmod 755 "$WORK" "$site"
if [ "$(id -u)" -eq 0 ]; then RUN_AS="setpriv --reuid=65534 --regid=65534 --clear-groups"; fi
expect "work directory not writable" "code 10009" "" $h "$port" /v/new.txt /e/client
RUN_AS=""

# HTTPS: a server given with the scheme, in any letter case, is fetched over TLS.
expect "https server, trusted" "script Launcher_update.sh" "Launcher_update.sh Nclient" \
  "HTTPS://127.0.0.1" "$tls_port" /v/new.txt /e/client --ca "$WORK/cert.pem"
expect "https server, untrusted certificate" "code 10009" "" \
  "https://127.0.0.1" "$tls_port" /v/new.txt /e/client

# The result reaches its window on the UI thread; a window that is gone gets nothing.
out=$(cd "$WORK" && timeout 30 "$PROBE" post $h "$port" /v/same.txt /e/client 1.0 || true)
check "result delivered to the window" "delivered 0" "$out"
out=$(cd "$WORK" && timeout 30 "$PROBE" post $h "$port" /v/404 /e/client 1.0 --gone || true)
check "window gone: result dropped" "finished" "$out"

finish
