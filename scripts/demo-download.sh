#!/usr/bin/env bash
# Downloads the default waveform to the simulated signal generator: starts
# sgsim on a free loopback port, runs dot11b-gen --download against it, and
# prints what the simulator stored and how it was set up when it stops.
set -euo pipefail
bin=${1:-build/bin}
work=$(mktemp -d)
sim_pid=""
cleanup() {
  if [[ -n "$sim_pid" ]] && kill -0 "$sim_pid" 2>/dev/null; then
    kill -TERM "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

"$bin/sgsim" --port 0 --time-limit 60 --log "$work/commands.log" >"$work/sgsim.out" &
sim_pid=$!
for _ in $(seq 100); do
  grep -q '^listening on ' "$work/sgsim.out" 2>/dev/null && break
  sleep 0.05
done
port=$(sed -n 's/^listening on 127\.0\.0\.1://p' "$work/sgsim.out")
[[ -n "$port" ]] || { echo "sgsim did not start" >&2; exit 1; }

echo "sgsim listening on 127.0.0.1:$port"
status=0
"$bin/dot11b-gen" --download "tcpip://127.0.0.1:$port" 2>&1 || status=$?

kill -TERM "$sim_pid"
wait "$sim_pid" || true
sim_pid=""
echo "--- commands received by sgsim"
cat "$work/commands.log"
echo "--- what sgsim holds"
tail -n +2 "$work/sgsim.out"
exit "$status"
