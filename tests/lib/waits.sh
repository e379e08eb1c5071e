# Waits that end as soon as what they wait for has happened: a condition, a file, a window.
# (Pixels: pixels.sh; requests: server.sh.)

# wait_until SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds; fails when it has
# not within about SECONDS.
wait_until() {
  local tries=$(($1 * 10)); shift
  for _ in $(seq "$tries"); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

# wait_file FILE [SECONDS] [LINES]: waits (10 s by default) until FILE has at least LINES
# lines, or just content when LINES is not given.
wait_file() {
  if [ -n "${3:-}" ]; then
    wait_until "${2:-10}" file_has_lines "$1" "$3"
  else
    wait_until "${2:-10}" test -s "$1"
  fi
}
file_has_lines() { [ -f "$1" ] && [ "$(wc -l < "$1")" -ge "$2" ]; }

# wait_window ROLE [NAME] [SECONDS]: prints the id of a visible window whose WM_WINDOW_ROLE is
# ROLE (and whose name matches the regular expression NAME), waiting up to SECONDS (30 by
# default: the first WebKit start is slow on a busy machine). The window of a program that was
# ended but is still being taken down (its main thread gone, others not yet) does not count:
# on a busy machine that can take many seconds, and the window stays on the screen meanwhile.
wait_window() {
  local role=$1 name=${2:-.*} id
  for _ in $(seq $((${3:-30} * 10))); do
    for id in $(xdotool search --onlyvisible --name "$name" 2>/dev/null); do
      if xprop -id "$id" WM_WINDOW_ROLE 2>/dev/null | grep -q "\"$role\"" &&
        ! window_owner_ending "$id"; then
        echo "$id"; return 0
      fi
    done
    sleep 0.1
  done
  return 1
}

# window_owner_ending ID: the process that made window ID has ended (its main thread is a
# zombie) while the window is still there.
window_owner_ending() {
  local pid
  pid=$(xprop -id "$1" _NET_WM_PID 2>/dev/null | grep -o '[0-9]*$') || return 1
  [ "$(proc_field "$pid" 1)" = Z ]
}
