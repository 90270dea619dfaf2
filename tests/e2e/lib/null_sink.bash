# A sound server of our own with one sink that plays into nothing: a
# program's sound takes the real output path (client library, socket,
# server mixing) and nobody hears it.
#
# start_null_sink <dir> <sink name>: starts it with its socket and log in
# <dir>, exports what its clients need, makes the sink the default and
# leaves the server's pid in NULL_SINK_PID. Fails when it does not answer.
start_null_sink() {
  local dir=$1 sink=$2 _
  export XDG_RUNTIME_DIR="$dir/xdg" PULSE_SERVER="unix:$dir/pulse.sock"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-target=file:"$dir/pulse.log" \
    --load="module-null-sink sink_name=$sink" \
    --load="module-native-protocol-unix socket=$dir/pulse.sock auth-anonymous=1" &
  NULL_SINK_PID=$!
  for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl set-default-sink "$sink"
}
