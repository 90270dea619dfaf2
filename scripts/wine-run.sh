#!/usr/bin/env bash
# Runs a Windows program under Wine, quietly, in a Wine prefix of its own
# unless the caller gives one (WINEPREFIX), so no test touches ~/.wine.
# The first run in a new prefix creates it, which takes a few seconds.
set -euo pipefail
if [[ -z "${WINEPREFIX:-}" ]]; then
  WINEPREFIX="${TMPDIR:-/tmp}/kestrafon-wine-$(id -u)"
fi
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# Creating the prefix twice at once would clash: the first caller does it.
mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX/.kestrafon-lock"
flock 9
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
flock -u 9
exec wine "$@"
