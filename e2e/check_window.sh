#!/bin/sh
# check_window.sh PROGRAM_FOLDER SAMPLE
#
# The program as a user meets it, under Xvfb, from a program folder made
# ready by the caller: puts the sample recording in the folder, starts
# tosilk, types the bare name "sample.wav" (which only works because start-up
# makes the program folder the current directory), clicks "编码", and checks
# the SILK file written and that Esc ends the program with 0.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
folder=$1 sample=$2
fail() {
  echo "check_window: $*" >&2
  exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$sample" "$folder/sample.wav"

silk=$(xvfb-run -a -s "-screen 0 1024x768x24" \
  sh "$here/drive_window.sh" "$folder" sample.wav "$work/screen.png")

case "$silk" in
  "$folder/result/"*.silk) ;;
  *) fail "unexpected output path: $silk" ;;
esac
# 0x02 and then #!SILK_V3.
[ "$(head -c 10 "$silk" | od -An -tx1 | tr -d ' \n')" = "02232153494c4b5f5633" ] ||
  fail "$silk does not start with 0x02 #!SILK_V3"
[ "$(ls "$folder/result")" = "$(basename "$silk")" ] ||
  fail "more than the .silk in result: $(ls "$folder/result")"
[ "$(head -c 8 "$work/screen.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] ||
  fail "the screenshot is no PNG"
