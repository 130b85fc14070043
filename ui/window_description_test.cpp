#include "ui/window_description.h"

#include <gtest/gtest.h>

#include "job/encode_job.h"
#include "ui/click_routine.h"

namespace tosilk {
namespace {

TEST(WindowDescription, FocusGoesFromTheEditBoxToTheButton) {
  const std::vector<int> order = FocusOrder(kMainWindow);
  ASSERT_EQ(order.size(), 2u);
  EXPECT_EQ(kMainWindow.controls[order[0]].name, kPathEdit);
  EXPECT_EQ(kMainWindow.controls[order[1]].name, kEncodeButton);
}

TEST(WindowDescription, LowerTabOrderNumbersComeFirst) {
  WindowDescription window = kMainWindow;
  window.controls[2].tab_order = 0;  // the button
  window.controls[3].tab_order = 1;  // the edit box
  const std::vector<int> order = FocusOrder(window);
  EXPECT_EQ(order, (std::vector<int>{2, 3}));
}

struct CentreCase {
  int screen;
  int window;
  int edge;
};

class CentredEdgeTest : public ::testing::TestWithParam<CentreCase> {};

TEST_P(CentredEdgeTest, HalvesTheDifferenceTowardZero) {
  EXPECT_EQ(CentredEdge(GetParam().screen, GetParam().window), GetParam().edge);
}

INSTANTIATE_TEST_SUITE_P(Screens, CentredEdgeTest,
                         ::testing::Values(CentreCase{1024, 489, 267}, CentreCase{768, 201, 283},
                                           CentreCase{1920, 489, 715}, CentreCase{489, 489, 0},
                                           // Truncation toward zero, not floor: -1.5 is -1.
                                           CentreCase{486, 489, -1}, CentreCase{100, 201, -50}));

TEST(ResultMessage, SaysDoneWithThePathOrFailedWithTheReason) {
  EXPECT_EQ(ResultMessage({JobFailure::kNone, "", "D:\\voice\\result\\a.silk"}),
            "编码完成，路径：D:\\voice\\result\\a.silk");
  EXPECT_EQ(ResultMessage({JobFailure::kEmptySource, "没有输入音频文件的路径", ""}),
            "编码失败：没有输入音频文件的路径");
}

}  // namespace
}  // namespace tosilk
