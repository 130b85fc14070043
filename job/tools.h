// The two tools the encoding job runs from the program folder, and the exact
// words it gives each of them.
#pragma once

#include <string>
#include <string_view>
#include <vector>


namespace tosilk {

struct Tool {
  std::string name;  // its file name, as the user knows it: "ffmpeg.exe"
  std::string path;  // its full path in the program folder
};

struct Tools {
  Tool converter;  // ffmpeg: the source to raw 24 kHz mono 16-bit PCM
  Tool encoder;    // silk_v3_encoder: that PCM to SILK v3, "-tencent" kind
  Tool decoder;    // silk_v3_decoder: SILK v3 back to that PCM
};

// The tools as they lie in `program_directory`, under this platform's
// program names.
Tools ToolsIn(std::string_view program_directory);

// ffmpeg -y -i SOURCE -f s16le -ar 24000 -ac 1 PCM
std::vector<std::string> ConverterWords(const Tool& converter, std::string_view source,
                                        std::string_view pcm);

// silk_v3_decoder SILK PCM
std::vector<std::string> DecoderWords(const Tool& decoder, std::string_view silk,
                                      std::string_view pcm);

// ffmpeg -y -f s16le -ar 24000 -ac 1 -i PCM OUTPUT: the decoder's PCM to an
// audio file of the kind OUTPUT's extension names.
std::vector<std::string> AudioFileWords(const Tool& converter, std::string_view pcm,
                                        std::string_view output);

// silk_v3_encoder PCM SILK -tencent
std::vector<std::string> EncoderWords(const Tool& encoder, std::string_view pcm,
                                      std::string_view silk);

}  // namespace tosilk
