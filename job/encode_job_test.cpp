#include "job/encode_job.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/file.h"
#include "job/job_files.h"
#include "texts/texts.h"
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

  ASSERT_TRUE(outcome.ok()) << texts::FailureReason(outcome);
  // 0.1 s of PCM from the stand-in.
  EXPECT_EQ(outcome.audio_ms, 100u);
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

TEST(Job, TakesTheTypedPathCleaned) {
  ProgramFolder folder("typed");
  const std::string source = folder.AddSource("a b.mp3");
  const JobOutcome outcome = folder.Run("  \"" + source + "\"\t");
  ASSERT_TRUE(outcome.ok()) << texts::FailureReason(outcome);
  EXPECT_EQ(folder.WordsOf("ffmpeg").at(3), source);
}

TEST(Job, ResolvesABareFileNameInTheCurrentDirectory) {
  ProgramFolder folder("bare");
  folder.AddSource("声音.mp3");
  testing::ScopedCurrentDirectory here(folder.path());
  const JobOutcome outcome = folder.Run("声音.mp3");
  ASSERT_TRUE(outcome.ok()) << texts::FailureReason(outcome);
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

  ASSERT_TRUE(outcome.ok()) << texts::FailureReason(outcome);
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
  EXPECT_EQ(outcome.tool_line, "Conversion failed!");
}

const std::string kExe(kExecutableSuffix);

// Each way a job can fail: the reason names the cause first, the encoder
// does not run after a failed conversion, and the result folder keeps
// nothing. ffmpeg's lines are those it writes for such sources.
struct FailureCase {
  const char* name;
  // Sets the folder up; the source file "a.mp3" is there already.
  std::function<void(ProgramFolder&, const std::string& source)> arrange;
  // The typed source; "SOURCE" stands for the source file.
  std::string typed;
  JobFailure failure;
  // The whole reason, or (ending in "…") its start. "SOURCE" stands for the
  // source file, "TOOLS/" for the program folder and its separator, "TOOLS"
  // for the folder alone.
  std::string reason;
  bool encoder_runs;
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

void Nothing(ProgramFolder&, const std::string&) {}

// Tells ffmpeg to fail with exit code 1 and `lines` ("SOURCE" standing for
// the source) on its standard error.
std::function<void(ProgramFolder&, const std::string&)> FfmpegSays(std::string lines) {
  return [lines](ProgramFolder& folder, const std::string& source) {
    std::string said = lines;
    for (std::size_t at; (at = said.find("SOURCE")) != std::string::npos;) {
      said.replace(at, 6, source);
    }
    folder.Behave("ffmpeg", "exit=1\nstderr=" + said + "\n");
  };
}

std::string Placed(std::string text, const ProgramFolder& folder, const std::string& source) {
  for (std::size_t at; (at = text.find("SOURCE")) != std::string::npos;) {
    text.replace(at, 6, source);
  }
  for (std::size_t at; (at = text.find("TOOLS/")) != std::string::npos;) {
    text.replace(at, 6, folder.Inside(""));
  }
  for (std::size_t at; (at = text.find("TOOLS")) != std::string::npos;) {
    text.replace(at, 5, folder.text());
  }
  return text;
}

class JobFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(JobFailureTest, SaysWhyCauseFirstAndLeavesNothingBehind) {
  const FailureCase& c = GetParam();
  ProgramFolder folder("failing");
  const std::string source = folder.AddSource("a.mp3");
  c.arrange(folder, source);

  const JobOutcome outcome = folder.Run(Placed(c.typed, folder, source));

  EXPECT_FALSE(outcome.ok());
  EXPECT_EQ(outcome.failure, c.failure);
  EXPECT_EQ(outcome.output_path, "");
  const std::string reason = texts::FailureReason(outcome);
  const std::string expected = Placed(c.reason, folder, source);
  if (expected.ends_with("…")) {
    EXPECT_TRUE(reason.starts_with(expected.substr(0, expected.size() - 3))) << reason;
  } else {
    EXPECT_EQ(reason, expected);
  }
  EXPECT_FALSE(reason.starts_with(folder.text())) << "a reason never starts with a path";
  EXPECT_EQ(!folder.WordsOf("silk_v3_encoder").empty(), c.encoder_runs);
  EXPECT_TRUE(folder.ResultEntries().empty() || !fs::is_directory(folder.result()));
  EXPECT_TRUE(testing::EntryNames(folder.user_result()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, JobFailureTest,
    ::testing::Values(
        FailureCase{"EmptySource", Nothing, "", JobFailure::kEmptySource, "没有输入音频文件的路径",
                    false},
        FailureCase{"OnlyBlanksAndQuotes", Nothing, "  \"\"  ", JobFailure::kEmptySource,
                    "没有输入音频文件的路径", false},
        FailureCase{"ConverterMissing",
                    [](ProgramFolder& f, const std::string&) {
                      fs::remove(f.path() / Utf8Path("ffmpeg" + kExe));
                    },
                    "SOURCE", JobFailure::kToolMissing, "找不到 ffmpeg" + kExe + "（应放在 TOOLS）",
                    false},
        FailureCase{"EncoderMissing",
                    [](ProgramFolder& f, const std::string&) {
                      fs::remove(f.path() / Utf8Path("silk_v3_encoder" + kExe));
                    },
                    "SOURCE", JobFailure::kToolMissing,
                    "找不到 silk_v3_encoder" + kExe + "（应放在 TOOLS）", false},
        FailureCase{"ConverterIsNoProgram",
                    [](ProgramFolder& f, const std::string&) {
                      testing::WriteAll(f.path() / Utf8Path("ffmpeg" + kExe), "not a program");
                    },
                    "SOURCE", JobFailure::kToolNotStarted, "无法启动 ffmpeg" + kExe + "（…", false},
        FailureCase{"SourceMissing", Nothing, "no such file.mp3", JobFailure::kSourceMissing,
                    "找不到音频文件 no such file.mp3", false},
        FailureCase{"SourceIsAFolder",
                    [](ProgramFolder& f, const std::string&) {
                      fs::create_directory(f.path() / "d");
                    },
                    "TOOLS/d", JobFailure::kSourceIsFolder, "这是文件夹，不是音频文件：TOOLS/d",
                    false},
        FailureCase{"NeitherResultFolderCanBeMade",
                    [](ProgramFolder& f, const std::string&) {
                      testing::WriteAll(f.result(), "not a folder");
                      testing::WriteAll(f.path() / "user", "not a folder either");
                    },
                    "SOURCE", JobFailure::kResultFolder, "无法创建结果文件夹 TOOLS/result（…",
                    false},
        FailureCase{"NotAudio", FfmpegSays("SOURCE: Invalid data found when processing input"),
                    "SOURCE", JobFailure::kNotAudio,
                    "不是能识别的音频文件：SOURCE（ffmpeg" + kExe +
                        " 退出码 1：SOURCE: Invalid data found when processing input）",
                    false},
        FailureCase{"TextOrEmptyFileNamedMp3",
                    FfmpegSays("[mp3 @ 0x55a4935e28c0] Failed to read frame size: Could not seek "
                               "to 1026.\\nSOURCE: Invalid argument"),
                    "SOURCE", JobFailure::kNotAudio, "不是能识别的音频文件：SOURCE（…", false},
        FailureCase{"VideoOnly",
                    FfmpegSays("Output #0, s16le, to 'out.pcm':\\nOutput file #0 does not "
                               "contain any stream"),
                    "SOURCE", JobFailure::kNoAudioStream,
                    "文件里没有音频：SOURCE（ffmpeg" + kExe +
                        " 退出码 1：Output file #0 does not contain any stream）",
                    false},
        FailureCase{"AudioOfAnUnknownKind",
                    FfmpegSays("Decoder (codec aptx) not found for input stream #0:0"), "SOURCE",
                    JobFailure::kUnsupportedAudio, "不支持这种音频编码：SOURCE（…", false},
        FailureCase{"NoPermission", FfmpegSays("SOURCE: Permission denied"), "SOURCE",
                    JobFailure::kNoPermission, "没有权限读取音频文件：SOURCE（…", false},
        FailureCase{"DiskFullWhileConverting",
                    FfmpegSays("Error closing file out.pcm: No space left on device\\n"
                               "Conversion failed!"),
                    "SOURCE", JobFailure::kDiskFull,
                    "磁盘空间不足，无法写出结果（ffmpeg" + kExe +
                        " 退出码 1：Error closing file out.pcm: No space left on device）",
                    false},
        FailureCase{"ConverterFailsOtherwise", FfmpegSays("Conversion failed!"), "SOURCE",
                    JobFailure::kConverterFailed,
                    "ffmpeg" + kExe + " 转换失败（退出码 1）：Conversion failed!", false},
        FailureCase{"ConverterFailsSilently",
                    [](ProgramFolder& f, const std::string&) { f.Behave("ffmpeg", "exit=69\n"); },
                    "SOURCE", JobFailure::kConverterFailed, "ffmpeg" + kExe + " 转换失败（退出码 69）",
                    false},
        FailureCase{"NoSamples",
                    [](ProgramFolder& f, const std::string&) {
                      f.Behave("ffmpeg", "output=empty\n");
                    },
                    "SOURCE", JobFailure::kNoAudio,
                    "录音长度为零：SOURCE（ffmpeg" + kExe + " 没有得到任何音频数据）", false},
        FailureCase{"EncoderFails",
                    [](ProgramFolder& f, const std::string&) {
                      f.Behave("silk_v3_encoder", "exit=3\nstderr=Error: bad input\n");
                    },
                    "SOURCE", JobFailure::kEncoderFailed,
                    "silk_v3_encoder" + kExe + " 编码失败（退出码 3）：Error: bad input", true},
        FailureCase{"DiskFullWhileEncoding",
                    [](ProgramFolder& f, const std::string&) {
                      f.Behave("silk_v3_encoder",
                               "exit=1\nstderr=silk_v3_encoder: cannot write output \"x.silk\": "
                               "no space left on device\n");
                    },
                    "SOURCE", JobFailure::kDiskFull, "磁盘空间不足，无法写出结果（silk_v3_encoder…",
                    true},
        FailureCase{"TooLongForTheEncoder",
                    [](ProgramFolder& f, const std::string&) {
                      f.Behave("silk_v3_encoder",
                               "exit=1\nstderr=silk_v3_encoder: input too long for this "
                               "encoder\n");
                    },
                    "SOURCE", JobFailure::kInputTooLong, "录音太长，无法编码：SOURCE（…", true},
        FailureCase{"EncoderWritesNothing",
                    [](ProgramFolder& f, const std::string&) {
                      f.Behave("silk_v3_encoder", "output=none\n");
                    },
                    "SOURCE", JobFailure::kNoSilkOutput,
                    "silk_v3_encoder" + kExe + " 没有写出有效的 SILK 文件", true},
        FailureCase{"EncoderWritesSomethingElse",
                    [](ProgramFolder& f, const std::string&) {
                      f.Behave("silk_v3_encoder", "output=bad\n");
                    },
                    "SOURCE", JobFailure::kNoSilkOutput,
                    "silk_v3_encoder" + kExe + " 没有写出有效的 SILK 文件", true},
        FailureCase{"EncoderWritesOnlyAHeader",
                    [](ProgramFolder& f, const std::string&) {
                      f.Behave("silk_v3_encoder", "output=header\n");
                    },
                    "SOURCE", JobFailure::kNoSilkOutput,
                    "silk_v3_encoder" + kExe + " 没有写出有效的 SILK 文件", true}),
    [](const auto& info) { return std::string(info.param.name); });

// Installed where the program folder cannot be written, the job writes into
// the user's own result folder, and says where.
TEST(Job, WritesIntoTheUsersFolderWhenTheProgramsCannotBeMade) {
  ProgramFolder folder("read only");
  const std::string source = folder.AddSource("a.mp3");
  testing::WriteAll(folder.result(), "a file where the folder would be");
  const JobOutcome outcome = folder.Run(source);
  ASSERT_TRUE(outcome.ok()) << texts::FailureReason(outcome);
  EXPECT_EQ(Utf8Path(outcome.output_path).parent_path(), folder.user_result());
  EXPECT_EQ(testing::EntryNames(folder.user_result()),
            std::vector<std::string>{std::string(kFixedStamp) + "10041.silk"});
  EXPECT_EQ(ReadAll(folder.result()), "a file where the folder would be");
}

// A base that a running job holds, in this process or another, is never
// taken, even when no file of it exists yet.
TEST(Job, PassesOverABaseThatARunningJobHolds) {
  ProgramFolder folder("held");
  const std::string source = folder.AddSource("a.mp3");
  fs::create_directory(folder.result());
  const auto held = LockJobFiles(testing::PathText(folder.result()),
                                 std::string(kFixedStamp) + "10041");
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(folder.Run(source).output_path, folder.Base("28467") + ".silk");
}

TEST(Job, ReportsProgressFromFfmpegsLinesThenTheEncoding) {
  ProgramFolder folder("progress");
  const std::string source = folder.AddSource("a.mp3");
  folder.Behave("ffmpeg", "sleep=1000\n");
  std::vector<JobProgress> seen;
  JobHooks hooks;
  hooks.progress = [&](const JobProgress& progress) { seen.push_back(progress); };
  const JobOutcome outcome = folder.Run(source, hooks);
  ASSERT_TRUE(outcome.ok()) << texts::FailureReason(outcome);

  ASSERT_GE(seen.size(), 4u);
  EXPECT_EQ(seen.front().stage, JobProgress::Stage::kConverting);
  EXPECT_EQ(seen.front().percent, -1);
  EXPECT_EQ(seen.back().stage, JobProgress::Stage::kEncoding);
  int last = -1;
  int most = -1;
  for (const JobProgress& progress : seen) {
    if (progress.stage != JobProgress::Stage::kConverting) continue;
    EXPECT_GE(progress.percent, last);
    last = progress.percent;
    most = std::max(most, progress.percent);
  }
  EXPECT_GE(most, 80);
  EXPECT_LE(most, 100);
}

struct CancelCase {
  const char* name;
  const char* role;  // the tool that takes long
  JobProgress::Stage stage;
};

class JobCancelTest : public ::testing::TestWithParam<CancelCase> {};

// Cancelled from another thread while a tool takes its time, the job ends
// that tool and leaves nothing behind: no .pcm, no reserved .silk, no
// encoder's temporary file.
TEST_P(JobCancelTest, EndsTheToolAndRemovesItsFiles) {
  ProgramFolder folder("cancel");
  const std::string source = folder.AddSource("a.mp3");
  folder.Behave(GetParam().role, "sleep=60000\n");
  Cancellation cancellation;
  std::thread canceller;
  JobHooks hooks;
  hooks.cancellation = &cancellation;
  hooks.progress = [&](const JobProgress& progress) {
    if (progress.stage == GetParam().stage && !canceller.joinable()) {
      canceller = std::thread([&] {
        // Until the tool has made its files.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        cancellation.Cancel();
      });
    }
  };
  const JobOutcome outcome = folder.Run(source, hooks);
  if (canceller.joinable()) canceller.join();
  EXPECT_EQ(outcome.failure, JobFailure::kCancelled);
  EXPECT_EQ(texts::FailureReason(outcome), "已取消");
  EXPECT_TRUE(folder.ResultEntries().empty()) << ::testing::PrintToString(folder.ResultEntries());
}

INSTANTIATE_TEST_SUITE_P(
    Tools, JobCancelTest,
    ::testing::Values(CancelCase{"WhileConverting", "ffmpeg", JobProgress::Stage::kConverting},
                      CancelCase{"WhileEncoding", "silk_v3_encoder",
                                 JobProgress::Stage::kEncoding}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tosilk
