#include <gtest/gtest.h>

#include "common/fatal.h"
#include "common/text.h"

namespace tosilk {
namespace {

// Without a window layer the message goes to standard error, and the exit
// code -1 shows as 255 in an 8-bit exit status.
TEST(FatalFailureDeathTest, PrintsTheMessageAndExitsWithMinusOne) {
  EXPECT_EXIT(FatalFailure("加载主窗口失败"), ::testing::ExitedWithCode(255), "加载主窗口失败");
}

TEST(FatalFailureDeathTest, FailedTextAllocationEndsTheProcess) {
  EXPECT_EXIT(ReserveText(std::string().max_size() - 1), ::testing::ExitedWithCode(255),
              "字节");
}

}  // namespace
}  // namespace tosilk
