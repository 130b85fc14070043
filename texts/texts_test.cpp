#include "texts/texts.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "common/paths.h"
#include "testing/fs_util.h"

namespace tosilk {
namespace {

// An outcome of `failure` with every fact filled in, as a job might give it.
JobOutcome Sample(JobFailure failure) {
  JobOutcome outcome;
  outcome.failure = failure;
  outcome.source = "D:\\音乐\\a b.mp3";
  outcome.path = "D:\\voice\\result";
  outcome.tool = "ffmpeg.exe";
  outcome.exit = {ExitStatus::How::kExited, 1};
  outcome.tool_line = "Output file #0 does not contain any stream";
  outcome.error = {SystemError::Kind::kAccessDenied, 5, "拒绝访问"};
  outcome.length = 265;
  outcome.limit = 259;
  return outcome;
}

TEST(FailureReason, FillsInTheFactsCauseFirst) {
  EXPECT_EQ(texts::FailureReason(Sample(JobFailure::kNoAudioStream)),
            "文件里没有音频：D:\\音乐\\a b.mp3（ffmpeg.exe 退出码 1：Output file #0 does not "
            "contain any stream）");
  EXPECT_EQ(texts::FailureReason(Sample(JobFailure::kResultFolder)),
            "无法创建结果文件夹 D:\\voice\\result（拒绝访问，代码 5）");
  EXPECT_EQ(texts::FailureReason(Sample(JobFailure::kProgramPathTooLong)),
            "程序所在文件夹的路径太长：ffmpeg.exe 的路径有 265 个字符，系统只能启动 259 "
            "个字符以内的程序，请把程序移到路径较短的文件夹（D:\\voice\\result）");
  JobOutcome quiet = Sample(JobFailure::kConverterFailed);
  quiet.tool_line.clear();
  quiet.exit = {ExitStatus::How::kExited, 0xC0000005};
  EXPECT_EQ(texts::FailureReason(quiet), "ffmpeg.exe 转换失败（退出码 0xC0000005）");
  EXPECT_EQ(texts::FailureReason(JobOutcome{}), "");
}

TEST(FailureReason, NamesADriveRootWithItsSeparator) {
  JobOutcome missing = Sample(JobFailure::kToolMissing);
  missing.path = "C:";
  EXPECT_TRUE(texts::FailureReason(missing).ends_with("（应放在 C:" + std::string(kPathSeparator) +
                                                      "）"))
      << texts::FailureReason(missing);
}

TEST(FailureReason, ExistsForEveryFailureAndNeverStartsWithAPath) {
  for (int kind = static_cast<int>(JobFailure::kEmptySource);
       kind <= static_cast<int>(JobFailure::kCancelled); ++kind) {
    const std::string reason = texts::FailureReason(Sample(static_cast<JobFailure>(kind)));
    EXPECT_FALSE(reason.empty()) << kind;
    EXPECT_FALSE(reason.starts_with("D:")) << reason;
    EXPECT_EQ(reason.find('{'), std::string::npos) << reason;
  }
}

TEST(ProgressMessage, SaysTheStageAndHowFar) {
  EXPECT_EQ(texts::ProgressMessage({JobProgress::Stage::kConverting, -1}), "正在转换…");
  EXPECT_EQ(texts::ProgressMessage({JobProgress::Stage::kConverting, 42}), "正在转换… 42%");
  EXPECT_EQ(texts::ProgressMessage({JobProgress::Stage::kEncoding, -1}), "正在编码…");
}

// The failure texts that 使用说明.txt lists: the lines indented by two
// blanks in its section of failures, where "…" stands for what varies and
// " / " parts one form from another.
std::vector<std::string> ManualFailureTexts() {
  const std::string manual = testing::ReadAll(testing::Utf8Path(TOSILK_MANUAL));
  const std::size_t start = manual.find("三、");
  const std::size_t end = manual.find("\n四、", start);
  std::vector<std::string> texts;
  std::size_t at = manual.find('\n', start);
  while (at != std::string::npos && at < end) {
    const std::size_t next = manual.find('\n', at + 1);
    std::string line = manual.substr(at + 1, next - at - 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with("  ") && !line.starts_with("   ")) {
      line = line.substr(2);
      for (std::size_t cut; (cut = line.find(" / ")) != std::string::npos;) {
        texts.push_back(line.substr(0, cut));
        line = line.substr(cut + 3);
      }
      texts.push_back(line);
    }
    at = next;
  }
  return texts;
}

// A form as a pattern: its literal parts as they are, each {part} as any
// text (the manual writes "…" or a word such as "原因" there).
std::regex FormPattern(std::string_view form) {
  std::string pattern;
  for (std::size_t i = 0; i < form.size(); ++i) {
    if (form[i] == '{') {
      i = form.find('}', i);
      pattern += ".*";
    } else {
      if (std::string_view("\\^$.|?*+()[]{}").find(form[i]) != std::string_view::npos) {
        pattern += '\\';
      }
      pattern += form[i];
    }
  }
  return std::regex(pattern);
}

TEST(Manual, ListsEveryFailureTheProgramGivesAndNoOther) {
  const std::vector<std::string> listed = ManualFailureTexts();
  ASSERT_FALSE(listed.empty());
  std::set<std::string> explained;
  for (const texts::FailureForm& form : texts::FailureForms()) {
    bool found = false;
    for (const std::string& text : listed) {
      if (std::regex_match(text, FormPattern(form.form))) {
        found = true;
        explained.insert(text);
      }
    }
    EXPECT_TRUE(found) << "使用说明.txt does not list: " << form.form;
  }
  for (const std::string& text : listed) {
    EXPECT_TRUE(explained.count(text)) << "the program gives no such failure: " << text;
  }
}

}  // namespace
}  // namespace tosilk
