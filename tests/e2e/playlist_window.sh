#!/usr/bin/env bash
# Building, playing, saving and reloading a list in the real playlist
# window: its buttons, the real file dialogs (names typed) and its keys.
source "$(dirname "$0")/lib/session.bash" "$@"
BUTTONS="$SOURCE_DIR/assets/buttons.png"

make_mp3 "$WORK/a.mp3" 30 440
make_mp3 "$WORK/b.mp3" 30 660
start_display
start_player

# The list button opens the window flush against the player's right edge.
open_playlist
window_origin "$WID"
px=$GX py=$GY
window_origin "$LIST_WID"
[ "$GX" = $((px + FACE_W)) ] && [ "$GY" = "$py" ] || fail "playlist window at $GX,$GY, player at $px,$py"

# Add two tracks through the open dialog, typing their names.
click_at "$LIST_WID" $LIST_ADD
answer_dialog 'ファイルを選択して下さい。' '"a.mp3" "b.mp3"'
shoot "$LIST_WID" added "$LIST_W" "$LIST_H"
[ "$(count_colour "$SHOTS/added.png" "$CURRENT_ROW" "$(row_band 1)")" -gt 0 ] || fail "row 1 is not the current track"
[ "$(count_colour "$SHOTS/added.png" "$PLAIN_ROW" "$(row_band 2)")" -gt 0 ] || fail "row 2 is not drawn"
[ "$(count_colour "$SHOTS/added.png" "$PLAIN_ROW" "$(row_band 3)")" = 0 ] || fail "a third row appeared"

# Down selects track 2, Enter plays it.
click_at "$LIST_WID" 100 100
xdotool key Down
sleep 0.3
shoot "$LIST_WID" selected "$LIST_W" "$LIST_H"
[ "$(count_colour "$SHOTS/selected.png" "$SELECTED_ROW" "$(row_band 2)")" -gt 0 ] || fail "Down did not select row 2"
xdotool key Return
sleep 1.2
shoot "$LIST_WID" playing "$LIST_W" "$LIST_H"
[ "$(count_colour "$SHOTS/playing.png" "$CURRENT_ROW" "$(row_band 2)")" -gt 0 ] || fail "Enter did not make track 2 current"
shoot "$WID" player_playing "$FACE_W" "$FACE_H"
shows_sprite "$SHOTS/player_playing.png" "$BUTTONS" "$PLAY_PRESSED" || fail "the player does not look like playing"
sleep 1.0
shoot "$WID" player_later "$FACE_W" "$FACE_H"
[ "$(differing_pixels "$SHOTS/player_playing.png" "$SHOTS/player_later.png" "$TIME_PANEL")" -gt 0 ] ||
  fail "the clock does not run for the track Enter started"

# Save the list; the default extension is added to the typed name.
click_at "$LIST_WID" $LIST_SAVE
answer_dialog '名前を付けてファイルの保存' 'mylist'
[ -f "$WORK/mylist.kfl" ] || fail "no mylist.kfl was saved"
printf '%s\r\n' "$WORK/a.mp3" "$WORK/b.mp3" >"$WORK/expected.kfl"
cmp -s "$WORK/expected.kfl" "$WORK/mylist.kfl" || fail "the saved bytes differ: $(od -c "$WORK/mylist.kfl" | head -n 5)"

# Clear empties the rows; the track plays on.
click_at "$LIST_WID" $LIST_CLEAR
shoot "$LIST_WID" cleared "$LIST_W" "$LIST_H"
for row in 1 2; do
  [ "$(differing_pixels "$SHOTS/cleared.png" "$SOURCE_DIR/assets/playlist.png" "$(row_band $row)")" = 0 ] ||
    fail "row $row is not empty after clear"
done

# Add the saved playlist back: both rows return; Clear made track 1 current
# again, the selection stayed on row 2, and track 2 plays on.
click_at "$LIST_WID" $LIST_ADD
answer_dialog 'ファイルを選択して下さい。' 'mylist.kfl'
shoot "$LIST_WID" reloaded "$LIST_W" "$LIST_H"
[ "$(count_colour "$SHOTS/reloaded.png" "$CURRENT_ROW" "$(row_band 1)")" -gt 0 ] || fail "row 1 is not current after reloading"
[ "$(count_colour "$SHOTS/reloaded.png" "$SELECTED_ROW" "$(row_band 2)")" -gt 0 ] || fail "row 2 is not selected after reloading"
[ "$(differing_pixels "$SHOTS/reloaded.png" "$SOURCE_DIR/assets/playlist.png" "$(row_band 3)")" = 0 ] || fail "a third row appeared"
shoot "$WID" player_reloaded "$FACE_W" "$FACE_H"
shows_sprite "$SHOTS/player_reloaded.png" "$BUTTONS" "$PLAY_PRESSED" || fail "playback stopped"
[ "$(differing_pixels "$SHOTS/player_later.png" "$SHOTS/player_reloaded.png" "$TIME_PANEL")" -gt 0 ] ||
  fail "the clock stopped"
cmp -s "$WORK/expected.kfl" "$WORK/mylist.kfl" || fail "reading the playlist changed it"

# The close button ends the program cleanly, while a track plays too.
close_player_cleanly
echo "playlist window passed"
