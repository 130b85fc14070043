#!/bin/sh
# release_test_win32.sh ARCHIVE TEST_PROGRAM
#
# Unpacks the Windows release archive into a fresh folder whose path holds a
# blank and CJK, and runs TEST_PROGRAM under Wine on it (see
# release_win_test.cpp).
set -eu
archive=$1 test_program=$2
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
place="$work/新 文件夹"
mkdir -p "$place"
unzip -q "$archive" -d "$place"
folder=$(find "$place" -mindepth 1 -maxdepth 1 -type d)
# Wine shows the whole Linux file system as drive Z:.
TOSILK_RELEASE_FOLDER="Z:$(printf '%s' "$folder" | tr / '\\')" \
  exec "$here/scripts/wine-run" "$test_program"
