#!/usr/bin/env bash
# Playing a list with the face buttons on the real player: play, pause,
# resume, skip and stop by mouse clicks, seen on the screen.
source "$(dirname "$0")/lib/session.bash" "$@"
BUTTONS="$SOURCE_DIR/assets/buttons.png"

make_mp3 "$WORK/one.mp3" 12 440
make_mp3 "$WORK/two.mp3" 12 660
make_mp3 "$WORK/three.mp3" 12 880
start_display
start_player
shoot "$WID" idle "$FACE_W" "$FACE_H"

open_playlist
click_at "$LIST_WID" $LIST_ADD
answer_dialog 'ファイルを選択' '"one.mp3" "two.mp3" "three.mp3"'
shoot "$LIST_WID" list "$LIST_W" "$LIST_H"
[ "$(count_colour "$SHOTS/list.png" "$CURRENT_ROW" "$(row_band 1)")" -gt 0 ] || fail "track 1 is not shown as current"

# Play: pressed while held, and it stays pressed while the list plays.
press_at "$WID" $CLICK_PLAY
shoot "$WID" play_held "$FACE_W" "$FACE_H"
shows_sprite "$SHOTS/play_held.png" "$BUTTONS" "$PLAY_PRESSED" || fail "play is not drawn pressed while held"
release_mouse
sleep 1.2
shoot "$WID" playing_1 "$FACE_W" "$FACE_H"
shows_sprite "$SHOTS/playing_1.png" "$BUTTONS" "$PLAY_PRESSED" || fail "play does not stay pressed while playing"
sleep 1.2
shoot "$WID" playing_2 "$FACE_W" "$FACE_H"
[ "$(differing_pixels "$SHOTS/playing_1.png" "$SHOTS/playing_2.png" "$TIME_PANEL")" -gt 0 ] || fail "the clock does not run"
[ "$(differing_pixels "$SHOTS/playing_1.png" "$SHOTS/playing_2.png" "$TITLE_PANEL")" -gt 0 ] || fail "the title does not scroll"
bar1=$(differing_pixels "$SHOTS/idle.png" "$SHOTS/playing_1.png" "$TIMEBAR")
bar2=$(differing_pixels "$SHOTS/idle.png" "$SHOTS/playing_2.png" "$TIMEBAR")
[ "$bar1" -gt 0 ] && [ "$bar2" -gt "$bar1" ] || fail "the time bar does not grow ($bar1 then $bar2 pixels)"

# Pause: the clock and the bar stand still, the pause button stays pressed.
click_at "$WID" $CLICK_PAUSE
sleep 0.3
shoot "$WID" paused_1 "$FACE_W" "$FACE_H"
shows_sprite "$SHOTS/paused_1.png" "$BUTTONS" "$PAUSE_PRESSED" || fail "pause is not drawn pressed while paused"
sleep 1.3
shoot "$WID" paused_2 "$FACE_W" "$FACE_H"
[ "$(differing_pixels "$SHOTS/paused_1.png" "$SHOTS/paused_2.png" "$TIME_PANEL")" = 0 ] || fail "the clock runs while paused"
[ "$(differing_pixels "$SHOTS/paused_1.png" "$SHOTS/paused_2.png" "$TIMEBAR")" = 0 ] || fail "the bar grows while paused"

# Resume: the pause button comes up and the clock runs again.
click_at "$WID" $CLICK_PAUSE
sleep 1.3
shoot "$WID" resumed "$FACE_W" "$FACE_H"
shows_sprite "$SHOTS/resumed.png" "$BUTTONS" "$PAUSE_RELEASED" || fail "pause is still pressed after resuming"
[ "$(differing_pixels "$SHOTS/paused_2.png" "$SHOTS/resumed.png" "$TIME_PANEL")" -gt 0 ] || fail "the clock does not run after resuming"

# Next: track 2 becomes current and plays from its start.
press_at "$WID" $CLICK_NEXT
shoot "$WID" next_held "$FACE_W" "$FACE_H"
shows_sprite "$SHOTS/next_held.png" "$BUTTONS" "$NEXT_PRESSED" || fail "next is not drawn pressed while held"
release_mouse
sleep 0.4
shoot "$WID" skipped "$FACE_W" "$FACE_H"
shows_sprite "$SHOTS/skipped.png" "$BUTTONS" "$NEXT_RELEASED" || fail "next stays pressed after its release"
shoot "$LIST_WID" list_skipped "$LIST_W" "$LIST_H"
[ "$(count_colour "$SHOTS/list_skipped.png" "$CURRENT_ROW" "$(row_band 2)")" -gt 0 ] || fail "track 2 is not current after next"
[ "$(count_colour "$SHOTS/list_skipped.png" "$CURRENT_ROW" "$(row_band 1)")" = 0 ] || fail "track 1 is still current after next"
skipped_bar=$(differing_pixels "$SHOTS/idle.png" "$SHOTS/skipped.png" "$TIMEBAR")
[ "$skipped_bar" -lt "$bar2" ] || fail "the bar did not start again for track 2"

# Stop: play comes up, the bar empties, and nothing moves any more.
click_at "$WID" $CLICK_STOP
sleep 0.3
shoot "$WID" stopped_1 "$FACE_W" "$FACE_H"
shows_sprite "$SHOTS/stopped_1.png" "$BUTTONS" "$TRANSPORT_RELEASED" || fail "play stays pressed after stop"
[ "$(differing_pixels "$SHOTS/idle.png" "$SHOTS/stopped_1.png" "$TIMEBAR")" = 0 ] || fail "the bar is not empty after stop"
sleep 1.2
shoot "$WID" stopped_2 "$FACE_W" "$FACE_H"
[ "$(differing_pixels "$SHOTS/stopped_1.png" "$SHOTS/stopped_2.png" "$TIME_PANEL")" = 0 ] || fail "the clock runs after stop"

close_player_cleanly
echo "play controls passed"
