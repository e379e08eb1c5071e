# Branded clients and the programs a test starts: brand appends a package ZIP (made by
# make_package.py) to a client, start_in starts a program in the background (CLIENT_PID, its
# output in $WORK/client.log), and the waits for its end.

# brand_onto PROGRAM OUT [make_package.py arguments...]: OUT is PROGRAM with the package
# appended (cat client package.zip), executable.
brand_onto() {
  local program=$1 out=$2; shift 2
  python3 "$TESTLIB/make_package.py" "$WORK/package.zip" "$@"
  cat "$program" "$WORK/package.zip" > "$out"
  chmod +x "$out"
}

# brand OUT [make_package.py arguments...]: the client under test ($CLIENT), branded.
brand() { brand_onto "$CLIENT" "$@"; }

# start_in DIR COMMAND...: starts COMMAND with DIR as current directory, in the background;
# CLIENT_PID is the command's own process.
start_in() {
  local dir=$1; shift
  (cd "$dir" && exec "$@") >"$WORK/client.log" 2>&1 &
  CLIENT_PID=$!
}

# wait_exit [SECONDS]: waits (10 s by default) for the started program to end; fails when it
# is still running.
wait_exit() {
  for _ in $(seq $((${1:-10} * 10))); do
    kill -0 "$CLIENT_PID" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# ended [SECONDS]: "yes" once the started program has ended (waits 10 s by default), else "no".
ended() { wait_exit "$@" && echo yes || echo no; }

# kill_client: ends the started program if it still runs.
kill_client() { kill "${CLIENT_PID:-}" >/dev/null 2>&1 || true; }
