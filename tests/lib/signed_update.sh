# Signed updates on the test server, for both ports' update tests: keys made with the real
# minisign, and each way a published client and its signature can be right or wrong.

# signing_keys DIR: minisign key pairs DIR/update.{pub,key} and DIR/other.{pub,key} (no
# password), and DIR/broken.pub, which is no key at all. Sets SIGNING_KEYS=DIR.
signing_keys() {
  SIGNING_KEYS=$1
  mkdir -p "$SIGNING_KEYS"
  local k
  for k in update other; do
    minisign -G -W -p "$SIGNING_KEYS/$k.pub" -s "$SIGNING_KEYS/$k.key" >/dev/null
  done
  printf 'untrusted comment: minisign public key\r\nRWQnot a key\r\n' > "$SIGNING_KEYS/broken.pub"
}

# publish_signed PROGRAM VERSION [KEY [minisign options...]]: a new client configured with
# VERSION at PROGRAM (made by the test's brand_update OUT VERSION TITLE, titled 新版客户端),
# signed with KEY (default update) into PROGRAM.minisig.
publish_signed() {
  local program=$1 version=$2 key=${3:-update}
  brand_update "$program" "$version" 新版客户端
  rm -f "$program.minisig"
  minisign -S -s "$SIGNING_KEYS/$key.key" -m "$program" -t "new client $version" "${@:4}" >/dev/null
}

# publish_case PROGRAM CASE: what the server offers in each case of the tests, with version 2.0
# announced. prehashed and legacy (minisign -l) are right; the rest must be refused: missing
# (no signature), truncated (its last line cut), other_key, tampered (a byte of the program
# changed after signing), other_file (the signature of another file) and replayed (a correctly
# signed client configured 1.5, older than announced).
publish_case() {
  local program=$1
  case $2 in
    prehashed) publish_signed "$program" 2.0 ;;
    legacy) publish_signed "$program" 2.0 update -l ;;
    missing) publish_signed "$program" 2.0 && rm "$program.minisig" ;;
    truncated)
      publish_signed "$program" 2.0
      head -n 3 "$program.minisig" > "$program.cut" && mv "$program.cut" "$program.minisig" ;;
    other_key) publish_signed "$program" 2.0 other ;;
    tampered)
      publish_signed "$program" 2.0
      printf 'x' | dd of="$program" bs=1 seek=5000 conv=notrunc 2>/dev/null ;;
    other_file)
      publish_signed "$program" 2.0
      head -c 1000 /dev/urandom > "$program.other"
      minisign -S -s "$SIGNING_KEYS/update.key" -m "$program.other" -x "$program.minisig" >/dev/null
      rm "$program.other" ;;
    replayed) publish_signed "$program" 1.5 ;;
    *) echo "publish_case: unknown case $2" >&2; return 1 ;;
  esac
}

# signed_cases: the cases both ports' update tests run, a line each: CASE (of publish_case), the
# key in the old client's package (update, or broken: then nothing may even be fetched) and the
# expected outcome (the check's result code, or "installed"). Installs come last: a restarted
# client leaves the update's leftovers, which would make the next start skip its check.
signed_cases() {
  cat <<'CASES'
missing    update 10011
truncated  update 10011
other_key  update 10011
tampered   update 10011
other_file update 10011
replayed   update 10011
prehashed  broken 10011
prehashed  update installed
legacy     update installed
CASES
}
