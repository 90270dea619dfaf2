#!/usr/bin/env bash
# Runs a command with a virtual display and a sound server of its own (one
# sink that plays into nothing), so a Windows program under Wine can make
# windows and open an audio device: with_test_desktop.sh <command...>
set -euo pipefail
dir=$(mktemp -d /tmp/kestrafon-desktop.XXXXXX)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$dir"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$dir/display")"

source "$(dirname "$0")/../e2e/lib/null_sink.bash"
start_null_sink "$dir" kestrafon_sink
pids+=("$NULL_SINK_PID")
"$@"
