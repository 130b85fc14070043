#include "ui/click_routine.h"

#include <gtest/gtest.h>

namespace tosilk {
namespace {

TEST(ResultMessage, SaysDoneWithThePathOrFailedWithTheReason) {
  EXPECT_EQ(ResultMessage({JobFailure::kNone, "", "D:\\voice\\result\\a.silk"}),
            "编码完成，路径：D:\\voice\\result\\a.silk");
  EXPECT_EQ(ResultMessage({JobFailure::kEmptySource, "没有输入音频文件的路径", ""}),
            "编码失败：没有输入音频文件的路径");
}

}  // namespace
}  // namespace tosilk
