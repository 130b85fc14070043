#include "tools/standin/standin.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

#include "common/paths.h"
#include "testing/fs_util.h"

namespace tosilk::standin {
namespace {

namespace fs = std::filesystem;
using tosilk::testing::ReadAll;
using tosilk::testing::Utf8Path;
using tosilk::testing::WriteAll;

std::map<std::string, std::string> ReadBehaviour(const fs::path& file) {
  std::map<std::string, std::string> behaviour;
  std::istringstream lines(ReadAll(file));
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) behaviour[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return behaviour;
}

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return code;
}

// The converter's input follows "-i"; its output is the last word.
int Convert(const std::vector<std::string>& words, const std::string& output_kind) {
  std::string input;
  for (std::size_t i = 1; i + 1 < words.size(); ++i) {
    if (words[i] == "-i") input = words[i + 1];
  }
  if (words.size() < 2 || !fs::is_regular_file(Utf8Path(input))) {
    return Fail(1, input + ": No such file or directory");
  }
  const bool empty = output_kind == "empty" || fs::file_size(Utf8Path(input)) == 0;
  if (output_kind == "none") return 0;
  // 0.1 s of 24 kHz 16-bit samples, a slow ramp so it is not all zeros.
  std::string pcm;
  if (!empty) {
    for (int i = 0; i < 2400; ++i) {
      pcm += static_cast<char>(i & 0xFF);
      pcm += static_cast<char>((i >> 8) & 0xFF);
    }
  }
  if (!WriteAll(Utf8Path(words.back()), pcm)) return Fail(1, "cannot write " + words.back());
  return 0;
}

// The encoder reads its second word and writes its third.
int Encode(const std::vector<std::string>& words, const std::string& output_kind) {
  if (words.size() < 3) return Fail(2, "usage: silk_v3_encoder IN OUT [-tencent]");
  const fs::path input = Utf8Path(words[1]);
  if (!fs::is_regular_file(input) || fs::file_size(input) == 0) {
    return Fail(1, "Error: could not read input file " + words[1]);
  }
  if (output_kind == "none") return 0;
  std::string silk;
  if (output_kind == "bad") {
    silk = "RIFF this is not a SILK stream";
  } else if (output_kind != "empty") {
    silk = std::string("\x02#!SILK_V3", 10);
    if (output_kind != "header") silk += std::string(32, '\x11');
  }
  if (!WriteAll(Utf8Path(words[2]), silk)) return Fail(1, "cannot write " + words[2]);
  return 0;
}

}  // namespace

int Run(std::string_view role, const std::vector<std::string>& words) {
  const fs::path folder = Utf8Path(DirectoryOf(ExecutablePath(), kPathSeparator));
  const std::string name(role);

  std::string record;
  for (const std::string& word : words) {
    record += word;
    record += '\0';
  }
  WriteAll(folder / Utf8Path(name + ".args"), record);

  std::map<std::string, std::string> behaviour = ReadBehaviour(folder / Utf8Path(name + ".behave"));
  const int noise = std::atoi(behaviour["noise"].c_str());
  for (int i = 0; i < noise; ++i) {
    std::fprintf(stderr, "size=%8d kB time=00:00:%02d.00 bitrate= 384.0kbits/s speed=99x\r",
                 i, i % 60);
  }
  const int exit_code = std::atoi(behaviour["exit"].c_str());
  if (exit_code != 0) return Fail(exit_code, behaviour["stderr"]);

  return role == "ffmpeg" ? Convert(words, behaviour["output"])
                          : Encode(words, behaviour["output"]);
}

}  // namespace tosilk::standin
