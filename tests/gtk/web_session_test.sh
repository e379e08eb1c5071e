#!/usr/bin/env bash
# Logins that last: the launcher's and the game's pages share one web session per branded
# client, kept on disk. A session cookie the launcher page sets is sent by the game page; a
# persistent cookie is sent again after a restart, the session one is not; cleaning the browser
# cache keeps cookies; a client of another name has its own session.
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"
source "$MC_SOURCE/tests/gtk/game_lib.sh"

site="$WORK/site"
mkdir -p "$site"
CALLS="$WORK/calls"
: > "$CALLS"
serve --calls "$CALLS" --root "$site"
# The launcher page logs in (a session cookie and one kept for an hour) unless the kept one is
# already there, reports what it found, and starts the game.
cat > "$site/login.html" <<HTML
<!doctype html><html><body><script>
var found = document.cookie;
fetch('/report?launcher=' + encodeURIComponent(found || '-')).finally(function () {
  if (found.indexOf('keep=') < 0) {
    document.cookie = 'sid=abc; path=/';
    document.cookie = 'keep=xyz; max-age=3600; path=/';
  }
  location.href = 'game:$BASE/game.html';
});
</script></body></html>
HTML

PKG="$WORK/pkg"
game_package "$PKG" "link5.url=$BASE/login.html"
mkdir -p "$WORK/game"
game_brand "$PKG" "$WORK/game/sea.client"
game_brand "$PKG" "$WORK/game/other.client"

# play PROGRAM: starts it and waits for the game page's cookie probe; SENT is the Cookie
# header it sent.
play() {
  local probes
  probes=$(requests '^/cookies ')
  game_start "$1"
  wait_requests '^/cookies ' $((probes + 1)) || true
  SENT=$(grep '^/cookies ' "$REQUESTS" | tail -n 1 | cut -d' ' -f2-)
}
end_game() { page_call '["1"]' >/dev/null; wait_exit 10 || kill_client; }

play "$WORK/game/sea.client"
check "first start: the game page sends the launcher's cookies" "sid=abc; keep=xyz" "$SENT"
end_game
check "the cookies are kept under the data folder, named after the program (no extension)" yes \
  "$([ -s "$XDG_DATA_HOME/sea/cookies.sqlite" ] && echo yes || echo no)"

play "$WORK/game/sea.client"
check "second start: the kept cookie is sent, the session one is gone" "keep=xyz" "$SENT"
check "the launcher page found the kept login" 1 "$(requests '^/report\?launcher=keep=xyz$')"

# Cleaning the browser cache leaves the login alone.
click 1140 12
/usr/bin/python3 "$MC_SOURCE/tests/gtk/game_menu.py" choose "清理" >/dev/null || true
question "清理缓存" ok >/dev/null
probes=$(requests '^/cookies ')
page_call '(location.reload(), [])' >/dev/null
wait_requests '^/cookies ' $((probes + 1)) || true
check "after cleaning the cache the cookie is still sent" "/cookies keep=xyz" \
  "$(grep '^/cookies ' "$REQUESTS" | tail -n 1)"
end_game

play "$WORK/game/other.client"
check "a client of another name has a session of its own" "sid=abc; keep=xyz" "$SENT"
check "which began empty" 2 "$(requests '^/report\?launcher=-$')"
end_game
finish
