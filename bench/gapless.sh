#!/usr/bin/env bash
# Gapless playback, measured. One continuous 440 Hz tone is cut into three
# MP3 pieces (LAME) at offsets no MP3 frame lines up with, and played as a
# list by two players: the one built from BASELINE and the one of this tree.
# Each recording is read by gapless_figures: the silence and the largest
# step between neighbouring samples at each joint, beside the largest step
# inside the pieces (see bench/gapless_figures.cpp).
#
#   Linux, file output:  KESTRAFON_AUDIO_SINK=file:PATH, every sample counted
#                        (this tree only: the baseline has no file output)
#   Linux, PulseAudio:   the null sink of a sound server of our own, recorded
#   Windows under Wine:  the same null sink, recorded; this tree's recording
#                        is also searched for the pieces decoded each alone
#                        (bench/decode_alone.cpp), sample for sample, and
#                        the playing program's CPU time and private memory
#                        are read from /proc
#
# A sink left idle wakes late and leaves a hole in what is recorded, so
# silence is played into it throughout.
#
# usage: bench/gapless.sh [build dir] [Windows build dir]   (make bench-gapless)
# env:   BASELINE=<git ref> (default: the commit before gapless playback)
#        WIN_BASELINE=<git ref> (default: the last DirectShow build)
#        SKIP_WINDOWS=1 leaves Wine out
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath "${1:-$ROOT/build}")
WIN_BUILD=$(realpath "${2:-$ROOT/build-win}")
BASELINE=${BASELINE:-2d55527}
WIN_BASELINE=${WIN_BASELINE:-3aa9b2e}
FIGURES="$BUILD/bench/gapless_figures"
source "$ROOT/bench/lib/baseline_work.bash"
baseline_work gapless
unset DBUS_SESSION_BUS_ADDRESS  # never hand the files to a player already running

# --- the players: the baseline built in a worktree of its own -------------
echo "building the baseline ($BASELINE) ..."
git -C "$ROOT" worktree add --detach -q "$WORK/baseline" "$BASELINE"
cmake -S "$WORK/baseline" -B "$WORK/baseline/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBUILD_TESTING=OFF -DKESTRAFON_BENCH=OFF >/dev/null
cmake --build "$WORK/baseline/build" --target kestrafon >/dev/null
if [ -z "${SKIP_WINDOWS:-}" ]; then
  echo "building the Windows baseline ($WIN_BASELINE) ..."
  git -C "$ROOT" worktree add --detach -q "$WORK/win-baseline" "$WIN_BASELINE"
  cmake -S "$WORK/win-baseline" -B "$WORK/win-baseline/build-win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=OFF -DCMAKE_TOOLCHAIN_FILE="$WORK/win-baseline/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$WORK/win-baseline/build-win" --target kestrafon >/dev/null
  cmake --build "$WIN_BUILD" --target kestrafon decode_alone >/dev/null
fi

# --- the tone and its pieces ------------------------------------------------
RATE=44100
EDGES=(0 $((2 * RATE + 577)) $((4 * RATE - 1001)) $((6 * RATE + 777)))
cd "$WORK"
sox -q -r $RATE -c 2 -n -b 16 whole.wav synth "${EDGES[3]}s" sine 440 vol 0.3
FRAMES=()
for i in 1 2 3; do
  sox -q whole.wav "piece$i.wav" trim "${EDGES[i - 1]}s" "=${EDGES[i]}s"
  lame --quiet -b 128 "piece$i.wav" "piece$i.mp3"
  FRAMES+=($((EDGES[i] - EDGES[i - 1])))
done
PLAY_SECONDS=$((EDGES[3] / RATE + 4))

# --- a sound server with one sink that plays into nothing --------------------
source "$ROOT/tests/e2e/lib/null_sink.bash"
start_null_sink "$WORK" bench_sink
PIDS+=("$NULL_SINK_PID")
pacat --raw --format=s16le --rate=$RATE --channels=2 </dev/zero &
PIDS+=($!)

# record <file> <command...>: what the sink plays while the command runs.
record() {
  local out=$1
  shift
  parec -d bench_sink.monitor --raw --format=s16le --rate=$RATE --channels=2 >"$out" 2>/dev/null &
  local recorder=$!
  sleep 0.5
  "$@" >/dev/null 2>&1 || true
  kill "$recorder" 2>/dev/null || true
  wait "$recorder" 2>/dev/null || true
}
heard() {
  echo "$1"
  "$FIGURES" --heard "$2" | sed 's/^/    /'
}
play_linux() {
  env QT_QPA_PLATFORM=offscreen "${@:2}" timeout "$PLAY_SECONDS" "$1" piece1.mp3 piece2.mp3 piece3.mp3
}

echo
echo "Linux (GStreamer)"
env KESTRAFON_AUDIO_SINK="file:$WORK/file.raw" QT_QPA_PLATFORM=offscreen timeout "$PLAY_SECONDS" \
  "$BUILD/kestrafon" piece1.mp3 piece2.mp3 piece3.mp3 >/dev/null 2>&1 || true
echo "  this tree, file output:"
"$FIGURES" --exact "$WORK/file.raw" "${FRAMES[@]}" | sed 's/^/    /'
echo "  baseline, file output: not measured (the baseline has no file output)"
record "$WORK/linux-baseline.raw" play_linux "$WORK/baseline/build/kestrafon"
heard "  baseline, PulseAudio null sink:" "$WORK/linux-baseline.raw"
record "$WORK/linux-tree.raw" play_linux "$BUILD/kestrafon"
heard "  this tree, PulseAudio null sink:" "$WORK/linux-tree.raw"

[ -n "${SKIP_WINDOWS:-}" ] && exit 0

# --- Windows under Wine --------------------------------------------------------
export WINEPREFIX="$WORK/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1 || true
wineserver -w
play_wine() {
  xvfb-run -a -s "-screen 0 1024x768x24" timeout "$PLAY_SECONDS" wine "$1" \
    "Z:${WORK//\//\\}\\piece1.mp3" "Z:${WORK//\//\\}\\piece2.mp3" "Z:${WORK//\//\\}\\piece3.mp3"
  wineserver -k 2>/dev/null || true
  wineserver -w
}
# cost <name>: the CPU time and the largest private memory of the playing
# program (the process named <name>: Wine names it after the .exe), sampled
# until it ends.
cost() {
  local pid= ticks=0 peak=0 kb
  for _ in $(seq 100); do pid=$(pgrep -n -x "$1") && break; sleep 0.1; done
  [ -z "$pid" ] && { echo "    program not found"; return; }
  while [ -r "/proc/$pid/stat" ]; do
    ticks=$(awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null || echo "$ticks")
    kb=$(awk '/^RssAnon:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
    [ "${kb:-0}" -gt "$peak" ] && peak=$kb
    sleep 0.2
  done
  echo "    CPU $(awk -v t="$ticks" -v hz="$(getconf CLK_TCK)" 'BEGIN {printf "%.2f", t / hz}') s" \
    "over ${PLAY_SECONDS} s; private memory at most $((peak / 1024)) MiB"
}
wine_row() {
  local label=$1 exe=$2 raw=$3
  cost "$(basename "$exe")" >"$raw.cost" &
  local meter=$!
  record "$raw" play_wine "$exe"
  wait "$meter"
  heard "$label" "$raw"
  cat "$raw.cost"
}
echo
echo "Windows under Wine"
wine_row "  baseline (DirectShow, $WIN_BASELINE), PulseAudio null sink:" \
  "$WORK/win-baseline/build-win/kestrafon.exe" "$WORK/wine-baseline.raw"
wine_row "  this tree (one waveOut stream), PulseAudio null sink:" "$WIN_BUILD/kestrafon.exe" "$WORK/wine-tree.raw"
wine "$WIN_BUILD/decode_alone.exe" "Z:${WORK//\//\\}\\alone.raw" \
  "Z:${WORK//\//\\}\\piece1.mp3" "Z:${WORK//\//\\}\\piece2.mp3" "Z:${WORK//\//\\}\\piece3.mp3" >/dev/null 2>&1
echo "  this tree against the pieces decoded each alone:"
python3 "$ROOT/tests/windows/winsound/find_samples.py" "$WORK/wine-tree.raw" "$WORK/alone.raw" | sed 's/^/    /'
