#!/usr/bin/env bash
# The Debian package as a user meets it: judged by lintian and the desktop's
# validators, installed with apt, the installed player started with a file
# (heard in a null sink, seen by playerctl), then purged without leaving a
# file behind.
#
# usage: deb_package.sh <kestrafon_*.deb> <source dir> <e2e_layout>
if [ -z "${KESTRAFON_E2E_OWN_BUS:-}" ]; then
  exec env KESTRAFON_E2E_OWN_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
DEB=$(realpath "$1")
source "$(dirname "$0")/../e2e/lib/session.bash" /usr/bin/kestrafon "$2" "$3"
source "$(dirname "$0")/../e2e/lib/null_sink.bash"
as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
rms() {
  timeout 1.2 parec -d kestrafon_sink.monitor --raw --format=s16le --rate=44100 --channels=2 >"$WORK/rec.raw" 2>/dev/null || true
  if [ ! -s "$WORK/rec.raw" ]; then echo 0; return; fi
  sox -t raw -r 44100 -e signed -b 16 -c 2 "$WORK/rec.raw" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'
}

# --- judged --------------------------------------------------------------------
lintian --fail-on error,warning "$DEB" >"$WORK/lintian.log" 2>&1 || fail "lintian: $(cat "$WORK/lintian.log")"
dpkg-deb -x "$DEB" "$WORK/root"
desktop-file-validate "$WORK/root/usr/share/applications/org.kestrafon.Kestrafon.desktop" ||
  fail "the desktop entry does not validate"
appstreamcli validate --no-net "$WORK/root/usr/share/metainfo/org.kestrafon.Kestrafon.metainfo.xml" >"$WORK/as.log" 2>&1 ||
  fail "the metainfo does not validate: $(cat "$WORK/as.log")"

# --- installed as a user installs it ------------------------------------------
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$DEB" >"$WORK/apt.log" 2>&1 ||
  fail "apt-get install failed: $(tail -n 5 "$WORK/apt.log")"
INSTALLED=$(dpkg -L kestrafon)
/usr/bin/kestrafon --version | grep -qx "kestrafon $(dpkg-deb -f "$DEB" Version)" || fail "--version does not say the package's version"

start_null_sink "$WORK" kestrafon_sink
PIDS+=("$NULL_SINK_PID")
make_mp3 "$WORK/tone.mp3" 20 440
start_display
(cd "$WORK" && exec /usr/bin/kestrafon tone.mp3) >"$WORK/player.log" 2>&1 &
PLAYER_PID=$!
PIDS+=("$PLAYER_PID")
wait_for 150 xdotool search --onlyvisible --name '^Form1$' || fail "the installed player showed no face"
wait_for 50 bash -c '[ "$(playerctl --player=kestrafon status 2>/dev/null)" = Playing ]' ||
  fail "playerctl does not see the installed player playing"
sleep 1.5
heard=$(rms)
echo "sink RMS: the installed player $heard"
awk -v a="$heard" 'BEGIN { exit !(a > 0.02) }' || fail "the installed player made no sound (RMS $heard)"
kill "$PLAYER_PID"
wait "$PLAYER_PID" 2>/dev/null || true

# --- purged: nothing it installed is left ---------------------------------------
as_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q kestrafon >>"$WORK/apt.log" 2>&1 || fail "apt-get purge failed"
while read -r path; do
  [ -f "$path" ] && fail "$path is left behind after the purge"
done <<<"$INSTALLED"
echo "PASS"
