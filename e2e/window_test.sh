#!/bin/sh
# window_test.sh install CMAKE BUILD_DIR SAMPLE
# window_test.sh unpack ARCHIVE SAMPLE
#
# The program as a user meets it, under Xvfb, in a folder whose path holds a
# blank and CJK: either installed there from the build with cmake --install,
# or unpacked there from the release archive and readied by its install.sh
# (which must also list it in the user's menu). Puts the sample recording in
# the folder, starts tosilk, types the bare name "sample.wav" (which only
# works because start-up makes the program folder the current directory),
# clicks "编码", and checks the SILK file written and that Esc ends the
# program with 0.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
fail() {
  echo "window_test: $*" >&2
  exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
place="$work/桌面 程序"
mode=$1
case "$mode" in
  install)
    cmake=$2 build=$3 sample=$4
    folder=$place
    "$cmake" --install "$build" --prefix "$folder" >/dev/null
    ;;
  unpack)
    archive=$2 sample=$3
    mkdir -p "$place"
    tar -xzf "$archive" -C "$place"
    folder=$(find "$place" -mindepth 1 -maxdepth 1 -type d)
    # What install.sh makes must not come in the archive, which names no
    # place on the user's machine.
    [ ! -e "$folder/ffmpeg" ] || fail "the archive brings its own ffmpeg link"
    [ ! -e "$folder/share/applications/tosilk.desktop" ] || fail "the archive brings a desktop entry"
    HOME="$work/home" XDG_DATA_HOME="" sh "$folder/install.sh" --menu >/dev/null
    [ "$(readlink "$folder/ffmpeg")" = "$(command -v ffmpeg)" ] || fail "install.sh did not link ffmpeg"
    desktop-file-validate "$work/home/.local/share/applications/tosilk.desktop" ||
      fail "install.sh wrote no valid menu entry"
    ;;
  *) fail "unknown mode $mode" ;;
esac
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
