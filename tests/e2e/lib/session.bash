# Shared by the end-to-end scripts: a virtual display with a window manager,
# the real player on it, clicks and keys through xdotool, and pixel checks
# on screenshots with ImageMagick.
#
# A script sources this file with: <kestrafon binary> <source dir> <layout printer>
set -euo pipefail

KESTRAFON_BIN=$(realpath "$1")
SOURCE_DIR=$(realpath "$2")
LAYOUT_BIN=$(realpath "$3")
eval "$("$LAYOUT_BIN")"

WORK=$(mktemp -d /tmp/kestrafon-e2e.XXXXXX)
SHOTS=${KESTRAFON_E2E_SHOTS:-$WORK/shots}
mkdir -p "$SHOTS"
PIDS=()

fail() {
  echo "FAIL: $*" >&2
  [ -f "$WORK/player.log" ] && sed 's/^/  player: /' "$WORK/player.log" >&2
  echo "  screenshots: $SHOTS" >&2
  exit 1
}

cleanup() {
  local pid
  for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do kill "${PIDS[i]}" 2>/dev/null || true; done
  for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  [ -n "${KESTRAFON_E2E_SHOTS:-}" ] || rm -rf "$WORK"
}
trap cleanup EXIT

# Waits until "$@" succeeds, for at most $1 tenths of a second.
wait_for() {
  local tenths=$1
  shift
  for ((t = 0; t < tenths; t++)); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

window_manager_running() {
  xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'
}

background_painted() {
  import -window root -crop 1x1+1000+700 -depth 8 txt:- | grep -qi '#204060'
}

# A virtual display with a plain background and openbox.
start_display() {
  # Xvfb picks a free display itself and says which.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  PIDS+=($!)
  wait_for 100 test -s "$WORK/display" || fail "Xvfb did not start"
  export DISPLAY=":$(head -n 1 "$WORK/display")"
  wait_for 100 xdpyinfo || fail "Xvfb did not start on $DISPLAY"
  # openbox now and then fails to connect to a display that has just come
  # up: give it a second try.
  local attempt
  for attempt in 1 2 3; do
    openbox --sm-disable >>"$WORK/openbox.log" 2>&1 &
    PIDS+=($!)
    wait_for 50 window_manager_running && break
  done
  window_manager_running || fail "openbox did not start"
  # A plain background, so what a window's outline leaves out is easy to see.
  convert -size 1024x768 xc:'#204060' "$WORK/background.png"
  display -window root "$WORK/background.png" >/dev/null 2>&1 &
  PIDS+=($!)
  wait_for 100 background_painted || fail "the background was not painted"
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
}

# The player, started in $WORK (so its dialogs open there), with its sound
# going nowhere; PLAYER_ARGS are its command line. Sets PLAYER_PID and WID.
PLAYER_ARGS=()
start_player() {
  (cd "$WORK" && exec env KESTRAFON_AUDIO_SINK=fake "$@" "$KESTRAFON_BIN" "${PLAYER_ARGS[@]}") >"$WORK/player.log" 2>&1 &
  PLAYER_PID=$!
  PIDS+=("$PLAYER_PID")
  wait_for 150 xdotool search --onlyvisible --name '^Form1$' || fail "no window named Form1 appeared"
  WID=$(xdotool search --onlyvisible --name '^Form1$' | head -n 1)
  sleep 0.3
}

# Top-left corner of a window on the screen: sets GX and GY.
window_origin() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  GX=$X
  GY=$Y
}

# Moves the pointer to (x, y) on the screen and waits until it is there.
# xdotool's --sync waits for a motion event, which never comes when the
# pointer is there already (it then gives up only after 15 s).
pointer_to() {
  eval "$(xdotool getmouselocation --shell)"
  if [ "$X,$Y" != "$1,$2" ]; then xdotool mousemove --sync "$1" "$2"; fi
}

# Clicks at (x, y) of a window's face.
click_at() {
  window_origin "$1"
  pointer_to $((GX + $2)) $((GY + $3))
  xdotool click 1
  sleep 0.15
}

press_at() {
  window_origin "$1"
  pointer_to $((GX + $2)) $((GY + $3))
  xdotool mousedown 1
  sleep 0.25
}

release_mouse() {
  xdotool mouseup 1
  sleep 0.2
}

# Screenshot of a window's face into $SHOTS/<name>.png, clipped to its size.
shoot() {
  local wid=$1 name=$2 w=$3 h=$4
  window_origin "$wid"
  import -window root "$WORK/root.png"
  convert "$WORK/root.png" -crop "${w}x${h}+${GX}+${GY}" +repage "$SHOTS/$name.png"
}

# Number of pixels that differ between a region of two images.
# region: "x y w h" (on the first image), at (x2, y2) on the second.
differing_pixels() {
  local a=$1 b=$2 x y w h x2 y2
  read -r x y w h <<<"$3"
  x2=${4:-$x}
  y2=${5:-$y}
  convert "$a" -crop "${w}x${h}+${x}+${y}" +repage "$WORK/cmp_a.png"
  convert "$b" -crop "${w}x${h}+${x2}+${y2}" +repage "$WORK/cmp_b.png"
  compare -metric AE "$WORK/cmp_a.png" "$WORK/cmp_b.png" null: 2>&1 | cut -d' ' -f1 || true
}

# Whether a face screenshot shows a sprite exactly: "sx sy w h dx dy" of a sheet.
shows_sprite() {
  local shot=$1 sheet=$2 sx sy w h dx dy
  read -r sx sy w h dx dy <<<"$3"
  [ "$(differing_pixels "$shot" "$sheet" "$dx $dy $w $h" "$sx" "$sy")" = 0 ]
}

# How many pixels of a region have exactly this colour ("#RRGGBB").
count_colour() {
  local shot=$1 colour=$2 x y w h
  read -r x y w h <<<"$3"
  convert "$shot" -crop "${w}x${h}+${x}+${y}" +repage -depth 8 txt:- | grep -ci "$colour" || true
}

# A short MP3 of a tone: make_mp3 <path> <seconds> <frequency>
make_mp3() {
  sox -V1 -q -n -r 44100 -c 2 -t wav - synth "$2" sine "$3" vol 0.3 | lame --quiet -b 128 - "$1"
}

# Waits for the player to exit; its exit status in PLAYER_RC.
wait_player_exit() {
  wait_for "${1:-100}" bash -c "! kill -0 $PLAYER_PID" || fail "the player did not exit"
  PLAYER_RC=0
  wait "$PLAYER_PID" || PLAYER_RC=$?
}

# The visible window named Form1 of this size: find_window <w> <h>
find_window() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Form1$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    if [ "$WIDTH" = "$1" ] && [ "$HEIGHT" = "$2" ]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

# Opens the playlist window with the player's list button: sets LIST_WID.
open_playlist() {
  click_at "$WID" $CLICK_PLAYLIST
  wait_for 50 find_window "$LIST_W" "$LIST_H" || fail "the playlist window did not open"
  LIST_WID=$(find_window "$LIST_W" "$LIST_H")
  sleep 0.2
}

# Answers the file dialog titled like $1 by typing $2 and Enter. The keys
# go where the X input focus is (Wine takes them from nowhere else), and the
# dialog starts in its name field.
answer_dialog() {
  local title=$1 text=$2 dialog
  wait_for 100 xdotool search --onlyvisible --name "$title" || fail "no dialog \"$title\""
  dialog=$(xdotool search --onlyvisible --name "$title" | head -n 1)
  sleep 0.5
  xdotool windowactivate --sync "$dialog" 2>/dev/null || true
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  wait_for 30 bash -c "[ \"\$(xdotool getactivewindow)\" = $dialog ]" || echo "the dialog did not become the active window"
  sleep 0.3
  xdotool type --delay 25 "$text"
  xdotool key Return
  wait_for 50 bash -c "! xdotool search --onlyvisible --name '$title'" || {
    import -window root "$SHOTS/dialog.png"
    fail "the dialog \"$title\" stayed open"
  }
  sleep 0.3
}

# The band of list row n (from 1) on the playlist face: "x y w h"
# (ROW_TOP and ROW_HEIGHT come from the layout printer).
row_band() { echo "2 $((ROW_TOP + ROW_HEIGHT * ($1 - 1))) $((LIST_W - 6)) $ROW_HEIGHT"; }

# Closes the player with its close button: it must end at once, with status
# 0 and without GStreamer or Qt warnings, whatever it was doing. An optional
# argument is the screen's scale factor.
close_player_cleanly() {
  local scale=${1:-1} x y
  read -r x y <<<"$CLICK_CLOSE"
  click_at "$WID" $((scale * x)) $((scale * y))
  wait_player_exit 100
  [ "$PLAYER_RC" = 0 ] || fail "the player exited with $PLAYER_RC"
  if grep -E 'CRITICAL|WARNING|runtime error|AddressSanitizer' "$WORK/player.log" >&2; then
    fail "warnings on the way out"
  fi
}
