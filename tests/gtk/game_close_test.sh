#!/usr/bin/env bash
# Ending and restarting the Linux game window: the close button, the window manager's close
# and the restart item ask the closeMsg question (titled with the program's name, Cancel
# preselected); Cancel keeps the window, OK ends it or starts the program again first. The
# settings menu opens just below its button. A window destroyed from outside ends the program.
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"
source "$MC_SOURCE/tests/gtk/game_lib.sh"
game_site

PKG="$WORK/pkg"
game_package "$PKG" "firstUrl=$BASE/game.html"
mkdir -p "$WORK/game"
game_brand "$PKG" "$WORK/game/sea.client"
game_start "$WORK/game/sea.client"
alive() { client_running && echo yes || echo no; }

# The close button: the question and its default button, then Cancel.
click 1265 10
check "close button: the closeMsg question titled by the program, Cancel preselected" \
  "确定要退出游戏吗？|Cancel" "$(/usr/bin/python3 "$MC_SOURCE/tests/gtk/game_question.py" sea cancel)"
check "Cancel keeps the window" "yes|IsViewable" "$(alive)|$(map_state "$GAME_ID")"

# The settings menu below its button (left 1280 - 161, bottom 3 + 21, plus one).
click 1140 12
check "the settings menu opens at the button's left, below it" "1119,25" \
  "$(/usr/bin/python3 "$MC_SOURCE/tests/gtk/game_menu.py" position)"
/usr/bin/python3 "$MC_SOURCE/tests/gtk/game_menu.py" choose "版本号1.30" >/dev/null || true
check "the version item does nothing" "yes|IsViewable" "$(alive)|$(map_state "$GAME_ID")"
click 1140 12
/usr/bin/python3 "$MC_SOURCE/tests/gtk/game_menu.py" choose "刷新(F5)" >/dev/null || true
check "restart item: the same question" "确定要退出游戏吗？" "$(question sea cancel)"
check "Cancel: no restart" "yes|1" "$(alive)|$(requests '^/game.html$')"

# F5 (bound to the restart item) and OK: a new program, and this one ends.
xdotool mousemove 640 400 key F5
question sea ok >/dev/null
check "OK on the restart question ends this program" yes "$(ended 10)"
wait_requests '^/game.html$' 2 || true
new_id=$(wait_window game || true)
own_client "$(xdotool getwindowpid "$new_id" 2>/dev/null || echo 0)"
check "and a new program shows the game page" "2|yes" "$(requests '^/game.html$')|$(alive)"

# The window manager's close asks as well; OK ends the program.
GAME_ID=$new_id
$GAME_X11 close "$GAME_ID"
check "the window manager's close asks the question" "确定要退出游戏吗？" "$(question sea ok)"
check "OK ends the program" yes "$(ended 10)"

# A window destroyed from outside ends the program; a program name without an extension
# gives the question an empty title.
cp "$WORK/game/sea.client" "$WORK/game/seaclient"
game_start "$WORK/game/seaclient"
click 1265 10
check "a name without an extension: empty title" "确定要退出游戏吗？" "$(question "" cancel)"
xdotool windowclose "$GAME_ID"
check "a destroyed window ends the program" yes "$(ended 10)"
finish
