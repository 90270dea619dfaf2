#!/usr/bin/env bash
# Runs a command with a sound server of its own whose one sink plays into
# nothing, so programs that open an audio device find one:
# with_sound_server.sh <command...>
set -euo pipefail
dir=$(mktemp -d /tmp/kestrafon-pulse.XXXXXX)
export XDG_RUNTIME_DIR="$dir/xdg" PULSE_SERVER="unix:$dir/pulse.sock"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-target=file:"$dir/pulse.log" \
  --load="module-null-sink sink_name=kestrafon_sink" \
  --load="module-native-protocol-unix socket=$dir/pulse.sock auth-anonymous=1" &
pulse=$!
trap 'kill $pulse 2>/dev/null; wait $pulse 2>/dev/null; rm -rf "$dir"' EXIT
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl set-default-sink kestrafon_sink
"$@"
