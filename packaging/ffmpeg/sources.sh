# sources.sh: sourced by the tests that need real recordings made here and
# now by Debian's ffmpeg. Needs $work (a scratch folder) and $sources_dir
# (the folder of this file) set by the script that sources it.

# Every source holds the same 4 s of stereo 48 kHz sound: two tones, one a
# channel, each slowly swelling, so a lost channel or a wrong mix shows.
duration_ms=4000
sound="aevalsrc=0.4*sin(2*PI*440*t)*(0.6+0.4*sin(2*PI*3*t))|0.4*sin(2*PI*660*t)*(0.6+0.4*cos(2*PI*2*t)):s=48000:d=4"
picture="testsrc2=size=160x120:rate=10:duration=4"

debian_ffmpeg() {
  ffmpeg -nostdin -v error -y "$@"
}

# make_source HOW PATH: writes the source PATH the way HOW names.
make_source() {
  how=$1 path=$2
  mkdir -p "$(dirname "$path")"
  case $how in
    amr)
      # Debian's ffmpeg has no AMR encoder; opencore-amrnb's is used.
      [ -x "$work/amrnb_encode" ] ||
        c++ -O2 -o "$work/amrnb_encode" "$sources_dir/amrnb_encode.cpp" -lopencore-amrnb
      debian_ffmpeg -f lavfi -i "$sound" -ar 8000 -ac 1 -f s16le - | "$work/amrnb_encode" >"$path" ;;
    video+audio)
      debian_ffmpeg -f lavfi -i "$picture" -f lavfi -i "$sound" -c:v libx264 -preset ultrafast \
        -c:a aac -shortest "$path" ;;
    video)
      debian_ffmpeg -f lavfi -i "$picture" -c:v libx264 -preset ultrafast "$path" ;;
    picture)
      debian_ffmpeg -f lavfi -i "testsrc2=size=64x64" -frames:v 1 "$path" ;;
    text)
      printf '这不是声音。\nThis is not sound.\n' >"$path" ;;
    empty)
      : >"$path" ;;
    *)
      # shellcheck disable=SC2086 # HOW is the encoder's options, a word each
      debian_ffmpeg -f lavfi -i "$sound" $how "$path" ;;
  esac
}

# Wine shows the whole Linux file system as drive Z:.
winpath() {
  printf 'Z:%s' "$1" | tr / '\\'
}
