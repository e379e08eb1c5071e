#!/usr/bin/env bash
# The Linux browser wrapper in a real window against a local HTTP server: navigation events of
# the page and its frames, a cancelled navigation that never reaches the server, window.external
# with and without an external object (argument types kept), page function calls with hostile
# arguments, and what the user sees: no context menu, no border, no scroll bars, no pop-up.
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"

PROBE="$MC_BUILD/browser_probe"
OUT="$WORK/probe.log"
browser_site "$WORK/site"
# /slow... is answered after 5 s, to keep a load in flight.
serve --root "$WORK/site" --no-store --delay /slow=5

# A desktop browser stand-in that records what it was asked to open.
OPENED="$WORK/opened.txt"
link_recorder "$OPENED"

# wait_line PATTERN [COUNT]: waits until COUNT lines of the probe match PATTERN (grep -E).
wait_line() {
  local count=${2:-1}
  for _ in $(seq 150); do
    [ "$(grep -cE "$1" "$OUT" 2>/dev/null)" -ge "$count" ] && return 0
    sleep 0.1
  done
  return 1
}

# probe_start OPTIONS... : the probe on the index page, fed commands through a fifo.
probe_start() {
  rm -f "$WORK/in" "$OUT"
  mkfifo "$WORK/in"
  "$PROBE" "$@" "$BASE/index.html" <"$WORK/in" >"$OUT" 2>"$WORK/probe.err" &
  own_client $!
  exec 3>"$WORK/in"
  wait_line "^complete $BASE/index.html" || { echo "probe did not load the page"; cat "$WORK/probe.err"; }
  WINDOW=$(xdotool search --name "browser probe" | head -n 1)
}
probe_stop() {
  exec 3>&-
  kill_client; wait "$CLIENT_PID" 2>/dev/null || true
}

# call NAME [ARGS]: calls a page function and prints "ok RESULT" or "fail".
call() {
  local n; n=$(grep -c "^call $1 " "$OUT" || true)
  echo "call $*" >&3
  wait_line "^call $(printf '%s' "$1" | sed 's/[][\.*^$()+?{}|]/\\&/g') " $((n + 1)) || { echo timeout; return; }
  grep "^call $1 " "$OUT" | sed -n "$((n + 1))p" | cut -d' ' -f3-
}

# seen PATTERN: "yes" once a probe line matches.
seen() { wait_line "$1" && echo yes || echo no; }

windows() { xwininfo -root -children | grep -c '^ *0x'; }
PAGE=20,120,200

# --- With an external object, navigations to "blocked" cancelled, silent.
probe_start --external --cancel blocked --silent
check "events of the page and its frame" \
  "before about:blank|before $BASE/index.html|navcomplete $BASE/index.html|before $BASE/frame.html|complete $BASE/index.html" \
  "$(grep -E '^(before|navcomplete|complete) ' "$OUT" | grep -v 'complete about:blank' | paste -sd'|')"
check "window.external of the page" '"object,function"' "$(call report | cut -d' ' -f2)"
check "window.external of the frame" '"object,function"' "$(call frameReport | cut -d' ' -f2)"
check "frame calls the external object" yes "$(seen '^external JsCallClient "from frame"$')"
call callExternal >/dev/null
check "argument types kept, text converted" 'external JsCallClient "6",7,"标题",null,true,[object]' \
  "$(grep '^external JsCallClient "6"' "$OUT")"

# Page function calls: arguments are values, never script text.
while IFS='|' read -r name args expected; do
  check "call $name $args" "$expected" "$(call "$name" "$args")"
done <<'CASES'
ClientCallJs|2,10,20|ok "2|10|20"
ClientCallJs|a"b,c\d,</script>|ok "a"b|c\d|</script>"
ClientCallJs|x');alert(1);('|ok "x');alert(1);('||"
missingFunction||fail
alert(1)//||fail
CASES

check "cancelled navigation reported" ok "$(call go /blocked.html | cut -d' ' -f1)"
check "cancelled navigation: BeforeNavigate2" yes "$(seen "^before $BASE/blocked.html$")"
check "cancelled navigation: page stays" '"object,function"' "$(call report | cut -d' ' -f2)"
check "cancelled navigation: never requested" no "$(requested /blocked.html)"
call frameGo /frame2.html >/dev/null
check "frame navigation: BeforeNavigate2" yes "$(seen "^before $BASE/frame2.html$")"
check "frame navigation: requested" yes "$(requested /frame2.html 5)"
check "silent: dialogs answered without showing" 'ok "after"' "$(call alertThen)"

# What the user sees: the pointer over the right edge would show an overlay scroll bar.
xdotool mousemove --window "$WINDOW" 395 150 sleep 0.2 mousemove --window "$WINDOW" 396 160 sleep 0.5
check "no vertical scroll bar" "$PAGE" "$(screen_pixel 390 15)"
check "no horizontal scroll bar" "$PAGE" "$(screen_pixel 25 294)"
check "no border" "$PAGE" "$(screen_pixel 0 150)"
before=$(windows)
xdotool mousemove --window "$WINDOW" 250 200 click 3 sleep 0.8
check "right click: the page sees it" "ok 1" "$(call menus)"
check "right click: no menu window" "$before" "$(windows)"
check "right click: no menu drawn" "$PAGE" "$(screen_pixel 300 230)"
xdotool mousemove --window "$WINDOW" 100 110 click 3 sleep 0.8
check "right click in the frame: no menu window" "$before" "$(windows)"
check "right click in the frame: no menu drawn" "$PAGE" "$(screen_pixel 150 190)"

# A target=_blank link: reported, handed to the desktop's browser, no window inside the client.
xdotool mousemove --window "$WINDOW" 40 22 click 1
check "new window reported" yes "$(seen "^newwindow $BASE/popup.html$")"
wait_file "$OPENED" 5 || true
check "new window opened by the desktop's browser" "$BASE/popup.html" "$(cat "$OPENED" 2>/dev/null)"
check "new window: no window in the client" "$before" "$(windows)"
check "new window: not loaded by the client" no "$(requested /popup.html)"
check "the page still scrolls itself" "ok 2000" "$(call scrollDown)"
check "still running" yes "$(client_running && echo yes || echo no)"
probe_stop

# --- No external object: window.external offers nothing, in the page and in its frame.
probe_start
check "no external: page" '"object,undefined"' "$(call report | cut -d' ' -f2)"
check "no external: frame" '"object,undefined"' "$(call frameReport | cut -d' ' -f2)"
check "no external: nothing arrives" 0 "$(grep -c '^external ' "$OUT" || true)"
# A load replaced by a newer navigation while in flight never completes as a document.
mark=$(wc -l < "$OUT")
echo "navigate $BASE/slow.html" >&3
requested /slow.html 5 >/dev/null
echo "navigate $BASE/frame2.html" >&3
wait_line "^complete $BASE/frame2.html"
check "replaced load: only the new page completes" \
  "navcomplete $BASE/frame2.html|complete $BASE/frame2.html" \
  "$(tail -n +$((mark + 1)) "$OUT" | grep -E '^(nav)?complete ' | paste -sd'|')"
probe_stop

# --- Without the handler the page keeps the browser's own menu, border and scroll bars (what
# the checks above would see if the handler did nothing).
# eventually CONDITION...: "yes" once the command succeeds (within about 5 s).
eventually() { wait_until 5 "$@" && echo yes || echo no; }
scrollbars_shown() {
  xdotool mousemove --window "$WINDOW" 395 150 sleep 0.1 mousemove --window "$WINDOW" 396 160
  [ "$(screen_pixel 390 15)" != "$PAGE" ] && [ "$(screen_pixel 25 294)" != "$PAGE" ]
}
probe_start --no-attach
check "no handler: scroll bars shown" yes "$(eventually scrollbars_shown)"
check "no handler: border shown" yes "$([ "$(screen_pixel 0 150)" != "$PAGE" ] && echo yes || echo no)"
before=$(windows)
xdotool mousemove --window "$WINDOW" 250 200 click 3
more_windows() { [ "$(windows)" -gt "$before" ]; }
check "no handler: context menu shown" yes "$(eventually more_windows)"
probe_stop

finish
