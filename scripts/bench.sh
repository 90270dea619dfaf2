#!/usr/bin/env bash
# Runs every benchmark: the Google Benchmark programs in the build's bench/
# folder, then the shell harnesses in bench/ (start-up, and the player side
# by side with its peers while playing). The gapless and event-loop stall
# comparisons build a baseline and the Windows program, so they have targets
# of their own (`make bench-gapless`, `make bench-stall`).
set -euo pipefail
build=${1:-build}
for b in "$build"/bench/*_bench; do
  [ -x "$b" ] && [ -f "$b" ] || continue
  [ "$(basename "$b")" = soak_bench ] && continue
  echo "== $(basename "$b")"
  "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done
# The soak without waiting for the sound: the same engine, graphs and tick
# advance in seconds instead of minutes. `make soak` plays it in real time.
if [ -x "$build/bench/soak_bench" ]; then
  echo "== soak_bench --unpaced"
  "$build/bench/soak_bench" --tracks=1000 --unpaced
fi
for s in bench/*.sh; do
  case "$(basename "$s")" in gapless.sh | stall.sh) continue ;; esac
  [ -f "$s" ] || continue
  echo "== $(basename "$s")"
  bash "$s" "$build/kestrafon"
done
