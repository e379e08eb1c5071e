#!/usr/bin/env bash
# The hide key and the hide button where the desktop has no XEmbed tray. A StatusNotifierItem
# host (a watcher of our own on the test's private session bus) shows the icon with its title,
# tooltip and picture; activating it brings the window back as it was, and its menu's item
# leads to the close question. A host that leaves while the window is hidden gives the window
# back, and so does an X system tray that never takes the icon. With no notification area at all, under a window manager, hiding minimises the window:
# out of sight, iconic, and reachable again from the taskbar.
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"
source "$MC_SOURCE/tests/gtk/game_lib.sh"
game_site

HOST="/usr/bin/python3 $MC_SOURCE/tests/gtk/sni_host.py"
HOST_LOG="$WORK/host.log"
# start_host: a watcher on the session bus, ready when this returns.
start_host() {
  local ready
  ready=$(grep -cx ready "$HOST_LOG" 2>/dev/null || true)
  $HOST watch "$HOST_LOG" &
  HOST_PID=$!
  at_exit_kill "$HOST_PID"
  wait_until 10 logged ready $((ready + 1)) || echo "the watcher did not start" >&2
}
# logged LINE [COUNT]: the watcher has logged LINE at least COUNT times (1 by default).
logged() {
  local n
  n=$(grep -cxF -- "$1" "$HOST_LOG" 2>/dev/null || true)
  [ "${n:-0}" -ge "${2:-1}" ]
}
# eventually_logged LINE [COUNT]: "yes" once it has (within 5 s), else "no".
eventually_logged() { wait_until 5 logged "$@" && echo yes || echo no; }
# hide: the hide key, with the pointer on the page.
hide() { xdotool mousemove 640 400 key F9; }
TIP="星海征途 - 单击图标恢复窗口"

start_host
PKG="$WORK/pkg"
game_package "$PKG" "firstUrl=$BASE/game.html"
mkdir -p "$WORK/game"
game_brand "$PKG" "$WORK/game/sea.client"
game_start "$WORK/game/sea.client"
ITEM="org.kde.StatusNotifierItem-$CLIENT_PID-1"

# --- The item: shown while the window is hidden, gone once it shows.
check "no item while the window shows" no "$(logged "registered $ITEM" && echo yes || echo no)"
hide
check "F9 hides the window" IsUnMapped "$(eventually_map_state "$GAME_ID" IsUnMapped)"
check "the item registers with the watcher" yes "$(eventually_logged "registered $ITEM")"
check "the item: title, status, tooltip, picture and menu" \
  "Title=$TIP|Status=Active|ToolTip=$TIP|IconPixmap=32x32:ok|IconName=|ItemIsMenu=False|Menu=/MenuBar" \
  "$($HOST show "$ITEM" 2>&1 | paste -sd'|')"
$HOST activate "$ITEM"
check "activating the item shows the window" IsViewable "$(eventually_map_state "$GAME_ID" IsViewable)"
check "as it was" "0,0,1280,800" "$(geometry "$GAME_ID")"
check "the item goes once the window shows" yes "$(eventually_logged "unregistered $ITEM")"

# --- The menu: its one item asks the close question; Cancel keeps the window hidden.
hide
eventually_map_state "$GAME_ID" IsUnMapped >/dev/null
check "hidden again: the item is back" yes "$(eventually_logged "registered $ITEM" 2)"
check "the item's menu holds the one item" "退出游戏" "$($HOST menu "$ITEM" 2>&1)"
$HOST click "$ITEM" "退出游戏"
check "the menu's item asks the close question" "确定要退出游戏吗？" "$(question sea cancel)"
check "Cancel: the window stays hidden and its item stays" "IsUnMapped|yes|yes" \
  "$(map_state "$GAME_ID")|$(client_running && echo yes || echo no)|$($HOST show "$ITEM" >/dev/null 2>&1 && echo yes || echo no)"

# --- Bounds: a long list in one call is refused unread; clicks arriving while the question
# is open ask nothing more.
check "a million ids in one call: refused" org.freedesktop.DBus.Error.LimitsExceeded \
  "$($HOST flood "$ITEM" ids 1000000 2>&1)"
check "20000 clicks in one call: refused" org.freedesktop.DBus.Error.LimitsExceeded \
  "$($HOST flood "$ITEM" events 20000 2>&1)"
check "16 clicks in one call: answered" "answered 0" "$($HOST flood "$ITEM" events 16 2>&1)"
check "16 clicks: one question" "确定要退出游戏吗？|no dialog" \
  "$(question sea cancel)|$(dialog sea cancel 3 || true)"
check "and the item still answers" yes "$($HOST show "$ITEM" >/dev/null 2>&1 && echo yes || echo no)"

# --- The watcher leaves while the window is hidden: nothing would bring it back, so it comes
# back by itself (minimised, which a bare X server without a window manager cannot do).
kill "$HOST_PID"
check "the watcher gone: the hidden window shows again" IsViewable \
  "$(eventually_map_state "$GAME_ID" IsViewable)"

# --- A system tray that never takes the icon: after a while the hidden window comes back.
$GAME_X11 broken-tray "$WORK/tray-ready" &
BROKEN_TRAY=$!
at_exit_kill "$BROKEN_TRAY"
wait_file "$WORK/tray-ready" || echo "no broken tray" >&2
hide
check "a tray that takes no icon: F9 hides the window" IsUnMapped \
  "$(eventually_map_state "$GAME_ID" IsUnMapped)"
check "and the window comes back by itself" yes \
  "$(wait_until 10 sh -c "xwininfo -id $GAME_ID | grep -q IsViewable" && echo yes || echo no)"
kill "$BROKEN_TRAY"
wait "$BROKEN_TRAY" 2>/dev/null || true  # gone, and with it its hold on the tray selection

# --- No notification area at all: with nothing to minimise it either, the window stays.
hide
sleep 0.5
check "no tray, no window manager: F9 leaves the window shown" IsViewable "$(map_state "$GAME_ID")"

# Under a window manager hiding minimises: the window is iconic (unmapped, or in a frame
# that is) and the taskbar reaches it.
openbox --sm-disable >/dev/null 2>&1 &
at_exit_kill $!
wait_until 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
  echo "openbox did not start" >&2
# wm_state: the window manager's word on the window: WM_STATE and whether _NET_WM_STATE says
# hidden.
wm_state() {
  local state hidden
  state=$(xprop -id "$GAME_ID" WM_STATE 2>/dev/null | sed -n 's/^[[:space:]]*window state: //p')
  hidden=$(xprop -id "$GAME_ID" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_HIDDEN && echo hidden || echo shown)
  echo "${state:-none},$hidden"
}
eventually_wm_state() {
  local s
  for _ in $(seq 60); do s=$(wm_state); [ "$s" = "$1" ] && break; sleep 0.05; done
  echo "$s"
}
# restore_from_taskbar: what a taskbar does with a click on the window's button.
restore_from_taskbar() { xdotool windowactivate "$GAME_ID" 2>/dev/null; }

# The window asked to be minimised before, when nothing could: the window manager may honour
# that now.
restore_from_taskbar
check "managed by the window manager" "Normal,shown" "$(eventually_wm_state Normal,shown)"
hide
check "no tray: F9 minimises the window" "Iconic,hidden" "$(eventually_wm_state Iconic,hidden)"
check "out of sight" yes "$(wait_until 3 sh -c "! xwininfo -id $GAME_ID | grep -q IsViewable" && echo yes || echo no)"
restore_from_taskbar
check "the taskbar brings it back" "Normal,shown|IsViewable" \
  "$(eventually_wm_state Normal,shown)|$(eventually_map_state "$GAME_ID" IsViewable)"
click 1180 12
check "no tray: the hide button minimises the window" "Iconic,hidden" "$(eventually_wm_state Iconic,hidden)"
restore_from_taskbar
eventually_wm_state Normal,shown >/dev/null

# A watcher that leaves while the window is hidden: the window waits on the taskbar.
start_host
hide
check "with a watcher again: F9 hides to the item" "IsUnMapped|yes" \
  "$(eventually_map_state "$GAME_ID" IsUnMapped)|$(eventually_logged "registered $ITEM" 3)"
kill "$HOST_PID"
check "the watcher gone: the window is minimised, not lost" "Iconic,hidden" \
  "$(eventually_wm_state Iconic,hidden)"
restore_from_taskbar
check "and the taskbar brings it back" IsViewable "$(eventually_map_state "$GAME_ID" IsViewable)"
finish
