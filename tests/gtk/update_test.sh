#!/usr/bin/env bash
# The Linux client updates itself: a branded client in a folder whose name needs quoting
# fetches the version file and a newer branded client from a local server, /bin/sh runs the
# update script (detached, idle priority), the new client shows its launcher and removes the
# leftovers. Also the script run from another current directory, a failed check, quitting during
# a stalled download, the process killed in the middle of one, and signed updates.
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"

png="$MC_SOURCE/sample/package/config/main1.png"
site="$WORK/site"
dir="$WORK/game 'q' \"d\" \$x \`y\` \\z"
mkdir -p "$site/download" "$dir"
head -c 200000 /dev/urandom > "$WORK/noise"

serve --root "$site" --route "/stall/client=stall:1000:$WORK/noise"
port=$PORT
at_exit 'kill ${NEW_PID:-} 2>/dev/null'

# brand_update OUT VERSION TITLE [EXE_URL [ENTRY...]]: a client that checks the local server for
# updates; each ENTRY adds a package entry (make_package.py's NAME=FILE).
brand_update() {
  local out=$1 version=$2 title=$3 exe=${4:-/download/client}
  shift $(($# < 4 ? 3 : 4))
  brand "$out" "config/main1.png=$png" "$@" \
    "config/cg.txt:=[global]\ntitle=$title\nversion=$version\nserver=127.0.0.1\nport=$port\nversionUrl=/version.txt\nexeUrl=$exe\nlinkCount=1\n[link1]\nurl=http://127.0.0.1/\n"
}
# The clients log each check's result to GLib's log (domain "microclient", debug level); every
# start of a client begins a new $WORK/client.log, which a restarted client shares.
export G_MESSAGES_DEBUG=microclient
results() { grep -a -o 'update check result -\?[0-9]*' "$WORK/client.log" 2>/dev/null | awk '{print $4}'; }
wait_result() {
  for _ in $(seq 300); do
    [ "$(results | wc -l)" -ge 1 ] && return 0
    sleep 0.1
  done
  return 1
}

# A real update.
brand_update "$dir/client" 1.0 旧版客户端
brand_update "$site/download/client" 2.0 新版客户端
printf '2.0\r\n' > "$site/version.txt"
start_in "$dir" "$dir/client"
id=$(wait_window launcher '^新版客户端$' || true)
check "the new client shows its launcher" yes "$([ -n "$id" ] && echo yes || echo no)"
NEW_PID=$(xdotool getwindowpid "$id" 2>/dev/null || true)
check "the old process has ended" yes "$(wait_exit 5 && echo yes || echo no)"
check "the script ran at idle priority (the new client inherits it)" 19 "$(ps -o ni= -p "$NEW_PID" 2>/dev/null | tr -d ' ')"
check "the script ran detached, in a session of its own" "$NEW_PID" "$(ps -o sid= -p "$NEW_PID" 2>/dev/null | tr -d ' ')"
check "the program file is the new client" yes \
  "$(cmp -s "$dir/client" "$site/download/client" && echo yes || echo no)"
check "leftovers removed by the new start" client "$(ls "$dir")"
# The start the update made runs no check (an update that could not be installed would
# otherwise be fetched again at once); the player's next start does.
sleep 1
check "the restarted client runs no check" "" "$(results)"
xdotool windowclose "$id" 2>/dev/null || true
for _ in $(seq 50); do kill -0 "$NEW_PID" 2>/dev/null || break; sleep 0.1; done
check "the new client ends when its launcher closes" no "$(kill -0 "$NEW_PID" 2>/dev/null && echo yes || echo no)"
start_in "$dir" "$dir/client"
id=$(wait_window launcher '^新版客户端$' || true)
wait_result || true
check "the player's next start finds the client up to date" 0 "$(results)"
xdotool windowclose "$id" 2>/dev/null || true
wait_exit 10 || true

# Started from another current directory, as from a desktop entry without Path: the update
# still happens in the program's own folder and the current directory is left alone.
mkdir -p "$dir/bin" "$dir/run"
brand_update "$dir/bin/client" 1.0 旧版客户端
cp "$dir/bin/client" "$WORK/old-client"
start_in "$dir/run" "$dir/bin/client"
id=$(wait_window launcher '^新版客户端$' || true)
check "other directory: the new client starts" yes "$([ -n "$id" ] && echo yes || echo no)"
check "other directory: the program is the new client" yes \
  "$(cmp -s "$dir/bin/client" "$site/download/client" && echo yes || echo no)"
check "other directory: nothing written to the current directory" "" "$(ls "$dir/run")"
check "other directory: leftovers removed from the program's folder" client "$(ls "$dir/bin")"
NEW_PID=$(xdotool getwindowpid "$id" 2>/dev/null || true)
xdotool windowclose "$id" 2>/dev/null || true
for _ in $(seq 50); do kill -0 "$NEW_PID" 2>/dev/null || break; sleep 0.1; done
rm -rf "$dir/bin" "$dir/run"

# A program folder the update cannot write to (installed read-only; a read-only file system,
# since permissions do not stop root): the version file, fetched into that folder, already
# fails, so the program is never downloaded and nothing restarts.
ro="$WORK/ro"
mkdir -p "$ro"
if mount -t tmpfs -o size=64m tmpfs "$ro" 2>/dev/null; then
  at_exit 'umount "$ro" 2>/dev/null'  # before the scratch folder goes
  brand_update "$ro/client" 1.0 旧版客户端
  mount -o remount,ro "$ro"
  : > "$REQUESTS"
  start_in "$WORK" "$ro/client"
  id=$(wait_window launcher '^旧版客户端$' || true)
  wait_result || true
  check "read-only folder: result" 10009 "$(results)"
  check "read-only folder: the program was not downloaded" no \
    "$(grep -q '^/download/' "$REQUESTS" && echo yes || echo no)"
  check "read-only folder: the launcher stays" yes "$([ -n "$id" ] && echo yes || echo no)"
  xdotool windowclose "$id" 2>/dev/null || true
  wait_exit 10 || true
  umount "$ro"
else
  echo "note: cannot mount a file system here; the read-only folder is covered by the unit tests"
fi

# A failed check leaves nothing behind and the launcher up.
rm -f "$site/version.txt"
brand_update "$dir/client" 1.0 旧版客户端
start_in "$dir" "$dir/client"
wait_result || true
check "version file missing: result" 10009 "$(results)"
id=$(wait_window launcher '^旧版客户端$' || true)
check "version file missing: launcher still shown" yes "$([ -n "$id" ] && echo yes || echo no)"
check "version file missing: nothing left behind" client "$(ls "$dir")"
xdotool windowclose "$id" 2>/dev/null || true
wait_exit 10 || true

# A script that cannot be written (a folder of its name, which start-up cannot remove either):
# the check still runs at every start, reports 10013 and leaves the download for the next try.
printf '2.0\r\n' > "$site/version.txt"
mkdir "$dir/Launcher_update.sh"
start_in "$dir" "$dir/client"
wait_result || true
check "script cannot be created: result" 10013 "$(results)"
id=$(wait_window launcher '^旧版客户端$' || true)
check "script cannot be created: launcher still shown" yes "$([ -n "$id" ] && echo yes || echo no)"
check "no script: the download stays" 1 "$(ls "$dir" | grep -cE '^-?[0-9]+client$')"
xdotool windowclose "$id" 2>/dev/null || true
wait_exit 10 || true
rm -rf "$dir/Launcher_update.sh" "$dir"/*[0-9]client

# Quitting while the download stalls ends the program and deletes the partial file.
printf '2.0\r\n' > "$site/version.txt"
brand_update "$dir/client" 1.0 旧版客户端 /stall/client
start_in "$dir" "$dir/client"
wait_requests /stall/ || true
sleep 0.5
check "stalled download: the partial file has no name meanwhile" client "$(ls "$dir")"
id=$(wait_window launcher '^旧版客户端$' || true)
xdotool windowclose "$id" 2>/dev/null || true
check "quit during a stalled download ends the program" yes "$(wait_exit 10 && echo yes || echo no)"
check "stalled download: partial file deleted" client "$(ls "$dir")"

# Killed in the middle of the download: no partial program is left, and the program starts.
cp "$dir/client" "$WORK/before-kill"
: > "$REQUESTS"
start_in "$dir" "$dir/client"
wait_requests /stall/ || true
sleep 0.5
kill_client KILL
wait_exit 10 || true
check "killed mid-download: nothing left behind" client "$(ls "$dir")"
check "killed mid-download: the program is intact" yes \
  "$(cmp -s "$dir/client" "$WORK/before-kill" && echo yes || echo no)"
printf '1.0\r\n' > "$site/version.txt"
start_in "$dir" "$dir/client"
id=$(wait_window launcher '^旧版客户端$' || true)
check "killed mid-download: the program starts again" yes "$([ -n "$id" ] && echo yes || echo no)"
wait_result || true
check "killed mid-download: the next check is up to date" 0 "$(results)"
xdotool windowclose "$id" 2>/dev/null || true
wait_exit 10 || true

# Signed updates, signed with the real minisign: a package carrying config/update.pub installs
# only a client signed with that key whose configured version is the announced one. Anything
# else is refused with 10011: the old program stays, runs on, and nothing is left beside it.
signing_keys "$WORK/keys"
new="$site/download/client"
printf '2.0\r\n' > "$site/version.txt"
# The cases come on descriptor 3: programs started in the loop may read standard input.
while read -r case key expected <&3; do
  publish_case "$new" "$case"
  [ "$key" = update ] || case="$case, $key key"
  brand_update "$dir/client" 1.0 旧版客户端 /download/client "config/update.pub=$SIGNING_KEYS/$key.pub"
  cp "$dir/client" "$WORK/old-client"
  : > "$REQUESTS"
  start_in "$dir" "$dir/client"
  if [ "$expected" = installed ]; then
    id=$(wait_window launcher '^新版客户端$' || true)
    check "signed, $case: the new client starts" yes "$([ -n "$id" ] && echo yes || echo no)"
    NEW_PID=$(xdotool getwindowpid "$id" 2>/dev/null || true)
    check "signed, $case: the program is the signed client" yes \
      "$(cmp -s "$dir/client" "$new" && echo yes || echo no)"
  else
    wait_result || true
    check "signed, $case: result" "$expected" "$(results)"
    id=$(wait_window launcher '^旧版客户端$' || true)
    check "signed, $case: the old client runs on" yes "$([ -n "$id" ] && echo yes || echo no)"
    check "signed, $case: the program is unchanged" yes \
      "$(cmp -s "$dir/client" "$WORK/old-client" && echo yes || echo no)"
  fi
  check "signed, $case: nothing left beside the program" client "$(ls "$dir")"
  if [ "$key" != update ]; then
    check "signed, $case: the program is not even fetched" no \
      "$(grep -q '^/download/' "$REQUESTS" && echo yes || echo no)"
  fi
  xdotool windowclose "$id" 2>/dev/null || true
  wait_exit 10 || true
  for _ in $(seq 50); do kill -0 "${NEW_PID:-}" 2>/dev/null || break; sleep 0.1; done
done 3< <(signed_cases)

finish
