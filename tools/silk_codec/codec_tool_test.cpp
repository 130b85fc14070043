#include "tools/silk_codec/codec_tool.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/silk_codec/codec_file.h"

namespace tosilk::codec {
namespace {

struct QuoteCase {
  const char* name;
  std::string text;
  std::string quoted;
};

class QuoteTest : public ::testing::TestWithParam<QuoteCase> {};

// The paths in the messages are quoted as JSON.stringify quotes them, as the
// Node encoder did, so a caller reading either sees the same form.
TEST_P(QuoteTest, QuotesLikeJsonStringify) { EXPECT_EQ(Quote(GetParam().text), GetParam().quoted); }

INSTANTIATE_TEST_SUITE_P(
    Paths, QuoteTest,
    ::testing::Values(
        QuoteCase{"Plain", "/tmp/a b.pcm", "\"/tmp/a b.pcm\""},
        QuoteCase{"Cjk", "输入 音频.pcm", "\"输入 音频.pcm\""},
        QuoteCase{"QuotesAndBackslash", "a\"b\\c", "\"a\\\"b\\\\c\""},
        QuoteCase{"LineBreaks", "two\nlines\r", "\"two\\nlines\\r\""},
        QuoteCase{"OtherControls", std::string("x\x01y\x1f", 4), "\"x\\u0001y\\u001f\""},
        QuoteCase{"Empty", "", "\"\""}),
    [](const ::testing::TestParamInfo<QuoteCase>& info) { return std::string(info.param.name); });

TEST(TemporaryPathTest, LiesBesideTheOutputAndHidesBehindADot) {
  EXPECT_EQ(TemporaryPathFor("/d/out.silk", "0123456789ab"), "/d/.out.silk.0123456789ab.tmp");
  EXPECT_EQ(TemporaryPathFor("out.silk", "0123456789ab"), ".out.silk.0123456789ab.tmp");
}

TEST(RandomSuffixTest, IsTwelveHexDigitsAndVaries) {
  const std::string a = RandomSuffix();
  EXPECT_EQ(a.size(), 12u);
  EXPECT_EQ(a.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_NE(a, RandomSuffix());
}

}  // namespace
}  // namespace tosilk::codec
