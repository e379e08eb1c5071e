#!/usr/bin/env bash
# The game page and the Linux client talking both ways, and what a player reaches from the
# tray: window.external.JsCallClient with its codes (title, recharge link, end, restart) and
# hostile arguments, ClientCallJs reports of right clicks (also with a ClientCallJs that is
# missing or throws), the hide key and the tray icon (and the tray going away while it holds
# the icon), and cleaning the browser cache.
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"
source "$MC_SOURCE/tests/gtk/game_lib.sh"
game_site

OPENED="$WORK/opened.txt"
link_recorder "$OPENED"

# A notification area for the tray icon, at the bottom right of the screen.
trayer --edge bottom --align right --widthtype pixel --width 60 --heighttype pixel --height 30 \
  >/dev/null 2>&1 &
TRAYER_PID=$!
at_exit_kill "$TRAYER_PID"

PKG="$WORK/pkg"
game_package "$PKG" "firstUrl=$BASE/game.html"
mkdir -p "$WORK/game"
game_brand "$PKG" "$WORK/game/sea.client"
game_start "$WORK/game/sea.client"
check "the page sees window.external.JsCallClient" 1 "$(requests '^/report\?external=object,function$')"

# settled_title OLD: the title's extent once it is no longer OLD.
settled_title() {
  local e
  for _ in $(seq 60); do e=$(title_extent max); [ "$e" != "$1" ] && break; sleep 0.05; done
  echo "$e"
}
# recharge: presses the recharge button and prints the address the desktop was asked to open.
recharge() {
  local before
  before=$(cat "$OPENED" 2>/dev/null | wc -l)
  sleep 0.5
  click 1008 12
  wait_file "$OPENED" 5 $((before + 1)) || true
  tail -n 1 "$OPENED" 2>/dev/null
}

# --- The title: code 6 takes the next-to-last argument; the code is read as strtol reads it.
plain=$(title_extent max)
check "code 6: call made" done "$(page_call '["6","新标题","x"]')"
long=$(settled_title "$plain")
check "code 6: the title grows by -value" yes "$([ "$long" -gt $((plain + 30)) ] && echo yes || echo no)"
check "code 6: the window text keeps the title" "星海征途" "$(xdotool getwindowname "$GAME_ID")"
page_call '["6","新"]' >/dev/null
six=$(settled_title "$long")
check "code 6 with the code and a text only: title-6" yes \
  "$([ "$six" -gt "$plain" ] && [ "$six" -lt "$long" ] && echo yes || echo no)"
for code in ' 6' '+6' '6abc'; do
  page_call "[\"$code\",\"新标题\",\"x\"]" >/dev/null
  check "code \"$code\" reads as 6" "$long" "$(settled_title "$six")"
  page_call '["6","新"]' >/dev/null
  settled_title "$long" >/dev/null
done

# --- Hostile calls change nothing and break nothing. A recharge-link call after them shows,
# once the button opens its address, that the page's calls before it were all handled.
while IFS= read -r call; do
  check "hostile call $(printf '%.40s' "$call") is made" done "$(page_call "$call")"
done <<'CALLS'
[]
[1]
[null]
[{}]
[[6],"t","x"]
["6",{},"x"]
["6",["t"],"x"]
["6",null,"x"]
["6",7,"x"]
["99999999999","t","x"]
["12","t","x"]
["x".repeat(1 << 20)]
["6","x".repeat(1 << 20),"y"]
new Array(100).fill("6")
new Array(65).fill("6").fill("新标题", 63, 64)
(function (j) { Array.prototype.join = function (s) { return this.length === 1 && String(this[0]).indexOf('"JsCallClient"') === 1 ? '["JsCallClient","s6","s新标题","sx"]' : j.call(this, s); }; })(Array.prototype.join), []
CALLS
page_call "[\"4\",\"$BASE/pay?marker=1\",\"x\"]" >/dev/null
check "after hostile calls the recharge link was set" "$BASE/pay?marker=1" "$(recharge)"
check "hostile calls left the title alone" "$six" "$(title_extent max)"

# --- The recharge link: ';' becomes '&'; values that are no web address or too long are
# refused, and a title call after them shows they were handled.
page_call "[\"4\",\"$BASE/pay?a=1;b=2\",\"x\"]" >/dev/null
check "code 4: the recharge button opens the new address, ';' as '&'" "$BASE/pay?a=1&b=2" "$(recharge)"
for call in '["4","file:///etc/passwd","x"]' '["4","javascript:alert(1)","x"]' \
    '["4",{},"x"]' "[\"4\",\"$BASE/pay?\"+\"y\".repeat(300),\"x\"]" \
    "[\"4\",\" \\t$BASE/pay?blank\",\"x\"]" "[\"4\",\"$BASE/pay?a\\nb\",\"x\"]"; do
  page_call "$call" >/dev/null
done
page_call '["6","新标题","x"]' >/dev/null
settled_title "$six" >/dev/null
check "code 4 refuses other schemes, long values, blanks before and control characters" "$BASE/pay?a=1&b=2" "$(recharge)"

# open_page QUERY: the page navigates to the test page with QUERY (ending in '&' when not
# empty), going on with the next call; waits until the new page runs.
open_page() {
  local n pages
  n=$(wc -l < "$CALLS")
  pages=$(requests '^/report\?external')
  page_call "(location.href = '/game.html?$1from=$((n + 1))', [])" >/dev/null
  wait_requests '^/report\?external' $((pages + 1)) || echo "the page did not load"
}

# --- Right clicks anywhere in the window are reported with their screen point and never
# reach the page (the page's own contextmenu handler reports nothing).
xdotool mousemove 500 500 click 3
wait_requests '^/report\?ccj=[0-9]+:3,500,500' || true
check "right click in the page: ClientCallJs 2 then 3, text arguments" "2,500,500,3|3,500,500,3" \
  "$(sed -n 's/^\/report?ccj=//p' "$REQUESTS" | sort -n | cut -d: -f2 | paste -sd'|')"
xdotool mousemove 1265 10 click 3
wait_requests '^/report\?ccj=[0-9]+:3,1265,10' || true
check "right click on the close button: reported, no question" "1|IsViewable" \
  "$(requests '^/report\?ccj=[0-9]+:2,1265,10,3$')|$(map_state "$GAME_ID")"
check "the page never saw a context menu" 0 "$(requests '^/report\?contextmenu')"

# A page without ClientCallJs, then one whose ClientCallJs throws: right clicks go nowhere and
# the client carries on.
for variant in missing throw; do
  open_page "clientcalljs=$variant&"
  xdotool mousemove 400 400 click 3
  check "ClientCallJs $variant: the page still calls the client" done "$(page_call '["6","新"]')"
  settled_title "$long" >/dev/null
  page_call '["6","新标题","x"]' >/dev/null
  check "ClientCallJs $variant: the client still acts" "$long" "$(settled_title "$six")"
done
check "ClientCallJs that throws was called" 1 "$(requests '^/report\?ccj=[0-9]+:2,400,400$')"

# --- Cleaning the cache: a right click makes the page load its cached picture again.
reload_picture() {
  local n
  n=$(requests '^/report\?reloaded')
  xdotool mousemove 400 400 click 3
  wait_requests '^/report\?reloaded' $((n + 1)) || echo "picture not reloaded"
  requests '^/cached.png'
}
open_page ""
fetched=$(requests '^/cached.png')
check "a cached picture is not fetched again" "$fetched" "$(reload_picture)"
clean_cache() {  # ok|cancel: the settings menu's cleaning item, the question answered
  click 1140 12
  /usr/bin/python3 "$MC_SOURCE/tests/gtk/game_menu.py" choose "清理" >/dev/null || true
  question "清理缓存" "$1"
}
check "cleaning asks clearFlashMsg" "清理浏览器缓存可以解决游戏更新后显示异常的问题，确定要清理吗？" \
  "$(clean_cache cancel)"
check "Cancel: the cache is kept" "$fetched" "$(reload_picture)"
clean_cache ok >/dev/null
check "OK: the picture is fetched again" "$((fetched + 1))" "$(reload_picture)"
check "nothing else happens after cleaning" "IsViewable|星海征途" "$(map_state "$GAME_ID")|$(xdotool getwindowname "$GAME_ID")"

# --- The hide key and the tray icon.
xdotool mousemove 640 400 key F9
check "F9 hides the window" IsUnMapped "$(eventually_map_state "$GAME_ID" IsUnMapped)"
icon=""
for _ in $(seq 60); do icon=$(xdotool search --name '单击图标恢复窗口' 2>/dev/null | head -n 1); [ -n "$icon" ] && break; sleep 0.05; done
check "the tray icon is shown" yes "$([ -n "$icon" ] && echo yes || echo no)"
click_icon() {
  local g
  g=$(geometry "$icon")
  IFS=, read -r ix iy iw ih <<< "$g"
  xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click "$1"
}
click_icon 1
check "a click on the icon shows the window" IsViewable "$(eventually_map_state "$GAME_ID" IsViewable)"
check "as it was" "0,0,1280,800" "$(geometry "$GAME_ID")"
check "the icon goes once the window shows" "" "$(xdotool search --name '单击图标恢复窗口' 2>/dev/null)"

xdotool mousemove 640 400 key F9
eventually_map_state "$GAME_ID" IsUnMapped >/dev/null
for _ in $(seq 60); do icon=$(xdotool search --name '单击图标恢复窗口' 2>/dev/null | head -n 1); [ -n "$icon" ] && break; sleep 0.05; done
click_icon 3
check "right click on the icon: the menu's one item" "退出游戏" \
  "$(/usr/bin/python3 "$MC_SOURCE/tests/gtk/game_menu.py" list 10)"
/usr/bin/python3 "$MC_SOURCE/tests/gtk/game_menu.py" choose "退出游戏" >/dev/null || true
check "the item asks the close question" "确定要退出游戏吗？" "$(question sea cancel)"
check "Cancel: the window stays hidden" "IsUnMapped|yes" \
  "$(map_state "$GAME_ID")|$(client_running && echo yes || echo no)"
click_icon 1
check "and the icon still brings it back" IsViewable "$(eventually_map_state "$GAME_ID" IsViewable)"

# A tray that goes away while holding the icon gives the hidden window back.
xdotool mousemove 640 400 key F9
eventually_map_state "$GAME_ID" IsUnMapped >/dev/null
kill "$TRAYER_PID"
check "the tray gone: the hidden window shows again" IsViewable \
  "$(eventually_map_state "$GAME_ID" IsViewable)"

# --- A flood of title calls in a loop, then code 1: the calls are taken in batches and the
# title drawn once per batch, so the end call is reached and the program ends.
# (bench/game/run_bridge.sh measures a flood of 200,000.)
check "a loop of 20000 title calls is made" done \
  "$(page_call '(function () { for (var i = 0; i < 20000; i++) window.external.JsCallClient("6", "t" + i, "x"); return ["1"]; })()')"
check "code 1 after the flood ends the program without a question" yes "$(ended 60)"

# --- Code 2 starts the program again and ends this one.
pages=$(requests '^/game.html$')
game_start "$WORK/game/sea.client"
old_pid=$CLIENT_PID
page_call '["2"]' >/dev/null
check "code 2: this program ends" yes "$(ended 10)"
wait_requests '^/game.html$' $((pages + 2)) || true
new_id=$(wait_window game || true)
new_pid=$(xdotool getwindowpid "$new_id" 2>/dev/null || true)
check "code 2: a new program shows the game page" yes \
  "$([ -n "$new_pid" ] && [ "$new_pid" != "$old_pid" ] && echo yes || echo no)"
[ -z "$new_pid" ] || kill "$new_pid" 2>/dev/null
finish
