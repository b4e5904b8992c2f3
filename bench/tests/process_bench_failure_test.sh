#!/usr/bin/env bash
# A timed run that fails ends process_bench.sh with a non-zero status and the
# run's message, instead of a time.
#
#   process_bench_failure_test.sh PATH/TO/process_bench.sh
set -euo pipefail

bench=$1
bin=$(mktemp -d "${TMPDIR:-/tmp}/dot11b-process-bench-test.XXXXXX")
trap 'rm -rf "$bin"' EXIT

# A dot11b-gen whose first run (the warm-up) writes its -o files and whose
# later runs fail.
cat >"$bin/dot11b-gen" <<'GEN'
#!/usr/bin/env bash
calls="$(dirname "$0")/called"
if [[ -e $calls ]]; then
  echo "dot11b-gen: cannot write: No space left on device" >&2
  exit 1
fi
: >"$calls"
while (($#)); do
  if [[ $1 == -o ]]; then
    : >"$2"
    shift
  fi
  shift
done
GEN
chmod +x "$bin/dot11b-gen"

if "$bench" "$bin" 1 >"$bin/out.txt" 2>"$bin/err.txt"; then
  echo "process_bench.sh exited 0 although every timed run failed:" >&2
  cat "$bin/out.txt" >&2
  exit 1
fi
if ! grep -q "No space left on device" "$bin/err.txt"; then
  echo "process_bench.sh did not pass on the failed run's message:" >&2
  cat "$bin/err.txt" >&2
  exit 1
fi
