#!/bin/sh
# install.sh [--ffmpeg PATH] [--as FOLDER] [--menu]
#
# Makes the program folder this script lies in ready to run: links Debian's
# ffmpeg beside tosilk, where the encoding job looks for it (our encoder is
# there already), and writes the desktop entry
# share/applications/tosilk.desktop for this folder, which opens audio
# files. `cmake --install` runs it; so does a user who unpacked the release
# archive. Safe to run again.
#
#   --ffmpeg PATH  the ffmpeg to link (default: the one on PATH)
#   --as FOLDER    where the folder will finally lie, when it is only staged
#                  here for now (default: where it is)
#   --menu         also list the entry in ~/.local/share/applications
set -eu
folder=$(cd "$(dirname "$0")" && pwd)
final=$folder
ffmpeg=""
menu=no
while [ $# -gt 0 ]; do
  case "$1" in
    --ffmpeg) ffmpeg=$2; shift 2 ;;
    --as) final=$2; shift 2 ;;
    --menu) menu=yes; shift ;;
    *) echo "用法：install.sh [--ffmpeg 路径] [--as 文件夹] [--menu]" >&2; exit 2 ;;
  esac
done

missing=""
[ -n "$ffmpeg" ] || ffmpeg=$(command -v ffmpeg || true)
[ -n "$ffmpeg" ] || missing="$missing ffmpeg"
if command -v ldd >/dev/null 2>&1 && ldd "$folder/tosilk" 2>/dev/null | grep -q "not found"; then
  missing="$missing libqt6widgets6"
fi
if [ -n "$missing" ]; then
  echo "缺少：$missing。请先安装（Debian：sudo apt-get install ffmpeg libqt6widgets6 qt6-qpa-plugins），再运行本脚本。" >&2
  exit 1
fi

# Debian's ffmpeg is linked rather than copied, so that it keeps getting
# Debian's fixes and finds its own libraries.
ln -sfn "$ffmpeg" "$folder/ffmpeg"
mkdir -p "$folder/result"

# Desktop entry values are strings whose reader turns "\\" into "\" before
# Exec's own quoting is read; Exec quotes its path, escapes the characters
# that mean something inside the quotes, and reads "%" as a field code.
desktop_string() { printf '%s' "$1" | sed 's/\\/\\\\/g'; }
desktop_exec() {
  quoted=$(printf '%s' "$1" | sed 's/[\\"`$]/\\&/g')
  printf '"%s"' "$(desktop_string "$quoted" | sed 's/%/%%/g')"
}

mkdir -p "$folder/share/applications"
entry="$folder/share/applications/tosilk.desktop"
# The icon is named by its full path: the folder may lie anywhere, and only
# icons under the standard data folders can be found by name alone.
cat > "$entry" <<ENTRY
[Desktop Entry]
Type=Application
Name=tosilk
Name[zh_CN]=SILK 语音编码器
Comment=Encode an audio file as a SILK v3 voice file
Comment[zh_CN]=把音频文件编码为 SILK v3 语音文件
Exec=$(desktop_exec "$final/tosilk") %f
Icon=$(desktop_string "$final/share/icons/hicolor/256x256/apps/tosilk.png")
Terminal=false
Categories=AudioVideo;Audio;
MimeType=audio/mpeg;audio/x-wav;audio/wav;audio/ogg;audio/x-vorbis+ogg;audio/x-opus+ogg;audio/flac;audio/x-flac;audio/mp4;audio/x-m4a;audio/aac;audio/amr;audio/x-ms-wma;audio/x-ape;audio/x-wavpack;audio/x-aiff;audio/basic;audio/webm;audio/x-matroska;video/mp4;
StartupWMClass=tosilk
ENTRY
echo "已准备好：$final（ffmpeg -> $ffmpeg）"

if [ "$menu" = yes ]; then
  applications="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
  mkdir -p "$applications"
  cp "$entry" "$applications/tosilk.desktop"
  echo "已加入应用程序菜单：$applications/tosilk.desktop"
fi
