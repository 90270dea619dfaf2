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
