#!/usr/bin/env bash
# MP3 files for the Windows platform tests, made on the build machine:
# make_fixtures.sh <directory>
set -euo pipefail
mkdir -p "$1"
cd "$1"
tone() { sox -V1 -q -n -r 44100 -c 2 -t wav - synth "$1" sine 440 vol 0.3 | lame --quiet --cbr -b 128 - "$2"; }
tone 1 tone1s.mp3
tone 4 tone4s.mp3
echo 'not a sound' >not_audio.mp3

# For the Media Foundation source: one sweep (a different one in each
# channel) in each format it may decode, the compressed ones made from the
# 16-bit WAV, a mono file at another rate, and text named like a WAV.
sweep() { sox -V1 -r 44100 -n -c 2 -b "$1" "$2" synth 101299s sine 200-3000 sine 300-5000 vol 0.5; }
sweep 16 mf_sweep16.wav
sweep 24 mf_sweep24.wav
sox -V1 -r 22050 -n -c 1 -b 16 mf_mono22k.wav synth 30011s sine 440 vol 0.5
sox -V1 mf_sweep16.wav mf_sweep.flac
sox -V1 mf_sweep16.wav mf_sweep.ogg
lame --quiet mf_sweep16.wav mf_sweep.mp3
echo 'not a sound' >mf_not_audio.wav

# For the MP3 source: sweeps, rising on the left and falling on the right,
# each stretch unlike any other, so that a decoded file lines up with its
# source to the sample. mp3_sweep <name> <rate> <channels> <lame options...>
# makes <name>.wav and <name>.mp3.
mp3_sweep() {
  local name=$1 rate=$2 channels=$3 top=$(($2 * 3 / 10))
  shift 3
  sox -V1 -q -n -r "$rate" -c "$channels" -b 16 "$name.wav" synth 1.5 sine "100-$top" sine "$top-100" vol 0.3
  lame --quiet "$@" "$name.wav" "$name.mp3"
}
mp3_sweep mp3_cbr 44100 2 --cbr -b 128
mp3_sweep mp3_vbr 44100 2 -V 4
mp3_sweep mp3_plain 44100 2 -t --cbr -b 128  # no Xing/LAME frame
mp3_sweep mp3_mpeg2 22050 1 -b 64
mp3_sweep mp3_mpeg25 8000 1 -b 24  # the smallest rate whose frame holds a LAME header
convert -size 8x8 xc:orange mp3_cover.png
mp3_sweep mp3_tagged 44100 2 --cbr -b 128 --tt x --add-id3v2 --ti mp3_cover.png  # ID3v2 with a picture, and ID3v1
