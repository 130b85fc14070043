#!/bin/sh
# window_test.sh CMAKE BUILD_DIR SAMPLE
#
# Installs the build with cmake --install into a fresh folder whose path
# holds a blank and CJK, and checks the program there as a user meets it
# (check_window.sh).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
cmake=$1 build=$2 sample=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder="$work/桌面 程序"
"$cmake" --install "$build" --prefix "$folder" >/dev/null
sh "$here/check_window.sh" "$folder" "$sample"
