#!/bin/sh
# ffmpeg_win32_test.sh converts|failures|build FFMPEG_EXE
#
# Tests our ffmpeg.exe under Wine (scripts/wine-run) with real files that
# Debian's ffmpeg makes here and now, each case one line of a table below.
#   converts: every source becomes, with exactly the words tosilk uses,
#             24 kHz mono PCM as long as the source (within 100 ms) and the
#             same, to the last bit or so, as Debian's ffmpeg makes of it.
#   failures: the files tosilk must turn down; prints the exit code and the
#             last lines ffmpeg.exe writes, and checks them against what the
#             program is to recognise.
#   build:    no --enable-gpl or --enable-nonfree, LGPL 2.1 by ffmpeg's own
#             word, the licence files beside it quote the configure options,
#             and only system DLLs are imported.
set -eu
what=$1 exe=$2
here=$(cd "$(dirname "$0")" && pwd)
wine_run="$here/../../scripts/wine-run"
# Wine hands CJK arguments on to the program only from a UTF-8 locale.
export LANG=zh_CN.UTF-8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# make_source, and the 4 s of sound every source holds (duration_ms).
sources_dir=$here
. "$sources_dir/sources.sh"

# convert SOURCE PCM ERR: runs ffmpeg.exe with exactly the words tosilk
# gives it, and prints its exit code. Standard input is closed, as the
# program's is, so that ffmpeg takes no keys from the table being read.
convert() {
  code=0
  "$wine_run" "$exe" -y -i "$(winpath "$1")" -f s16le -ar 24000 -ac 1 "$(winpath "$2")" \
    </dev/null >/dev/null 2>"$3" || code=$?
  echo "$code"
}

# The last lines ffmpeg wrote, its progress (ended by CRs) and blank lines
# left out.
last_lines() {
  tr '\r' '\n' <"$1" | sed '/^[[:space:]]*$/d' | tail -n "$2"
}

passed=0 failed=0
# printf, not echo: dash's echo would take the backslashes of Windows paths
# for escapes.
pass() { passed=$((passed + 1)); printf 'ok   %s\n' "$1"; }
fail() { failed=$((failed + 1)); printf 'FAIL %s\n' "$1"; }

converts() {
  while IFS='|' read -r name file how; do
    src="$work/$file" base="$work/${file%.*}"
    make_source "$how" "$src"
    code=$(convert "$src" "$base.pcm" "$base.err")
    if [ "$code" -ne 0 ] || [ ! -f "$base.pcm" ]; then
      fail "$name: exit code $code, no PCM; ffmpeg.exe said:"
      last_lines "$base.err" 5 | sed 's/^/       /'
      continue
    fi
    # 24000 mono 16-bit samples a second: 48 bytes a millisecond.
    ms=$(($(stat -c %s "$base.pcm") / 48))
    off=$((ms - duration_ms))
    if [ "${off#-}" -gt 100 ]; then
      fail "$name: $ms ms of PCM from $duration_ms ms of sound"
      continue
    fi
    # Debian's ffmpeg decodes with the same code; the two results may differ
    # by rounding alone. The loudest sample of their difference tells.
    debian_ffmpeg -i "$src" -f s16le -ar 24000 -ac 1 "$base.debian.pcm"
    loudest=$(ffmpeg -nostdin -hide_banner -f s16le -ar 24000 -ac 1 -i "$base.pcm" \
                -f s16le -ar 24000 -ac 1 -i "$base.debian.pcm" \
                -filter_complex '[0][1]amerge=inputs=2,pan=mono|c0=c0-c1,volumedetect' -f null - 2>&1 |
              sed -n 's/.*max_volume: \(.*\) dB/\1/p')
    if ! awk -v db="$loudest" 'BEGIN { exit !(db != "" && db + 0 <= -60) }'; then
      fail "$name: differs from Debian's ffmpeg's PCM by up to ${loudest:-?} dB"
      continue
    fi
    pass "$name: $ms ms, differs from Debian's ffmpeg's PCM by at most $loudest dB"
  done <<EOF
wav|sound.wav|-ar 44100
mp3_stereo_48k|sound.mp3|-c:a libmp3lame -b:a 128k
ogg_vorbis|sound.ogg|-c:a libvorbis
opus_in_ogg|sound.opus|-c:a libopus -b:a 64k
flac|sound.flac|-c:a flac
m4a_aac|sound.m4a|-c:a aac -b:a 128k
amr_nb|sound.amr|amr
wma|sound.wma|-c:a wmav2 -b:a 128k
mp4_with_video|film.mp4|video+audio
cjk_and_blanks|新 文件夹/一段 录音 (1).m4a|-c:a aac -b:a 128k
EOF
}

failures() {
  while IFS='|' read -r name file how expected; do
    src="$work/$file" base="$work/${file%.*}"
    make_source "$how" "$src"
    code=$(convert "$src" "$base.pcm" "$base.err")
    last=$(last_lines "$base.err" 1)
    left="no PCM left"
    [ ! -e "$base.pcm" ] || left="a PCM of $(stat -c %s "$base.pcm") bytes left"
    # The table names the source as SOURCE; ffmpeg names it by its path.
    pattern=$(printf '%s' "$expected" | sed "s|SOURCE|$(winpath "$src" | sed 's/[\\|&]/\\&/g')|")
    if [ "$code" -eq 1 ] && [ "$last" = "$pattern" ]; then
      pass "$name: exit code $code, $left; the last lines:"
    else
      fail "$name: exit code $code, $left, last line not \"$pattern\"; the last lines:"
    fi
    last_lines "$base.err" 2 | sed 's/^/       /'
  done <<EOF
video_only_mp4|film.mp4|video|Output file #0 does not contain any stream
png|picture.png|picture|SOURCE: Invalid data found when processing input
text_named_mp3|words.mp3|text|SOURCE: Invalid argument
empty_mp3|empty.mp3|empty|SOURCE: Invalid argument
empty_wav|empty.wav|empty|SOURCE: Invalid data found when processing input
EOF
}

build() {
  version=$("$wine_run" "$exe" -version </dev/null | tr -d '\r')
  configuration=$(printf '%s\n' "$version" | sed -n 's/^configuration: //p')
  case " $configuration " in
    "  ") fail "-version names no configuration" ;;
    *" --enable-gpl "* | *" --enable-nonfree "*) fail "configured with: $configuration" ;;
    *) pass "-version shows neither --enable-gpl nor --enable-nonfree" ;;
  esac

  licence=$("$wine_run" "$exe" -hide_banner -L </dev/null | tr -d '\r' | tr '\n' ' ')
  case $licence in
    *"GNU Lesser General Public License"*"version 2.1 of the License, or"*"(at your option) any later version"*)
      pass "-L: the GNU Lesser General Public License, version 2.1 or later" ;;
    *) fail "-L says: $licence" ;;
  esac

  # The options the exe was built with are those of configure_options.txt,
  # and the note beside it quotes every one of them.
  licenses="$(dirname "$exe")/licenses"
  note="$licenses/ffmpeg-来源-source.txt"
  options=$(sed -e '/^[[:space:]]*#/d' -e '/^[[:space:]]*$/d' "$here/configure_options.txt")
  if [ "$(printf '%s' "$configuration" | tr -d "'")" = "$(printf '%s' "$options" | tr '\n' ' ')" ]; then
    pass "built with the options of configure_options.txt"
  else
    fail "built with: $configuration"
  fi
  missing=$(printf '%s\n' "$options" | while read -r option; do
    grep -qF -- "$option" "$note" || echo "$option"
  done)
  if [ -z "$missing" ] && grep -q '^本文件夹上一层的 ffmpeg.exe 是 FFmpeg ' "$note" &&
     grep -q 'apt-get source ffmpeg=[0-9]' "$note"; then
    pass "the source note names the package, its version and every option"
  else
    fail "the source note $note lacks: ${missing:-the package or its version}"
  fi
  if grep -q 'GNU LESSER GENERAL PUBLIC LICENSE' "$licenses/ffmpeg-LGPL-2.1.txt" &&
     grep -q 'Version 2.1' "$licenses/ffmpeg-LGPL-2.1.txt"; then
    pass "the LGPL 2.1 text is beside it"
  else
    fail "no LGPL 2.1 text in $licenses/ffmpeg-LGPL-2.1.txt"
  fi

  # DLLs that every Windows from 7 on has in System32.
  system="advapi32.dll bcrypt.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll psapi.dll shell32.dll user32.dll ws2_32.dll"
  imports=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' |
            tr 'A-Z' 'a-z' | tr '\n' ' ' | sed 's/ $//')
  foreign=""
  for dll in $imports; do
    case " $system " in *" $dll "*) ;; *) foreign="$foreign $dll" ;; esac
  done
  if [ -n "$imports" ] && [ -z "$foreign" ]; then
    pass "imports system DLLs only: $imports"
  else
    fail "imports other DLLs:${foreign:- none found}"
  fi
}

case $what in
  converts | failures | build) "$what" ;;
  *) echo "usage: ffmpeg_win32_test.sh converts|failures|build FFMPEG_EXE" >&2; exit 2 ;;
esac
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
