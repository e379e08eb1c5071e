#!/usr/bin/env bash
# Game window benchmark (Linux port): one full repaint of the frame and title bar at
# 1920 x 1040, the frame time of a resize drag in the real window (sample package, sample game
# page), and the time from exec of a branded client with firstUrl to its game window on screen
# and to the page's request at the server.
# Usage: bench/game/run_gtk.sh [RUNS]   (needs build/linux built; not part of scripts/test)
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT=$PWD
RUNS=${1:-9}
BUILD=$ROOT/build/linux

if [ -z "${MC_IN_SESSION:-}" ]; then
  export MC_IN_SESSION=1
  exec dbus-run-session -- bash "$0" "$@"
fi

WORK=$(mktemp -d)
export HOME="$WORK/home" XDG_CACHE_HOME="$WORK/home/.cache" XDG_CONFIG_HOME="$WORK/home/.config"
export XDG_DATA_HOME="$WORK/home/.local/share" NO_AT_BRIDGE=1
mkdir -p "$HOME/Desktop"
# A display number of its own, chosen by the server, so no other run's display is used.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
XVFB=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$WORK/display")"

# The sample site, logged, on a free port.
mkdir -p "$WORK/site"
cp "$ROOT"/sample/site/* "$WORK/site/"
python3 - "$WORK/site" "$WORK/port" "$WORK/requests" <<'PY' &
import http.server, os, sys, time
root, port_file, log = sys.argv[1:4]
class Handler(http.server.SimpleHTTPRequestHandler):
    def __init__(self, *a, **k): super().__init__(*a, directory=root, **k)
    def log_message(self, *a): pass
    def send_head(self):
        with open(log, "a") as f: f.write("%.6f %s\n" % (time.time(), self.path))
        return super().send_head()
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
open(port_file + ".part", "w").write(str(server.server_address[1])); os.replace(port_file + ".part", port_file)
server.serve_forever()
PY
SERVER=$!
trap 'kill "$SERVER" "$XVFB" 2>/dev/null; rm -rf "$WORK"' EXIT
for _ in $(seq 100); do [ -s "$WORK/port" ] && break; sleep 0.05; done
URL="http://127.0.0.1:$(cat "$WORK/port")/game.html"

# The sample package with firstUrl set, appended to the client.
cp -r "$ROOT/sample/package" "$WORK/package"
sed -i "s#^firstUrl=.*#firstUrl=$URL\r#" "$WORK/package/config/cg.txt"
python3 "$ROOT/tests/tools/make_package.py" "$WORK/package.zip" --dir "$WORK/package"
cat "$BUILD/microclient" "$WORK/package.zip" > "$WORK/client"
chmod +x "$WORK/client"

echo "== paint (off-screen, the window's painter)"
"$BUILD/game_bench_gtk" paint "$ROOT/sample/package/config" 5000

echo "== resize drag (real window, 1920 x 1080 screen, software rendering under Xvfb)"
"$BUILD/game_bench_gtk" resize "$WORK/client" "$URL" 300

echo "== exec to game window shown, and to the page requested ($RUNS runs)"
shown=(); page=()
for _ in $(seq "$RUNS"); do
  : > "$WORK/requests"
  start=$(date +%s%N)
  "$WORK/client" >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --name '星海征途' >/dev/null 2>&1; do :; done
  shown+=($(( ($(date +%s%N) - start) / 1000000 )))
  until grep -q ' /game.html' "$WORK/requests"; do sleep 0.005; done
  at=$(awk '/ \/game.html/{print $1; exit}' "$WORK/requests")
  page+=($(python3 -c "print(int(($at * 1e9 - $start) / 1e6))"))
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END{print a[int((NR+1)/2)]}'; }
echo "window shown: median $(median "${shown[@]}") ms (runs: ${shown[*]})"
echo "page requested: median $(median "${page[@]}") ms (runs: ${page[*]})"
