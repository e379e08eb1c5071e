# A private X server: xvfb_start picks a free display number by letting the server choose one
# (-displayfd) once it is ready, so parallel runs never share a display and no number is
# guessed from a process id.

# displayfd_written FILE: the server has written its whole display number, line end included.
displayfd_written() { [ -s "$1" ] && [ -z "$(tail -c 1 "$1")" ]; }

# xvfb_start [SCREEN]: starts Xvfb with one screen (default $XVFB_SCREEN or 1280x800x24), sets
# DISPLAY and XVFB_PID, and stops that server when the script ends. The server never resets:
# by default it does so whenever its last client leaves, and a program connecting meanwhile
# cannot open the display (tests start and end programs all the time). It is ready once it
# takes a connection; its messages stay in $WORK/xvfb:N.log.
xvfb_start() {
  local screen=${1:-${XVFB_SCREEN:-1280x800x24}} number log
  number=$(mktemp)
  log=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$number" >/dev/null 2>"$log" &
  XVFB_PID=$!
  XVFB_START=$(proc_start "$XVFB_PID")
  at_exit_kill "$XVFB_PID"
  # Display 20 must not be read as 2: the number counts once its line has ended.
  if ! wait_until 10 displayfd_written "$number" ||
    ! wait_until 5 xdpyinfo -display ":$(head -n 1 "$number")" >/dev/null 2>&1; then
    echo "xvfb_start: Xvfb took no connection on display :$(head -n 1 "$number"):" >&2
    cat "$log" >&2
    rm -f "$number" "$log"
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$number")"
  if [ -n "${WORK:-}" ]; then mv "$log" "$WORK/xvfb$DISPLAY.log"; else rm -f "$log"; fi
  rm -f "$number"
}

# display_report: whether the current display answers, and its Xvfb's messages, for a test
# whose program could not open it.
display_report() {
  echo "display $DISPLAY answers: $(xdpyinfo >/dev/null 2>&1 && echo yes || echo no);" \
    "its Xvfb runs: $(same_process "${XVFB_PID:-0}" "${XVFB_START:-}" && echo yes || echo no)"
  cat "${WORK:-/nonexistent}/xvfb$DISPLAY.log" 2>/dev/null || true
}
