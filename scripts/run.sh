#!/usr/bin/env bash
# Starts the player that `make run` has just built. Without a display there
# is nothing to show it on: say so in one line instead of letting Qt abort.
binary=${1:-build/kestrafon}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "kestrafon: no display found (DISPLAY and WAYLAND_DISPLAY are unset); start it from a desktop session" >&2
  exit 2
fi
shift || true
exec "$binary" "$@"
