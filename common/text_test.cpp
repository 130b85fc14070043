#include "common/text.h"

#include <gtest/gtest.h>

#include <string>


namespace tosilk {
namespace {

struct JoinCase {
  const char* name;
  std::string first, second, third;
  std::string joined;
};

class JoinTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinTest, JoinsInOrder) {
  const JoinCase& c = GetParam();
  EXPECT_EQ(Join({c.first, c.second, c.third}), c.joined);
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, JoinTest,
    ::testing::Values(JoinCase{"AllEmpty", "", "", "", ""},
                      JoinCase{"EmptyInTheMiddle", "D:\\voice", "", "\\result\\",
                               "D:\\voice\\result\\"},
                      JoinCase{"Chinese", "编码完成，", "路径：", "2024年12月7日",
                               "编码完成，路径：2024年12月7日"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Join, OfNothingIsEmpty) { EXPECT_EQ(Join({}), ""); }

TEST(TrimBlanks, RemovesBlanksAtBothEndsOnly) {
  EXPECT_EQ(TrimBlanks(""), "");
  EXPECT_EQ(TrimBlanks(" \t\r\n"), "");
  EXPECT_EQ(TrimBlanks("  a b\t"), "a b");
  EXPECT_EQ(TrimBlanks("\"C:\\a b.mp3\"\r\n"), "\"C:\\a b.mp3\"");
}

}  // namespace
}  // namespace tosilk
