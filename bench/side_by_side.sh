#!/usr/bin/env bash
# The player next to its peers, in one run on one machine: each plays the
# same 128 kbps MP3 into a PulseAudio null sink on a virtual display.
#   bench/side_by_side.sh [build/kestrafon] [label=other/kestrafon ...]
# Extra label=binary arguments add more builds of the player to the same run
# (for before/after figures). Measured for each program:
#   - CPU % of one core, resident, proportional (PSS) and private dirty
#     memory while playing (the player plays a file given on its command
#     line, so no dialog has been open):
#     medians of $KESTRAFON_BENCH_WINDOWS windows of $KESTRAFON_BENCH_SECONDS s;
#   - start-up, from exec to the first painted frame of the mapped window, and
#     idle resident memory 2 s later (before anything plays): medians of
#     $KESTRAFON_BENCH_STARTS runs, the programs taking turns so that a change
#     in the machine's load falls on all of them alike.
# KESTRAFON_BENCH_SMAPS=dir keeps /proc/PID/smaps of each program while it plays.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath "${1:-$here/build/kestrafon}")
build=$(dirname "$binary")
layout=$build/tests/e2e_layout
floor=$build/bench/floor/qt_gst_floor
for need in "$layout" "$floor"; do
  [ -x "$need" ] || { echo "side_by_side: build it first ($need missing)"; exit 1; }
done
players=("kestrafon=$binary")
for extra in "${@:2}"; do players+=("${extra%%=*}=$(realpath "${extra#*=}")"); done

windows=${KESTRAFON_BENCH_WINDOWS:-3}
seconds=${KESTRAFON_BENCH_SECONDS:-10}
starts=${KESTRAFON_BENCH_STARTS:-5}
source "$here/tests/e2e/lib/session.bash" "$binary" "$here" "$layout"

# A sound server of our own with one null sink: the programs' sound takes the
# real output path (client library, socket, server mixing) and nobody hears it.
start_sound_server() {
  export XDG_RUNTIME_DIR=$WORK/run
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse.sock
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disallow-exit \
    --load="module-null-sink sink_name=bench" \
    --load="module-native-protocol-unix socket=$XDG_RUNTIME_DIR/pulse.sock auth-anonymous=1" \
    >"$WORK/pulseaudio.log" 2>&1 &
  PIDS+=($!)
  wait_for 100 pactl info || fail "pulseaudio did not start ($(tail -n 3 "$WORK/pulseaudio.log"))"
}

# Whether the process $1 has a stream playing into the server.
plays_into_server() {
  pactl list sink-inputs | grep -q "application.process.id = \"$1\""
}

# Nanoseconds on a CPU of all the threads of process $1.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ns += $1} END {printf "%.0f", ns}'; }
rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
median() { sort -n | awk '{v[NR] = $1} END {if (NR) print v[int((NR + 1) / 2)]; else print "-"}'; }

dirty_kb() { awk '/^Private_Dirty/ {print $2}' "/proc/$1/smaps_rollup"; }
pss_kb() { awk '/^Pss:/ {print $2}' "/proc/$1/smaps_rollup"; }

# CPU and memory of process $2 while it plays, into results "$1.cpu",
# "$1.rss", "$1.pss" and "$1.dirty".
measure_playing() {
  local name=$1 pid=$2 t0 t1 start end w
  wait_for 100 plays_into_server "$pid" || fail "$name sends no sound to the server"
  sleep 2
  : >"$WORK/cpu" && : >"$WORK/rss" && : >"$WORK/pss" && : >"$WORK/dirty"
  for ((w = 0; w < windows; w++)); do
    t0=$(cpu_ns "$pid")
    start=$(date +%s%N)
    sleep "$seconds"
    t1=$(cpu_ns "$pid")
    end=$(date +%s%N)
    awk -v t="$((t1 - t0))" -v ns="$((end - start))" 'BEGIN { print 100 * t / ns }' >>"$WORK/cpu"
    awk -v kb="$(rss_kb "$pid")" 'BEGIN { print kb / 1024 }' >>"$WORK/rss"
    awk -v kb="$(pss_kb "$pid")" 'BEGIN { print kb / 1024 }' >>"$WORK/pss"
    awk -v kb="$(dirty_kb "$pid")" 'BEGIN { print kb / 1024 }' >>"$WORK/dirty"
  done
  plays_into_server "$pid" || fail "$name stopped playing before the end of the windows"
  median <"$WORK/cpu" >"$WORK/result.$name.cpu"
  median <"$WORK/rss" >"$WORK/result.$name.rss"
  median <"$WORK/pss" >"$WORK/result.$name.pss"
  median <"$WORK/dirty" >"$WORK/result.$name.dirty"
  if [ -n "${KESTRAFON_BENCH_SMAPS:-}" ]; then
    mkdir -p "$KESTRAFON_BENCH_SMAPS"
    cp "/proc/$pid/smaps" "$KESTRAFON_BENCH_SMAPS/$name.smaps"
    cp "/proc/$pid/smaps_rollup" "$KESTRAFON_BENCH_SMAPS/$name.smaps_rollup"
  fi
}

# One start of a windowed program: the time to its first painted frame and
# its resident memory 2 s later, appended to "$1.ms" and "$1.idle" (a run
# with $2 = warm only warms the caches). $3 is the line it prints once its
# first frame is on screen; the rest is the command line.
start_once() {
  local name=$1 keep=$2 painted_line=$3 start end line painted pid
  shift 3
  start=$(date +%s%N)
  coproc STARTED { cd "$WORK" && exec "$@" 2>&1 >/dev/null; }
  pid=$STARTED_PID
  painted=
  while read -r -t 10 line <&"${STARTED[0]}"; do
    if [[ $line == *"$painted_line"* ]]; then painted=1; break; fi
  done
  end=$(date +%s%N)
  [ -n "$painted" ] || fail "$name never painted its first frame"
  sleep 2
  if [ "$keep" != warm ]; then
    awk -v ns=$((end - start)) 'BEGIN {print ns / 1e6}' >>"$WORK/$name.ms"
    awk -v kb="$(rss_kb "$pid")" 'BEGIN { print kb / 1024 }' >>"$WORK/$name.idle"
  fi
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

# The player started with the file on its command line: it adds and plays
# it, and no dialog has touched its memory.
play_with_player() {
  local name=$1 bin=$2
  (cd "$WORK" && exec "$bin" track.mp3) >"$WORK/player.log" 2>&1 &
  PLAYER_PID=$!
  PIDS+=("$PLAYER_PID")
  wait_for 150 xdotool search --onlyvisible --name '^Form1$' || fail "$name: no window named Form1 appeared"
  measure_playing "$name" "$PLAYER_PID"
  kill "$PLAYER_PID"
  wait "$PLAYER_PID" 2>/dev/null || true
}

play_in_background() {
  local name=$1 pid
  shift
  "$@" >/dev/null 2>&1 &
  pid=$!
  PIDS+=("$pid")
  measure_playing "$name" "$pid"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

echo "side by side: ${windows} x ${seconds} s playing windows, ${starts} starts each (load: $(cut -d' ' -f1-3 /proc/loadavg))"
make_mp3 "$WORK/track.mp3" $((windows * seconds + 60)) 440
start_display
start_sound_server

floor_name="bare Qt 6 + GStreamer"
names=()
for entry in "${players[@]}"; do names+=("${entry%%=*}"); done
# Start-ups first, the programs taking turns; the first round only warms up.
for ((run = 0; run <= starts; run++)); do
  keep=$([ "$run" = 0 ] && echo warm || echo keep)
  for entry in "${players[@]}"; do
    start_once "${entry%%=*}" "$keep" "first frame presented" env KESTRAFON_TRACE_STARTUP=1 "${entry#*=}"
  done
  start_once "$floor_name" "$keep" "floor: window painted" "$floor"
done
for name in "${names[@]}" "$floor_name"; do
  median <"$WORK/$name.ms" >"$WORK/result.$name.start"
  median <"$WORK/$name.idle" >"$WORK/result.$name.idle"
done

for entry in "${players[@]}"; do play_with_player "${entry%%=*}" "${entry#*=}"; done
names+=("gst-launch-1.0 playbin")
play_in_background "gst-launch-1.0 playbin" gst-launch-1.0 -q playbin "uri=file://$WORK/track.mp3"
names+=("$floor_name")
play_in_background "$floor_name" "$floor" "$WORK/track.mp3"

value() { local f="$WORK/result.$1.$2"; if [ -s "$f" ]; then cat "$f"; else echo -; fi; }
# value $1 $2 printed with format $3, or "-" when there is none.
shown() {
  local v
  v=$(value "$1" "$2")
  if [ "$v" = - ]; then echo -; else awk -v v="$v" -v f="$3" 'BEGIN { printf f, v }'; fi
}
row() { printf '| %-40s | %8s | %8s | %8s | %8s | %8s | %8s |\n' "$@"; }
rule() { row "$(printf '%.0s-' {1..40})" -------- -------- -------- -------- -------- --------; }
echo
row "program" "CPU %" "RSS MB" "PSS MB" "dirty MB" "start ms" "idle MB"
rule
for name in "${names[@]}"; do
  row "$name" "$(shown "$name" cpu %.2f)" "$(shown "$name" rss %.1f)" "$(shown "$name" pss %.1f)" \
    "$(shown "$name" dirty %.1f)" "$(shown "$name" start %.0f)" "$(shown "$name" idle %.1f)"
done
# Not installed here: their figures from an earlier run on a 2-core Debian
# 12 machine (3 x 30 s windows), for reference only.
quoted=()
while read -r name cpu rss start idle; do
  name="$name (quoted, not run)"
  quoted+=("$name")
  for field in cpu rss start idle; do
    [ "${!field}" = - ] || echo "${!field}" >"$WORK/result.$name.$field"
  done
  row "$name" "$cpu" "$rss" - - "$start" "$idle"
done <<'EOF'
Audacious 1.17 38.4 63 38.3
qmmp 2.00 115.0 101 93.7
mpg123 0.27 6.6 - -
EOF

ratio() {
  local a b
  a=$(value "$1" "$3")
  b=$(value "$2" "$3")
  if [ "$a" = - ] || [ "$b" = - ]; then echo -; else awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", a / b }'; fi
}
echo
row "ratio" "CPU" "RSS" "PSS" "dirty" "start" "idle"
rule
for peer in "${names[@]:1}" "${quoted[@]}"; do
  row "${names[0]} / $peer" "$(ratio "${names[0]}" "$peer" cpu)" "$(ratio "${names[0]}" "$peer" rss)" \
    "$(ratio "${names[0]}" "$peer" pss)" "$(ratio "${names[0]}" "$peer" dirty)" "$(ratio "${names[0]}" "$peer" start)" "$(ratio "${names[0]}" "$peer" idle)"
done
