// Stand-ins for ffmpeg, silk_v3_encoder and silk_v3_decoder, for tests. Each writes down the
// exact words it received (as its own C runtime split its command line) into
// ROLE.args beside itself, one word after another, each ended by a NUL byte,
// and then behaves as told by ROLE.behave beside itself, if that exists:
//
//   exit=N        fail with exit code N, writing no file
//   stderr=TEXT   what it writes to standard error last (with exit=N, or
//                 after its output otherwise); "\n" in TEXT ends a line
//   noise=N       first write N progress lines to standard error
//   sleep=MS      first take MS milliseconds, writing ffmpeg's lines of
//                 progress meanwhile ("Duration: ..." once, then "time=..."
//                 every 100 ms), as a long recording would; the encoder
//                 keeps ".OUT.standin.tmp" beside its output meanwhile,
//                 and the converter has begun its output
//   output=KIND   what to write instead of the usual output: "none" (nothing,
//                 yet exit 0), "empty" (an empty file), "bad" (a file that is
//                 not SILK), "header" (a SILK header and nothing after it)
//
// Without it, the converter writes 0.1 s of PCM (nothing for an empty source)
// to its last word, the encoder writes a small SILK file to its third, and
// the decoder 0.1 s of PCM to its third. Like the real tools, each fails
// when its input does not exist; the converter fails as ffmpeg does on a
// source that starts with "NOT AUDIO", and takes MS milliseconds over one
// that starts with "sleep=MS"; the decoder fails on a file that is no SILK.
// Each run adds a line "START END" (milliseconds since the epoch) to
// ROLE.runs beside it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tosilk::standin {

// The role, "ffmpeg", "silk_v3_encoder" or "silk_v3_decoder", the stand-in's process id (which
// it writes into ROLE.pid beside itself, for tests to see whether it still
// runs), and the words as received.
int Run(std::string_view role, unsigned long pid, const std::vector<std::string>& words);

}  // namespace tosilk::standin
