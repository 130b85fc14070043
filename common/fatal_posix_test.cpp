#include <gtest/gtest.h>

#include "common/fatal.h"
#include <limits>
#include <new>

namespace tosilk {
namespace {

// Without a window layer the message goes to standard error, and the exit
// code -1 shows as 255 in an 8-bit exit status.
TEST(FatalFailureDeathTest, PrintsTheMessageAndExitsWithMinusOne) {
  EXPECT_EXIT(FatalFailure("加载主窗口失败"), ::testing::ExitedWithCode(255), "加载主窗口失败");
}

TEST(FatalFailureDeathTest, FailedAllocationEndsTheProcess) {
  EXPECT_EXIT((void)::operator new(std::numeric_limits<std::size_t>::max() / 2),
              ::testing::ExitedWithCode(255), "无法分配 [0-9]+ 字节");
}

}  // namespace
}  // namespace tosilk
