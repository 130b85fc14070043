#include "common/named_lock.h"

#include <gtest/gtest.h>

namespace tosilk {
namespace {

TEST(NamedLock, HasOneHolderAtATime) {
  const std::string name = LockName("named lock test");
  std::unique_ptr<NamedLock> first = NamedLock::TryTake(name);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(NamedLock::TryTake(name), nullptr);
  EXPECT_NE(NamedLock::TryTake(LockName("another name")), nullptr);
  first.reset();
  EXPECT_NE(NamedLock::TryTake(name), nullptr);
}

TEST(LockName, IsShortPlainAndDiffersByKey) {
  const std::string name = LockName("D:\\语音\\result\\2024年12月7日12时31分54秒10041");
  EXPECT_EQ(name.size(), 7u + 16u);
  EXPECT_TRUE(name.starts_with("tosilk-"));
  EXPECT_EQ(name.find_first_not_of("tosilk-0123456789abcdef"), std::string::npos);
  EXPECT_NE(LockName("a"), LockName("b"));
  EXPECT_EQ(LockName("a"), LockName("a"));
}

}  // namespace
}  // namespace tosilk
