# check DESCRIPTION EXPECTED ACTUAL, and finish: the plain assertion helpers of the shell tests.
check() {
  if [ "$2" == "$3" ]; then
    echo "ok   - $1"
  else
    echo "FAIL - $1: expected [$2], got [$3]"
    FAILURES=$(( ${FAILURES:-0} + 1 ))
  fi
}

finish() {
  echo "${FAILURES:-0} check(s) failed"
  [ "${FAILURES:-0}" -eq 0 ]
}
