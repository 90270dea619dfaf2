#!/usr/bin/env bash
# The player from the desktop, on its own session bus: files on the command
# line, the media controls through playerctl, a second launch handing over a
# file or bringing the player back, the window states kept across the tray,
# the playlist window closed by the window manager, and Quit.
if [ -z "${KESTRAFON_E2E_OWN_BUS:-}" ]; then
  exec env KESTRAFON_E2E_OWN_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/lib/session.bash" "$@"
PARTS="$SOURCE_DIR/assets/parts.png"
mpris() { playerctl --player=kestrafon "$@"; }
# A method called straight, even where playerctl would not call it (it asks Can* first).
call() {
  dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.kestrafon /org/mpris/MediaPlayer2 "$@" >/dev/null
}
second_launch() { (cd "$WORK" && env KESTRAFON_AUDIO_SINK=fake "$KESTRAFON_BIN" "$@") >>"$WORK/second.log" 2>&1; }
is_status() { [ "$(mpris status)" = "$1" ]; }
is_title() { [ "$(mpris metadata xesam:title)" = "$1" ]; }
state_has() { xprop -id "$WID" _NET_WM_STATE | grep -q "$1"; }

# An ID3v2.3 tag of short ASCII title, artist and album put in front of an MP3.
tag_mp3() {
  local frames="$WORK/frames.bin" id text
  : >"$frames"
  for id in TIT2 TPE1 TALB; do
    case $id in TIT2) text=$2 ;; TPE1) text=$3 ;; TALB) text=$4 ;; esac
    printf "%s\\x00\\x00\\x00\\x$(printf %02x $((${#text} + 1)))\\x00\\x00\\x00%s" "$id" "$text" >>"$frames"
  done
  { printf "ID3\\x03\\x00\\x00\\x00\\x00\\x00\\x$(printf %02x "$(stat -c %s "$frames")")"; cat "$frames" "$1"; } >"$1.tagged"
  mv "$1.tagged" "$1"
}

make_mp3 "$WORK/one.mp3" 12 440
make_mp3 "$WORK/two.mp3" 12 660
make_mp3 "$WORK/three 3.mp3" 12 880
tag_mp3 "$WORK/three 3.mp3" "Third Tone" "Tone Maker" "Tones"
start_display
trayer --edge top --align right --widthtype pixel --width 64 --height 24 --SetDockType true \
  >"$WORK/trayer.log" 2>&1 &
PIDS+=($!)
wait_for 50 xdotool search --class trayer || fail "trayer did not start"

# Files on the command line: added in order, a missing one skipped with one
# line, and the first added plays.
PLAYER_ARGS=(one.mp3 missing.mp3 two.mp3)
start_player
wait_for 50 mpris status || fail "playerctl does not see the player"
wait_for 30 is_status Playing || fail "the first file on the command line does not play ($(mpris status))"
is_title one.mp3 || fail "the title is $(mpris metadata xesam:title), not one.mp3"
[ "$(grep -c missing.mp3 "$WORK/player.log")" = 1 ] || fail "the missing file is not reported on one line"
length=$(mpris metadata mpris:length)
[ "$length" -ge 11900000 ] && [ "$length" -le 12200000 ] || fail "mpris:length is $length, not about 12 s"
track_id() { mpris metadata mpris:trackid | tr -d "'"; }
[ "$(track_id)" = /org/kestrafon/track/1 ] || fail "track id $(track_id)"
[ "$(mpris metadata xesam:url)" = "file://$WORK/one.mp3" ] || fail "url $(mpris metadata xesam:url)"

# Pause and play are the face's buttons: the face shows them.
mpris pause
wait_for 20 is_status Paused || fail "pause did not pause"
shoot "$WID" paused "$FACE_W" "$FACE_H"
shows_sprite "$SHOTS/paused.png" "$SOURCE_DIR/assets/buttons.png" "$PAUSE_PRESSED" || fail "pause is not pressed on the face"
call org.mpris.MediaPlayer2.Player.Pause || fail "a pause while paused answered with an error"
is_status Paused || fail "a second pause resumed"
mpris play
wait_for 20 is_status Playing || fail "play did not resume"
mpris next
wait_for 20 is_title two.mp3 || fail "next did not go to two.mp3"
[ "$(track_id)" = /org/kestrafon/track/2 ] || fail "next did not change the track id"
# The last track: the face refuses next, and so does the bus, quietly.
call org.mpris.MediaPlayer2.Player.Next || fail "a refused next answered with an error"
is_title two.mp3 || fail "next past the last track changed the track"

# Volume: the knob moves to the middle of its travel, as a drag would put it.
shoot "$WID" loud "$FACE_W" "$FACE_H"
mpris volume 0.5
[ "$(mpris volume)" = 0.500000 ] || fail "volume reads $(mpris volume) after setting 0.5"
sleep 0.3
shoot "$WID" half "$FACE_W" "$FACE_H"
read -r kx ky kw kh <<<"$KNOB_SPRITE"
middle=$(((KNOB_MIN + KNOB_MAX) / 2))
shows_sprite "$SHOTS/half.png" "$PARTS" "$kx $ky $kw $kh $middle $KNOB_TOP" || fail "the knob is not at $middle"
shows_sprite "$SHOTS/loud.png" "$PARTS" "$kx $ky $kw $kh $middle $KNOB_TOP" && fail "the knob was there before"

# A second launch with a file hands it over and ends; the running player plays it.
second_launch "three 3.mp3" || fail "the second launch exited with $?"
# A tagged file is named by its tags; the untagged ones above by their file names.
wait_for 30 is_title "Third Tone" || fail "the handed-over file does not play ($(mpris metadata xesam:title))"
[ "$(mpris metadata xesam:artist)" = "Tone Maker" ] || fail "artist $(mpris metadata xesam:artist)"
[ "$(mpris metadata xesam:album)" = Tones ] || fail "album $(mpris metadata xesam:album)"
is_status Playing || fail "the handed-over file is not playing"
[ "$(xdotool search --name '^Form1$' | wc -l)" -le 2 ] || fail "a second player window appeared"
kill -0 "$PLAYER_PID" || fail "the player went away"

# Always on top, then into the tray and back by each route: the same native
# window, off the taskbar and the pager, above, at its place, with its outline.
click_at "$WID" $CLICK_ONTOP
wait_for 20 state_has _NET_WM_STATE_ABOVE || fail "always-on-top did not reach the window manager"
window_origin "$WID"
home="$GX,$GY"
check_restored() {
  local id
  # The playlist window is titled Form1 too and may come back first: wait
  # for the player's own face.
  wait_for 50 find_window "$FACE_W" "$FACE_H" || fail "$1 did not bring the player back"
  sleep 0.5
  id=$(find_window "$FACE_W" "$FACE_H") || fail "$1: no player window"
  [ "$id" = "$WID" ] || fail "$1 gave the player a new native window"
  for state in _NET_WM_STATE_SKIP_TASKBAR _NET_WM_STATE_SKIP_PAGER _NET_WM_STATE_ABOVE; do
    state_has $state || fail "$1 lost $state: $(xprop -id "$WID" _NET_WM_STATE)"
  done
  window_origin "$WID"
  [ "$GX,$GY" = "$home" ] || fail "$1 moved the player from $home to $GX,$GY"
  shoot "$WID" "restored_$2" "$FACE_W" "$FACE_H"
  [ "$(count_colour "$SHOTS/restored_$2.png" '#204060' "0 0 1 1")" = 1 ] || fail "$1 lost the rounded outline"
}
minimise() {
  click_at "$WID" $CLICK_MINIMISE
  wait_for 30 bash -c "! xdotool search --onlyvisible --name '^Form1$'" || fail "minimise did not hide the player"
}
minimise
second_launch || fail "a second launch without files exited with $?"
check_restored "a second launch" launch
minimise
call org.mpris.MediaPlayer2.Raise || fail "Raise failed"
check_restored "Raise" raise
minimise
tray=$(xwininfo -root -tree | awk '/"kestrafon": \("kestrafon"/ && $0 !~ /Form1/ && !found {print $(NF-1), $NF; found = 1}')
read -r size at <<<"$tray"
tx=$(echo "$at" | cut -d+ -f2) ty=$(echo "$at" | cut -d+ -f3)
xdotool mousemove --sync $((tx + ${size%%x*} / 2)) $((ty + 8)) sleep 0.2 click --repeat 2 --delay 80 1
check_restored "the tray icon" tray

# The window manager closes the playlist window; the playlist button stays
# lit, so its next press only puts it out and the one after opens the window.
open_playlist
xdotool windowactivate --sync "$LIST_WID" key --clearmodifiers alt+F4
list_closed() { ! find_window "$LIST_W" "$LIST_H" >/dev/null; }
wait_for 30 list_closed || fail "alt+F4 did not close the playlist window"
click_at "$WID" $CLICK_PLAYLIST
sleep 0.5
list_closed || fail "the playlist button opened the window while still lit"
click_at "$WID" $CLICK_PLAYLIST
wait_for 30 find_window "$LIST_W" "$LIST_H" || fail "the playlist window does not open again"
kill -0 "$PLAYER_PID" || fail "closing the playlist window ended the player"

# Quit ends the program as the close button does.
call org.mpris.MediaPlayer2.Quit || fail "Quit failed"
wait_player_exit 100
[ "$PLAYER_RC" = 0 ] || fail "the player exited with $PLAYER_RC after Quit"
if grep -E 'CRITICAL|WARNING|runtime error|AddressSanitizer' "$WORK/player.log" "$WORK/second.log" >&2; then
  fail "warnings from the player"
fi
[ "$(grep -c '^kestrafon:' "$WORK/player.log")" = 1 ] || fail "the player said more than the missing file"
echo "desktop controls passed"
