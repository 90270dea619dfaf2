#!/usr/bin/env bash
# The real player under an English locale: the Add and Save dialogs and the
# message of a failed save speak English, while the window keeps its name.
source "$(dirname "$0")/lib/session.bash" "$@"

make_mp3 "$WORK/a.mp3" 5 440
PLAYER_ARGS=(--enqueue "$WORK/a.mp3")
start_display
start_player LANG=en_US.UTF-8 LC_ALL= LC_MESSAGES=
open_playlist

click_at "$LIST_WID" $LIST_ADD
wait_for 100 xdotool search --onlyvisible --name '^Select files$' || fail "no dialog titled \"Select files\""
xdotool key Escape
wait_for 50 bash -c "! xdotool search --onlyvisible --name '^Select files$'" || fail "the Add dialog stayed open"

click_at "$LIST_WID" $LIST_SAVE
answer_dialog 'Save As' "$WORK/no such folder/list.kfl"
wait_for 100 xdotool search --onlyvisible --name '^Could not save$' || fail "no message titled \"Could not save\""
xdotool key Return
wait_for 50 bash -c "! xdotool search --onlyvisible --name '^Could not save$'" || fail "the message stayed open"

close_player_cleanly
echo "english_dialogs: ok"
