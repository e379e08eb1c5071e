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
  own_client $!
}

# Process ids come round again within minutes here (tests start thousands of processes), so a
# process is known by its id and its start time: a signal for a program that has ended must
# not reach whatever has its id now, such as another test's X server.

# proc_field PID N: field N of /proc/PID/stat counted from the state (1), which follows the
# name in parentheses (the name itself may hold blanks or parentheses); empty when there is no
# such process.
proc_field() { sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f"$2"; }

# proc_start PID: when process PID started (clock ticks after boot); empty when there is none.
proc_start() { proc_field "$1" 20; }

# same_process PID START: PID is still the process that started at START.
same_process() { [ -n "$2" ] && [ "$(proc_start "$1")" = "$2" ]; }

# kill_same PID START [SIGNAL]: signals PID (TERM by default) if it is still that process.
kill_same() { same_process "$1" "$2" && kill "-${3:-TERM}" "$1" 2>/dev/null; }

# at_exit_kill PID: the process PID is ended when the script ends, if it still runs then.
at_exit_kill() { at_exit "kill_same $1 $(proc_start "$1")"; }

# own_client PID: the program under test is process PID from now on (CLIENT_PID).
own_client() {
  CLIENT_PID=$1
  CLIENT_START=$(proc_start "$1")
}

# client_running: the started program has not ended.
client_running() { same_process "${CLIENT_PID:-0}" "${CLIENT_START:-}"; }

# wait_exit [SECONDS]: waits (10 s by default) for the started program to end; fails when it
# is still running.
wait_exit() {
  for _ in $(seq $((${1:-10} * 10))); do
    client_running || return 0
    sleep 0.1
  done
  return 1
}

# ended [SECONDS]: "yes" once the started program has ended (waits 10 s by default), else "no".
ended() { wait_exit "$@" && echo yes || echo no; }

# kill_client [SIGNAL]: ends the started program (TERM by default) if it still runs.
kill_client() { kill_same "${CLIENT_PID:-0}" "${CLIENT_START:-}" "${1:-TERM}" || true; }
