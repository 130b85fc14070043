#include "job/source_path.h"

#include <gtest/gtest.h>

#include "common/paths.h"

namespace tosilk {
namespace {

struct CleanCase {
  const char* name;
  const char* typed;
  const char* clean;
};

class CleanSourcePathTest : public ::testing::TestWithParam<CleanCase> {};

TEST_P(CleanSourcePathTest, RemovesBlanksAroundAndOnePairOfQuotes) {
  EXPECT_EQ(CleanSourcePath(GetParam().typed), GetParam().clean);
}

INSTANTIATE_TEST_SUITE_P(
    Typed, CleanSourcePathTest,
    ::testing::Values(CleanCase{"AsIs", "D:\\a b.mp3", "D:\\a b.mp3"},
                      CleanCase{"CopiedAsPath", "\"D:\\a b.mp3\"", "D:\\a b.mp3"},
                      CleanCase{"BlanksAround", " \t\"D:\\a.mp3\" ", "D:\\a.mp3"},
                      CleanCase{"OnlyOnePair", "\"\"a.mp3\"\"", "\"a.mp3\""},
                      CleanCase{"QuoteOnOneSideOnly", "\"a.mp3", "\"a.mp3"},
                      CleanCase{"LoneQuote", "\"", "\""},
                      CleanCase{"InnerBlanksKept", "  a  b  ", "a  b"},
                      CleanCase{"NotAUriWithoutItsSlash", "file://", "file://"}),
    [](const auto& info) { return std::string(info.param.name); });

// What file managers drop and put on the clipboard, and what users of a
// shell write, each as this platform has them.
struct PlatformCase {
  const char* name;
  const char* typed;
  const char* posix;    // what it means on Linux
  const char* windows;  // what it means on Windows
};

class PlatformPathTest : public ::testing::TestWithParam<PlatformCase> {};

TEST_P(PlatformPathTest, BecomesThePathOfAFile) {
  const PlatformCase& c = GetParam();
  std::string expected = kShellStylePaths ? c.posix : c.windows;
  if (expected.starts_with("HOME")) expected.replace(0, 4, HomeFolder());
  EXPECT_EQ(CleanSourcePath(c.typed), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Typed, PlatformPathTest,
    ::testing::Values(
        PlatformCase{"FileUri", "file:///home/me/%E5%BD%95%E9%9F%B3%20a.mp3",
                     "/home/me/录音 a.mp3", "file:///home/me/%E5%BD%95%E9%9F%B3%20a.mp3"},
        PlatformCase{"FileUriOfADrive", "file:///C:/My%20Music/a.mp3", "/C:/My Music/a.mp3",
                     "C:\\My Music\\a.mp3"},
        PlatformCase{"FileUriOfLocalhost", "file://localhost/tmp/a.mp3", "/tmp/a.mp3",
                     "file://localhost/tmp/a.mp3"},
        PlatformCase{"FileUriOfAnotherHost", "file://server/share/a.mp3",
                     "file://server/share/a.mp3", "\\\\server\\share\\a.mp3"},
        PlatformCase{"QuotedFileUri", "\"file:///tmp/a%25b.mp3\"", "/tmp/a%b.mp3",
                     "file:///tmp/a%25b.mp3"},
        PlatformCase{"HomeFolder", "~/音乐/a.mp3", "HOME/音乐/a.mp3", "~/音乐/a.mp3"},
        PlatformCase{"AnothersHome", "~bob/a.mp3", "~bob/a.mp3", "~bob/a.mp3"},
        PlatformCase{"SingleQuotes", "'/tmp/a b.mp3'", "/tmp/a b.mp3", "'/tmp/a b.mp3'"},
        PlatformCase{"SingleQuotesInside", "it's.mp3", "it's.mp3", "it's.mp3"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PercentDecoded, DecodesPairsOfHexDigitsOnly) {
  EXPECT_EQ(PercentDecoded("a%20b%2Fc%e5%bd%95"), "a b/c录");
  EXPECT_EQ(PercentDecoded("100%"), "100%");
  EXPECT_EQ(PercentDecoded("%zz%4"), "%zz%4");
}

}  // namespace
}  // namespace tosilk
