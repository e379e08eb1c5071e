#!/usr/bin/env bash
# The game window's commands on Windows under Wine, with the shipped client and the sample
# package: the hide key (F9 in the page) puts an icon in the tray and a click on it brings the
# window back as it was; the tray menu leads to the closeMsg question; link buttons hand their
# addresses to the shell; minimise; the cache-cleaning item empties the WinINet URL cache after
# its question and does nothing else; restart (F5) starts a new instance and ends this one.
# After every command the keyboard focus is back in the page (the browser control: Wine has no
# HTML engine, so no document window of its own), and a shell that restarts gets the tray icon
# again.
source "$(dirname "$0")/game_lib.sh"

cache() { wine "$MC_BUILD/game_cache.exe" "$@" 2>/dev/null | tr -d '\r'; }
LINKS="$WORK/links.txt"
link_recorder "$LINKS"
wait_links() {  # wait_links N: the recorded addresses once there are N
  wait_file "$LINKS" 10 "$1" || true
  tr -d '\r' < "$LINKS" | paste -sd' '
}
# focus_after STEP: notes where the keys go after STEP ("STEP=page" when in the page); FOCUS
# collects the notes. A clicked button takes the focus unless the window gives it back.
FOCUS="" EXPECTED_FOCUS=""
focus_after() {
  FOCUS+="$1=$(ctl focus | cut -d' ' -f1) "
  EXPECTED_FOCUS+="$1=page "
}

game_brand "$MC_BUILD/microclient.exe" "$WORK/client.exe"
game_start "$WORK/client.exe"
read -r WL WT WR WB < <(ctl work)
MAXIMISED="$WL $WT $WR $WB"
ctl wait-state $MAXIMISED visible >/dev/null
check "no tray icon while the window is shown" none "$(ctl tray)"

# Hide key and tray icon.
ctl key 0x78 page >/dev/null  # F9, the hide button's key, typed in the page
check "F9 hides the window" "$MAXIMISED hidden normal" "$(ctl wait-state $MAXIMISED hidden)"
read -r ix iy < <(ctl tray)
check "an icon is in the tray" yes "$([ -n "$iy" ] && echo yes || echo no)"
xdotool mousemove "$ix" "$iy" mousedown 1
sleep 0.3
check "a button down on the icon does nothing" "$MAXIMISED hidden normal" "$(ctl state)"
xdotool mouseup 1
check "the click shows the window as it was" "$MAXIMISED visible normal" \
  "$(ctl wait-state $MAXIMISED visible)"
check "the icon goes with it" none "$(ctl tray)"
focus_after tray-restore

X=$(((WR - WL - 960) / 2)) Y=$(((WB - WT - 640) / 2))
RESTORED="$X $Y $((X + 960)) $((Y + 640))"
click_child 190
ctl wait-state $RESTORED visible >/dev/null
focus_after restore-button
click_child 188  # the hide button
check "the hide button hides the restored window" "$RESTORED hidden normal" \
  "$(ctl wait-state $RESTORED hidden)"
read -r ix iy < <(ctl tray)
xdotool mousemove "$ix" "$iy" click 3
read -r ml mt mr mb _ < <(ctl menu)
check "right click: the menu at the pointer" "$ix $iy" "$ml $mt"
xdotool mousemove $(((ml + mr) / 2)) $(((mt + mb) / 2)) click 1
check "its item asks the closeMsg question" "client|确定要退出游戏吗？" "$(dialog cancel)"
check "Cancel leaves the window hidden, with its icon" "$RESTORED hidden normal|yes" \
  "$(ctl state)|$([ "$(ctl tray)" != none ] && echo yes || echo no)"
# A shell that restarts has an empty notification area and says "TaskbarCreated".
check "a restarted shell: the icon is added again" "removed|none|yes" \
  "$(ctl tray-remove 128)|$(ctl tray)|$(ctl taskbar-created >/dev/null; sleep 0.5; [ "$(ctl tray)" != none ] && echo yes || echo no)"
read -r ix iy < <(ctl tray)
xdotool mousemove "$ix" "$iy" click --repeat 2 --delay 80 1
check "a double-click shows it restored, as it was" "$RESTORED visible normal" \
  "$(ctl wait-state $RESTORED visible)"
focus_after tray-double-click

# Link buttons open their addresses (semicolons as ampersands); minimise.
click_child 181
focus_after link-button
click_child 192
check "link buttons hand their addresses to the shell" \
  "http://127.0.0.1:8765/launcher.html?view=home http://127.0.0.1:8765/launcher.html?view=pay" \
  "$(wait_links 2)"
click_child 187
sleep 0.5
check "the minimise button minimises" "iconic" "$(ctl state | cut -d' ' -f6)"
ctl post 0x112 0xF120 0 >/dev/null  # the system's restore
check "restored by the system to where it was" "$RESTORED visible normal" \
  "$(ctl wait-state $RESTORED visible)"
focus_after minimise-restore
# The settings menu dismissed by a click elsewhere: no command comes, the keys go back all the
# same.
click_child 191
read -r ml mt mr mb _ < <(ctl menu)
xdotool mousemove $((ml - 200)) $((mb + 100)) click 1
sleep 0.3
focus_after dismissed-menu

# Cache cleaning: the browser's own request and a picture are cached; Cancel keeps them, OK
# deletes every entry and nothing else happens.
cache fill "$BASE/picture.png" >/dev/null
check "cache filled by the page and a picture" "cached cached" \
  "$(cache has "$BASE/game.html") $(cache has "$BASE/picture.png")"
clean() {  # clean ok|cancel: the settings menu's second item, answered
  click_child 191
  read -r ml mt mr mb _ < <(ctl menu)
  xdotool mousemove $(((ml + mr) / 2)) $((mt + (mb - mt) * 3 / 8)) click 1
  dialog "$1"
}
check "cleaning asks clearFlashMsg" "清理缓存|清理浏览器缓存可以解决游戏更新后显示异常的问题，确定要清理吗？" \
  "$(clean cancel)"
check "Cancel leaves the cache" "cached" "$(cache has "$BASE/picture.png")"
focus_after menu-question-cancel
clean ok >/dev/null
check "OK empties the cache" "0 not cached" "$(cache count) $(cache has "$BASE/picture.png")"
check "and nothing else happens" "no dialog|$RESTORED visible normal" "$(dialog ok 1500)|$(ctl state)"
focus_after menu-question-ok
check "the keys go back to the page after every command" "$EXPECTED_FOCUS" "$FOCUS"

# Restart: F5 (the restart item's key) asks closeMsg; OK starts a new instance, ends this one.
FIRST_PID=$CLIENT_PID
ctl key 0x74 >/dev/null
check "restart asks the closeMsg question" "client|确定要退出游戏吗？" "$(dialog ok)"
check "this instance ends" yes "$(ended)"
check "a new instance shows its game window" "$MAXIMISED visible normal" \
  "$(ctl wait-state $MAXIMISED visible)"
check "one game window in all" 1 "$(ctl count)"
ctl post 0x10 0 0 >/dev/null
dialog ok >/dev/null
check "the new instance ends on OK" gone "$(ctl gone)"

finish
