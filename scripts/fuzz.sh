#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in a build folder of their own and
# runs each on its seed corpus for a bounded time. A finding fails the script
# and prints the fuzzer's report.
set -euo pipefail
build=${1:-build-fuzz}; seconds=${2:-20}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKESTRAFON_FUZZ=ON >/dev/null
cmake --build "$build" -j 2 --target playlist_reader_fuzz mp3_frame_scan_fuzz track_tags_fuzz
run() {
  local target=$1 seeds=$2 max_len=$3
  local corpus="$build/corpus/$target" log="$build/$target.log"
  mkdir -p "$corpus"
  # New inputs go to the build's corpus; the committed seeds are only read.
  # Crash reproducers land in the build folder.
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=5 \
       -artifact_prefix="$build/$target-" "$corpus" "$seeds" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz: $target FAILED (reproducer in $build/)" >&2
    return 1
  fi
  tail -n 1 "$log"
  echo "fuzz: $target ran clean for ${seconds}s"
}
# Two at a time, one to a core; each fails the script on a finding.
run playlist_reader_fuzz fuzz/corpus_playlist 4096 &
first=$!
run mp3_frame_scan_fuzz fuzz/corpus_mp3 65536
wait "$first"
run track_tags_fuzz fuzz/corpus_tags 65536
