#include "common/text.h"

#include <gtest/gtest.h>

#include <string>

#include "common/fatal.h"

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

// A handler that records the message and leaves by throwing, as a fatal
// handler must not return.
struct FatalCalled {
  std::string message;
};
void ThrowingHandler(std::string_view message) { throw FatalCalled{std::string(message)}; }

class FatalHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = SetFatalHandler(&ThrowingHandler); }
  void TearDown() override { SetFatalHandler(previous_); }

 private:
  FatalHandler previous_ = nullptr;
};

TEST_F(FatalHandlerTest, FailedAllocationNamesTheBytesAskedFor) {
  // More than any process can have, yet within what std::string may try.
  const std::size_t huge = std::string().max_size() - 1;
  try {
    ReserveText(huge);
    FAIL() << "allocation of " << huge << " bytes succeeded";
  } catch (const FatalCalled& called) {
    EXPECT_NE(called.message.find(std::to_string(huge)), std::string::npos) << called.message;
    EXPECT_NE(called.message.find("内存"), std::string::npos) << called.message;
  }
}

TEST(TrimBlanks, RemovesBlanksAtBothEndsOnly) {
  EXPECT_EQ(TrimBlanks(""), "");
  EXPECT_EQ(TrimBlanks(" \t\r\n"), "");
  EXPECT_EQ(TrimBlanks("  a b\t"), "a b");
  EXPECT_EQ(TrimBlanks("\"C:\\a b.mp3\"\r\n"), "\"C:\\a b.mp3\"");
}

}  // namespace
}  // namespace tosilk
