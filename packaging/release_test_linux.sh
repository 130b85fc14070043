#!/bin/sh
# release_test_linux.sh ARCHIVE SAMPLE
#
# Unpacks the Linux release archive into a fresh folder whose path holds a
# blank and CJK, readies it with its install.sh (which must also list it in
# the user's menu), and checks the program there as a user meets it
# (e2e/check_window.sh).
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
archive=$1 sample=$2
fail() {
  echo "release_test_linux: $*" >&2
  exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
place="$work/桌面 程序"
mkdir -p "$place"
tar -xzf "$archive" -C "$place"
folder=$(find "$place" -mindepth 1 -maxdepth 1 -type d)
# What install.sh makes must not come in the archive, which names no place on
# the user's machine.
[ ! -e "$folder/ffmpeg" ] || fail "the archive brings its own ffmpeg link"
[ ! -e "$folder/share/applications/tosilk.desktop" ] || fail "the archive brings a desktop entry"
HOME="$work/home" XDG_DATA_HOME="" sh "$folder/install.sh" --menu >/dev/null
[ "$(readlink "$folder/ffmpeg")" = "$(command -v ffmpeg)" ] || fail "install.sh did not link ffmpeg"
desktop-file-validate "$work/home/.local/share/applications/tosilk.desktop" ||
  fail "install.sh wrote no valid menu entry"
sh "$here/e2e/check_window.sh" "$folder" "$sample"
