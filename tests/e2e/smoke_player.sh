#!/usr/bin/env bash
# The real player on a virtual display with a window manager and a tray:
# its window, outline and face, the tray restore, and a clean close.
source "$(dirname "$0")/lib/session.bash" "$@"

start_display
# A real XEmbed tray, so minimising hides the player into it.
trayer --edge top --align right --widthtype pixel --width 64 --height 24 --SetDockType true \
  >"$WORK/trayer.log" 2>&1 &
PIDS+=($!)
wait_for 50 xdotool search --class trayer || fail "trayer did not start"

start_player KESTRAFON_DUMP_FACE="$WORK/face.png"

# The window: its title, its size, no taskbar button.
eval "$(xdotool getwindowgeometry --shell "$WID")"
[ "$WIDTH" = "$FACE_W" ] && [ "$HEIGHT" = "$FACE_H" ] || fail "window is ${WIDTH}x$HEIGHT, not ${FACE_W}x$FACE_H"
xprop -id "$WID" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "the player has a taskbar button"

# What the screen shows is the face the player composed, inside a rounded outline.
wait_for 50 test -s "$WORK/face.png" || fail "the player never painted"
# The window manager shapes its frame after the window maps: give it a moment.
corner_cut() {
  shoot "$WID" start "$FACE_W" "$FACE_H"
  [ "$(count_colour "$SHOTS/start.png" '#204060' "0 0 1 1")" = 1 ]
}
wait_for 30 corner_cut || {
  xwininfo -shape -id "$WID" | grep -iE "shape|bounding|extents" >&2
  xwininfo -root -tree | grep -B2 -A2 Form1 >&2
}
inner="10 10 $((FACE_W - 20)) $((FACE_H - 20))"
[ "$(differing_pixels "$SHOTS/start.png" "$WORK/face.png" "$inner")" = 0 ] || fail "the screen differs from the composed face"
for corner in "0 0" "$((FACE_W - 1)) 0" "0 $((FACE_H - 1))" "$((FACE_W - 1)) $((FACE_H - 1))"; do
  [ "$(count_colour "$SHOTS/start.png" '#204060' "$corner 1 1")" = 1 ] || fail "corner $corner is not cut away"
done
[ "$(count_colour "$SHOTS/start.png" '#204060' "$((FACE_W / 2)) 0 1 1")" = 0 ] || fail "the top edge is cut away"
# The composed face is the artwork: the released transport row at its place.
shows_sprite "$SHOTS/start.png" "$SOURCE_DIR/assets/buttons.png" "$TRANSPORT_RELEASED" ||
  fail "the released transport buttons are not on the face"

# A press on a free part of the face moves the window with the mouse.
window_origin "$WID"
before_x=$GX before_y=$GY
xdotool mousemove --sync $((GX + 70)) $((GY + 135)) mousedown 1 sleep 0.2 \
  mousemove --sync $((GX + 110)) $((GY + 160)) sleep 0.2 mousemove --sync $((GX + 130)) $((GY + 165)) sleep 0.2 mouseup 1
sleep 0.3
window_origin "$WID"
[ "$GX" = $((before_x + 60)) ] && [ "$GY" = $((before_y + 30)) ] ||
  fail "dragging moved the window from $before_x,$before_y to $GX,$GY"

# Minimise into the tray, then a double click on the tray icon brings it back.
tray_icon_geometry() {
  xwininfo -root -tree | awk '/"kestrafon": \("kestrafon"/ && $0 !~ /Form1/ && !found {print $(NF-1), $NF; found = 1}'
}
icon_embedded() { [ -n "$(tray_icon_geometry)" ]; }
wait_for 50 icon_embedded || fail "no tray icon"
click_at "$WID" $CLICK_MINIMISE
wait_for 30 bash -c "! xdotool search --onlyvisible --name '^Form1$'" || fail "minimise did not hide the player"
# The icon is the window Qt embeds in the tray, named after the program.
geometry=$(tray_icon_geometry)
read -r size at <<<"$geometry"
WIDTH=${size%%x*}
HEIGHT=${size#*x}
HEIGHT=${HEIGHT%%[+-]*}
X=$(echo "$at" | cut -d+ -f2)
Y=$(echo "$at" | cut -d+ -f3)
double_click_icon() {
  xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) sleep 0.2 click --repeat 2 --delay 80 1
  wait_for 20 xdotool search --onlyvisible --name '^Form1$'
}
# A double click lost to a busy display is tried again, not a failure.
double_click_icon || double_click_icon || fail "a double click on the tray icon did not restore the player"
sleep 0.3
shoot "$WID" restored "$FACE_W" "$FACE_H"
[ "$(differing_pixels "$SHOTS/restored.png" "$WORK/face.png" "$inner")" = 0 ] || fail "the restored face differs"

close_player_cleanly
echo "smoke test passed"
