#!/usr/bin/env bash
# The Linux client against the hostile-input corpus (tests/hostile/make_corpus.py): program
# files, packages, configuration texts and pictures broken in one way each. Every run must end
# in its defined reaction and stay within a memory bound: the start-up failure box with its
# text and a normal exit after OK, a silent normal exit, or the launcher or game window with
# its title and the program still running when the test ends it (closing a window may ask a
# question; that is for the window tests).
source "$(dirname "$0")/gtk_lib.sh"
gtk_session "$@"

# Peak resident memory allowed per run. A run that shows a window needs about 35 MB, the
# largest accepted input (a 60 MB background entry) about 100 MB; a picture that decodes to
# 1 GB once took over 1 GB. Sanitizer builds keep freed memory in quarantine and carry shadow
# memory, so they get more.
limit_mb=${MC_HOSTILE_RSS_MB:-400}
if grep -q '^MC_SANITIZE:STRING=.' "$MC_BUILD/CMakeCache.txt" 2>/dev/null; then
  limit_mb=${MC_HOSTILE_RSS_MB:-900}
fi

corpus="$MC_BUILD/hostile/linux"
rm -rf "$corpus"
python3 "$MC_SOURCE/tests/hostile/make_corpus.py" "$CLIENT" elf "$corpus"
run="$WORK/run"
mkdir -p "$run"

# The client runs under /usr/bin/time for its peak memory; CLIENT_PID is time's.
client_child() { ps -o pid= --ppid "$CLIENT_PID" 2>/dev/null | tr -d ' '; }
stop_client() {
  local child
  for child in $(client_child); do kill -"$1" "$child" 2>/dev/null || true; done
}

while IFS=$'\t' read -r file reaction argument description; do
  name="$file ($description)"
  rm -f "$WORK/rss"
  start_in "$run" /usr/bin/time -f '%M' -o "$WORK/rss" "$corpus/$file"
  case $reaction in
    message)
      check "$name: message" "$argument" \
        "$(dialog "启动失败" ok 30 || true)" ;;
    launcher|game)
      id=$(wait_window "$reaction" || true)
      check "$name: $reaction window" yes "$([ -n "$id" ] && echo yes || echo no)"
      [ "$argument" = - ] || check "$name: title" "$argument" "$(xdotool getwindowname "$id" 2>/dev/null)"
      sleep 0.5  # a moment of work for the window before it is checked for life
      check "$name: still running" yes "$([ -n "$(client_child)" ] && echo yes || echo no)"
      stop_client TERM ;;
    silent) ;;
  esac
  if wait_exit 30; then ended=yes; else ended=no; stop_client KILL; fi
  check "$name: ends" yes "$ended"
  status=0
  wait "$CLIENT_PID" || status=$?
  case $reaction in launcher|game) ;; *) check "$name: exit status" 0 "$status" ;; esac
  rss_mb=$(( $(tail -n 1 "$WORK/rss" 2>/dev/null || echo 0) / 1024 ))
  echo "     peak memory $rss_mb MB"
  check "$name: peak memory within $limit_mb MB" yes "$([ "$rss_mb" -le "$limit_mb" ] && echo yes || echo no)"
  # Passed cases are deleted; a failed one stays in the build tree to be run by hand.
  [ "${FAILURES:-0}" -gt 0 ] || rm -f "$corpus/$file"
done < "$corpus/cases.tsv"

check "corpus size" yes "$([ "$(wc -l < "$corpus/cases.tsv")" -ge 30 ] && echo yes || echo no)"
finish
