#!/usr/bin/env bash
# A desktop's larger text setting (GDK_DPI_SCALE, what GNOME's "Large Text" sets) changes
# nothing of the skinned windows, which are drawn in fixed pixels: the launcher page lays out
# as at normal text size (the page reports its layout) and the game window's title band,
# title and button captions included, is the same picture. HiDPI scaling (GDK_SCALE=2) keeps
# the page's layout in CSS pixels too.
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"
export NO_AT_BRIDGE=1

site="$WORK/site"
mkdir -p "$site"
serve --root "$site" --no-store
# The launcher page: text at the default size and at a fixed one, a fixed box, and the start
# link; once loaded it reports where they lie.
cat > "$site/launcher.html" <<HTML
<!doctype html><html><head><style>
html, body { margin: 0; background: rgb(200, 30, 30); }
#start { position: absolute; left: 0; top: 0; width: 200px; height: 80px; background: rgb(240, 200, 40); }
#text { position: absolute; left: 0; top: 100px; }
#fixed { position: absolute; left: 0; top: 140px; font-size: 16px; }
</style></head><body>
<a id="start" href="game:$BASE/game.html">start</a>
<span id="text">星海征途 launcher text</span><span id="fixed">16px 文字</span>
<script>
function box(id) {
  var r = document.getElementById(id).getBoundingClientRect();
  return [r.left, r.top, r.width, r.height].map(function (v) { return v.toFixed(1); }).join(',');
}
// Reported once the area shows (it is hidden, of no size, until the first page is there). The
// boxes, not the viewport: the view's size settles only after it shows.
function report() {
  if (innerWidth == 0) return setTimeout(report, 50);
  fetch('/report?layout=' + [box('start'), box('text'), box('fixed')].join(';'));
}
addEventListener('load', report);
</script></body></html>
HTML
echo '<!doctype html><html><body style="margin:0;background:rgb(32,80,128)"></body></html>' > "$site/game.html"

PKG="$WORK/pkg"
source "$MC_SOURCE/tests/gtk/game_lib.sh"
game_package "$PKG" "link5.url=$BASE/launcher.html" port=9
mkdir -p "$WORK/run"
game_brand "$PKG" "$WORK/run/sea.client"

# run ENV...: starts the client with the environment given, prints the launcher page's layout
# report; with PLAY set it then starts the game and keeps a screenshot of its title band as
# $WORK/band-$PLAY.png.
run() {
  local before launcher
  before=$(requests '^/report\?layout=')
  (export "$@"; start_in "$WORK/run" "$WORK/run/sea.client"; echo "$CLIENT_PID" > "$WORK/pid")
  own_client "$(cat "$WORK/pid")"
  wait_requests '^/report\?layout=' $((before + 1)) 30 || echo "no layout report"
  grep '^/report?layout=' "$REQUESTS" | tail -n 1 | sed 's/^\/report?layout=//'
  if [ -n "${PLAY:-}" ]; then
    launcher=$(wait_window launcher)
    eval "$(xdotool getwindowgeometry --shell "$launcher" | sed 's/^/L/')"
    xdotool mousemove $((LX + 40 + 100)) $((LY + 92 + 40)) click 1
    GAME_ID=$(wait_window game)
    wait_request /game.html
    band "$WORK/band-$PLAY.png"
  fi
  kill_client
  wait_exit 10 || true
}
# band FILE: the game window's title band (1280 x 27) once two screenshots agree.
band() {
  local last=""
  for _ in $(seq 30); do
    sleep 0.2
    screenshot "$WORK/full.png"
    convert "$WORK/full.png" -crop 1280x27+0+0 +repage "$1"
    [ -n "$last" ] && [ "$(compare -metric AE "$1" "$last" null: 2>&1)" = 0 ] && return
    cp "$1" "$WORK/band-last.png"; last="$WORK/band-last.png"
  done
}

normal=$(PLAY=normal run GDK_DPI_SCALE=1)
check "the page reports its layout" yes "$([ -n "$normal" ] && [ "$normal" != "no layout report" ] && echo yes || echo no)"
for scale in 1.25 1.5; do
  check "GDK_DPI_SCALE=$scale: the launcher page lays out as at normal size" "$normal" \
    "$(PLAY=$scale run GDK_DPI_SCALE=$scale)"
  check "GDK_DPI_SCALE=$scale: the title band, title and captions drawn as at normal size" 0 \
    "$(compare -metric AE "$WORK/band-normal.png" "$WORK/band-$scale.png" null: 2>&1)"
done
mkdir -p "$MC_BUILD/skin-shots"
cp "$WORK/band-1.5.png" "$MC_BUILD/skin-shots/linux-large-text-band.png" 2>/dev/null || true
check "GDK_SCALE=2: the launcher page lays out in the same CSS pixels" "$normal" \
  "$(PLAY= run GDK_SCALE=2)"
finish
