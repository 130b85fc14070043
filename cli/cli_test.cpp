// tosilk-cli with the stand-in tools: in this process for what it makes of
// its words and files, and as a program of its own for its exit statuses,
// its redirected output and (on POSIX) the signals that end it.
#include "cli/cli.h"

#include <gtest/gtest.h>

#include "cli/collected_output.h"

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>

#include "common/paths.h"
#include "testing/job_fixture.h"
#include "testing/run_captured.h"

namespace tosilk::cli {
namespace {

namespace fs = std::filesystem;
using tosilk::testing::EntryNames;
using tosilk::testing::PathText;
using tosilk::testing::ReadAll;
using tosilk::testing::Utf8Path;
using tosilk::testing::WriteAll;


// One for the whole test program: it takes the signals.
Interrupts& TheInterrupts() {
  static Interrupts interrupts;
  return interrupts;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A program folder with the stand-ins, an output folder beside it, and
// tosilk-cli run in this process on them.
class CliTest : public ::testing::Test {
 protected:
  CliTest() : folder_("命令行 程序"), out_(folder_.Inside("输出 文件夹")) {}

  int Run(std::vector<std::string> words, bool terminal = false) {
    output_ = CollectedOutput(terminal);
    return RunCli(words, folder_.setting(), output_, TheInterrupts());
  }
  // A source in a folder of the program folder.
  std::string Source(const std::string& relative, std::string_view content = "RIFF audio") {
    const fs::path path = folder_.path() / Utf8Path(relative);
    fs::create_directories(path.parent_path());
    WriteAll(path, content);
    return PathText(path);
  }
  std::vector<std::string> Outputs() const { return EntryNames(Utf8Path(out_)); }

  ProgramFolder folder_;
  std::string out_;
  CollectedOutput output_;
};

TEST_F(CliTest, NamesEachFileAfterItsSourceAndNeverOverwrites) {
  const std::string a1 = Source("一/a.mp3");
  const std::string a2 = Source("二/a.mp3");
  const std::string b = Source("b c.wav");
  fs::create_directories(Utf8Path(out_));
  WriteAll(Utf8Path(out_) / "a.silk", "an earlier voice");

  EXPECT_EQ(Run({"-o", out_, a1, a2, b}), kAllDone) << output_.err;

  EXPECT_EQ(Outputs(), (std::vector<std::string>{"a (2).silk", "a (3).silk", "a.silk", "b c.silk"}));
  EXPECT_EQ(ReadAll(Utf8Path(out_) / "a.silk"), "an earlier voice");
  // In the order given, whichever name each got.
  const std::vector<std::string> lines = Lines(output_.out);
  ASSERT_EQ(lines.size(), 3u) << output_.out;
  EXPECT_TRUE(lines[0].starts_with(a1 + " -> ")) << lines[0];
  EXPECT_TRUE(lines[1].starts_with(a2 + " -> ")) << lines[1];
  EXPECT_EQ(lines[2], b + " -> " + out_ + std::string(kPathSeparator) + "b c.silk");
  std::set<std::string> named;
  for (const std::string& line : lines) named.insert(line.substr(line.find(" -> ") + 4));
  EXPECT_EQ(named.size(), 3u);
}

TEST_F(CliTest, TakesAFoldersFilesPassingOverWhatIsNoAudioAndWithRItsSubfolders) {
  Source("录音/a.mp3");
  Source("录音/说明.txt", "NOT AUDIO, only words");
  Source("录音/.hidden.mp3");
  Source("录音/子/c.ogg");
  const std::string folder = folder_.Inside("录音");

  EXPECT_EQ(Run({"-o", out_, folder}), kAllDone) << output_.out;
  EXPECT_EQ(Outputs(), std::vector<std::string>{"a.silk"});
  const std::vector<std::string> lines = Lines(output_.out);
  ASSERT_EQ(lines.size(), 2u) << output_.out;
  EXPECT_TRUE(lines[1].starts_with(folder + std::string(kPathSeparator) + "说明.txt：已跳过，不是能识别的音频文件"))
      << lines[1];

  EXPECT_EQ(Run({"-o", out_, "-r", folder}), kAllDone);
  EXPECT_EQ(Outputs(), (std::vector<std::string>{"a (2).silk", "a.silk", "c.silk"}));
}

struct StatusCase {
  const char* name;
  std::vector<std::string> words;  // "SOURCE" stands for a source that converts
  int status;
  const char* out;  // the start of what goes to standard output
  const char* err;  // and to standard error
};

class CliStatusTest : public CliTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(CliStatusTest, ExitsWithWhatHappened) {
  const StatusCase& c = GetParam();
  std::vector<std::string> words = {"-o", out_};
  for (const std::string& word : c.words) {
    words.push_back(word == "SOURCE"  ? Source("a.mp3")
                    : word == "TEXT" ? Source("t.mp3", "NOT AUDIO")
                                     : word);
  }
  EXPECT_EQ(Run(words), c.status);
  EXPECT_TRUE(output_.out.starts_with(c.out)) << output_.out;
  EXPECT_TRUE(output_.err.starts_with(c.err)) << output_.err;
}

INSTANTIATE_TEST_SUITE_P(
    Words, CliStatusTest,
    ::testing::Values(
        StatusCase{"AllConverted", {"SOURCE"}, kAllDone, "", ""},
        // A file named that is no audio is a failure, not passed over.
        StatusCase{"ANamedFileIsNoAudio", {"SOURCE", "TEXT"}, kSomeFailed, "", ""},
        StatusCase{"AFileIsMissing", {"missing.mp3"}, kSomeFailed, "missing.mp3：找不到音频文件", ""},
        StatusCase{"UsageError", {"--frobnicate", "SOURCE"}, kUsageError, "",
                   "tosilk-cli：没有 --frobnicate 这个选项\n用法：tosilk-cli"},
        StatusCase{"Help", {"--help"}, kAllDone, "tosilk-cli 0.1.0 —— ", ""},
        StatusCase{"Version", {"--version"}, kAllDone, "tosilk-cli 0.1.0\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// A field's value in a JSON line of ours: a string, or what stands there.
std::string Field(const std::string& line, const std::string& key) {
  const std::regex pattern("\"" + key + "\":(\"(([^\"\\\\]|\\\\.)*)\"|[^,}]*)");
  std::smatch found;
  if (!std::regex_search(line, found, pattern)) return "<missing>";
  return found[2].matched ? found[2].str() : found[1].str();
}

TEST_F(CliTest, JsonLinesTellEachFileAndMatchTheFilesWritten) {
  const std::string a = Source("a.mp3");
  const std::string text = Source("t.mp3", "NOT AUDIO");
  EXPECT_EQ(Run({"--json", "-o", out_, a, text}), kSomeFailed);
  const std::vector<std::string> lines = Lines(output_.out);
  ASSERT_EQ(lines.size(), 2u) << output_.out;
  for (const std::string& line : lines) {
    EXPECT_TRUE(line.starts_with("{") && line.ends_with("}")) << line;
    for (const char* key : {"source", "output", "ok", "reason", "kind", "duration_ms", "elapsed_ms"}) {
      EXPECT_NE(Field(line, key), "<missing>") << key << " in " << line;
    }
  }
  EXPECT_EQ(Field(lines[0], "ok"), "true");
  EXPECT_EQ(Field(lines[0], "duration_ms"), "100");
  const std::string written = Field(lines[0], "output");
  EXPECT_TRUE(fs::is_regular_file(Utf8Path(std::regex_replace(written, std::regex("\\\\\\\\"), "\\"))))
      << written;
  EXPECT_EQ(Field(lines[1], "ok"), "false");
  EXPECT_EQ(Field(lines[1], "kind"), "not_audio");
  EXPECT_EQ(Field(lines[1], "output"), "null");
  EXPECT_EQ(Outputs(), std::vector<std::string>{"a.silk"});
}

TEST_F(CliTest, WritesLinesInTheOrderGivenWhenLaterFilesEndFirst) {
  const std::string slow = Source("slow.mp3", "sleep=800");
  const std::string quick1 = Source("quick1.mp3");
  const std::string quick2 = Source("quick2.mp3");
  EXPECT_EQ(Run({"-j", "3", "-o", out_, slow, quick1, quick2}), kAllDone);
  const std::vector<std::string> lines = Lines(output_.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_TRUE(lines[0].starts_with(slow)) << output_.out;
  EXPECT_TRUE(lines[1].starts_with(quick1)) << output_.out;
  EXPECT_TRUE(lines[2].starts_with(quick2)) << output_.out;
}

// The largest number of converter runs that were under way at one time.
int MostAtOnce(const fs::path& runs) {
  std::vector<std::pair<long long, int>> events;
  std::istringstream lines(ReadAll(runs));
  for (long long start, end; lines >> start >> end;) {
    events.emplace_back(start, 1);
    events.emplace_back(end, -1);
  }
  std::sort(events.begin(), events.end());
  int running = 0;
  int most = 0;
  for (const auto& [time, change] : events) most = std::max(most, running += change);
  return most;
}

TEST_F(CliTest, RunsAsManyJobsAtOnceAsAsked) {
  std::vector<std::string> words = {"-o", out_, "-j", "4"};
  for (int i = 0; i < 4; ++i) words.push_back(Source("f" + std::to_string(i) + ".mp3", "sleep=600"));
  EXPECT_EQ(Run(words), kAllDone);
  EXPECT_GE(MostAtOnce(folder_.path() / "ffmpeg.runs"), 2);

  fs::remove(folder_.path() / "ffmpeg.runs");
  words[3] = "1";
  EXPECT_EQ(Run(words), kAllDone);
  EXPECT_EQ(MostAtOnce(folder_.path() / "ffmpeg.runs"), 1);
  EXPECT_EQ(Outputs().size(), 8u);
}

TEST_F(CliTest, OnATerminalShowsProgressEachFailureAndASummary) {
  const std::string a = Source("a.mp3");
  EXPECT_EQ(Run({"-o", out_, a, "gone.mp3"}, true), kSomeFailed);
  EXPECT_NE(output_.out.find("\r[0/2]"), std::string::npos) << output_.out;
  EXPECT_NE(output_.out.find("gone.mp3：找不到音频文件 gone.mp3\n"), std::string::npos) << output_.out;
  EXPECT_NE(output_.out.find("完成 1 个，失败 1 个"), std::string::npos) << output_.out;
}

TEST_F(CliTest, DecodesSilkFilesBackToAudio) {
  ASSERT_EQ(Run({"-o", out_, Source("语音.mp3")}), kAllDone);
  const std::string silk = out_ + std::string(kPathSeparator) + "语音.silk";
  const std::string decoded = folder_.Inside("解码");
  EXPECT_EQ(Run({"--decode", "-o", decoded, silk}), kAllDone) << output_.out;
  EXPECT_EQ(EntryNames(Utf8Path(decoded)), std::vector<std::string>{"语音.wav"});
  EXPECT_EQ(Run({"--decode", "--format", "flac", "-o", decoded, silk}), kAllDone);
  EXPECT_EQ(EntryNames(Utf8Path(decoded)), (std::vector<std::string>{"语音.flac", "语音.wav"}));

  const std::string not_silk = Source("假的.silk", "RIFF no voice");
  EXPECT_EQ(Run({"--decode", "-o", decoded, not_silk}), kSomeFailed);
  EXPECT_TRUE(output_.out.starts_with(not_silk + "：不是 SILK 文件：")) << output_.out;
  EXPECT_EQ(EntryNames(Utf8Path(decoded)).size(), 2u);
}

// tosilk-cli itself, copied into a program folder with the stand-ins, run as
// a script would run it: arguments with blanks and CJK, output to files.
class CliProgramTest : public ::testing::Test {
 protected:
  CliProgramTest() : folder_("命令行 a&b") {
    const std::string name = "tosilk-cli" + std::string(kExecutableSuffix);
    fs::copy_file(Utf8Path(ProgramDirectory()) / ".." / Utf8Path(name), folder_.path() / Utf8Path(name));
    program_ = folder_.Inside(name);
  }

  testing::Captured Run(std::vector<std::string> words) {
    words.insert(words.begin(), program_);
    return testing::RunCaptured(program_, words, fs::temp_directory_path());
  }

  ProgramFolder folder_;
  std::string program_;
};

TEST_F(CliProgramTest, WritesUtf8LinesWhenRedirectedAndExitsWithWhatHappened) {
  const std::string source = folder_.AddSource("😀 录音 (1).mp3");
  const testing::Captured done = Run({source});
  EXPECT_EQ(done.status, kAllDone) << done.err;
  const std::string written = folder_.Inside("result") + std::string(kPathSeparator) + "😀 录音 (1).silk";
  EXPECT_EQ(done.out, source + " -> " + written + "\n");
  EXPECT_TRUE(fs::is_regular_file(Utf8Path(written)));

  const testing::Captured failed = Run({folder_.Inside("不在.mp3")});
  EXPECT_EQ(failed.status, kSomeFailed);
  EXPECT_EQ(failed.out, folder_.Inside("不在.mp3") + "：找不到音频文件 " + folder_.Inside("不在.mp3") + "\n");

  const testing::Captured usage = Run({"-j"});
  EXPECT_EQ(usage.status, kUsageError);
  EXPECT_TRUE(usage.err.starts_with("tosilk-cli：-j 后面要写一个值\n用法：")) << usage.err;
}

}  // namespace
}  // namespace tosilk::cli
