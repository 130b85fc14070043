#include "job/encode_job.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/file.h"
#include "testing/job_fixture.h"

namespace tosilk {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using testing::ReadAll;
using testing::Utf8Path;

const std::string kSilkHeader("\x02#!SILK_V3", 10);

struct NamesCase {
  const char* name;
  const char* folder;  // the program folder's label
  const char* source;  // the source file's name in it
};

class JobNamesTest : public ::testing::TestWithParam<NamesCase> {};

// The whole successful path: exact words for each tool, the .silk in a result
// folder the job made itself, and nothing else left there.
TEST_P(JobNamesTest, EncodesAndPassesEachToolExactlyItsWords) {
  ProgramFolder folder(GetParam().folder);
  const std::string source = folder.AddSource(GetParam().source);
  ASSERT_FALSE(fs::exists(folder.result()));

  const JobOutcome outcome = folder.Run(source);

  ASSERT_TRUE(outcome.ok()) << outcome.reason;
  EXPECT_EQ(outcome.reason, "");
  const std::string base = folder.Base("10041");
  EXPECT_EQ(outcome.output_path, base + ".silk");
  EXPECT_EQ(folder.WordsOf("ffmpeg"), ConverterWords(folder, source, base));
  EXPECT_EQ(folder.WordsOf("silk_v3_encoder"), EncoderWords(folder, base));
  EXPECT_EQ(ReadAll(Utf8Path(outcome.output_path)).substr(0, 10), kSilkHeader);
  EXPECT_THAT(folder.ResultEntries(), ElementsAre(std::string(kFixedStamp) + "10041.silk"));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, JobNamesTest,
    ::testing::Values(NamesCase{"Plain", "plain", "voice.mp3"},
                      NamesCase{"Blanks", "with  two blanks", "my voice.mp3"},
                      NamesCase{"Chinese", "语音 工具", "录音 一.wav"},
                      NamesCase{"ShellCharacters", "a&b ^c %PATH%", "x&y (1) ^%z%.ogg"},
                      NamesCase{"Emoji", "😀 folder", "😀.mp3"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Job, TakesTheTypedPathWithoutItsBlanksAndQuotes) {
  ProgramFolder folder("typed");
  const std::string source = folder.AddSource("a b.mp3");
  const JobOutcome outcome = folder.Run("  \"" + source + "\"\t");
  ASSERT_TRUE(outcome.ok()) << outcome.reason;
  EXPECT_EQ(folder.WordsOf("ffmpeg").at(3), source);
}

TEST(Job, ResolvesABareFileNameInTheCurrentDirectory) {
  ProgramFolder folder("bare");
  folder.AddSource("声音.mp3");
  testing::ScopedCurrentDirectory here(folder.path());
  const JobOutcome outcome = folder.Run("声音.mp3");
  ASSERT_TRUE(outcome.ok()) << outcome.reason;
  EXPECT_EQ(folder.WordsOf("ffmpeg").at(3), "声音.mp3");
}

TEST(Job, TwoJobsInARowGetTheNextSuffix) {
  ProgramFolder folder("twice");
  const std::string source = folder.AddSource("a.mp3");
  EXPECT_EQ(folder.Run(source).output_path, folder.Base("10041") + ".silk");
  EXPECT_EQ(folder.Run(source).output_path, folder.Base("28467") + ".silk");
}

// Files already in the result folder are never touched: a taken name, or a
// taken .pcm beside a free .silk, or a folder bearing the .pcm name, each make
// the job draw the next suffix.
TEST(Job, LeavesExistingFilesAloneAndDrawsTheNextSuffix) {
  ProgramFolder folder("taken");
  const std::string source = folder.AddSource("a.mp3");
  fs::create_directory(folder.result());
  testing::WriteAll(Utf8Path(folder.Base("10041") + ".silk"), "an earlier voice");
  testing::WriteAll(Utf8Path(folder.Base("28467") + ".pcm"), "someone's pcm");
  fs::create_directory(Utf8Path(folder.Base("16334") + ".pcm"));

  const JobOutcome outcome = folder.Run(source);

  ASSERT_TRUE(outcome.ok()) << outcome.reason;
  EXPECT_EQ(outcome.output_path, folder.Base("36500") + ".silk");
  EXPECT_EQ(ReadAll(Utf8Path(folder.Base("10041") + ".silk")), "an earlier voice");
  EXPECT_EQ(ReadAll(Utf8Path(folder.Base("28467") + ".pcm")), "someone's pcm");
  EXPECT_TRUE(fs::is_directory(Utf8Path(folder.Base("16334") + ".pcm")));
  const std::string stamp = kFixedStamp;
  EXPECT_THAT(folder.ResultEntries(),
              ElementsAre(stamp + "10041.silk", stamp + "16334.pcm", stamp + "28467.pcm",
                          stamp + "36500.silk"));
}

TEST(Job, GivesUpWhenEveryNameItDrawsIsTaken) {
  ProgramFolder folder("full");
  const std::string source = folder.AddSource("a.mp3");
  fs::create_directory(folder.result());
  SuffixGenerator same_sequence;
  for (int i = 0; i < 100; ++i) {
    testing::WriteAll(Utf8Path(folder.Base(same_sequence.Next()) + ".silk"), "kept");
  }
  const JobOutcome outcome = folder.Run(source);
  EXPECT_EQ(outcome.failure, JobFailure::kNoFreeName);
  EXPECT_EQ(folder.ResultEntries().size(), 100u);
  EXPECT_TRUE(folder.WordsOf("ffmpeg").empty());
}

// A tool that writes a great deal to standard error must not stall the job,
// and its last line is what the user gets to see.
TEST(Job, ReadsAllOfANoisyToolsErrorOutput) {
  ProgramFolder folder("noisy");
  const std::string source = folder.AddSource("a.mp3");
  folder.Behave("ffmpeg", "noise=20000\nexit=1\nstderr=Conversion failed!\n");
  const JobOutcome outcome = folder.Run(source);
  EXPECT_EQ(outcome.failure, JobFailure::kConverterFailed);
  EXPECT_EQ(outcome.reason,
            Join({"ffmpeg", kExecutableSuffix, " 转换失败（退出码 1）：Conversion failed!"}));
}

// Each way a job can fail: the reason names the cause, the encoder does not
// run after a failed conversion, and the result folder keeps nothing.
struct FailureCase {
  const char* name;
  std::function<void(ProgramFolder&)> arrange;
  // The typed source; "SOURCE" stands for a source file that exists. Here and
  // in the reason, "TOOLS" stands for the program folder.
  std::string typed;
  JobFailure failure;
  // A piece of the reason.
  std::string reason;
  bool encoder_runs;
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

void Nothing(ProgramFolder&) {}

// `text` with "TOOLS/" standing for the program folder and its separator, and
// "TOOLS" for the folder alone.
std::string WithFolder(std::string text, const ProgramFolder& folder) {
  if (const std::size_t at = text.find("TOOLS/"); at != std::string::npos) {
    text.replace(at, 6, folder.Inside(""));
  } else if (const std::size_t at_folder = text.find("TOOLS"); at_folder != std::string::npos) {
    text.replace(at_folder, 5, folder.text());
  }
  return text;
}

class JobFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(JobFailureTest, SaysWhyAndLeavesNothingBehind) {
  const FailureCase& c = GetParam();
  ProgramFolder folder("failing");
  const std::string source = folder.AddSource("a.mp3");
  c.arrange(folder);
  const std::string typed = c.typed == "SOURCE" ? source : WithFolder(c.typed, folder);

  const JobOutcome outcome = folder.Run(typed);

  EXPECT_FALSE(outcome.ok());
  EXPECT_EQ(outcome.failure, c.failure);
  EXPECT_EQ(outcome.output_path, "");
  EXPECT_NE(outcome.reason.find(WithFolder(c.reason, folder)), std::string::npos)
      << outcome.reason;
  EXPECT_EQ(!folder.WordsOf("silk_v3_encoder").empty(), c.encoder_runs);
  if (fs::is_directory(folder.result())) {
    EXPECT_TRUE(folder.ResultEntries().empty());
  }
}

const std::string kExe(kExecutableSuffix);

INSTANTIATE_TEST_SUITE_P(
    Failures, JobFailureTest,
    ::testing::Values(
        FailureCase{"EmptySource", Nothing, "", JobFailure::kEmptySource, "没有输入音频文件的路径",
                    false},
        FailureCase{"OnlyBlanksAndQuotes", Nothing, "  \"\"  ", JobFailure::kEmptySource,
                    "没有输入音频文件的路径", false},
        FailureCase{"ConverterMissing",
                    [](ProgramFolder& f) { fs::remove(f.path() / Utf8Path("ffmpeg" + kExe)); },
                    "SOURCE", JobFailure::kToolMissing, "找不到 ffmpeg" + kExe + "（应放在 TOOLS）",
                    false},
        FailureCase{"EncoderMissing",
                    [](ProgramFolder& f) {
                      fs::remove(f.path() / Utf8Path("silk_v3_encoder" + kExe));
                    },
                    "SOURCE", JobFailure::kToolMissing,
                    "找不到 silk_v3_encoder" + kExe + "（应放在 TOOLS）", false},
        FailureCase{"SourceMissing", Nothing, "no such file.mp3", JobFailure::kSourceMissing,
                    "找不到音频文件 no such file.mp3", false},
        FailureCase{"SourceIsAFolder", [](ProgramFolder& f) { fs::create_directory(f.path() / "d"); },
                    "TOOLS/d", JobFailure::kSourceIsFolder, "TOOLS/d 是文件夹，不是音频文件", false},
        FailureCase{"ResultIsAFile",
                    [](ProgramFolder& f) { testing::WriteAll(f.result(), "not a folder"); },
                    "SOURCE", JobFailure::kResultFolder, "无法创建结果文件夹 TOOLS/result", false},
        FailureCase{"ConverterIsNoProgram",
                    [](ProgramFolder& f) {
                      testing::WriteAll(f.path() / Utf8Path("ffmpeg" + kExe), "not a program");
                    },
                    "SOURCE", JobFailure::kToolNotStarted, "无法启动 ffmpeg" + kExe + "（", false},
        FailureCase{"ConverterFails",
                    [](ProgramFolder& f) {
                      f.Behave("ffmpeg", "exit=1\nstderr=a.mp3: Invalid data found when processing input\n");
                    },
                    "SOURCE", JobFailure::kConverterFailed,
                    "ffmpeg" + kExe + " 转换失败（退出码 1）：a.mp3: Invalid data found when processing input",
                    false},
        FailureCase{"ConverterFailsSilently", [](ProgramFolder& f) { f.Behave("ffmpeg", "exit=69\n"); },
                    "SOURCE", JobFailure::kConverterFailed, "转换失败（退出码 69）", false},
        FailureCase{"NoSamples", [](ProgramFolder& f) { f.Behave("ffmpeg", "output=empty\n"); },
                    "SOURCE", JobFailure::kNoAudio, "没有从", false},
        FailureCase{"EncoderFails",
                    [](ProgramFolder& f) {
                      f.Behave("silk_v3_encoder", "exit=3\nstderr=Error: bad input\n");
                    },
                    "SOURCE", JobFailure::kEncoderFailed,
                    "silk_v3_encoder" + kExe + " 编码失败（退出码 3）：Error: bad input", true},
        FailureCase{"EncoderWritesNothing",
                    [](ProgramFolder& f) { f.Behave("silk_v3_encoder", "output=none\n"); },
                    "SOURCE", JobFailure::kNoSilkOutput, "没有写出有效的 SILK 文件", true},
        FailureCase{"EncoderWritesSomethingElse",
                    [](ProgramFolder& f) { f.Behave("silk_v3_encoder", "output=bad\n"); },
                    "SOURCE", JobFailure::kNoSilkOutput, "没有写出有效的 SILK 文件", true},
        FailureCase{"EncoderWritesOnlyAHeader",
                    [](ProgramFolder& f) { f.Behave("silk_v3_encoder", "output=header\n"); },
                    "SOURCE", JobFailure::kNoSilkOutput, "没有写出有效的 SILK 文件", true}),
    [](const auto& info) { return std::string(info.param.name); });

struct CleanCase {
  const char* name;
  const char* typed;
  const char* clean;
};

class CleanSourcePathTest : public ::testing::TestWithParam<CleanCase> {};

TEST_P(CleanSourcePathTest, RemovesBlanksAroundAndOnePairOfQuotes) {
  EXPECT_EQ(CleanSourcePath(GetParam().typed), GetParam().clean);
}

INSTANTIATE_TEST_SUITE_P(
    Typed, CleanSourcePathTest,
    ::testing::Values(CleanCase{"AsIs", "D:\\a b.mp3", "D:\\a b.mp3"},
                      CleanCase{"CopiedAsPath", "\"D:\\a b.mp3\"", "D:\\a b.mp3"},
                      CleanCase{"BlanksAround", " \t\"D:\\a.mp3\" ", "D:\\a.mp3"},
                      CleanCase{"OnlyOnePair", "\"\"a.mp3\"\"", "\"a.mp3\""},
                      CleanCase{"QuoteOnOneSideOnly", "\"a.mp3", "\"a.mp3"},
                      CleanCase{"LoneQuote", "\"", "\""},
                      CleanCase{"InnerBlanksKept", "  a  b  ", "a  b"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tosilk
