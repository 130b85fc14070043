#include "job/tools.h"

#include "common/paths.h"
#include "common/text.h"

namespace tosilk {
namespace {

Tool ToolNamed(std::string_view directory, std::string_view role, JobFailure failed,
               std::string_view failed_verb) {
  std::string name = Join({role, kExecutableSuffix});
  std::string path = Join({directory, kPathSeparator, name});
  return {std::move(name), std::move(path), failed, failed_verb};
}

}  // namespace

Tools ToolsIn(std::string_view program_directory) {
  return {ToolNamed(program_directory, "ffmpeg", JobFailure::kConverterFailed, "转换失败"),
          ToolNamed(program_directory, "silk_v3_encoder", JobFailure::kEncoderFailed,
                    "编码失败")};
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

}  // namespace tosilk
