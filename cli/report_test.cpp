#include "cli/report.h"

#include <gtest/gtest.h>

#include "cli/collected_output.h"

namespace tosilk::cli {
namespace {

TEST(JsonLine, IsOneObjectOfAsciiKeysWithTheValuesEscaped) {
  JobOutcome written;
  written.source = "D:\\音乐\\\"引号\"\t.mp3";
  written.output_path = "D:\\out\\x.silk";
  written.audio_ms = 4000;
  EXPECT_EQ(JsonLine(written, false, std::chrono::milliseconds(1234)),
            "{\"source\":\"D:\\\\音乐\\\\\\\"引号\\\"\\t.mp3\",\"output\":\"D:\\\\out\\\\x.silk\","
            "\"ok\":true,\"reason\":null,\"kind\":null,\"duration_ms\":4000,\"elapsed_ms\":1234}\n");

  JobOutcome missing;
  missing.failure = JobFailure::kSourceMissing;
  missing.source = "a\x01.mp3";
  EXPECT_EQ(JsonLine(missing, false, std::chrono::milliseconds(5)),
            "{\"source\":\"a\\u0001.mp3\",\"output\":null,\"ok\":false,"
            "\"reason\":\"找不到音频文件 a\\u0001.mp3\",\"kind\":\"source_missing\","
            "\"duration_ms\":0,\"elapsed_ms\":5}\n");

  JobOutcome text;
  text.failure = JobFailure::kNotAudio;
  EXPECT_NE(JsonLine(text, true, {}).find("\"kind\":\"skipped\""), std::string::npos);
}


JobOutcome Done(std::string source) {
  JobOutcome outcome;
  outcome.source = source;
  outcome.output_path = source + ".silk";
  return outcome;
}

TEST(Report, WritesPlainLinesInTheOrderOfTheFilesGiven) {
  CollectedOutput output(false);
  const std::vector<Source> sources = {{"a", false}, {"b", false}, {"c", true}};
  Report report(output, Report::Mode::kPlain, sources);
  JobOutcome c;
  c.failure = JobFailure::kNoAudioStream;
  c.source = "c";
  report.Ended(2, c, {});
  report.Ended(1, Done("b"), {});
  EXPECT_EQ(output.out, "") << "nothing before a's line";
  report.Ended(0, Done("a"), {});
  report.Finish(false);
  EXPECT_EQ(output.out, "a -> a.silk\nb -> b.silk\nc：已跳过，文件里没有音频：c\n");
  EXPECT_EQ(report.failed(), 0u) << "a file of a folder that is no audio is no failure";
}

TEST(Report, OnATerminalKeepsOneProgressLineAndShowsEachFailure) {
  CollectedOutput output(true);
  const std::vector<Source> sources = {{"a.mp3", false}, {"b.mp3", false}};
  Report report(output, Report::Mode::kTerminal, sources);
  report.Began(0);
  JobOutcome missing;
  missing.failure = JobFailure::kSourceMissing;
  missing.source = "a.mp3";
  report.Ended(0, missing, {});
  report.Ended(1, Done("b.mp3"), {});
  report.Finish(false);
  EXPECT_NE(output.out.find("\r[0/2] 失败 0 · 0 秒 · 正在：a"), std::string::npos) << output.out;
  EXPECT_NE(output.out.find("a.mp3：找不到音频文件 a.mp3\n"), std::string::npos) << output.out;
  EXPECT_TRUE(output.out.ends_with("完成 1 个，失败 1 个，用时 0 秒\n")) << output.out;
  EXPECT_EQ(report.failed(), 1u);
}

}  // namespace
}  // namespace tosilk::cli
