#!/bin/sh
# drive_window.sh PROGRAM_FOLDER TYPED SCREENSHOT
#
# Plays a user on the X display in $DISPLAY: starts PROGRAM_FOLDER/tosilk,
# types TYPED into the edit box, clicks "编码", waits until the job has ended
# (a new .silk is there and no .pcm), saves a PNG of the whole screen to SCREENSHOT, closes the
# window with Esc and checks that the program ended with 0. Prints the path
# of the .silk file the click wrote, and fails when it wrote none.
#
# The places clicked are those of ui/window_description.h, from the client
# area's top-left corner: the edit box at 49,29 (296x40), the button at
# 366,29 (88x40) and the result label at 48,96 (408x48).
set -eu
folder=$1 typed=$2 shot=$3

fail() {
  echo "drive_window: $*" >&2
  exit 1
}

work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

ls "$folder/result" >"$work/before" 2>/dev/null || : >"$work/before"
"$folder/tosilk" &
pid=$!
wid=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1) ||
  fail "the window did not appear"
# Sets X and Y (the client area's corner), WIDTH and HEIGHT.
eval "$(xdotool getwindowgeometry --shell "$wid")"

# The pointer stays over the window, so keys reach it with or without a
# window manager giving it focus.
xdotool mousemove --window "$wid" 197 49 click 1
xdotool type --delay 20 "$typed"
xdotool mousemove --window "$wid" 410 49 click 1

# The job runs off the window's thread and the label shows its progress
# first; it has ended once a new .silk with content is there and no .pcm.
finished() {
  ls "$folder/result" >"$work/now"
  new=$(comm -13 "$work/before" "$work/now")
  case "$new" in *.pcm* | "") return 1 ;; esac
  for name in $new; do [ -s "$folder/result/$name" ] || return 1; done
}
tries=0
until finished; do
  tries=$((tries + 1))
  [ "$tries" -lt 600 ] || fail "the job did not end within a minute"
  sleep 0.1
done
# Time for the label to show the outcome.
sleep 0.5
import -window root "$shot"

xdotool key Escape
tries=0
while kill -0 "$pid" 2>/dev/null; do
  tries=$((tries + 1))
  [ "$tries" -lt 100 ] || fail "Esc did not close the window"
  sleep 0.1
done
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "tosilk ended with $status"

ls "$folder/result" >"$work/after"
written=$(comm -13 "$work/before" "$work/after")
case "$written" in
  *.silk) ;;
  *) fail "the click wrote no single .silk file but: $written" ;;
esac
echo "$folder/result/$written"
