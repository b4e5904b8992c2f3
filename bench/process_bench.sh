#!/usr/bin/env bash
# Whole-process timings of dot11b-gen beside their floors: the largest frame
# written to .cf32 and .wfm against `head -c` writing the same number of bytes
# into the same folder, and the default frame against /bin/true (process
# start-up). Each command runs RUNS times, alternating with its floor, and the
# median is printed. Last, a sweep of 64 default-length waveforms (8 of them
# impossible and skipped) against its aim of one second.
#
#   bench/process_bench.sh [BIN_DIR] [RUNS]
set -euo pipefail

bin=${1:-build/bin}
runs=${2:-21}
gen="$bin/dot11b-gen"
folder=$(mktemp -d "${TMPDIR:-/tmp}/dot11b-process-bench.XXXXXX")
trap 'rm -rf "$folder"' EXIT

largest=(--rate 1 --preamble long --mac-header --fcs --payload pn9 --length 2312 --oversampling 3.5 --filter gaussian)

# Times one run of "$@" in microseconds, from bash's own clock (no fork), into
# $elapsed. A failed run ends the benchmark with its message: its time means nothing.
time_run() {
  local start=$EPOCHREALTIME
  if ! "$@" >/dev/null 2>"$folder/stderr.txt"; then
    echo "process_bench.sh: failed: $*" >&2
    cat "$folder/stderr.txt" >&2
    exit 1
  fi
  local end=$EPOCHREALTIME
  elapsed=$(( (${end/./} - ${start/./}) ))
}

median_ms() {
  sort -n | awk '{ v[NR] = $1 } END { printf "%.2f", v[int((NR + 1) / 2)] / 1000 }'
}

write_zeros() { head -c "$1" /dev/zero >"$2"; }

# Prints one line: label, the command's median, the floor's median, their ratio.
compare() {
  local label=$1 floor_label=$2
  shift 2
  local split
  for ((split = 1; split <= $#; ++split)); do [[ ${!split} == "--" ]] && break; done
  local command=("${@:1:split-1}") floor=("${@:split+1}")
  local times=() floor_times=()
  for ((i = 0; i < runs; ++i)); do
    time_run "${command[@]}"
    times+=("$elapsed")
    time_run "${floor[@]}"
    floor_times+=("$elapsed")
  done
  local ms floor_ms
  ms=$(printf '%s\n' "${times[@]}" | median_ms)
  floor_ms=$(printf '%s\n' "${floor_times[@]}" | median_ms)
  printf '%-44s %8s ms   %-22s %8s ms   x%s\n' "$label" "$ms" "$floor_label" "$floor_ms" \
    "$(awk -v a="$ms" -v b="$floor_ms" 'BEGIN { printf "%.2f", a / b }')"
}

# Warm the page cache and learn the byte counts.
"$gen" "${largest[@]}" -o "$folder/largest.cf32" -o "$folder/largest.wfm" 2>/dev/null
cf32_bytes=$(stat -c %s "$folder/largest.cf32")
wfm_bytes=$(stat -c %s "$folder/largest.wfm")

echo "dot11b-gen as a process, median of $runs runs (each alternating with its floor)"
compare "largest frame to .cf32 ($cf32_bytes bytes)" "head -c $cf32_bytes" \
  "$gen" "${largest[@]}" -o "$folder/largest.cf32" -- write_zeros "$cf32_bytes" "$folder/head.cf32"
compare "largest frame to .wfm ($wfm_bytes bytes)" "head -c $wfm_bytes" \
  "$gen" "${largest[@]}" -o "$folder/largest.wfm" -- write_zeros "$wfm_bytes" "$folder/head.wfm"
compare "default frame to .cf32" "/bin/true" \
  "$gen" -o "$folder/default.cf32" -- /bin/true

sweep=(--sweep rate=1,2,5.5,11 --sweep preamble=long,short --sweep oversampling=2,2.5,3,3.5
  --sweep filter=gaussian,root-cosine -o "$folder/sweep/{rate}M-{preamble}-os{oversampling}-{filter}.wfm")
mkdir -p "$folder/sweep"
sweep_times=()
for ((i = 0; i < 5; ++i)); do
  time_run "$gen" "${sweep[@]}"
  sweep_times+=("$elapsed")
done
printf '%-44s %8s ms   %-22s %8s ms\n' "sweep of 64 default frames to .wfm" \
  "$(printf '%s\n' "${sweep_times[@]}" | median_ms)" "aim" "1000.00"
