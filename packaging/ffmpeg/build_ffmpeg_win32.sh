#!/bin/sh
# build_ffmpeg_win32.sh CACHE [OUT]
#
# Makes our audio-only, LGPL-only ffmpeg.exe for 32-bit Windows from Debian
# 12's own ffmpeg source package, cross-compiled with mingw-w64 and the
# options in configure_options.txt beside this script, and keeps it in
# CACHE/KEY: ffmpeg.exe and licenses/ (ffmpeg's LGPL text, its LICENSE.md and
# a note in Chinese and English naming the source package, its version, the
# configure line and where the source can be had).
#
# KEY is a hash of the recipe: this script, the options, the version of the
# Debian source package and the compilers' versions. A cached build is used
# as it is; a changed recipe builds afresh into a new KEY, in CACHE/KEY/work,
# which goes once the build has succeeded.
#
# With OUT, copies ffmpeg.exe and licenses/ into OUT, touching only files
# that differ, so that what depends on them is not rebuilt for nothing.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$1"
cache=$(cd "$1" && pwd) out=${2:-}
script="$here/build_ffmpeg_win32.sh"
cc=i686-w64-mingw32-gcc-win32

# The options are words, one a line; one of them holds a * for configure to
# match. So unquoted expansions split at line ends alone and expand no
# patterns.
IFS='
'
set -f
options=$(sed -e '/^[[:space:]]*#/d' -e '/^[[:space:]]*$/d' "$here/configure_options.txt")

# The newest ffmpeg source package that the deb-src entries offer, as
# apt-get source would choose it (scripts/install-deps adds the entries).
version=""
for candidate in $(apt-cache showsrc ffmpeg 2>/dev/null | sed -n 's/^Version: //p'); do
  if [ -z "$version" ] || dpkg --compare-versions "$candidate" gt "$version"; then
    version=$candidate
  fi
done
if [ -z "$version" ]; then
  echo "build_ffmpeg_win32: apt knows no ffmpeg source package; run scripts/install-deps" >&2
  exit 1
fi

recipe=$(
  echo "source package: ffmpeg $version"
  echo "script: $(sha256sum <"$script" | cut -d' ' -f1)"
  echo "compiler: $("$cc" --version | head -n 1)"
  echo "assembler: $(nasm -v)"
  echo "options:"
  printf '%s\n' "$options"
)
key=$(printf '%s\n' "$recipe" | sha256sum | cut -c1-16)
dir="$cache/$key"

# Quotes an option for a shell when it holds more than plain characters.
quote() {
  case $1 in
    *[!A-Za-z0-9_=,./+:-]*) printf "'%s'" "$1" ;;
    *) printf '%s' "$1" ;;
  esac
}

# Writes text from standard input as Notepad reads it best in every version
# of Windows: CRLF line ends, and with "bom" a UTF-8 byte-order mark.
windows_text() {
  if [ "${2:-}" = bom ]; then printf '\357\273\277' >"$1"; else : >"$1"; fi
  sed 's/\r$//; s/$/\r/' >>"$1"
}

write_note() {
  upstream=${version#*:}
  upstream=${upstream%-*}
  # One option a line, as a shell takes it when pasted.
  line="./configure"
  for option in $options; do line="$line \\
      $(quote "$option")"; done
  compiler=$("$cc" --version | head -n 1)
  dsc="ffmpeg_${version#*:}.dsc"
  windows_text "$1" bom <<EOF
ffmpeg.exe 的来源 / Where ffmpeg.exe comes from
================================================

本文件夹上一层的 ffmpeg.exe 是 FFmpeg $upstream，由 tosilk 项目用 Debian 12
("bookworm") 的源代码包 ffmpeg（版本 $version，即 FFmpeg 的原始
代码加上 Debian 的补丁）为 32 位 Windows 构建，没有做其他修改。它按 GNU 宽通用
公共许可证（LGPL）2.1 或更新版本发布，条文见 ffmpeg-LGPL-2.1.txt，FFmpeg 自己的
许可说明见 ffmpeg-LICENSE.txt。构建时没有使用 --enable-gpl 或 --enable-nonfree，
也没有链接任何外部库；它只含读取常见音频文件、把声音转成 PCM 所需的部分。

The ffmpeg.exe one folder up is FFmpeg $upstream, built for 32-bit Windows
by the tosilk project from Debian 12 ("bookworm")'s source package ffmpeg,
version $version (FFmpeg's own code with Debian's patches),
with no other changes. It is licensed under the GNU Lesser General Public
License, version 2.1 or later: see ffmpeg-LGPL-2.1.txt, and FFmpeg's own
licence statement in ffmpeg-LICENSE.txt. It was configured without
--enable-gpl and without --enable-nonfree, and links no outside library; it
holds only what reading common audio files and turning them into PCM needs.

源代码 / Source code
--------------------

- 在 Debian 12 上 / On Debian 12 (with a deb-src entry for bookworm):
    apt-get source ffmpeg=$version
- Debian 的存档 / Debian's archive (the files $dsc,
  ffmpeg_$upstream.orig.tar.xz and ffmpeg_${version#*:}.debian.tar.xz):
    https://deb.debian.org/debian/pool/main/f/ffmpeg/
    https://snapshot.debian.org/package/ffmpeg/${version#*:}/
    https://sources.debian.org/src/ffmpeg/${version#*:}/
- FFmpeg: https://ffmpeg.org/

构建方式 / How it was built
---------------------------

用 Debian 12 的 mingw-w64 交叉编译器（$compiler）和 nasm
在解开的源代码包之外的文件夹中配置和编译，静态链接 gcc 和 mingw-w64 的运行库：
Configured and built outside the unpacked source package with Debian 12's
mingw-w64 cross compiler ($compiler) and nasm, with gcc's and
mingw-w64's runtimes linked in statically:

    $line
    make

tosilk 项目的 packaging/ffmpeg/build_ffmpeg_win32.sh 做的正是这些。
This is what tosilk's packaging/ffmpeg/build_ffmpeg_win32.sh does.
EOF
}

build() {
  # A folder without its stamp is a build that failed or was cut short, here
  # or for another recipe; its work files are of no more use.
  set +f
  for old in "$cache"/*/; do
    [ ! -d "$old" ] || [ -f "$old/done" ] || rm -rf "$old"
  done
  set -f
  rm -rf "$dir"
  mkdir -p "$dir/work/build"
  log="$dir/build.log"
  printf '%s\n' "$recipe" >"$dir/recipe.txt"
  echo "build_ffmpeg_win32: building ffmpeg.exe from Debian's ffmpeg $version into $dir (a few minutes)"

  # Run as root, apt cannot hand its own _apt user a folder it may not enter.
  (cd "$dir/work" && apt-get source -q -o APT::Sandbox::User=root "ffmpeg=$version") >"$log" 2>&1 ||
    fail "apt-get source ffmpeg=$version failed"
  src=$(find "$dir/work" -mindepth 1 -maxdepth 1 -type d -name 'ffmpeg-*')
  [ -x "$src/configure" ] || fail "no unpacked ffmpeg source in $dir/work"

  started=$(date +%s)
  # shellcheck disable=SC2086 # the options are one a line, split at line ends
  (cd "$dir/work/build" && "$src/configure" $options) >>"$log" 2>&1 || fail "configure failed"
  configured=$(date +%s)
  (cd "$dir/work/build" && make -j"$(nproc)") >>"$log" 2>&1 || fail "make failed"
  made=$(date +%s)

  cp "$dir/work/build/ffmpeg.exe" "$dir/ffmpeg.exe"
  mkdir -p "$dir/licenses"
  windows_text "$dir/licenses/ffmpeg-LGPL-2.1.txt" <"$src/COPYING.LGPLv2.1"
  windows_text "$dir/licenses/ffmpeg-LICENSE.txt" <"$src/LICENSE.md"
  write_note "$dir/licenses/ffmpeg-来源-source.txt"
  printf 'configure %ss\nmake %ss\n' "$((configured - started))" "$((made - configured))" >"$dir/times.txt"
  # The source and the objects are some 100 MB and are never needed again.
  rm -rf "$dir/work"
  touch "$dir/done"
  echo "build_ffmpeg_win32: configure $((configured - started)) s, make $((made - configured)) s," \
       "ffmpeg.exe $(wc -c <"$dir/ffmpeg.exe") bytes"
}

fail() {
  echo "build_ffmpeg_win32: $1; the last lines of $log:" >&2
  tail -n 30 "$log" >&2
  exit 1
}

# Copies FROM to TO unless TO already holds the same bytes.
place() {
  if ! cmp -s "$1" "$2"; then
    mkdir -p "$(dirname "$2")"
    cp "$1" "$2.new" && mv "$2.new" "$2"
  fi
}

if [ ! -f "$dir/done" ]; then
  # One build at a time per cache; a second caller waits and then finds it made.
  exec 9>"$cache/.lock"
  flock 9
  [ -f "$dir/done" ] || build
  exec 9>&-
fi

if [ -n "$out" ]; then
  set +f
  place "$dir/ffmpeg.exe" "$out/ffmpeg.exe"
  for file in "$dir/licenses/"*; do
    place "$file" "$out/licenses/$(basename "$file")"
  done
fi
