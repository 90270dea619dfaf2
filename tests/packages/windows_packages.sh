#!/usr/bin/env bash
# The Windows installer and the portable zip as a user meets them, under Wine
# in a fresh prefix: the installer's /S installs per user (files, Start-menu
# shortcut, uninstaller and "Open with" in the registry), a .kfl opened
# through its association plays, an upgrade and the uninstaller's /S close
# the running player first, the uninstaller leaves no key or file of ours;
# the zip's exe plays a file from its own folder and writes nothing there; an
# upgrade goes into the folder the first install chose.
#
# usage: windows_packages.sh <setup.exe> <portable.zip> <source dir> <e2e_layout>
SETUP=$(realpath "$1")
ZIP=$(realpath "$2")
export WINEPREFIX
WINEPREFIX=$(mktemp -d /tmp/kestrafon-wine-packages.XXXXXX)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
source "$(dirname "$0")/../e2e/lib/session.bash" "$SETUP" "$3" "$4"
source "$(dirname "$0")/../e2e/lib/null_sink.bash"
trap 'cleanup; wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
rms() {
  timeout 1.2 parec -d kestrafon_sink.monitor --raw --format=s16le --rate=44100 --channels=2 >"$WORK/rec.raw" 2>/dev/null || true
  if [ ! -s "$WORK/rec.raw" ]; then echo 0; return; fi
  sox -t raw -r 44100 -e signed -b 16 -c 2 "$WORK/rec.raw" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'
}
heard() { awk -v a="$(rms)" 'BEGIN { exit !(a > 0.02) }'; }
ours() { grep -i -E 'kestrafon' "$1" || true; }

# The prefix is made before the display exists, so that no Wine process
# outlives its making.
wineboot -i >/dev/null 2>&1 || true
wineserver -w
start_display
start_null_sink "$WORK" kestrafon_sink
PIDS+=("$NULL_SINK_PID")
timeout 60 wine reg export HKCU "$WORK/before.reg" >/dev/null 2>&1 || fail "no registry export before"
[ -z "$(ours "$WORK/before.reg")" ] || fail "a fresh prefix already names Kestrafon"

# --- installed silently, per user ---------------------------------------------
# wine returns once the installer has ended.
timeout 120 wine "$SETUP" /S >"$WORK/setup.log" 2>&1 || fail "the installer failed ($?): $(tail -n 5 "$WORK/setup.log")"
USER_DIR=$(find "$WINEPREFIX/drive_c/users" -maxdepth 1 -mindepth 1 -type d ! -name Public | head -n 1)
INSTDIR="$USER_DIR/AppData/Local/Programs/Kestrafon"
[ -f "$INSTDIR/kestrafon.exe" ] && [ -f "$INSTDIR/uninstall.exe" ] || fail "nothing installed in $INSTDIR"
[ -f "$USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kestrafon.lnk" ] || fail "no Start-menu shortcut"
query() { wine reg query "$1" ${2:+/v "$2"} 2>/dev/null | tr -d '\r'; }
query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrafon' DisplayVersion | grep -q "$(basename "$SETUP" | sed 's/kestrafon-//; s/-setup.exe//')" ||
  fail "the uninstaller is not registered with the version"
query 'HKCU\Software\Classes\Applications\kestrafon.exe\SupportedTypes' | grep -q '\.kfl' || fail "no SupportedTypes"
query 'HKCU\Software\Classes\.kfl' | grep -q 'Kestrafon.Playlist' || fail ".kfl is not ours"
query 'HKCU\Software\Classes\.mp3\OpenWithProgids' | grep -q 'Kestrafon.MP3' || fail ".mp3 does not offer the player"
for class in 'Applications\kestrafon.exe' Kestrafon.Playlist Kestrafon.MP3; do
  query "HKCU\\Software\\Classes\\$class\\shell\\open" MultiSelectModel | grep -q Player || fail "$class hides Open past 15 files"
done

# Starts <exe> on <argument> and waits for its face and its sound.
starts_and_is_heard() {
  local who=$1 exe=$2 argument=$3
  (cd "$WORK" && exec wine "$exe" "$argument") >"$WORK/start.log" 2>&1 &
  PLAYER_PID=$!
  PIDS+=($!)
  wait_for 300 find_window "$FACE_W" "$FACE_H" || fail "$who showed no face"
  sleep 2
  heard || fail "$who made no sound"
}
player_gone() { ! kill -0 "$PLAYER_PID" 2>/dev/null; }
# The zip holds the exe the installer installs: an upgrade's result is compared with it.
mkdir -p "$WORK/portable"
unzip -q "$ZIP" -d "$WORK/portable"
PORTABLE=$(find "$WORK/portable" -name kestrafon.exe)

# --- a playlist opened through its association plays ---------------------------
make_mp3 "$WORK/tone.mp3" 20 440
printf 'Z:%s\r\n' "${WORK//\//\\}\\tone.mp3" >"$WORK/list.kfl"
# The command the association registered, with the playlist for its %1.
command=$(query 'HKCU\Software\Classes\Kestrafon.Playlist\shell\open\command' | sed -n 's/.*REG_SZ *//p')
exe=$(sed -n 's/^"\([^"]*\)".*/\1/p' <<<"$command")
[[ "$command" == *'"%1"'* ]] && [ -n "$exe" ] || fail "the registered command is '$command'"
# A byte more tells the old exe from the new one; the player runs all the same.
printf old >>"$INSTDIR/kestrafon.exe"
starts_and_is_heard "the associated player" "$exe" "Z:${WORK//\//\\}\\list.kfl"

# --- an upgrade and the uninstaller close the running player first -------------
timeout 120 wine "$SETUP" /S >"$WORK/setup.log" 2>&1 || fail "the upgrade beside a running player failed ($?)"
wait_for 50 player_gone || fail "the upgrade left the player running"
cmp -s "$INSTDIR/kestrafon.exe" "$PORTABLE" || fail "the upgrade left the old kestrafon.exe"
starts_and_is_heard "the upgraded player" "$exe" "Z:${WORK//\//\\}\\list.kfl"

# --- uninstalled silently: nothing of ours is left ------------------------------
# The uninstaller copies itself away and runs from there: wait for its work.
timeout 120 wine "$INSTDIR/uninstall.exe" /S >"$WORK/uninstall.log" 2>&1 || fail "the uninstaller failed"
wait_for 200 bash -c "[ ! -e '$INSTDIR/kestrafon.exe' ]" || fail "kestrafon.exe is left behind"
[ ! -e "$INSTDIR" ] || fail "the install folder is left behind: $(ls -A "$INSTDIR")"
[ ! -e "$USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kestrafon.lnk" ] || fail "the shortcut is left behind"
sleep 1
timeout 60 wine reg export HKCU "$WORK/after.reg" >/dev/null 2>&1 || fail "no registry export after"
[ -z "$(ours "$WORK/after.reg")" ] || fail "keys of ours are left behind: $(ours "$WORK/after.reg")"

# --- the portable zip plays from its own folder and writes nothing there ---------
chmod -R a-w "$WORK/portable"
before=$(find "$WORK/portable" -printf '%p %s %T@\n' | sort)
starts_and_is_heard "the portable player" "$PORTABLE" "Z:${WORK//\//\\}\\tone.mp3"
wineserver -k
sleep 1
[ "$(find "$WORK/portable" -printf '%p %s %T@\n' | sort)" = "$before" ] || fail "the portable player wrote into its folder"
timeout 60 wine reg export HKCU "$WORK/portable.reg" >/dev/null 2>&1 || fail "no registry export after the portable run"
[ -z "$(ours "$WORK/portable.reg")" ] || fail "the portable player wrote into the registry: $(ours "$WORK/portable.reg")"
chmod -R u+w "$WORK/portable"

# --- an upgrade goes where the first install went ------------------------------
timeout 120 wine "$SETUP" /S '/D=C:\Players\Kestrafon' >"$WORK/setup.log" 2>&1 || fail "the install into a chosen folder failed"
CUSTOM="$WINEPREFIX/drive_c/Players/Kestrafon"
printf old >>"$CUSTOM/kestrafon.exe"
timeout 120 wine "$SETUP" /S >"$WORK/setup.log" 2>&1 || fail "the upgrade of a chosen folder failed"
cmp -s "$CUSTOM/kestrafon.exe" "$PORTABLE" || fail "the upgrade left the chosen folder old"
[ ! -e "$INSTDIR" ] || fail "the upgrade made a second copy in $INSTDIR"
echo "PASS"
