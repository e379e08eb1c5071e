# The local HTTP server of the tests (http_server.py, all its options) and its request log: one
# line per request, the path with its query, written before the answer.

# serve [http_server.py options...]: starts a server on a free port of 127.0.0.1 and waits for
# it; sets SERVER_PID, PORT and BASE (http://127.0.0.1:PORT). Requests are logged to $REQUESTS
# (default $WORK/requests.log, made empty when the first server starts). The server ends with
# the script.
serve() {
  local port_file
  if [ -z "${REQUESTS:-}" ]; then REQUESTS="$WORK/requests.log"; : > "$REQUESTS"; fi
  port_file=$(mktemp -u "$WORK/port.XXXXXX")
  python3 "$TESTLIB/http_server.py" --log "$REQUESTS" --port-file "$port_file" "$@" >/dev/null &
  SERVER_PID=$!
  at_exit_kill "$SERVER_PID"
  wait_file "$port_file" 10 || { echo "serve: the server did not start" >&2; return 1; }
  PORT=$(head -n 1 "$port_file")
  BASE="http://127.0.0.1:$PORT"
}

# requested PATH [SECONDS]: "yes" once the server has been asked for exactly PATH (waiting up to
# SECONDS, not at all by default), else "no".
requested() { wait_until "${2:-0}" grep -qxF -- "$1" "$REQUESTS" 2>/dev/null && echo yes || echo no; }

# wait_request PATH [SECONDS]: waits (20 s by default) until the server has been asked for
# exactly PATH.
wait_request() { wait_until "${2:-20}" grep -qxF -- "$1" "$REQUESTS" 2>/dev/null; }

# requests PATTERN: how many requests match PATTERN (grep -E).
requests() { grep -cE -- "$1" "$REQUESTS" 2>/dev/null || true; }

# wait_requests PATTERN [COUNT] [SECONDS]: waits (10 s by default) until COUNT requests (1 by
# default) match PATTERN (grep -E).
wait_requests() { wait_until "${3:-10}" at_least_requests "$1" "${2:-1}"; }
at_least_requests() { [ "$(requests "$1")" -ge "$2" ]; }
