# A private X server: xvfb_start picks a free display number by letting the server choose one
# (-displayfd) once it is ready, so parallel runs never share a display and no number is
# guessed from a process id.

# displayfd_written FILE: the server has written its whole display number, line end included.
displayfd_written() { [ -s "$1" ] && [ -z "$(tail -c 1 "$1")" ]; }

# xvfb_start [SCREEN]: starts Xvfb with one screen (default $XVFB_SCREEN or 1280x800x24), sets
# DISPLAY and XVFB_PID, and stops that server when the script ends.
xvfb_start() {
  local screen=${1:-${XVFB_SCREEN:-1280x800x24}} number
  number=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$number" >/dev/null 2>&1 &
  XVFB_PID=$!
  at_exit "kill $XVFB_PID >/dev/null 2>&1"
  # Display 20 must not be read as 2: the number counts once its line has ended.
  for _ in $(seq 200); do displayfd_written "$number" && break; sleep 0.05; done
  if ! displayfd_written "$number"; then
    echo "xvfb_start: Xvfb did not start" >&2
    rm -f "$number"
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$number")"
  rm -f "$number"
}
