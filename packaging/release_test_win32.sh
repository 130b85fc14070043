#!/bin/sh
# release_test_win32.sh ARCHIVE TEST_PROGRAM
#
# Unpacks the Windows release archive into a fresh folder whose path holds a
# blank and CJK, checks that every program in it imports system DLLs only,
# makes real recordings (and files that are none) with Debian's ffmpeg in a
# folder beside it, and runs TEST_PROGRAM under Wine on the two (see
# release_win_test.cpp). sources.txt lists each source and what the program
# must make of it.
set -eu
archive=$1 test_program=$2
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LANG=zh_CN.UTF-8
place="$work/新 文件夹"
mkdir -p "$place"
unzip -q "$archive" -d "$place"
folder=$(find "$place" -mindepth 1 -maxdepth 1 -type d)

# DLLs that every Windows from 7 on has in System32.
system="advapi32.dll bcrypt.dll comctl32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll psapi.dll shell32.dll user32.dll ws2_32.dll"
for exe in "$folder"/*.exe; do
  for dll in $(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z'); do
    case " $system " in
      *" $dll "*) ;;
      *) echo "release_test_win32: $(basename "$exe") imports $dll, no system DLL" >&2; exit 1 ;;
    esac
  done
done

sources_dir=$here/packaging/ffmpeg
. "$sources_dir/sources.sh"
recordings="$work/我的 录音"
mkdir -p "$recordings"
# FILE|HOW (see sources.sh)|what the label must start with after "编码失败："
# ("" for a success)
while IFS='|' read -r file how expected; do
  make_source "$how" "$recordings/$file"
  printf '%s|%s\n' "$(winpath "$recordings/$file")" "$expected"
done >"$work/sources.txt" <<TABLE
sound.wav|-ar 44100|
stereo 48k.mp3|-c:a libmp3lame -b:a 128k|
sound.ogg|-c:a libvorbis|
sound.opus|-c:a libopus -b:a 64k|
sound.flac|-c:a flac|
sound.m4a|-c:a aac -b:a 128k|
sound.amr|amr|
sound.wma|-c:a wmav2 -b:a 128k|
film with sound.mp4|video+audio|
新 文件夹/一段 录音 (1).m4a|-c:a aac -b:a 128k|
film only.mp4|video|文件里没有音频
picture.png|picture|不是能识别的音频文件
words.mp3|text|不是能识别的音频文件
empty.mp3|empty|不是能识别的音频文件
TABLE

# Wine shows the whole Linux file system as drive Z:.
TOSILK_RELEASE_FOLDER=$(winpath "$folder") TOSILK_RELEASE_SOURCES=$(winpath "$work/sources.txt") \
  TOSILK_SOURCE_MS=$duration_ms "$here/scripts/wine-run" "$test_program"
