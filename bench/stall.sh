#!/usr/bin/env bash
# The longest stall of the window's event loop while 20 tracks play through,
# with presses and edits on the way (bench/loop_stall.cpp), for the player
# built from BASELINE and for this tree; on Linux and, unless SKIP_WINDOWS
# is set, on Windows under Wine. The same benchmark source is built into
# both trees. On Linux it runs once more with the last track on a slow
# medium: strace delays every system call on that file by 1.5 s.
#
# usage: bench/stall.sh [build dir] [Windows build dir]   (make bench-stall)
# env:   BASELINE=<git ref> (default: the commit before the media side told
#        the core what happened), SKIP_WINDOWS=1, RUNS (default 3)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath "${1:-$ROOT/build}")
WIN_BUILD=$(realpath "${2:-$ROOT/build-win}")
BASELINE=${BASELINE:-4dadc94}
RUNS=${RUNS:-3}
source "$ROOT/bench/lib/baseline_work.bash"
baseline_work stall

echo "building the baseline ($BASELINE) with the benchmark ..."
git -C "$ROOT" worktree add --detach -q "$WORK/baseline" "$BASELINE"
cp "$ROOT/bench/loop_stall.cpp" "$WORK/baseline/bench/"
cmake -S "$WORK/baseline" -B "$WORK/baseline/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBUILD_TESTING=OFF -DKESTRAFON_BENCH=ON >/dev/null
cmake --build "$WORK/baseline/build" --target loop_stall >/dev/null
cmake --build "$BUILD" --target loop_stall >/dev/null

# 20 tracks of 1.5 s.
mkdir "$WORK/tracks"
for i in $(seq -w 1 20); do
  sox -q -n -r 44100 -c 2 -b 16 "$WORK/tracks/t$i.wav" synth 1.5 sine 440 vol 0.3
  lame --quiet -b 128 "$WORK/tracks/t$i.wav" "$WORK/tracks/t$i.mp3"
done
TRACKS=("$WORK"/tracks/t*.mp3)

# A run that gives up (the list never played through) still prints its figures.
runs() {
  for _ in $(seq "$RUNS"); do { "$@" 2>/dev/null || true; } | sed 's/^/    /'; done
}
echo
echo "Linux (GStreamer, a silent sink on the clock)"
echo "  baseline:"
KESTRAFON_AUDIO_SINK=fake runs "$WORK/baseline/build/bench/loop_stall" "${TRACKS[@]}"
echo "  this tree:"
KESTRAFON_AUDIO_SINK=fake runs "$BUILD/bench/loop_stall" "${TRACKS[@]}"

SLOW=${TRACKS[-1]}
slow() {
  { KESTRAFON_AUDIO_SINK=fake strace -f -qq -o /dev/null -P "$SLOW" -e inject=all:delay_enter=1500000 "$@" \
    "${TRACKS[@]}" 2>/dev/null || true; } | sed 's/^/    /'
}
echo
echo "Linux, the last track (added while playing) on a slow medium"
echo "  baseline:"
slow "$WORK/baseline/build/bench/loop_stall"
echo "  this tree:"
slow "$BUILD/bench/loop_stall"

[ -n "${SKIP_WINDOWS:-}" ] && exit 0

# The benchmark's Windows program, as this tree's build describes it.
# A baseline from before the sound stream plays through DirectShow.
media_lib=kestrafon_winsound
[ -d "$WORK/baseline/src/platform/winsound" ] || media_lib=kestrafon_dshow
sed -n '/^# The event-loop stall benchmark/,/^$/p' "$ROOT/cmake/windows.cmake" |
  sed "s/kestrafon_winsound/$media_lib/" >>"$WORK/baseline/cmake/windows.cmake"
cmake -S "$WORK/baseline" -B "$WORK/baseline/build-win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$WORK/baseline/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$WORK/baseline/build-win" --target loop_stall >/dev/null
cmake --build "$WIN_BUILD" --target loop_stall >/dev/null

# Wine's sound needs a sound server: one with a sink that plays into nothing.
source "$ROOT/tests/e2e/lib/null_sink.bash"
start_null_sink "$WORK" bench_sink
PIDS+=("$NULL_SINK_PID")
export WINEPREFIX="$WORK/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1 || true
wineserver -w
WINE_TRACKS=()
for t in "${TRACKS[@]}"; do WINE_TRACKS+=("Z:${t//\//\\}"); done
echo
echo "Windows (under Wine)"
echo "  baseline:"
runs xvfb-run -a wine "$WORK/baseline/build-win/loop_stall.exe" "${WINE_TRACKS[@]}"
echo "  this tree:"
runs xvfb-run -a wine "$WIN_BUILD/loop_stall.exe" "${WINE_TRACKS[@]}"
