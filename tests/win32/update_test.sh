#!/usr/bin/env bash
# The Windows client updates itself under Wine: a branded client fetches the version file and
# a newer branded client from a local server, cmd runs the batch file (ping, two renames, the
# program's name back should the second fail, start), the new client shows its launcher and
# removes the leftovers. Also what a failed check leaves behind, that quitting during a stalled
# download ends the program, that a process killed in the middle of a download leaves no
# partial file, and signed updates.
source "$(dirname "$0")/wine_lib.sh"
wine_start

png="$MC_SOURCE/sample/package/config/main1.png"
site="$WORK/site"
dir="$WORK/game dir"
mkdir -p "$site/download" "$dir"
head -c 200000 /dev/urandom > "$WORK/noise"

serve --root "$site" --route "/stall/client.exe=stall:1000:$WORK/noise"
port=$PORT

# brand_update OUT VERSION TITLE [EXE_URL [ENTRY...]]: a client that checks the local server for
# updates; each ENTRY adds a package entry (make_package.py's NAME=FILE).
brand_update() {
  local out=$1 version=$2 title=$3 exe=${4:-/download/client.exe}
  shift $(($# < 4 ? 3 : 4))
  brand "$out" "config/main1.png=$png" "$@" \
    "config/cg.txt:=[global]\ntitle=$title\nversion=$version\nserver=127.0.0.1\nport=$port\nversionUrl=/version.txt\nexeUrl=$exe\nlinkCount=1\n[link1]\nurl=http://127.0.0.1/\n"
}
# launcher_title [keep|close]: the title of the launcher window once one is up.
launcher_title() {
  wine "$MC_BUILD/window_probe.exe" MicroClientLauncher "${1:-keep}" 20000 | tr -d '\r'
}
# wait_launcher_title TITLE: the launcher's title once it is TITLE (or the last one seen, after
# 15 s), as a restarted client's launcher takes a moment to replace the old one's.
wait_launcher_title() {
  local title=""
  for _ in $(seq 30); do
    title=$(launcher_title keep || true)
    [ "$title" = "$1" ] && break
    sleep 0.5
  done
  echo "$title"
}
# The clients write each check's result with OutputDebugString, which Wine prints on its debug
# channel "debugstr"; every start of a client begins a new $WORK/client.log, which a restarted
# client shares.
export WINEDEBUG=-all,+debugstr
results() { grep -a -o 'update check result -\?[0-9]*' "$WORK/client.log" 2>/dev/null | awk '{print $4}'; }
# wait_result N: waits until N results have been logged.
wait_result() {
  for _ in $(seq 300); do
    [ "$(results | wc -l)" -ge "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# A real update: version 2.0 published, the old 1.0 client replaced and restarted.
brand_update "$dir/client.exe" 1.0 旧版客户端
brand_update "$site/download/client.exe" 2.0 新版客户端
printf '2.0\r\n' > "$site/version.txt"
start_exe "$dir" "$dir/client.exe"
check "the new client shows its launcher" "新版客户端" "$(wait_launcher_title 新版客户端)"
# The start the update made runs no check (an update that could not be installed would
# otherwise be fetched again at once).
sleep 1
check "the restarted client runs no check" "" "$(results)"
check "the program file is the new client" yes \
  "$(cmp -s "$dir/client.exe" "$site/download/client.exe" && echo yes || echo no)"
script=$(tr -d '\r' < "$dir/Launcher_update.bat" 2>/dev/null | sed -n 3p)
program='"'"$(winpath "$dir/client.exe" | sed 's/\\/\\\\/g')"'"'
check "batch line 1 waits" "@ping 127.0.0.1 -n 2 -w 1000 > nul " "$(sed -n 1p "$dir/Launcher_update.bat" | tr -d '\r')"
check "batch line 2 moves the program aside" "rename $program \"Launcher_back_up.exe\"" \
  "$(sed -n 2p "$dir/Launcher_update.bat" | tr -d '\r')"
check "batch line 3 names the download" yes \
  "$(grep -qE '^rename  "Z:.*\\\\game dir\\\\-?[0-9]+client\.exe" "client\.exe"$' <<<"$script" && echo yes || echo "$script")"
backup='"'"$(winpath "$dir/Launcher_back_up.exe" | sed 's/\\/\\\\/g')"'"'
check "batch line 4 gives the program back its name when the download could not take it" \
  "if not exist $program rename $backup \"client.exe\"" "$(sed -n 4p "$dir/Launcher_update.bat" | tr -d '\r')"
check "batch line 5 starts the program" "$program" "$(sed -n 5p "$dir/Launcher_update.bat" | tr -d '\r')"
check "batch lines end in CR LF" 5 "$(grep -c $'\r$' "$dir/Launcher_update.bat")"
# cmd keeps the batch file open while the program it started runs, so the new client's start
# can only remove the old program; the script goes at the start after.
check "old program removed by the new start" "" "$(ls "$dir" | grep Launcher_back_up || true)"
cp "$dir/Launcher_update.bat" "$WORK/rescue.bat"
launcher_title close >/dev/null
sleep 1
start_exe "$dir" "$dir/client.exe"
launcher_title close >/dev/null
wait_exit || true
check "the next start removes the script" "client.exe" "$(ls "$dir")"

# The same script once more, its download gone: the second rename fails, so the program gets
# its name back and starts as it was.
printf '2.0\r\n' > "$site/version.txt"  # (the program is the 2.0 client now: up to date)
cp "$dir/client.exe" "$WORK/before-rescue"
start_exe "$dir" cmd /c "$(winpath "$WORK/rescue.bat")"
check "second rename failed: the program starts under its name" "新版客户端" "$(wait_launcher_title 新版客户端)"
check "second rename failed: it is the program it was, nothing moved aside" "yes|client.exe" \
  "$(cmp -s "$dir/client.exe" "$WORK/before-rescue" && echo yes || echo no)|$(ls "$dir")"
launcher_title close >/dev/null
wait_exit || kill_client

# check_result DESCRIPTION CODE: the client ran its check to CODE and kept its launcher.
check_result() {
  wait_result 1 || true
  check "$1: result" "$2" "$(results)"
  check "$1: launcher still shown" "旧版客户端" "$(launcher_title close)"
  wait_exit || kill_client
}

rm -f "$site/version.txt"
brand_update "$dir/client.exe" 1.0 旧版客户端
start_exe "$dir" "$dir/client.exe"
check_result "version file missing (404)" 10009
check "404: nothing left behind" "client.exe" "$(ls "$dir")"

printf '2.0\r\n' > "$site/version.txt"
printf 'MZ but not a client' > "$site/download/client.exe"
start_exe "$dir" "$dir/client.exe"
check_result "download is no client" 10011
check "no client: download deleted" "client.exe" "$(ls "$dir")"

brand_update "$site/download/client.exe" 2.0 新版客户端
mkdir "$dir/Launcher_update.bat"
start_exe "$dir" "$dir/client.exe"
check_result "script cannot be created" 10013
check "no script: the download stays" 2 "$(ls "$dir" | grep -cE '^(-?[0-9]+client\.exe|client\.exe)$')"
rm -rf "$dir/Launcher_update.bat" "$dir"/*[0-9]client.exe

# Quitting while the download stalls ends the program within the bounded wait (Wine's WinINet
# does not end a blocked read when its handle is closed from another thread, so the process is
# ended after the wait); the system removes the partial file with the process.
brand_update "$dir/client.exe" 1.0 旧版客户端 /stall/client.exe
start_exe "$dir" "$dir/client.exe"
wait_requests /stall/ || true
sleep 1
launcher_title close >/dev/null
check "quit during a stalled download ends the program" yes "$(ended 8)"
gone() {  # gone: true once only the program is left in $dir (the server may see the end late)
  wait_until 5 only_program
}
only_program() { [ "$(ls "$dir")" = client.exe ]; }
check "stalled download: partial file deleted" yes "$(gone && echo yes || echo no)"

# Killed in the middle of the download: no partial program is left, and the program starts.
cp "$dir/client.exe" "$WORK/before-kill"
: > "$REQUESTS"
start_exe "$dir" "$dir/client.exe"
wait_requests /stall/ || true
sleep 1
killed=0
for pid in $(pgrep -x client.exe); do
  if tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
    kill -9 "$pid" && killed=$((killed + 1))
  fi
done
check "killed mid-download: the client process was killed" 1 "$killed"
wait_exit 10 || true
check "killed mid-download: nothing left behind" yes "$(gone && echo yes || echo no)"
check "killed mid-download: the program is intact" yes \
  "$(cmp -s "$dir/client.exe" "$WORK/before-kill" && echo yes || echo no)"
printf '1.0\r\n' > "$site/version.txt"
start_exe "$dir" "$dir/client.exe"
wait_result 1 || true
check "killed mid-download: the next check is up to date" 0 "$(results)"
check "killed mid-download: the program starts again" 旧版客户端 "$(launcher_title close)"
wait_exit 10 || true

# Signed updates, signed with the real minisign: a package carrying config/update.pub installs
# only a client signed with that key whose configured version is the announced one; anything
# else is refused with 10011, the old program runs on and nothing is left beside it.
signing_keys "$WORK/keys"
new="$site/download/client.exe"
printf '2.0\r\n' > "$site/version.txt"
# The cases come on descriptor 3: programs started in the loop may read standard input.
while read -r case key expected <&3; do
  publish_case "$new" "$case"
  [ "$key" = update ] || case="$case, $key key"
  brand_update "$dir/client.exe" 1.0 旧版客户端 /download/client.exe "config/update.pub=$SIGNING_KEYS/$key.pub"
  cp "$dir/client.exe" "$WORK/old-client"
  start_exe "$dir" "$dir/client.exe"
  if [ "$expected" = installed ]; then
    check "signed, $case: the new client starts" "新版客户端" "$(wait_launcher_title 新版客户端)"
    check "signed, $case: the program is the signed client" yes \
      "$(cmp -s "$dir/client.exe" "$new" && echo yes || echo no)"
    launcher_title close >/dev/null
    sleep 1
    rm -f "$dir/Launcher_update.bat"  # cmd held it while the new client ran
  else
    check_result "signed, $case" "$expected"
    check "signed, $case: the program is unchanged" yes \
      "$(cmp -s "$dir/client.exe" "$WORK/old-client" && echo yes || echo no)"
  fi
  check "signed, $case: nothing left beside the program" client.exe "$(ls "$dir")"
done 3< <(signed_cases)

finish
