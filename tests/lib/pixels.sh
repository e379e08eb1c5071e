# Pixels of pictures and of the screen, as "R,G,B" (8 bits each): screenshots, single pixels,
# point lists, rectangles, the box a colour covers, and a wait (and check) for a screen pixel to
# take a colour.

# screenshot [FILE]: the whole screen into FILE (default $WORK/shot.png).
screenshot() { import -window root "${1:-$WORK/shot.png}"; }

# pixel FILE X Y: "R,G,B" of one pixel of a picture.
pixel() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | tail -n 1 |
    sed -E 's/^[^(]*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/'
}

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

# screen_pixel X Y: a screen pixel, from a new screenshot ($WORK/shot.png, kept).
screen_pixel() { screenshot && pixel "$WORK/shot.png" "$1" "$2"; }

# wait_pixel X Y EXPECTED [SECONDS]: the screen pixel once it is EXPECTED (screenshots for up
# to about SECONDS, 4 by default), else the last one seen.
wait_pixel() {
  local got
  for _ in $(seq $((${4:-4} * 10))); do
    got=$(screen_pixel "$1" "$2")
    [ "$got" == "$3" ] && break
    sleep 0.1
  done
  echo "$got"
}

# check_pixel DESCRIPTION X Y EXPECTED: checks that the screen pixel takes that colour.
check_pixel() { check "$1" "$4" "$(wait_pixel "$2" "$3" "$4")"; }

# color_box FILE R,G,B: "X,Y,W,H" of the smallest rectangle holding every pixel of that
# colour, "none" when there is none.
color_box() {
  local box
  box=$(convert "$1" -fill black +opaque "rgb($2)" -fill white -opaque "rgb($2)" \
    -bordercolor black -border 1 -format '%@' info: 2>/dev/null)
  case "$box" in
    0x0* | "") echo none ;;
    *) echo "$box" | awk -F'[x+]' '{print $3 - 1 "," $4 - 1 "," $1 "," $2}' ;;
  esac
}
