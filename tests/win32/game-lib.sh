# Sourced by the game window tests of the Windows port (tests/win32/game_*_test.sh): a private
# Wine prefix and Xvfb (wine-lib.sh), a local HTTP server with a game page, and clients branded
# with the sample package, its configuration changed where a test says so.
source "$(dirname "${BASH_SOURCE[0]}")/wine-lib.sh"
source "$MC_SOURCE/tests/tools/check.sh"
wine_start
trap 'kill "$SERVER_PID" 2>/dev/null; wine_stop' EXIT

SAMPLE="$MC_SOURCE/sample/package/config"
SITE="$WORK/site"
mkdir -p "$SITE"
printf '<html><body>game</body></html>\n' > "$SITE/game.html"
cp "$SAMPLE/logo.png" "$SITE/picture.png"
python3 "$MC_SOURCE/tests/tools/http_server.py" --root "$SITE" --log "$WORK/http.log" \
  > "$WORK/port.txt" &
SERVER_PID=$!
for _ in $(seq 50); do [ -s "$WORK/port.txt" ] && break; sleep 0.1; done
PORT=$(head -n 1 "$WORK/port.txt")
BASE="http://127.0.0.1:$PORT"

ctl() { wine "$MC_BUILD/game_ctl.exe" "$@" 2>/dev/null | tr -d '\r'; }
# dialog ok|cancel [timeout-ms]: reads the message box shown, answers it ("title|text").
dialog() { wine "$MC_BUILD/dialog_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }

# requested PATH: "yes" once the server has seen a GET of PATH (waits 5 s), else "no".
requested() {
  for _ in $(seq 50); do
    grep -q " GET $1\$" "$WORK/http.log" 2>/dev/null && { echo yes; return; }
    sleep 0.1
  done
  echo no
}

# game_package DIR [SECTION.KEY=VALUE | +TEXT | -FILE | FILE=PATH ...]: the sample package in
# DIR/config with firstUrl on the local game page; SECTION.KEY=VALUE sets a key (the section
# is made when missing), +TEXT appends lines ("\n" separated), -FILE leaves a picture out and
# FILE=PATH replaces one.
game_package() {
  local dir=$1; shift
  rm -rf "$dir"
  mkdir -p "$dir/config"
  cp "$SAMPLE"/*.png "$dir/config/"
  local edits=()
  for arg in "$@"; do
    case $arg in
      -*) rm -f "$dir/config/${arg#-}" ;;
      *.png=*) cp "${arg#*=}" "$dir/config/${arg%%=*}" ;;
      *) edits+=("$arg") ;;
    esac
  done
  python3 - "$SAMPLE/cg.txt" "$dir/config/cg.txt" "global.firstUrl=$BASE/game.html" "${edits[@]}" <<'PY'
import sys
source, out, edits = sys.argv[1], sys.argv[2], sys.argv[3:]
lines = open(source, encoding="gbk").read().splitlines()
appended = []

def section_of(line):
    s = line.strip()
    return s[1:s.find("]")].lower() if s.startswith("[") and "]" in s else None

for edit in edits:
    if edit.startswith("+"):
        appended += edit[1:].split("\\n")
        continue
    name, value = edit.split("=", 1)
    section, key = name.split(".", 1)
    # The section's lines: from its header to the next header.
    begin = next((i for i, l in enumerate(lines) if section_of(l) == section.lower()), None)
    if begin is None:
        lines += [f"[{section}]", f"{key}={value}"]
        continue
    end = next((i for i in range(begin + 1, len(lines)) if section_of(lines[i])), len(lines))
    found = [i for i in range(begin + 1, end)
             if lines[i].split("=", 1)[0].strip().lower() == key.lower()]
    if found:
        lines[found[0]] = f"{key}={value}"
    else:
        lines.insert(end, f"{key}={value}")
with open(out, "w", encoding="gbk", newline="\r\n") as f:
    f.write("\n".join(lines + appended) + "\n")
PY
}

# game_brand EXE OUT [game_package arguments...]: OUT is EXE with the package appended.
game_brand() {
  local exe=$1 out=$2; shift 2
  game_package "$WORK/package" "$@"
  python3 "$MC_SOURCE/tests/tools/make_package.py" "$WORK/package.zip" --dir "$WORK/package"
  cat "$exe" "$WORK/package.zip" > "$out"
}

# game_start EXE [ARGS...]: runs a branded program from $WORK in the background (GAME_PID).
game_start() {
  (cd "$WORK" && wine "$@") >"$WORK/client.log" 2>&1 &
  GAME_PID=$!
}

# ended: "yes" once the started program has exited (waits 10 s).
ended() {
  for _ in $(seq 100); do kill -0 "$GAME_PID" 2>/dev/null || { echo yes; return; }; sleep 0.1; done
  echo no
}

# Screenshots and pixels ("R,G,B").
shot() { import -window root "$WORK/shot.png"; }
# pixels_at FILE X,Y ...: "R,G,B" of each point, space-separated (one decode for all).
pixels_at() {
  local file=$1; shift
  convert "$file" -depth 8 rgb:- | python3 -c '
import sys
width, data = int(sys.argv[1]), sys.stdin.buffer.read()
points = [tuple(map(int, p.split(","))) for p in sys.argv[2:]]
print(" ".join("%d,%d,%d" % tuple(data[3 * (y * width + x):3 * (y * width + x) + 3])
               for x, y in points))' "$(identify -format %w "$file")" "$@"
}
# pixels FILE X0 Y0 X1 Y1: the pixels of a rectangle (right and bottom outside), row by row.
pixels() {
  convert "$1" -crop "$(($4 - $2))x$(($5 - $3))+$2+$3" -depth 8 txt:- | tail -n +2 |
    sed -E 's/^[^(]*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/' | paste -sd' '
}
# count_color FILE X0 Y0 X1 Y1 R,G,B: how many pixels of the rectangle have that colour.
count_color() {
  pixels "$1" "$2" "$3" "$4" "$5" | tr ' ' '\n' | grep -cx "$6" || true
}

# click_child ID [BUTTON]: clicks the middle of the game window's child control.
click_child() {
  local l t r b
  read -r l t r b _ < <(ctl child "$1")
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click "${2:-1}"
}

# drag X Y DX DY: presses at X Y and moves the pointer by DX DY in steps of a few pixels
# before releasing. The window does not capture the pointer: it follows each step, and the
# next step waits for it, so that the pointer never leaves the grabbed band.
drag() {
  local n=$(((${3#-} > ${4#-} ? ${3#-} : ${4#-}) / 6 + 1)) window wx wy dx dy
  xdotool mousemove "$1" "$2"
  window=$(xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p')
  read -r wx wy < <(window_at "$window")
  xdotool mousedown 1
  for i in $(seq $n); do
    dx=$(($3 * i / n)) dy=$(($4 * i / n))
    xdotool mousemove $(($1 + dx)) $(($2 + dy))
    for _ in $(seq 50); do
      [ "$(window_at "$window")" == "$((wx + dx)) $((wy + dy))" ] && break
      sleep 0.01
    done
  done
  xdotool mouseup 1
}
# window_at X-WINDOW: "X Y" of an X window's position on the screen.
window_at() {
  xdotool getwindowgeometry "$1" | sed -n 's/.*Position: \(-\{0,1\}[0-9]*\),\(-\{0,1\}[0-9]*\).*/\1 \2/p'
}
