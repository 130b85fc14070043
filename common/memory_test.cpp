// Every allocation of the process, not only a text's, ends in the fatal
// failure when it cannot be made.
#include <gtest/gtest.h>

#include <string>

#include "common/fatal.h"

namespace tosilk {
namespace {

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
    std::string text;
    text.reserve(huge);
    FAIL() << "allocation of " << huge << " bytes succeeded";
  } catch (const FatalCalled& called) {
    // The string asks for one byte more, for its terminating NUL.
    EXPECT_NE(called.message.find(std::to_string(huge + 1)), std::string::npos)
        << called.message;
    EXPECT_NE(called.message.find("内存"), std::string::npos) << called.message;
  }
}

}  // namespace
}  // namespace tosilk
