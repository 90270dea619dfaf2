#!/usr/bin/env bash
# On a screen scaled by two the face is doubled pixel for pixel, and clicks
# still land on the buttons they hit at normal size.
source "$(dirname "$0")/lib/session.bash" "$@"

start_display
start_player QT_SCALE_FACTOR=2 KESTRAFON_DUMP_FACE="$WORK/face.png"
eval "$(xdotool getwindowgeometry --shell "$WID")"
[ "$WIDTH" = $((2 * FACE_W)) ] && [ "$HEIGHT" = $((2 * FACE_H)) ] || fail "window is ${WIDTH}x$HEIGHT at scale 2"

# Nearest-neighbour doubling: every face pixel becomes a 2 x 2 block.
wait_for 50 test -s "$WORK/face.png" || fail "the player never painted"
sleep 0.3
shoot "$WID" doubled $((2 * FACE_W)) $((2 * FACE_H))
convert "$WORK/face.png" -filter point -resize 200% "$WORK/face_doubled.png"
inner="20 20 $((2 * FACE_W - 40)) $((2 * FACE_H - 40))"
[ "$(differing_pixels "$SHOTS/doubled.png" "$WORK/face_doubled.png" "$inner")" = 0 ] ||
  fail "the doubled face is not a pixel-for-pixel doubling"

# The list button, clicked where it is on the doubled face, opens the
# playlist window, doubled too and docked at the doubled player's edge.
read -r bx by <<<"$CLICK_PLAYLIST"
click_at "$WID" $((2 * bx)) $((2 * by))
wait_for 50 find_window $((2 * LIST_W)) $((2 * LIST_H)) || fail "the list button missed at scale 2"
list=$(find_window $((2 * LIST_W)) $((2 * LIST_H)))
window_origin "$WID"
px=$GX py=$GY
window_origin "$list"
[ "$GX" = $((px + 2 * FACE_W)) ] && [ "$GY" = "$py" ] || fail "playlist window at $GX,$GY, player at $px,$py"

close_player_cleanly 2
echo "HiDPI scaling passed"
