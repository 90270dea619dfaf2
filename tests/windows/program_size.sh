#!/usr/bin/env bash
# The program stays one small file: no C++ stream or locale machinery in
# it (one <fstream> or <filesystem> pulls in about 800 KB), and under
# 1 MiB in all.
#   program_size.sh <kestrafon.exe>
set -euo pipefail
size=$(stat -c %s "$1")
streams=$(strings "$1" | grep -c -E 'basic_filebuf|ios_base|numpunct' || true)
[ "$streams" -eq 0 ] || { echo "$1 holds the C++ stream library ($streams names)"; exit 1; }
[ "$size" -lt $((1024 * 1024)) ] || { echo "$1 is $size bytes"; exit 1; }
echo "$1: $size bytes"
