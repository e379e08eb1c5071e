#!/usr/bin/env bash
# Benchmarks of the self-update on the Linux port; prints the figures.
#   1. Download throughput of a 100 MB body from a local server: the update transfer
#      (libcurl streamed into the file, as the worker does it) against `curl -o` of the same
#      body in the same run; transfer time only (curl's time_total, the probe's own clock,
#      so neither pays for its process start), the best of several alternating runs each.
#   2. Peak resident memory of the transfer for 10 MB and 100 MB bodies (should not grow).
#   3. Time from starting a branded client to its version request reaching the server
#      (median of several starts, under a private Xvfb).
#   4. Verification of a signed update (signatures made by minisign, both algorithms) for
#      programs of 1, 8 and 10 MB, and what it adds to the transfer of a 10 MB program: at the
#      loopback speed measured in 1, and at 100 Mbit/s.
# usage: bench/update/run.sh [BUILD_DIR]   (default build/linux; needs update_probe built)
set -euo pipefail
cd "$(dirname "$0")/../.."
MC_BUILD=$(realpath "${1:-build/linux}")
MC_SOURCE=$PWD
source tests/lib/common.sh
CLIENT="$MC_BUILD/microclient"
PROBE="$MC_BUILD/update_probe"
[ -x "$PROBE" ] || { echo "no $PROBE: build the Linux tests first" >&2; exit 1; }
RUNS=${RUNS:-5}

make_work
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY

head -c $((100 << 20)) /dev/urandom > "$WORK/body100"
head -c $((10 << 20)) /dev/urandom > "$WORK/body10"
serve --root "$WORK" --log-times
port=$PORT
url="http://127.0.0.1:$port/body100"

now() { date +%s.%N; }
best() { sort -g | head -n 1; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# 1. Throughput.
: > "$WORK/t_curl"; : > "$WORK/t_probe"
for _ in $(seq "$RUNS"); do
  curl -s -o "$WORK/out_curl" -w '%{time_total}\n' "$url" >> "$WORK/t_curl"
  "$PROBE" download "$url" "$WORK/out_probe" > "$WORK/probe.out"
  grep -qx ok "$WORK/probe.out" || { echo "update transfer failed" >&2; exit 1; }
  sed -n 's/^seconds //p' "$WORK/probe.out" >> "$WORK/t_probe"
  rm -f "$WORK/out_curl" "$WORK/out_probe"
done
curl_s=$(best < "$WORK/t_curl")
probe_s=$(best < "$WORK/t_probe")
printf 'download 100 MB: update %.3f s (%.0f MB/s), curl -o %.3f s (%.0f MB/s), ratio %.3f of curl\n' \
  "$probe_s" "$(echo "100 / $probe_s" | bc -l)" "$curl_s" "$(echo "100 / $curl_s" | bc -l)" \
  "$(echo "$curl_s / $probe_s" | bc -l)"

# 4. Signature verification (printed here, beside the transfer it is compared with).
SIGBENCH="$MC_BUILD/signature_bench_gtk"
minisign -G -W -p "$WORK/update.pub" -s "$WORK/update.key" >/dev/null
for size in 1 8 10; do
  head -c $((size << 20)) /dev/urandom > "$WORK/program$size"
  for algorithm in prehashed legacy; do
    rm -f "$WORK/program$size.minisig"
    minisign -S -s "$WORK/update.key" -m "$WORK/program$size" -t bench \
      $([ "$algorithm" = legacy ] && echo -l) >/dev/null
    read -r median min < <("$SIGBENCH" "$WORK/update.pub" "$WORK/program$size" \
      "$WORK/program$size.minisig" 20)
    printf 'verify %2d MB, %-9s median %7.2f ms, min %7.2f ms' "$size" "$algorithm" "$median" "$min"
    if [ "$size" = 10 ]; then
      # Loopback is the fastest a transfer gets; players are on networks (100 Mbit/s: 839 ms).
      printf ', %.0f%% of the transfer here (%.0f ms), %.1f%% at 100 Mbit/s' \
        "$(echo "$median / $probe_s" | bc -l)" "$(echo "$probe_s * 100" | bc -l)" \
        "$(echo "$median / 839 * 100" | bc -l)"
    fi
    printf '\n'
  done
done

# 2. Peak memory against body size.
for size in 10 100; do
  "$PROBE" download "http://127.0.0.1:$port/body$size" "$WORK/out" > "$WORK/probe.out"
  printf 'peak memory, %3d MB body: %s kB\n' "$size" "$(sed -n 's/^peak_kb //p' "$WORK/probe.out")"
  rm -f "$WORK/out"
done

# 3. Start to version request.
xvfb_start 1024x768x24
mkdir -p "$WORK/run" "$WORK/home/Desktop"
brand "$WORK/run/client" "config/main1.png=$PWD/sample/package/config/main1.png" \
  "config/cg.txt:=[global]\ntitle=bench\nversion=1.0\nserver=127.0.0.1\nport=$port\nversionUrl=/version.txt\nexeUrl=/none\nlinkCount=1\n[link1]\nurl=http://127.0.0.1/\n"
printf '1.0\r\n' > "$WORK/version.txt"
: > "$WORK/t_start"
for _ in $(seq "$RUNS"); do
  before=$(grep -c ' /version.txt' "$REQUESTS" 2>/dev/null || true)
  t0=$(now)
  (cd "$WORK/run" && HOME="$WORK/home" NO_AT_BRIDGE=1 exec ./client) >/dev/null 2>&1 &
  client=$!
  for _ in $(seq 1000); do
    [ "$(grep -c ' /version.txt' "$REQUESTS" 2>/dev/null || true)" -gt "${before:-0}" ] && break
    sleep 0.005
  done
  t1=$(grep ' /version.txt' "$REQUESTS" | tail -n 1 | cut -d' ' -f1)
  echo "($t1 - $t0) * 1000" | bc -l >> "$WORK/t_start"
  kill "$client" 2>/dev/null || true
  wait "$client" 2>/dev/null || true
done
printf 'start to version request: median %.0f ms (of %d starts)\n' "$(median < "$WORK/t_start")" "$RUNS"
