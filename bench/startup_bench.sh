#!/usr/bin/env bash
# Start-up of the real player on a virtual display: from exec until the
# face is painted in its mapped window, and the resident memory once idle.
#   bench/startup_bench.sh [build/kestrafon] [runs]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath "${1:-$here/build/kestrafon}")
runs=${2:-15}
layout=$(dirname "$binary")/tests/e2e_layout
[ -x "$layout" ] || { echo "startup_bench: build the tests first ($layout missing)"; exit 1; }
source "$here/tests/e2e/lib/session.bash" "$binary" "$here" "$layout"
start_display

stats() { sort -n | awk '{v[NR] = $1} END {printf "median %.1f, min %.1f, max %.1f", v[int((NR + 1) / 2)], v[1], v[NR]}'; }

: >"$WORK/ms"
: >"$WORK/rss"
for ((run = 0; run <= runs; run++)); do
  start=$(date +%s%N)
  coproc PLAYER { KESTRAFON_TRACE_STARTUP=1 KESTRAFON_AUDIO_SINK=fake exec "$binary" 2>&1 >/dev/null; }
  pid=$PLAYER_PID
  painted=
  while read -r -t 10 line <&"${PLAYER[0]}"; do
    if [[ $line == *"first frame presented"* ]]; then painted=1; break; fi
  done
  end=$(date +%s%N)
  [ -n "$painted" ] || fail "the player never painted its first frame"
  sleep 2
  # The first run only warms the caches.
  if [ "$run" -gt 0 ]; then
    awk -v ns=$((end - start)) 'BEGIN {print ns / 1e6}' >>"$WORK/ms"
    awk '/^VmRSS/ {print $2 / 1024}' "/proc/$pid/status" >>"$WORK/rss"
  fi
  kill "$pid"
  wait "$pid" 2>/dev/null || true
done
echo "first frame after exec (ms, $runs warm runs): $(stats <"$WORK/ms")"
echo "idle resident memory (MB): $(stats <"$WORK/rss")"
