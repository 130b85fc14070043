#include "common/process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "common/cancellation.h"
#include "common/paths.h"
#include "testing/fs_util.h"
#include "testing/standins.h"

namespace tosilk {
namespace {

struct LinesCase {
  const char* name;
  std::vector<std::string> chunks;
  std::vector<std::string> lines;  // every line handed out, in order
};

class LineSplitterTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(LineSplitterTest, HandsOutEachLineWithTextAndKeepsTheLast) {
  std::vector<std::string> lines;
  LineSplitter splitter([&](std::string_view line) { lines.emplace_back(line); });
  for (const std::string& chunk : GetParam().chunks) splitter.Feed(chunk);
  const std::string last = splitter.Finish();
  EXPECT_EQ(lines, GetParam().lines);
  EXPECT_EQ(last, lines.empty() ? "" : lines.back());
}

INSTANTIATE_TEST_SUITE_P(
    Streams, LineSplitterTest,
    ::testing::Values(
        LinesCase{"Nothing", {}, {}},
        LinesCase{"OnlyBlankLines", {"\n  \n\t\r\n"}, {}},
        LinesCase{"TrailingBlankLines", {"first\nsecond\n\n  \n"}, {"first", "second"}},
        LinesCase{"NoFinalLineBreak", {"first\nlast"}, {"first", "last"}},
        LinesCase{"SplitAcrossChunks", {"a.mp3: No such ", "file or dir", "ectory\n"},
                  {"a.mp3: No such file or directory"}},
        LinesCase{"ProgressLinesEndInCarriageReturns",
                  {"size= 1kB\rsize= 2kB\r", "Error while decoding\r\n"},
                  {"size= 1kB", "size= 2kB", "Error while decoding"}},
        LinesCase{"SurroundingBlanksTrimmed", {"  错误：无法读取  \n"}, {"错误：无法读取"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineSplitter, KeepsOnlyTheStartOfAnOverlongLine) {
  LineSplitter splitter;
  splitter.Feed(std::string(LineSplitter::kMaxLine * 3, 'x'));
  EXPECT_EQ(splitter.Finish(), std::string(LineSplitter::kMaxLine, 'x'));
}

TEST(RunProgram, ReportsAProgramThatCannotStart) {
  const ProcessOutcome outcome = RunProgram("/no/such/folder/tool", {"tool", "-y"});
  EXPECT_FALSE(outcome.started);
  EXPECT_FALSE(outcome.exit.succeeded());
  EXPECT_EQ(outcome.start_error.kind, SystemError::Kind::kNotFound);
  EXPECT_FALSE(outcome.start_error.text.empty());
}

// The stand-in ffmpeg in a folder of the test's own, told how to behave.
class StandinRun : public ::testing::Test {
 protected:
  StandinRun() : folder_("process") { testing::CopyStandins(folder_.path()); }

  void Behave(std::string_view behaviour) {
    testing::WriteAll(folder_.path() / "ffmpeg.behave", behaviour);
  }
  ProcessOutcome Run(const RunHooks& hooks) {
    const std::string program =
        folder_.text() + std::string(kPathSeparator) + "ffmpeg" + std::string(kExecutableSuffix);
    return RunProgram(program, {program, "-i", "missing.wav", "out.pcm"}, hooks);
  }

  testing::TempFolder folder_;
};

TEST_F(StandinRun, HandsOverEveryLineAndHowTheChildEnded) {
  Behave("exit=3\nstderr=first\\nsecond\n");
  std::vector<std::string> lines;
  const ProcessOutcome outcome =
      Run({[&](std::string_view line) { lines.emplace_back(line); }, nullptr});
  EXPECT_TRUE(outcome.started);
  EXPECT_EQ(outcome.exit.how, ExitStatus::How::kExited);
  EXPECT_EQ(outcome.exit.code, 3u);
  EXPECT_EQ(lines, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(outcome.last_error_line, "second");
  EXPECT_FALSE(outcome.cancelled);
}

// A child that would take a minute is ended as soon as another thread
// cancels, and the run says so.
TEST_F(StandinRun, CancelEndsTheRunningChild) {
  Behave("sleep=60000\n");
  Cancellation cancellation;
  bool progressed = false;
  std::thread canceller;
  const auto started = std::chrono::steady_clock::now();
  const ProcessOutcome outcome = Run({[&](std::string_view line) {
                                        // Cancels once the child shows it is under way.
                                        if (!progressed && line.starts_with("size=")) {
                                          progressed = true;
                                          canceller = std::thread([&] { cancellation.Cancel(); });
                                        }
                                      },
                                      &cancellation});
  if (canceller.joinable()) canceller.join();
  EXPECT_TRUE(progressed);
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_FALSE(outcome.exit.succeeded());
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
}

TEST_F(StandinRun, ACancelBeforeTheStartEndsTheChildAtOnce) {
  Behave("sleep=60000\n");
  Cancellation cancellation;
  cancellation.Cancel();
  const ProcessOutcome outcome = Run({{}, &cancellation});
  EXPECT_TRUE(outcome.started);
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_FALSE(outcome.exit.succeeded());
}

}  // namespace
}  // namespace tosilk
