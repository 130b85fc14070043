// The command line of tosilk-cli:
//
//   tosilk-cli [-o 文件夹] [-j N] [--json] [-r] 文件或文件夹…
//   tosilk-cli --decode [--format wav|mp3|ogg|flac] [-o 文件夹] [-j N] [--json] [-r] 文件或文件夹…
//   tosilk-cli --help / --version
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "job/decode_job.h"

namespace tosilk::cli {

struct CliOptions {
  enum class Action { kRun, kHelp, kVersion };
  Action action = Action::kRun;
  std::vector<std::string> inputs;
  std::string output_folder;  // empty: the result folder beside the program
  unsigned jobs = 0;          // 0: one for each logical processor
  bool json = false;
  bool recursive = false;
  bool decode = false;
  AudioFormat format = AudioFormat::kWav;
};

struct ParsedOptions {
  std::optional<CliOptions> options;
  std::string error;  // what is wrong with the command line, when nothing was parsed
};

// Reads the words after the program's own name. Options may come anywhere
// and may be written "-o DIR", "-oDIR", "--output DIR" or "--output=DIR";
// after "--" every word is a file.
ParsedOptions ParseOptions(const std::vector<std::string>& words);

}  // namespace tosilk::cli
