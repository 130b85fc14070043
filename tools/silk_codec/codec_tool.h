// silk_v3_encoder and silk_v3_decoder: their command lines, checks and
// messages, the same on both platforms.
//
//   silk_v3_encoder IN.pcm OUT.silk [-tencent]
//     24 kHz mono s16le PCM in; a SILK v3 file out, starting with 0x02 and
//     then #!SILK_V3 with -tencent, with #!SILK_V3 without.
//   silk_v3_decoder IN.silk OUT.pcm
//     A SILK v3 file with or without the 0x02 byte in; 24 kHz mono s16le out.
//
// On success a tool prints nothing and exits 0. On failure it prints one
// UTF-8 line starting with "silk_v3_encoder: " or "silk_v3_decoder: " to
// standard error, exits 1 (2 for usage errors), and leaves OUT as it was.
#pragma once

#include <string>
#include <vector>

namespace tosilk::codec {

// Runs the tool named `tool` ("silk_v3_encoder" or "silk_v3_decoder") with
// `argv` (argv[0] first, UTF-8). Returns the exit code. The memory the codec
// may use can be lowered with the environment variable
// SILK_CODEC_MAX_MEMORY_MIB, which the tests use to make it run out.
int RunTool(const std::string& tool, const std::vector<std::string>& argv);

// `text` as a JSON string literal, quotes included: how paths appear in the
// messages, so that one with quotes or a line break still makes one line.
std::string Quote(const std::string& text);

}  // namespace tosilk::codec
