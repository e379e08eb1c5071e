#!/usr/bin/env bash
# The package tool's preview: the sample deployment drawn in both window states and compared
# with the reference pictures in tests/fixtures/preview (pixels exactly, text as regions, since
# fonts differ between machines), a broken copy whose problems are marked on their elements,
# and usage errors. Needs MC_BUILD and MC_SOURCE; no display.
#
# The references change only on purpose: after a deliberate change of what the preview draws,
# run this test with MC_UPDATE_PREVIEW_REFERENCE=1. It then rewrites the references and fails,
# so that it is never left on; look at the new pictures before committing them.
set -uo pipefail
source "$MC_SOURCE/tests/lib/common.sh"

MCPACK="$MC_BUILD/mcpack"
COMPARE="$MC_BUILD/preview_compare"
SAMPLE="$MC_SOURCE/sample/package"
REFERENCES="$MC_SOURCE/tests/fixtures/preview"
make_work

# run COMMAND...: its output (stdout and stderr) in $out, its exit status in $rc.
run() { out=$("$@" 2>&1); rc=$?; }

# Where the windows are in the picture: launcher at (16, 56), the game window 32 pixels to the
# right of the sample's 760-pixel launcher.
LX=16 LY=56 GX=$((16 + 760 + 32)) GY=56

# The game window's frame, logo and button faces as the port tests check a real window's (the
# sample restores to 960 x 640); this holds whatever the references say.
declare -A SIZE=([maximized]="1024 768 max" [restored]="960 640 restored")
for state in maximized restored; do
  run "$MCPACK" preview "$SAMPLE" -o "$WORK/$state.png" --state "$state" \
    --text-boxes "$WORK/$state.boxes"
  check "sample $state: exit status" 0 "$rc"
  # shellcheck disable=SC2086
  "$MC_BUILD/game_frame_check" frame "$SAMPLE/config" "$WORK/$state.png" "$GX" "$GY" \
    ${SIZE[$state]} >/dev/null
  check "sample $state: frame as the client paints it" 0 "$?"
  if [ -n "${MC_UPDATE_PREVIEW_REFERENCE:-}" ]; then
    mkdir -p "$REFERENCES"
    cp "$WORK/$state.png" "$REFERENCES/sample-$state.png"
    cp "$WORK/$state.boxes" "$REFERENCES/sample-$state.boxes"
    check "sample $state: reference rewritten, not compared" compared rewritten
    continue
  fi
  check "sample $state: as the reference" same "$("$COMPARE" "$REFERENCES/sample-$state.png" \
    "$REFERENCES/sample-$state.boxes" "$WORK/$state.png" "$WORK/$state.boxes")"
done
check "the default state is maximised" yes "$("$MCPACK" preview "$SAMPLE" -o "$WORK/default.png" \
  >/dev/null && cmp -s "$WORK/default.png" "$WORK/maximized.png" && echo yes || echo no)"

# The comparison itself finds a changed pixel outside text, and a picture of the other state.
convert "$WORK/maximized.png" -fill '#123456' -draw "point $((GX + 500)),$((GY + 400))" \
  "$WORK/changed.png"
check "comparison: one changed pixel is found" 1 "$("$COMPARE" "$WORK/maximized.png" \
  "$WORK/maximized.boxes" "$WORK/changed.png" "$WORK/maximized.boxes" | grep -c '^pixel')"
check "comparison: another state differs" no "$("$COMPARE" "$WORK/maximized.png" \
  "$WORK/maximized.boxes" "$WORK/restored.png" "$WORK/restored.boxes" | grep -qx same \
  && echo yes || echo no)"

# A broken copy: link 6 (the launcher's minimise button at 662,31, configured 30 x 26) loses
# its picture, so the launcher stops building there; game button 4 (minimise, 84 from the right
# edge) names a picture that does not exist, so it is not made.
broken="$WORK/broken"
cp -r "$SAMPLE" "$broken"
rm "$broken/config/6_n.png"
sed -i 's/^image=4\(\r\?\)$/image=40\1/' "$broken/config/cg.txt"
run "$MCPACK" preview "$broken" -o "$WORK/broken.png"
check "broken: exit status" 1 "$rc"
check "broken: picture written" yes "$(test -s "$WORK/broken.png" && echo yes || echo no)"
check "broken: summary" "$broken: 2 problems" "$(tail -1 <<<"$out")"
check "broken: the missing link picture is marked around its place" 255,0,0 \
  "$(pixel "$WORK/broken.png" $((LX + 662 - 1)) $((LY + 31 + 13)))"
check "broken: ... and crossed out" 255,0,0 \
  "$(pixel "$WORK/broken.png" $((LX + 662 + 15)) $((LY + 31 + 13)))"
close=($((LX + 698 + 15)) $((LY + 31 + 13)))
check "broken: the close link after it is not built" no "$([ "$(pixel "$WORK/broken.png" \
  "${close[@]}")" == "$(pixel "$WORK/maximized.png" "${close[@]}")" ] && echo yes || echo no)"
check "broken: the game button without picture is marked from the right edge" 255,0,0 \
  "$(pixel "$WORK/broken.png" $((GX + 1024 - 84 - 1)) $((GY + 8)))"
check "broken: ... and crossed out" 255,0,0 \
  "$(pixel "$WORK/broken.png" $((GX + 1024 - 84 + 8)) $((GY + 8)))"
for at in "$((GX + 1024 - 14)) $((GY + 11))" "$((GX + 500)) $((GY + 400))" "$((LX + 100)) $((LY + 200))"; do
  # shellcheck disable=SC2086
  check "broken: unmarked elsewhere ($at)" "$(pixel "$WORK/maximized.png" $at)" \
    "$(pixel "$WORK/broken.png" $at)"
done

# A package the client cannot read at all, and usage errors: exit status 2, nothing written.
nocfg="$WORK/nocfg"
cp -r "$SAMPLE" "$nocfg"
rm "$nocfg/config/cg.txt"
while IFS='|' read -r what args; do
  # shellcheck disable=SC2086
  err=$("$MCPACK" preview $args 2>&1 >/dev/null); rc=$?
  check "usage: $what: exit status" 2 "$rc"
  check "usage: $what: message on stderr" yes "$(test -n "$err" && echo yes || echo no)"
done <<EOF2
no configuration|$nocfg -o $WORK/out.png
missing folder|$WORK/nowhere -o $WORK/out.png
no output|$SAMPLE
no folder|-o $WORK/out.png
size without height|$SAMPLE -o $WORK/out.png --size 800x
size of zero|$SAMPLE -o $WORK/out.png --size 0x600
size beyond 8192|$SAMPLE -o $WORK/out.png --size 8193x600
unknown state|$SAMPLE -o $WORK/out.png --state minimized
unknown option|$SAMPLE -o $WORK/out.png --zoom 2
unwritable output|$SAMPLE -o $WORK/nowhere/out.png
EOF2
check "usage errors write nothing" no "$(test -e "$WORK/out.png" && echo yes || echo no)"

finish
