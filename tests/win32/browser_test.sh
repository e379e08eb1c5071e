#!/usr/bin/env bash
# The Windows browser wrapper under Wine, hosted the way the game window hosts it, against a
# local HTTP server: the control is created in our own container, the document host handler is
# attached with the external object, BeforeNavigate2 reports every navigation (non-ASCII
# addresses intact) and its cancel flag keeps a page from ever being requested. Wine has no HTML
# engine here, so pages never render: no document, no completion events, page calls fail cleanly.
source "$(dirname "$0")/wine_lib.sh"
wine_start

browser_site "$WORK/site"
serve --root "$WORK/site" --no-store
PROBE="$MC_BUILD/browser_probe.exe"

# probe ARGS...: the probe's output lines joined with "|".
probe() { wine "$PROBE" "$@" 2>/dev/null | tr -d '\r' | paste -sd'|'; }

printf '%s\n' "$BASE/页面.html" "$BASE/frame2.html" > "$WORK/urls.txt"
out=$(probe --external --cancel blocked "$BASE/index.html" "$BASE/blocked.html" --urls "$(winpath "$WORK/urls.txt")")
check "hosting, handler and navigation events" \
  "before about:blank|attach 1|hostflags 0x0c|external S_OK|before $BASE/index.html|before $BASE/blocked.html|before $BASE/页面.html|before $BASE/frame2.html|call report fail|done" \
  "$out"
check "the page was requested" yes "$(requested /index.html)"
check "a later page was requested" yes "$(requested /frame2.html)"
check "the cancelled page was never requested" no "$(requested /blocked.html)"

out=$(probe --keep-scrollbars "$BASE/frame2.html")
check "no external object, scroll bars kept" "attach 1|hostflags 0x04|external E_NOTIMPL" \
  "$(echo "$out" | tr '|' '\n' | grep -E '^(attach|hostflags|external) ' | paste -sd'|')"

finish
