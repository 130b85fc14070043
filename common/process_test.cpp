#include "common/process.h"

#include <gtest/gtest.h>

#include <string>

namespace tosilk {
namespace {

struct LastLineCase {
  const char* name;
  std::vector<std::string> chunks;
  std::string last;
};

class LastLineTest : public ::testing::TestWithParam<LastLineCase> {};

TEST_P(LastLineTest, KeepsTheLastLineWithText) {
  LastLineCollector collector;
  for (const std::string& chunk : GetParam().chunks) collector.Feed(chunk);
  EXPECT_EQ(collector.Finish(), GetParam().last);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, LastLineTest,
    ::testing::Values(
        LastLineCase{"Nothing", {}, ""},
        LastLineCase{"OnlyBlankLines", {"\n  \n\t\r\n"}, ""},
        LastLineCase{"TrailingBlankLines", {"first\nsecond\n\n  \n"}, "second"},
        LastLineCase{"NoFinalLineBreak", {"first\nlast"}, "last"},
        LastLineCase{"SplitAcrossChunks", {"a.mp3: No such ", "file or dir", "ectory\n"},
                     "a.mp3: No such file or directory"},
        LastLineCase{"ProgressLinesEndInCarriageReturns",
                     {"size= 1kB\rsize= 2kB\r", "Error while decoding\r\n"},
                     "Error while decoding"},
        LastLineCase{"SurroundingBlanksTrimmed", {"  错误：无法读取  \n"}, "错误：无法读取"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LastLineCollector, KeepsOnlyTheStartOfAnOverlongLine) {
  LastLineCollector collector;
  collector.Feed(std::string(LastLineCollector::kMaxLine * 3, 'x'));
  EXPECT_EQ(collector.Finish(), std::string(LastLineCollector::kMaxLine, 'x'));
}

TEST(RunProgram, ReportsAProgramThatCannotStart) {
  const ProcessOutcome outcome = RunProgram("/no/such/folder/tool", {"tool", "-y"});
  EXPECT_FALSE(outcome.started);
  EXPECT_FALSE(outcome.exit.succeeded());
  EXPECT_FALSE(outcome.start_error.empty());
}

}  // namespace
}  // namespace tosilk
