#!/usr/bin/env bash
# Builds the playlist-reader fuzz target with clang and runs it for a bounded time.
set -euo pipefail
build=${1:-build}; seconds=${2:-30}
if [ ! -f fuzz/playlist_reader_fuzz.cpp ]; then exit 0; fi
out="$build/fuzz"; mkdir -p "$out/corpus"
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
  fuzz/playlist_reader_fuzz.cpp $(ls src/model/playlist_file*.cpp src/model/ansi_text*.cpp) \
  -o "$out/playlist_reader_fuzz"
cp -n fuzz/corpus/* "$out/corpus/" 2>/dev/null || true
"$out/playlist_reader_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=5 "$out/corpus" 2>&1 | tail -n 3
echo "fuzz: playlist reader ran clean for ${seconds}s"
