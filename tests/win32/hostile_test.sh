#!/usr/bin/env bash
# The Windows client under Wine against the representative part of the hostile-input corpus
# (tests/hostile/make_corpus.py, the cases marked for both formats). Each run ends in its
# defined reaction and stays within a memory bound: the start-up failure box with its text and
# a normal exit after OK, a silent normal exit, or the launcher or game window with its title
# and the program still running when the test ends it.
source "$(dirname "$0")/wine_lib.sh"
wine_start

# Peak resident memory of the client process allowed per run (Wine's own share included).
limit_mb=${MC_HOSTILE_RSS_MB:-400}

corpus="$MC_BUILD/hostile/windows"
rm -rf "$corpus"
python3 "$MC_SOURCE/tests/hostile/make_corpus.py" "$MC_BUILD/microclient.exe" pe "$corpus"
run="$WORK/run"
mkdir -p "$run"

probe() { wine "$MC_BUILD/$1" "${@:2}" 2>/dev/null | tr -d '\r'; }

while IFS=$'\t' read -r file reaction argument description; do
  name="$file ($description)"
  rm -f "$WORK/rss"
  start_in "$run" /usr/bin/time -f '%M' -o "$WORK/rss" "${WINE_LOCALE[@]}" wine "$corpus/$file"
  case $reaction in
    message)
      check "$name: message" "启动失败|$argument" "$(probe dialog_probe.exe ok 20000)" ;;
    launcher|game)
      class=$([ "$reaction" = launcher ] && echo MicroClientLauncher || echo MicroClientGame)
      # A dialog gets its text while it initialises, just after it can first be found.
      for _ in $(seq 20); do
        title=$(probe window_probe.exe "$class" keep 20000)
        [ -z "$title" ] || break
        sleep 0.2
      done
      check "$name: $reaction window" yes "$([ "$title" != "no window" ] && echo yes || echo no)"
      [ "$argument" = - ] || check "$name: title" "$argument" "$title"
      check "$name: still running" yes "$(client_running && echo yes || echo no)"
      # The program itself (time's child) goes; the wineserver stays warm for the next run.
      pkill -KILL -P "$CLIENT_PID" 2>/dev/null || true ;;
    silent) ;;
  esac
  if wait_exit 30; then check "$name: ends" yes yes; else
    check "$name: ends" yes no
    wineserver -k >/dev/null 2>&1 || true
  fi
  status=0
  wait "$CLIENT_PID" || status=$?
  case $reaction in launcher|game) ;; *) check "$name: exit status" 0 "$status" ;; esac
  rss_mb=$(( $(tail -n 1 "$WORK/rss" 2>/dev/null || echo 0) / 1024 ))
  echo "     peak memory $rss_mb MB"
  check "$name: peak memory within $limit_mb MB" yes "$([ "$rss_mb" -le "$limit_mb" ] && echo yes || echo no)"
  [ "${FAILURES:-0}" -gt 0 ] || rm -f "$corpus/$file"
done < "$corpus/cases.tsv"

check "representative part" yes "$([ "$(wc -l < "$corpus/cases.tsv")" -ge 15 ] && echo yes || echo no)"
finish
