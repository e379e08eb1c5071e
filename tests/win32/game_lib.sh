# Sourced by the game window tests of the Windows port (tests/win32/game_*_test.sh): a private
# Wine prefix and Xvfb (wine_lib.sh), a local HTTP server with a game page, clients branded
# with the sample package, its configuration changed where a test says so, and the window's
# own probes (ctl, dialog) and pointer steps.
source "$(dirname "${BASH_SOURCE[0]}")/wine_lib.sh"
wine_start

SAMPLE="$MC_SOURCE/sample/package/config"
SITE="$WORK/site"
mkdir -p "$SITE"
printf '<html><body>game</body></html>\n' > "$SITE/game.html"
cp "$SAMPLE/logo.png" "$SITE/picture.png"
serve --root "$SITE"

ctl() { wine "$MC_BUILD/game_ctl.exe" "$@" 2>/dev/null | tr -d '\r'; }
# dialog ok|cancel [timeout-ms]: reads the message box shown, answers it ("title|text").
dialog() { wine "$MC_BUILD/dialog_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }

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
  brand_onto "$exe" "$out" --dir "$WORK/package"
}

# game_start EXE [ARGS...]: runs a branded program from $WORK in the background (CLIENT_PID).
game_start() { start_exe "$WORK" "$@"; }
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
