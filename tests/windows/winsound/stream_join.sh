#!/usr/bin/env bash
# A sweep cut into three MP3 pieces, at offsets no MP3 frame lines up with, is
# played as one list by the Windows stream (under Wine) into the test's null
# sink, and recorded from the sink's monitor. Every sample of the pieces,
# each decoded alone and at the gain its ReplayGain tag asks for (-6.02 dB,
# -3 dB, none), must come out of the sound server in order, with nothing
# missing and nothing between them.
#   stream_join.sh <wine runner> <winsound_tests.exe>   (inside with_test_desktop.sh)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d /tmp/kestrafon-join.XXXXXX)
recorder= silence=
cleanup() {
  [ -n "$recorder" ] && kill "$recorder" 2>/dev/null
  [ -n "$silence" ] && kill "$silence" 2>/dev/null
  if [ -n "${KESTRAFON_KEEP_JOIN:-}" ]; then echo "kept $dir"; else rm -rf "$dir"; fi
}
trap cleanup EXIT
cd "$dir"

edges=(0 44677 87199 132633)
# A sweep, so that no stretch of it looks like another.
sox -q -r 44100 -c 2 -n -b 16 whole.wav synth "${edges[3]}s" sine 300-3000 vol 0.3
gains=("-6.02 dB" "-3.00 dB" "")
for i in 1 2 3; do
  sox -q whole.wav "piece$i.wav" trim "${edges[i - 1]}s" "=${edges[i]}s"
  tag=()
  [ -n "${gains[i - 1]}" ] && tag=(--tv "TXXX=REPLAYGAIN_TRACK_GAIN=${gains[i - 1]}")
  lame --quiet --noreplaygain -b 128 "${tag[@]}" "piece$i.wav" "piece$i.mp3"
done

# Silence keeps the sink running: a sink that wakes from idle when the
# player starts would leave a hole in the recording, not in what played.
pacat --raw --format=s16le --rate=44100 --channels=2 </dev/zero &
silence=$!
parec -d kestrafon_sink.monitor --raw --format=s16le --rate=44100 --channels=2 >heard.raw &
recorder=$!
sleep 0.3
wine_dir="Z:${dir//\//\\}"
KESTRAFON_JOIN_PIECES="$wine_dir" KESTRAFON_JOIN_EXPECTED="$wine_dir\\expected.raw" \
  "$1" "$2" --gtest_filter='StreamJoin.*'
sleep 1  # what the device played is still on its way through the server
kill "$recorder"
wait "$recorder" 2>/dev/null || true
recorder=
python3 "$here/find_samples.py" heard.raw expected.raw
