#!/usr/bin/env bash
# The program icon holds an image for every size Windows asks for at the
# usual scales (100 % to 200 %: 16, 20, 24, 28, 32, 40, 48), so none is
# scaled and blurred, and the 256 px one Explorer shows.
#   icon_sizes.sh <kestrafon.ico>
set -euo pipefail
sizes=" $(identify -format '%w ' "$1")"
missing=()
for size in 16 20 24 28 32 40 48 256; do
  [[ "$sizes" == *" $size "* ]] || missing+=("$size")
done
[ ${#missing[@]} -eq 0 ] || { echo "no ${missing[*]} px image in $1 (it holds:$sizes)"; exit 1; }
echo "icon sizes:$sizes"
