#!/usr/bin/env bash
# The whole program's CPU and resident memory while it plays a 128 kbps MP3
# for 30 s on a virtual display, against gst-launch-1.0 playbin playing the
# same file into the same sink in the same run.
#   bench/playing_bench.sh [build/kestrafon]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath "${1:-$here/build/kestrafon}")
layout=$(dirname "$binary")/tests/e2e_layout
[ -x "$layout" ] || { echo "playing_bench: build the tests first ($layout missing)"; exit 1; }
source "$here/tests/e2e/lib/session.bash" "$binary" "$here" "$layout"
seconds=${KESTRAFON_BENCH_SECONDS:-30}

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
# CPU share of one core and RSS of a process over $seconds.
measure() {
  local pid=$1 hz t0 t1 start end
  hz=$(getconf CLK_TCK)
  t0=$(ticks "$pid")
  start=$(date +%s%N)
  sleep "$seconds"
  t1=$(ticks "$pid")
  end=$(date +%s%N)
  awk -v t="$((t1 - t0))" -v hz="$hz" -v ns="$((end - start))" -v rss="$(rss_kb "$pid")" \
    'BEGIN { printf "%.2f%% of one core, %.1f MB resident\n", 100 * t / hz / (ns / 1e9), rss / 1024 }'
}

make_mp3 "$WORK/track.mp3" $((seconds + 15)) 440
start_display

echo "gst-launch-1.0 playbin (fakesink, synced to the clock):"
gst-launch-1.0 -q playbin "uri=file://$WORK/track.mp3" audio-sink="fakesink sync=true" video-sink=fakesink \
  >/dev/null 2>&1 &
gst=$!
PIDS+=("$gst")
sleep 2
measure "$gst"
kill "$gst"

echo "kestrafon (same sink):"
start_player
open_playlist
click_at "$LIST_WID" $LIST_ADD
answer_dialog 'ファイルを選択' '"track.mp3"'
click_at "$WID" $CLICK_PLAY
sleep 2
measure "$PLAYER_PID"
