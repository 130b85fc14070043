// amrnb_encode: reads 8 kHz mono 16-bit little-endian PCM on standard input
// and writes it to standard output as an AMR-NB file (12.2 kbit/s, the
// "#!AMR\n" storage format). Debian's ffmpeg has no AMR encoder, so the tests
// of our ffmpeg.exe make their AMR source with this and opencore-amrnb.
//
// Built and run on Linux only, by ffmpeg_win32_test.sh.
#include <cstdio>
#include <memory>

#include <opencore-amrnb/interf_enc.h>

namespace {

struct EncoderCloser {
  void operator()(void* state) const { Encoder_Interface_exit(state); }
};
using Encoder = std::unique_ptr<void, EncoderCloser>;

// One AMR frame: 20 ms at 8 kHz.
constexpr std::size_t kFrameSamples = 160;

}  // namespace

int main() {
  Encoder encoder(Encoder_Interface_init(/*dtx=*/0));
  if (!encoder) {
    std::fputs("amrnb_encode: the encoder does not start\n", stderr);
    return 1;
  }
  std::fputs("#!AMR\n", stdout);
  short speech[kFrameSamples];
  unsigned char frame[64];
  for (;;) {
    std::size_t got = std::fread(speech, sizeof speech[0], kFrameSamples, stdin);
    if (got == 0) break;
    // The last frame is padded with silence, as every AMR encoder does.
    for (std::size_t i = got; i < kFrameSamples; ++i) speech[i] = 0;
    int bytes = Encoder_Interface_Encode(encoder.get(), MR122, speech, frame, /*forceSpeech=*/0);
    if (bytes < 0 || std::fwrite(frame, 1, static_cast<std::size_t>(bytes), stdout) !=
                         static_cast<std::size_t>(bytes)) {
      std::fputs("amrnb_encode: writing a frame failed\n", stderr);
      return 1;
    }
    if (got < kFrameSamples) break;
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
