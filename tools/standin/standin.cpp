#include "tools/standin/standin.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

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

// `text` with each "\n" in it made a line break.
std::string Lines(std::string text) {
  for (std::size_t at; (at = text.find("\\n")) != std::string::npos;) text.replace(at, 2, "\n");
  return text;
}

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "%s\n", Lines(message).c_str());
  return code;
}

// Takes `milliseconds`, saying how far it has got the way ffmpeg does, with
// the time already done standing for the recording's length.
void TakeTime(int milliseconds) {
  if (milliseconds <= 0) return;
  const auto clock = [](int ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%02d", ms / 3600000, ms / 60000 % 60,
                  ms / 1000 % 60, ms / 10 % 100);
    return std::string(text);
  };
  std::fprintf(stderr, "  Duration: %s, start: 0.000000, bitrate: 128 kb/s\n",
               clock(milliseconds).c_str());
  for (int done = 0; done < milliseconds; done += 100) {
    std::fprintf(stderr, "size=%8d kB time=%s bitrate= 384.0kbits/s speed=1x    \r", done,
                 clock(done).c_str());
    std::fflush(stderr);
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min(100, milliseconds - done)));
  }
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
  // A source may say how it is to be taken, on its first line.
  const std::string content = ReadAll(Utf8Path(input));
  if (content.starts_with("NOT AUDIO")) {
    return Fail(1, input + ": Invalid data found when processing input");
  }
  if (content.starts_with("sleep=")) TakeTime(std::atoi(content.c_str() + 6));
  const bool empty = output_kind == "empty" || content.empty();
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

// The decoder reads its second word and writes its third.
int Decode(const std::vector<std::string>& words) {
  if (words.size() != 3) return Fail(2, "usage: silk_v3_decoder IN OUT");
  const std::string silk = ReadAll(Utf8Path(words[1]));
  if (!silk.starts_with("\x02#!SILK_V3") && !silk.starts_with("#!SILK_V3")) {
    return Fail(1, "silk_v3_decoder: input \"" + words[1] + "\" is not a SILK v3 file");
  }
  // 0.1 s of 24 kHz 16-bit silence.
  if (!WriteAll(Utf8Path(words[2]), std::string(4800, '\0'))) {
    return Fail(1, "cannot write " + words[2]);
  }
  return 0;
}

// Notes when the run began and ended, in milliseconds since the epoch, one
// line per run, so that a test can tell which runs overlapped.
class RunLog {
 public:
  explicit RunLog(fs::path path) : path_(std::move(path)), start_(Now()) {}
  ~RunLog() {
    std::ofstream log(path_, std::ios::app);
    log << start_ << ' ' << Now() << '\n';
  }

 private:
  static long long Now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
  }
  fs::path path_;
  long long start_;
};

}  // namespace

int Run(std::string_view role, unsigned long pid, const std::vector<std::string>& words) {
  const fs::path folder = Utf8Path(DirectoryOf(ExecutablePath(), kPathSeparator));
  const std::string name(role);

  std::string record;
  for (const std::string& word : words) {
    record += word;
    record += '\0';
  }
  WriteAll(folder / Utf8Path(name + ".args"), record);
  WriteAll(folder / Utf8Path(name + ".pid"), std::to_string(pid));
  const RunLog log(folder / Utf8Path(name + ".runs"));

  std::map<std::string, std::string> behaviour = ReadBehaviour(folder / Utf8Path(name + ".behave"));
  const int noise = std::atoi(behaviour["noise"].c_str());
  for (int i = 0; i < noise; ++i) {
    std::fprintf(stderr, "size=%8d kB time=00:00:%02d.00 bitrate= 384.0kbits/s speed=99x\r",
                 i, i % 60);
  }
  // While it takes its time, the encoder has a temporary file beside its
  // output, as the real one has; a stand-in ended meanwhile leaves it.
  const int sleep_ms = std::atoi(behaviour["sleep"].c_str());
  fs::path temporary;
  if (role == "silk_v3_encoder" && sleep_ms > 0 && words.size() >= 3) {
    const fs::path output = Utf8Path(words[2]);
    temporary = output.parent_path() / Utf8Path("." + tosilk::testing::PathText(output.filename()) +
                                                ".standin.tmp");
    WriteAll(temporary, "partial");
  }
  // The converter writes its output as it goes, as the real one does.
  if (role == "ffmpeg" && sleep_ms > 0 && words.size() >= 2) {
    WriteAll(Utf8Path(words.back()), "partial pcm");
  }
  TakeTime(sleep_ms);
  if (!temporary.empty()) fs::remove(temporary);
  const int exit_code = std::atoi(behaviour["exit"].c_str());
  if (exit_code != 0) return Fail(exit_code, behaviour["stderr"]);

  const int done = role == "ffmpeg"            ? Convert(words, behaviour["output"])
                   : role == "silk_v3_decoder" ? Decode(words)
                                               : Encode(words, behaviour["output"]);
  if (!behaviour["stderr"].empty()) std::fprintf(stderr, "%s\n", Lines(behaviour["stderr"]).c_str());
  return done;
}

}  // namespace tosilk::standin
