#include "cli/cli_options.h"

#include <gtest/gtest.h>

namespace tosilk::cli {
namespace {

struct GoodCase {
  const char* name;
  std::vector<std::string> words;
  CliOptions expected;
};

class GoodOptionsTest : public ::testing::TestWithParam<GoodCase> {};

TEST_P(GoodOptionsTest, AreRead) {
  const ParsedOptions parsed = ParseOptions(GetParam().words);
  ASSERT_TRUE(parsed.options.has_value()) << parsed.error;
  const CliOptions& got = *parsed.options;
  const CliOptions& expected = GetParam().expected;
  EXPECT_EQ(got.action, expected.action);
  EXPECT_EQ(got.inputs, expected.inputs);
  EXPECT_EQ(got.output_folder, expected.output_folder);
  EXPECT_EQ(got.jobs, expected.jobs);
  EXPECT_EQ(got.json, expected.json);
  EXPECT_EQ(got.recursive, expected.recursive);
  EXPECT_EQ(got.decode, expected.decode);
  EXPECT_EQ(got.format, expected.format);
}

CliOptions Inputs(std::vector<std::string> inputs) {
  CliOptions options;
  options.inputs = std::move(inputs);
  return options;
}

CliOptions With(CliOptions options, const std::function<void(CliOptions&)>& change) {
  change(options);
  return options;
}

INSTANTIATE_TEST_SUITE_P(
    Words, GoodOptionsTest,
    ::testing::Values(
        GoodCase{"Files", {"a.mp3", "音乐 文件夹"}, Inputs({"a.mp3", "音乐 文件夹"})},
        GoodCase{"AllOptions",
                 {"-o", "out", "-j", "3", "--json", "-r", "a.mp3"},
                 With(Inputs({"a.mp3"}), [](CliOptions& o) {
                   o.output_folder = "out";
                   o.jobs = 3;
                   o.json = true;
                   o.recursive = true;
                 })},
        GoodCase{"RunOnAndEqualsForms",
                 {"-oout", "-j4", "a", "--output=结果", "--jobs=2"},
                 With(Inputs({"a"}), [](CliOptions& o) {
                   o.output_folder = "结果";
                   o.jobs = 2;
                 })},
        GoodCase{"Decode",
                 {"--decode", "--format", "flac", "v.silk"},
                 With(Inputs({"v.silk"}), [](CliOptions& o) {
                   o.decode = true;
                   o.format = AudioFormat::kFlac;
                 })},
        GoodCase{"FilesThatLookLikeOptionsAfterTwoDashes",
                 {"--", "-j", "--json"},
                 Inputs({"-j", "--json"})},
        GoodCase{"Help", {"--help"}, With({}, [](CliOptions& o) {
                   o.action = CliOptions::Action::kHelp;
                 })},
        GoodCase{"Version", {"-V"}, With({}, [](CliOptions& o) {
                   o.action = CliOptions::Action::kVersion;
                 })}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadCase {
  const char* name;
  std::vector<std::string> words;
  const char* error;  // the start of the complaint
};

class BadOptionsTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadOptionsTest, AreRefusedWithAReason) {
  const ParsedOptions parsed = ParseOptions(GetParam().words);
  EXPECT_FALSE(parsed.options.has_value());
  EXPECT_TRUE(parsed.error.starts_with(GetParam().error)) << parsed.error;
}

INSTANTIATE_TEST_SUITE_P(
    Words, BadOptionsTest,
    ::testing::Values(BadCase{"Nothing", {}, "没有给出要转换的文件或文件夹"},
                      BadCase{"OnlyOptions", {"--json"}, "没有给出要转换的文件或文件夹"},
                      BadCase{"UnknownOption", {"-x", "a"}, "tosilk-cli：没有 -x 这个选项"},
                      BadCase{"MissingFolder", {"a", "-o"}, "tosilk-cli：-o 后面要写一个值"},
                      BadCase{"ZeroJobs", {"-j", "0", "a"}, "tosilk-cli：-j 要写 1 到 256"},
                      BadCase{"WordForJobs", {"-j", "many", "a"}, "tosilk-cli：-j 要写 1 到 256"},
                      BadCase{"UnknownFormat", {"--decode", "--format", "aac", "a"},
                              "tosilk-cli：不能解码成 aac 格式"},
                      BadCase{"FormatWithoutDecode", {"--format", "mp3", "a"},
                              "--format 只能和 --decode 一起用"},
                      BadCase{"ValueForAFlag", {"--json=yes", "a"}, "tosilk-cli：没有 --json=yes"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tosilk::cli
