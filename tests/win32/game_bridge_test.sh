#!/usr/bin/env bash
# The script bridge of the Windows game window under Wine. Pages never render there, so the
# page's side is played by game_probe.exe: the same start-up and CGameDialog, branded with the
# sample package, whose external object (window.external) is invoked exactly as page script
# would invoke it. Checked: retitling repaints the title band and keeps the window text; the
# recharge link; codes that must do nothing (numbers, unknown codes, bad and huge arguments);
# right clicks reported to the page with their screen point; "1" ends without a question and
# "2" restarts.
source "$(dirname "$0")/game_lib.sh"

LINKS="$WORK/links.txt" LOG="$WORK/probe.log" CMDS="$WORK/commands.txt"
link_recorder "$LINKS"
last_link() {  # last_link N: the last recorded address once there are N
  wait_file "$LINKS" 10 "$1" || true
  tail -n 1 "$LINKS" | tr -d '\r'
}

start_probe() {
  : > "$LOG"; : > "$CMDS"
  game_start "$WORK/probe.exe" "$(winpath "$LOG")" "$(winpath "$CMDS")"
  ctl wait-state $MAXIMISED visible >/dev/null
}
# probe COMMAND: runs one probe command; prints what it logged, lines joined with "|".
probe() {
  local before done
  before=$(wc -l < "$LOG")
  done=$(($(grep -c '^done ' "$LOG" || true) + 1))
  printf '%s\n' "$1" >> "$CMDS"
  for _ in $(seq 200); do grep -qx "done $done" "$LOG" && break; sleep 0.05; done
  tail -n +$((before + 1)) "$LOG" | grep -v '^done ' | paste -sd'|' || true
}
# logged LINE: waits for a line of the window's own (5 s); "yes" or "no".
logged() { wait_until 5 grep -qxF "$1" "$LOG" && echo yes || echo no; }
title() { probe title | sed 's/^title //'; }

game_brand "$MC_BUILD/game_probe.exe" "$WORK/probe.exe"
read -r WL WT WR WB < <(ctl work)
MAXIMISED="$WL $WT $WR $WB"
start_probe

check "external object: JsCallClient is dispatch id 100, other names are not known" \
  "names 0x00000000 100|names 0x80004001 -1" \
  "$(probe 'names|JsCallClient')|$(probe 'names|jsCallClient')"

# "6": the painted title becomes title-value and is repainted; the window text stays.
title_text() {  # white (title colour) pixels of the title band right of titlex
  screenshot
  count_color "$WORK/shot.png" $((WL + 34)) $((WT + 7)) $((WL + 400)) $((WT + 27)) 255,255,255
}
before=$(title_text)
check "code 6 is accepted" "js 0x00000000" "$(probe 'js|s:6|s:新标题|s:x')"
check "the painted title changes, the window text keeps the title" "星海征途-新标题|星海征途" "$(title)"
after=$(title_text)
check "the title band is repainted with the longer title" yes \
  "$([ "$after" -gt $((before + 20)) ] && echo yes || echo "no ($before -> $after)")"

# Calls and the painted title after each ("command => title"): only a text code 6 with a text
# value of at most 255 bytes changes it; everything else is ignored without harm.
long=$(printf '星%.0s' $(seq 127))
table=(
  "js => 星海征途-新标题"
  "js|s:6|s:only => 星海征途-6"
  "js|s:6|s:A|s:x => 星海征途-A"
  "js|i4:6|s:B|s:x => 星海征途-A"
  "js|s: 6|s:C|s:x => 星海征途-C"
  "js|s:+6|s:D|s:x => 星海征途-D"
  "js|s:6abc|s:E|s:x => 星海征途-E"
  "js|s:99999999999|s:F|s:x => 星海征途-E"
  "js|s:12|s:G|s:x => 星海征途-E"
  "js|uint:6|s:H|s:x => 星海征途-H"
  "js|s:6|i4:5|s:x => 星海征途-H"
  "js|s:6|obj|s:x => 星海征途-H"
  "js|s:6|null|s:x => 星海征途-H"
  "js|obj => 星海征途-H"
  "js|null => 星海征途-H"
  "js|empty|empty => 星海征途-H"
  "js|r8:6|s:I|s:x => 星海征途-H"
  "js|bool:1|s:I|s:x => 星海征途-H"
  "js|s:6|rep:61:s:x|s:J|s:x => 星海征途-J"
  "js|s:6|rep:62:s:x|s:N|s:x => 星海征途-J"
  "js|big:1048576:6 => 星海征途-J"
  "js|s:6|big:1048576:K|s:x => 星海征途-J"
  "js|s:6|big:256:L|s:x => 星海征途-J"
  "js|s:6|big:255:M|s:x => 星海征途-M$(printf 'x%.0s' $(seq 245))"
  "js|s:6|s:a$long|s:x => 星海征途-a$(printf '星%.0s' $(seq 122))"
)
expected="" actual=""
for row in "${table[@]}"; do
  expected+="${row#* => }
"
  probe "${row% => *}" >/dev/null
  actual+="$(title | cut -d'|' -f1)
"
done
check "bad, odd and huge arguments: only valid retitles act, whole characters only" "$expected" "$actual"
check "the window survives them" "$MAXIMISED visible normal" "$(ctl state)"

# "4": the recharge button opens the value, semicolons as ampersands; not a web address: kept.
probe "js|s:4|s:$BASE/pay?a=1;b=2|s:x" >/dev/null
click_child 192
check "code 4: the recharge button opens the page's address" "$BASE/pay?a=1&b=2" "$(last_link 1)"
probe 'js|s:4|s:file:///C:/windows/notepad.exe|s:x' >/dev/null
sleep 0.6  # two presses in a row would be a double-click, which toggles the window instead
click_child 192
check "code 4 with no web address keeps the link" "$BASE/pay?a=1&b=2" "$(last_link 2)"

# Right button down and up anywhere in the window: ClientCallJs "2"/"3" with the screen point.
xdotool mousemove $((WL + 400)) $((WT + 300)) click 3
sleep 0.3
xdotool mousemove $((WL + 600)) $((WT + 10)) click 3
check "right clicks on the page and the title band are reported" "yes yes yes yes" \
  "$(logged "page ClientCallJs 2,$((WL + 400)),$((WT + 300))") $(logged "page ClientCallJs 3,$((WL + 400)),$((WT + 300))") $(logged "page ClientCallJs 2,$((WL + 600)),$((WT + 10))") $(logged "page ClientCallJs 3,$((WL + 600)),$((WT + 10))")"

# "1" as a number does nothing; "2" starts the program again, then ends the window.
check "the number 1 does nothing" "js 0x00000000" "$(probe 'js|i4:1')"
check "code 2: restart, then the window ends" "start-program|end|js 0x00000000" \
  "$(probe 'js|s:2' | cut -d'|' -f1-3)"
check "the program ends" yes "$(ended)"

# "1" ends the window at once, without the closeMsg question.
start_probe
probe 'js|s:1' >/dev/null
check "code 1 asks nothing" "no dialog" "$(dialog cancel 1500)"
check "code 1 ends the window without a restart" "yes no" \
  "$(logged end) $(grep -qx start-program "$LOG" && echo yes || echo no)"
check "and the program" yes "$(ended)"

finish
