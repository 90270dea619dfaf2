#!/usr/bin/env bash
# The player next to its peers, in one run on one machine: each plays the
# same 128 kbps MP3 into a PulseAudio null sink on a virtual display.
#   bench/side_by_side.sh [build/kestrafon] [label=other/kestrafon ...]
# Extra label=binary arguments add more builds of the player to the same run
# (for before/after figures). Measured for each program:
#   - CPU % of one core and resident memory while playing: medians of
#     $KESTRAFON_BENCH_WINDOWS windows of $KESTRAFON_BENCH_SECONDS seconds;
#   - start-up, from exec to the first painted frame of the mapped window, and
#     idle resident memory 2 s later (before anything plays): medians of
#     $KESTRAFON_BENCH_STARTS runs.
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

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
median() { sort -n | awk '{v[NR] = $1} END {if (NR) print v[int((NR + 1) / 2)]; else print "-"}'; }

# CPU and RSS of process $2 while it plays, into results "$1.cpu" "$1.rss".
measure_playing() {
  local name=$1 pid=$2 hz t0 t1 start end w
  hz=$(getconf CLK_TCK)
  wait_for 100 plays_into_server "$pid" || fail "$name sends no sound to the server"
  sleep 2
  : >"$WORK/cpu" && : >"$WORK/rss"
  for ((w = 0; w < windows; w++)); do
    t0=$(ticks "$pid")
    start=$(date +%s%N)
    sleep "$seconds"
    t1=$(ticks "$pid")
    end=$(date +%s%N)
    awk -v t="$((t1 - t0))" -v hz="$hz" -v ns="$((end - start))" 'BEGIN { print 100 * t / hz / (ns / 1e9) }' >>"$WORK/cpu"
    awk -v kb="$(rss_kb "$pid")" 'BEGIN { print kb / 1024 }' >>"$WORK/rss"
  done
  plays_into_server "$pid" || fail "$name stopped playing before the end of the windows"
  median <"$WORK/cpu" >"$WORK/result.$name.cpu"
  median <"$WORK/rss" >"$WORK/result.$name.rss"
  if [ -n "${KESTRAFON_BENCH_SMAPS:-}" ]; then
    mkdir -p "$KESTRAFON_BENCH_SMAPS"
    cp "/proc/$pid/smaps" "$KESTRAFON_BENCH_SMAPS/$name.smaps"
    cp "/proc/$pid/smaps_rollup" "$KESTRAFON_BENCH_SMAPS/$name.smaps_rollup"
  fi
}

# Start-up and idle RSS of a windowed program, into "$1.start" "$1.idle".
# $2 is the line it prints once its first frame is on screen; the rest is the
# command line.
measure_startup() {
  local name=$1 painted_line=$2 run start end line painted pid
  shift 2
  : >"$WORK/ms" && : >"$WORK/idle"
  for ((run = 0; run <= starts; run++)); do
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
    # The first run only warms the caches.
    if [ "$run" -gt 0 ]; then
      awk -v ns=$((end - start)) 'BEGIN {print ns / 1e6}' >>"$WORK/ms"
      awk -v kb="$(rss_kb "$pid")" 'BEGIN { print kb / 1024 }' >>"$WORK/idle"
    fi
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  done
  median <"$WORK/ms" >"$WORK/result.$name.start"
  median <"$WORK/idle" >"$WORK/result.$name.idle"
}

# The player driven as a person would: its playlist button, Add, the file's
# name typed into the open dialog, Enter, then Play.
play_with_player() {
  local name=$1 bin=$2
  (cd "$WORK" && exec "$bin") >"$WORK/player.log" 2>&1 &
  PLAYER_PID=$!
  PIDS+=("$PLAYER_PID")
  wait_for 150 xdotool search --onlyvisible --name '^Form1$' || fail "$name: no window named Form1 appeared"
  WID=$(xdotool search --onlyvisible --name '^Form1$' | head -n 1)
  sleep 0.5
  open_playlist
  click_at "$LIST_WID" $LIST_ADD
  answer_dialog 'ファイルを選択' '"track.mp3"'
  click_at "$WID" $CLICK_PLAY
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

names=()
for entry in "${players[@]}"; do
  name=${entry%%=*}
  names+=("$name")
  measure_startup "$name" "first frame presented" env KESTRAFON_TRACE_STARTUP=1 "${entry#*=}"
  play_with_player "$name" "${entry#*=}"
done
names+=("gst-launch-1.0 playbin")
play_in_background "gst-launch-1.0 playbin" gst-launch-1.0 -q playbin "uri=file://$WORK/track.mp3"
names+=("bare Qt 6 + GStreamer")
measure_startup "bare Qt 6 + GStreamer" "floor: window painted" "$floor"
play_in_background "bare Qt 6 + GStreamer" "$floor" "$WORK/track.mp3"

value() { local f="$WORK/result.$1.$2"; if [ -s "$f" ]; then cat "$f"; else echo -; fi; }
# value $1 $2 printed with format $3, or "-" when there is none.
shown() {
  local v
  v=$(value "$1" "$2")
  if [ "$v" = - ]; then echo -; else awk -v v="$v" -v f="$3" 'BEGIN { printf f, v }'; fi
}
row() { printf '| %-40s | %8s | %8s | %8s | %8s |\n' "$@"; }
rule() { row "$(printf '%.0s-' {1..40})" -------- -------- -------- --------; }
echo
row "program" "CPU %" "RSS MB" "start ms" "idle MB"
rule
for name in "${names[@]}"; do
  row "$name" "$(shown "$name" cpu %.2f)" "$(shown "$name" rss %.1f)" "$(shown "$name" start %.0f)" \
    "$(shown "$name" idle %.1f)"
done
# Not installed here: their figures from an earlier run on a 2-core Debian 12
# machine, for reference only.
row "Audacious (quoted, not run)" "1.17" "38.4" "63" "38.3"
row "qmmp (quoted, not run)" "2.00" "115.0" "101" "93.7"
row "mpg123 (quoted, not run)" "0.27" "6.6" "-" "-"

ratio() {
  local a b
  a=$(value "$1" "$3")
  b=$(value "$2" "$3")
  if [ "$a" = - ] || [ "$b" = - ]; then echo -; else awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", a / b }'; fi
}
echo
row "ratio" "CPU" "RSS" "start" "idle"
rule
for player in "${players[@]}"; do
  p=${player%%=*}
  for peer in "${names[@]}"; do
    [ "$peer" = "$p" ] && continue
    row "$p / $peer" "$(ratio "$p" "$peer" cpu)" "$(ratio "$p" "$peer" rss)" \
      "$(ratio "$p" "$peer" start)" "$(ratio "$p" "$peer" idle)"
  done
done
