#!/bin/sh
# window_test.sh CMAKE BUILD_DIR SAMPLE
#
# The program as a user meets it, under Xvfb: installs the build into a
# folder whose path holds a blank and CJK, puts the sample recording there,
# starts tosilk, types the bare name "sample.wav" (which only works because
# start-up makes the program folder the current directory), clicks "编码",
# and checks the SILK file written and that Esc ends the program with 0.
set -eu
cmake=$1 build=$2 sample=$3
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder="$work/桌面 程序"
"$cmake" --install "$build" --prefix "$folder" >/dev/null
cp "$sample" "$folder/sample.wav"

silk=$(xvfb-run -a -s "-screen 0 1024x768x24" \
  sh "$here/drive_window.sh" "$folder" sample.wav "$work/screen.png")

case "$silk" in
  "$folder/result/"*.silk) ;;
  *) echo "window_test: unexpected output path: $silk" >&2; exit 1 ;;
esac
# 0x02 and then #!SILK_V3.
[ "$(head -c 10 "$silk" | od -An -tx1 | tr -d ' \n')" = "02232153494c4b5f5633" ] ||
  { echo "window_test: $silk does not start with 0x02 #!SILK_V3" >&2; exit 1; }
[ "$(ls "$folder/result")" = "$(basename "$silk")" ] ||
  { echo "window_test: more than the .silk in result: $(ls "$folder/result")" >&2; exit 1; }
[ "$(head -c 8 "$work/screen.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] ||
  { echo "window_test: the screenshot is no PNG" >&2; exit 1; }
