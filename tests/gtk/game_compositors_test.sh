#!/usr/bin/env bash
# The Linux client natively on the Wayland compositors of KDE Plasma (KWin, with the Breeze
# decoration it puts on every window that does not say it draws its own) and GNOME (mutter),
# each shown inside the test's Xvfb: no compositor title bar above the launcher's picture or
# the game window's title band, the page gets the whole client area, the settings menu opens
# under its button with no warning in the log, and the launcher's start link opens the game
# window.
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"
source "$MC_SOURCE/tests/gtk/game_lib.sh"
game_site
game_client
launcher_client
# The launcher's page area starts 92 pixels below the window's top.
PAGE_TOP=92

# menu_box: "X,Y,W,H" of the menu's white below the title band (27 pixels), "none" without.
menu_box() {
  screenshot "$WORK/menu.png"
  convert "$WORK/menu.png" -crop 1280x773+0+27 +repage "$WORK/below.png"
  local box
  box=$(color_box "$WORK/below.png" 255,255,255)
  [ "$box" = none ] && { echo none; return; }
  IFS=, read -r x y w h <<< "$box"
  echo "$x,$((y + 27)),$w,$h"
}
menu_shown() { [ "$(menu_box)" != none ]; }
# bare_above: once the windows have gone, the screen at $above is as the launcher's
# screenshot showed it.
bare_above() {
  screenshot "$WORK/desktop.png"
  [ "$(pixel "$WORK/desktop.png" $above)" = "$(pixel "$WORK/launcher.png" $above)" ]
}
# launcher_shows: the launcher's page fills its whole area (560 x 344); until then parts of
# the area may still show the placeholder colour.
launcher_shows() {
  screenshot "$WORK/launcher.png"
  [[ "$(color_box "$WORK/launcher.png" 240,200,40)" == *,560,344 ]]
}

for compositor in kwin mutter; do
  nested_start "$compositor" || { check "$compositor starts" yes no; continue; }
  game_start "$GAME_CLIENT"
  check "$compositor: maximised, the page has all below our own title band" 1280x773 \
    "$(eventually_page_size 1280x773)"
  check "$compositor: the title band at the top of the output" same \
    "$(frame_check max 0,0,1280,800)"

  click 1140 12
  wait_until 5 menu_shown || true
  # On X11 the menu's corner is at the button's bottom-left: 1119,27.
  check "$compositor: the settings menu under its button" 1119,27 "$(menu_box | cut -d, -f1,2)"
  xdotool key Escape
  check "$compositor: no popup warnings" "" \
    "$(grep -iE 'popup|parent|trigger event' "$WORK/client.log" || true)"
  kill_client
  wait_exit

  start_in "$WORK/game" "$LAUNCH_CLIENT"
  wait_until 30 launcher_shows || true
  link=$(color_box "$WORK/launcher.png" 240,200,40)
  if [[ "$link" == *,560,344 ]]; then
    IFS=, read -r lx ly _ _ <<< "$link"
    # A compositor's title bar would sit right above the window's top edge: there the
    # screen shows the bare desktop, as it does once the client has ended.
    above="$((lx + 100)) $((ly - PAGE_TOP - 12))"
    reports=$(requests '^/report\?external')
    click $((lx + 100)) $((ly + 100))
    check "$compositor: the start link opens the game window" yes \
      "$(wait_requests '^/report\?external' $((reports + 1)) 30 && echo yes || echo no)"
  else
    check "$compositor: the launcher shows its page" yes no
  fi
  kill_client
  wait_exit
  if [[ "$link" == *,560,344 ]]; then
    wait_until 5 bare_above || true
    check "$compositor: nothing above the launcher's picture" \
      "$(pixel "$WORK/desktop.png" $above)" "$(pixel "$WORK/launcher.png" $above)"
  fi
  nested_stop
done
finish
