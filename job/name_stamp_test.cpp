#include "job/name_stamp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tosilk {
namespace {

struct StampCase {
  const char* name;
  LocalTime time;
  const char* text;
};

class DateTimeTextTest : public ::testing::TestWithParam<StampCase> {};

TEST_P(DateTimeTextTest, WritesDownToTheLastFieldThatIsNotZero) {
  EXPECT_EQ(DateTimeText(GetParam().time), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Times, DateTimeTextTest,
    ::testing::Values(
        StampCase{"Seconds", {2024, 12, 7, 12, 31, 54}, "2024年12月7日12时31分54秒"},
        StampCase{"Minutes", {2024, 12, 7, 12, 30, 0}, "2024年12月7日12时30分"},
        StampCase{"Noon", {2024, 12, 7, 12, 0, 0}, "2024年12月7日12时"},
        StampCase{"Midnight", {2024, 12, 7, 0, 0, 0}, "2024年12月7日"},
        StampCase{"FiveAfterMidnight", {2024, 12, 7, 0, 5, 0}, "2024年12月7日0时5分"},
        StampCase{"SevenSecondsAfterMidnight", {2024, 12, 7, 0, 0, 7}, "2024年12月7日0时0分7秒"},
        StampCase{"OneDigitFields", {2025, 1, 2, 3, 4, 5}, "2025年1月2日3时4分5秒"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SuffixGenerator, GivesTheSameSequenceInEveryRun) {
  SuffixGenerator generator;
  std::vector<std::string> suffixes;
  for (int i = 0; i < 6; ++i) suffixes.push_back(generator.Next());
  EXPECT_EQ(suffixes, (std::vector<std::string>{"10041", "28467", "16334", "36500", "29169",
                                                "25724"}));
}

TEST(SuffixGenerator, StaysWithinItsRangeOverAFullPeriodSample) {
  SuffixGenerator generator;
  for (int i = 0; i < 100000; ++i) {
    const int suffix = std::stoi(generator.Next());
    ASSERT_GE(suffix, 10000);
    ASSERT_LE(suffix, 42767);
  }
}

}  // namespace
}  // namespace tosilk
