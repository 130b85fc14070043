#include "job/tools.h"

#include "common/paths.h"
#include "common/text.h"

namespace tosilk {
namespace {

Tool ToolNamed(std::string_view directory, std::string_view role) {
  std::string name = Join({role, kExecutableSuffix});
  std::string path = Join({directory, kPathSeparator, name});
  return {std::move(name), std::move(path)};
}

}  // namespace

Tools ToolsIn(std::string_view program_directory) {
  return {ToolNamed(program_directory, "ffmpeg"), ToolNamed(program_directory, "silk_v3_encoder"),
          ToolNamed(program_directory, "silk_v3_decoder")};
}

std::vector<std::string> ConverterWords(const Tool& converter, std::string_view source,
                                        std::string_view pcm) {
  return {converter.path, "-y", "-i", std::string(source), "-f", "s16le", "-ar", "24000",
          "-ac", "1", std::string(pcm)};
}

std::vector<std::string> EncoderWords(const Tool& encoder, std::string_view pcm,
                                      std::string_view silk) {
  return {encoder.path, std::string(pcm), std::string(silk), "-tencent"};
}

std::vector<std::string> DecoderWords(const Tool& decoder, std::string_view silk,
                                      std::string_view pcm) {
  return {decoder.path, std::string(silk), std::string(pcm)};
}

std::vector<std::string> AudioFileWords(const Tool& converter, std::string_view pcm,
                                        std::string_view output) {
  return {converter.path, "-y", "-f", "s16le", "-ar", "24000", "-ac", "1", "-i",
          std::string(pcm), std::string(output)};
}

}  // namespace tosilk
