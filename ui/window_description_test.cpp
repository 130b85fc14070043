#include "ui/window_description.h"

#include <gtest/gtest.h>

namespace tosilk {
namespace {

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

}  // namespace
}  // namespace tosilk
