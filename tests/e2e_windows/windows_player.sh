#!/usr/bin/env bash
# The Windows program under Wine on a virtual display with a window manager,
# a tray and a sound server that plays into nothing: the player's window,
# the playlist window, the open and save dialogs, sound on Play and silence
# on Stop, the saved bytes, the tray round trip and a clean exit.
#
# Then the ways in from outside: a media key, a second launch that hands
# its file over, and a start with two files on the command line, played one
# after the other with a short joint.
#
# usage: windows_player.sh <kestrafon.exe> <source dir> <e2e_layout.exe> <window_rects.exe> <send_media_key.exe>
set -euo pipefail
EXE=$(realpath "$1")
LAYOUT_EXE=$(realpath "$3")
RECTS_EXE=$(realpath "$4")
MEDIA_KEY_EXE=$(realpath "$5")
# Where Wine believes the player's windows are ("x y w h" lines).
wine_rects() { wine "$RECTS_EXE" | tr -d '\r' | tr '\n' ';'; }

# A Wine prefix of this run's own, made once (it takes a few seconds).
export WINEPREFIX
WINEPREFIX=$(mktemp -d /tmp/kestrafon-wine-e2e.XXXXXX)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1 || true
wineserver -w  # until the new prefix has settled

# The face layout, printed by the same tables the program uses.
LAYOUT_SH=$(mktemp /tmp/kestrafon-layout.XXXXXX)
printf '#!/bin/sh\nwine "%s" | tr -d "\\r"\n' "$LAYOUT_EXE" >"$LAYOUT_SH"
chmod +x "$LAYOUT_SH"
source "$(dirname "$0")/../e2e/lib/session.bash" "$EXE" "$2" "$LAYOUT_SH"
rm -f "$LAYOUT_SH"
# No Wine process may outlive the set-up: Wine's desktop process, which
# holds the tray icons, must start on this test's display, after its tray.
wineserver -w
trap 'cleanup; wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT

# --- a sound server with one sink that plays into nothing ------------------
source "$(dirname "$0")/../e2e/lib/null_sink.bash"
start_null_sink "$WORK" kestrafon_sink || true
PIDS+=("$NULL_SINK_PID")
pactl info >/dev/null 2>&1 || fail "the sound server did not start"

# Each player is started under a Japanese locale: Wine makes that its
# user-interface language, in which the dialogs are found by their titles.
# The locale is made here, so the machine need not have it generated (Wine
# would otherwise read the folder names as ASCII).
mkdir -p "$WORK/locales"
localedef -i ja_JP -f UTF-8 "$WORK/locales/ja_JP.UTF-8" || fail "cannot make the ja_JP.UTF-8 locale"
export LOCPATH="$WORK/locales"

# RMS amplitude of what the sink plays during one second.
sink_rms() {
  timeout 1.2 parec -d kestrafon_sink.monitor --raw --format=s16le --rate=44100 --channels=2 >"$WORK/rec.raw" 2>>"$WORK/parec.log" || true
  # An idle sink may deliver nothing at all: that is silence too.
  if [ ! -s "$WORK/rec.raw" ]; then echo 0; return; fi
  sox -t raw -r 44100 -e signed -b 16 -c 2 "$WORK/rec.raw" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'
}
louder_than() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# Whether Wine believes window $1 (of size $2 x $3) is where X shows it.
wine_agrees() {
  window_origin "$1"
  [[ ";$(wine_rects)" == *";$GX $GY $2 $3;"* ]]
}

# Wine takes a press as one on a window only where it believes the window
# is. It learns that from the ConfigureNotify of the map, but reads the
# position from X only when it handles the event: on a loaded machine that
# may be after openbox has taken the window into its frame and before it has
# placed the frame, and Wine is left at 0,0 with nothing to tell it
# otherwise. So before a newly shown window is clicked: a ping, answered
# once Wine has handled every event the window had; then, where Wine still
# disagrees with X, a move to where the window already is, which openbox
# answers with the window's place.
window_ready() {
  python3 "$(dirname "$0")/wm_ping.py" "$1" 30 || fail "Wine did not answer a ping to window $1"
  wine_agrees "$@" && return 0
  echo "Wine places the window at $(wine_rects) while X shows it at $GX,$GY; telling Wine where it is"
  xdotool windowmove "$1" "$GX" "$GY"
  wait_for 50 wine_agrees "$@" || fail "Wine still places the window at $(wine_rects), X at $GX,$GY"
}

# A click as a hand makes it: Wine may drop a press that comes in the same
# instant as the pointer's arrival, or a release in the same instant as the
# press.
click_at() {
  window_origin "$1"
  pointer_to $((GX + $2)) $((GY + $3))
  sleep 0.2
  xdotool mousedown 1
  sleep 0.1
  xdotool mouseup 1
  sleep 0.3
}

# Whether the screen pixel at (x, y) has the background's colour.
background_at() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -qi '#204060'; }

start_display
# A tray of a fixed width: one that grows to fit its icons moves them on the
# screen after they have docked, and Wine, which keeps the place where it
# docked an icon, then drops the clicks that land on it.
trayer --edge top --align right --widthtype pixel --width 64 --height 24 --SetDockType true \
  >"$WORK/trayer.log" 2>&1 &
PIDS+=($!)
wait_for 50 xdotool search --onlyvisible --class trayer || fail "the tray did not start"
# Wine docks an icon only into a tray that owns the tray selection at the
# moment the icon is added; before that the icon gets a window of its own
# and stays there.
wait_for 100 "$(dirname "$0")/../e2e/lib/selection_owner.py" _NET_SYSTEM_TRAY_S0 ||
  fail "the tray never claimed _NET_SYSTEM_TRAY_S0"
TRAY=$(xdotool search --onlyvisible --class trayer | head -n 1)

# The player starts in a directory with a Japanese name, where its dialogs
# open: typed names stay ASCII, the paths they give do not.
MUSIC="$WORK/音楽"
mkdir -p "$MUSIC"
make_mp3 "$MUSIC/tone.mp3" 20 440
WIN_DIR="Z:${MUSIC//\//\\}"

# --- the player window -------------------------------------------------------
started=$(date +%s%N)
(cd "$MUSIC" && exec env LC_ALL=ja_JP.UTF-8 wine "$EXE") >"$WORK/player.log" 2>&1 &
PLAYER_PID=$!
PIDS+=("$PLAYER_PID")
wait_for 300 find_window "$FACE_W" "$FACE_H" || fail "no ${FACE_W}x$FACE_H window named Form1 appeared"
WID=$(find_window "$FACE_W" "$FACE_H")
echo "window mapped $(((($(date +%s%N) - started) / 1000000))) ms after start"
window_ready "$WID" "$FACE_W" "$FACE_H"
face_painted() { window_origin "$WID" && ! background_at $((GX + 10)) $((GY + 10)); }
wait_for 50 face_painted || fail "the face is missing inside its corner"

# Cut corners: the background shows through at each corner, not just inside.
window_origin "$WID"
for corner in "0 0" "$((FACE_W - 1)) 0" "0 $((FACE_H - 1))" "$((FACE_W - 1)) $((FACE_H - 1))"; do
  read -r cx cy <<<"$corner"
  background_at $((GX + cx)) $((GY + cy)) || fail "corner $cx,$cy is not cut"
done
! background_at $((GX + FACE_W / 2)) $((GY + 1)) || fail "the face is missing at its top edge"
shoot "$WID" face_1x "$FACE_W" "$FACE_H"  # the face as it first shows, for the 2x run

# --- the playlist window, the open dialog ----------------------------------
click_at "$WID" $CLICK_PLAYLIST
# On a busy machine Wine may take seconds to answer.
wait_for 200 find_window "$LIST_W" "$LIST_H" || {
  window_origin "$WID"
  xwininfo -root -tree | grep -E 'kestrafon' >&2
  import -window root "$SHOTS/lost_click.png"
  fail "the playlist window did not open (player at $GX,$GY on X; Wine: $(wine_rects))"
}
LIST_WID=$(find_window "$LIST_W" "$LIST_H")
window_ready "$LIST_WID" "$LIST_W" "$LIST_H"
window_origin "$WID"
px=$GX py=$GY
window_origin "$LIST_WID"
[ "$GX" = $((px + FACE_W)) ] && [ "$GY" = "$py" ] || fail "playlist window at $GX,$GY, player at $px,$py"

click_at "$LIST_WID" $LIST_ADD
answer_dialog 'ファイルを選択して下さい。' tone.mp3
shoot "$LIST_WID" added "$LIST_W" "$LIST_H"
[ "$(count_colour "$SHOTS/added.png" "$CURRENT_ROW" "$(row_band 1)")" -gt 0 ] || fail "the typed track was not added"
[ "$(count_colour "$SHOTS/added.png" "$PLAIN_ROW" "$(row_band 2)")" = 0 ] || fail "more than one row appeared"

# --- sound --------------------------------------------------------------------
click_at "$WID" $CLICK_PLAY
sleep 1.5
playing=$(sink_rms)
echo "sink RMS: playing $playing"
louder_than "$playing" 0.02 || fail "Play made no sound in the sink (RMS $playing)"
click_at "$WID" $CLICK_STOP
sleep 0.8
stopped=$(sink_rms)
echo "sink RMS: stopped $stopped"
louder_than 0.002 "$stopped" || fail "Stop did not silence the sink (RMS $stopped)"

# --- save: the bytes the Linux build writes for this list ---------------------
click_at "$LIST_WID" $LIST_SAVE
answer_dialog '名前を付けてファイルの保存' list.kfl
wait_for 30 test -s "$MUSIC/list.kfl" || fail "the playlist file was not written"
printf '%s\r\n' "$WIN_DIR\\tone.mp3" | iconv -f UTF-8 -t CP932 >"$WORK/expected.kfl"
cmp "$WORK/expected.kfl" "$MUSIC/list.kfl" || fail "the saved bytes differ: $(od -c "$MUSIC/list.kfl" | head -5)"

# Two files chosen together are stored as one chosen alone is: with the
# folder's own backslash.
make_mp3 "$MUSIC/second.mp3" 2 660
click_at "$LIST_WID" $LIST_ADD
answer_dialog 'ファイルを選択して下さい。' '"tone.mp3" "second.mp3"'
click_at "$LIST_WID" $LIST_SAVE
answer_dialog '名前を付けてファイルの保存' both.kfl
wait_for 30 test -s "$MUSIC/both.kfl" || fail "the second playlist file was not written"
printf '%s\r\n' "$WIN_DIR\\tone.mp3" "$WIN_DIR\\tone.mp3" "$WIN_DIR\\second.mp3" | iconv -f UTF-8 -t CP932 >"$WORK/both.kfl"
cmp "$WORK/both.kfl" "$MUSIC/both.kfl" || fail "a two-file choice was stored otherwise: $(od -c "$MUSIC/both.kfl" | head -8)"

# --- minimise into the tray, back with a double click -----------------------
# The icon is the window Wine's desktop process embeds in the tray: a mapped
# descendant of trayer's window drawn by explorer.exe. Prints "w h x y".
tray_icon_geometry() {
  local id
  for id in $(xwininfo -tree -id "$TRAY" | awk '/"explorer.exe"/ {print $1}'); do
    xwininfo -id "$id" | awk '
      /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
      /Width:/ {w = $NF} /Height:/ {h = $NF} /Map State:/ {state = $NF}
      END { if (state == "IsViewable" && w > 0 && h > 0) { print w, h, x, y; found = 1 } exit !found }' &&
      return 0
  done
  return 1
}
icon_docked() { [ -n "$(tray_icon_geometry)" ]; }
wait_for 50 icon_docked || {
  xwininfo -root -tree >&2
  fail "the player's icon never appeared in the tray"
}
import -window root "$SHOTS/before_minimise.png"
click_at "$WID" $CLICK_MINIMISE
wait_for 50 bash -c '! xdotool search --onlyvisible --name "^Form1\$"' || fail "minimise left a window on screen"
read -r icon_w icon_h icon_x icon_y <<<"$(tray_icon_geometry)"
# As with the windows, Wine may be wrong about where the icon is, and then
# takes no click on it. Its tip shows only once Wine places the pointer on
# the icon: the double click waits for the tip.
icon_id=$(xwininfo -tree -id "$TRAY" | awk '/"explorer.exe"/ {print $1}')
tip_shown() { xdotool search --onlyvisible --class '^explorer\.exe$' | grep -vxF "$(printf '%d\n' $icon_id)" | grep -q .; }
pointer_to $((icon_x + icon_w / 2)) $((icon_y + icon_h / 2))
wait_for 100 tip_shown || {
  import -window root "$SHOTS/tray_no_tip.png"
  fail "the tray icon's tip did not show: Wine does not place the pointer on the icon"
}
xdotool mousedown 1 sleep 0.05 mouseup 1 sleep 0.1 mousedown 1 sleep 0.05 mouseup 1
wait_for 50 find_window "$FACE_W" "$FACE_H" || import -window root "$SHOTS/tray_double_click.png"
find_window "$FACE_W" "$FACE_H" >/dev/null || fail "a double click on the tray icon did not bring the player back"
wait_for 50 find_window "$LIST_W" "$LIST_H" || fail "the playlist window did not come back with the player"
WID=$(find_window "$FACE_W" "$FACE_H")
window_ready "$WID" "$FACE_W" "$FACE_H"

# --- a media key pauses and resumes -----------------------------------------
click_at "$WID" $CLICK_PLAY
sleep 1.5
louder_than "$(sink_rms)" 0.02 || fail "Play made no sound before the media key"
wine "$MEDIA_KEY_EXE" || fail "no player window took the media key"
sleep 0.8
paused=$(sink_rms)
echo "sink RMS: paused by the media key $paused"
louder_than 0.002 "$paused" || fail "the play/pause key did not pause (RMS $paused)"
wine "$MEDIA_KEY_EXE"
sleep 1
resumed=$(sink_rms)
echo "sink RMS: resumed by the media key $resumed"
louder_than "$resumed" 0.02 || fail "the play/pause key did not resume (RMS $resumed)"
click_at "$WID" $CLICK_STOP

# --- a second launch hands its file to the running player --------------------
make_mp3 "$MUSIC/handed.mp3" 20 330
(cd "$MUSIC" && timeout 60 env LC_ALL=ja_JP.UTF-8 wine "$EXE" "$WIN_DIR\\handed.mp3") >"$WORK/second.log" 2>&1 ||
  fail "the second launch did not end with status 0 ($(cat "$WORK/second.log"))"
sleep 1.5
handed=$(sink_rms)
echo "sink RMS: the handed file $handed"
louder_than "$handed" 0.02 || fail "the handed file did not play (RMS $handed)"
[ "$(xdotool search --onlyvisible --name '^Form1$' | wc -l)" -le 2 ] || fail "a second player window appeared"
[ "$(xwininfo -tree -id "$TRAY" | grep -c '"explorer.exe"')" -le 1 ] || fail "a second tray icon appeared"
click_at "$WID" $CLICK_STOP

# --- the close button ends the program with status 0 --------------------------
window_origin "$WID"
read -r x y <<<"$CLICK_CLOSE"
click_at "$WID" "$x" "$y"
wait_player_exit 150
[ "$PLAYER_RC" = 0 ] || fail "the player exited with $PLAYER_RC"

# --- files on the command line play at once, the second after the first -----
# One tone cut in two at an offset no MP3 frame lines up with: the second
# piece is readied while the first plays and started from the first's end of
# stream. Under Wine the joint still has about 200 ms of silence (the filter
# graph starts a graph that long after Run; see docs/architecture.md); the
# check is that it is no longer than that: starting the next file from the
# tick, as before, left about 290 ms.
sox -V1 -q -r 44100 -c 2 -n -b 16 "$WORK/whole.wav" synth 220500s sine 440 vol 0.3
sox -V1 -q "$WORK/whole.wav" "$WORK/piece1.wav" trim 0s =110827s
sox -V1 -q "$WORK/whole.wav" "$WORK/piece2.wav" trim 110827s
lame --quiet -b 128 "$WORK/piece1.wav" "$MUSIC/piece1.mp3"
lame --quiet -b 128 "$WORK/piece2.wav" "$MUSIC/piece2.mp3"
(cd "$MUSIC" && exec env LC_ALL=ja_JP.UTF-8 wine "$EXE" "$WIN_DIR\\piece1.mp3" "$WIN_DIR\\piece2.mp3") >"$WORK/player2.log" 2>&1 &
PLAYER_PID=$!
PIDS+=("$PLAYER_PID")
wait_for 300 find_window "$FACE_W" "$FACE_H" || fail "no player window for the command line's files"
timeout 7 parec -d kestrafon_sink.monitor --raw --format=s16le --rate=44100 --channels=2 >"$WORK/joint.raw" 2>>"$WORK/parec.log" || true
from_line=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$WORK/joint.raw" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
echo "sink RMS: the command line's files ${from_line:-0}"
louder_than "${from_line:-0}" 0.02 || fail "the command line's files did not play (RMS ${from_line:-0})"
# The longest silence between the first sound and the last.
gap_ms=$(python3 - "$WORK/joint.raw" <<'PY'
import array, sys
s = array.array('h')
s.frombytes(open(sys.argv[1], 'rb').read())
quiet = [abs(s[i]) <= 4 and abs(s[i + 1]) <= 4 for i in range(0, len(s) - 1, 2)]
first = quiet.index(False) if False in quiet else len(quiet)
last = len(quiet) - quiet[::-1].index(False) if False in quiet else first
longest = run = 0
for q in quiet[first:last]:
    run = run + 1 if q else 0
    longest = max(longest, run)
print(round(1000 * longest / 44100))
PY
)
echo "the joint: ${gap_ms} ms of silence"
[ "$gap_ms" -le 250 ] || fail "the joint between the command line's files was $gap_ms ms of silence"
WID=$(find_window "$FACE_W" "$FACE_H")
window_ready "$WID" "$FACE_W" "$FACE_H"
window_origin "$WID"
read -r x y <<<"$CLICK_CLOSE"
click_at "$WID" "$x" "$y"
wait_player_exit 150

# --- at 192 dots per inch the face is twice as large, pixel for pixel ---------
wineserver -w
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1 ||
  fail "the test prefix took no LogPixels"
wineserver -w
(cd "$MUSIC" && exec env LC_ALL=ja_JP.UTF-8 wine "$EXE") >"$WORK/player3.log" 2>&1 &
PLAYER_PID=$!
PIDS+=("$PLAYER_PID")
wait_for 300 find_window $((FACE_W * 2)) $((FACE_H * 2)) ||
  fail "at 192 dpi no $((FACE_W * 2))x$((FACE_H * 2)) player appeared ($(xdotool search --name '^Form1$' getwindowgeometry 2>&1 | tr '\n' ' '))"
WID=$(find_window $((FACE_W * 2)) $((FACE_H * 2)))
sleep 1
shoot "$WID" face_2x $((FACE_W * 2)) $((FACE_H * 2))
convert "$SHOTS/face_1x.png" -filter point -resize 200% "$SHOTS/face_1x_doubled.png"
doubled_differs=$(compare -metric AE "$SHOTS/face_1x_doubled.png" "$SHOTS/face_2x.png" null: 2>&1 || true)
echo "pixels that differ from the 1x face doubled: $doubled_differs"
[ "$doubled_differs" = 0 ] || fail "the 2x face is not the 1x face doubled ($doubled_differs pixels differ)"
echo "PASS"
