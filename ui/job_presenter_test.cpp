#include "ui/job_presenter.h"

#include <gtest/gtest.h>

#include "common/paths.h"
#include "texts/texts.h"

namespace tosilk {
namespace {

JobOutcome Written(const std::string& path) {
  JobOutcome outcome;
  outcome.output_path = path;
  return outcome;
}

JobOutcome Missing(const std::string& source) {
  JobOutcome outcome;
  outcome.failure = JobFailure::kSourceMissing;
  outcome.source = source;
  return outcome;
}

TEST(JobPresenter, ShowsOneJobsProgressThenItsOutcome) {
  JobPresenter presenter;
  presenter.Started({{"a.mp3"}});
  EXPECT_TRUE(presenter.running());
  EXPECT_EQ(presenter.label(), "正在转换…");
  presenter.Progress(0, {JobProgress::Stage::kConverting, 42});
  EXPECT_EQ(presenter.label(), "正在转换… 42%");
  presenter.Progress(0, {JobProgress::Stage::kEncoding, -1});
  EXPECT_EQ(presenter.label(), "正在编码…");
  EXPECT_TRUE(presenter.written().empty()) << "nothing to open while it runs";

  const std::string path = "D:\\voice\\result\\2024年12月7日10041.silk";
  presenter.Done(0, Written(path));
  EXPECT_FALSE(presenter.running());
  EXPECT_EQ(presenter.label(), "编码完成，路径：" + path);
  EXPECT_EQ(presenter.tooltip(), "编码完成，路径：" + path + "\n单击打开所在文件夹");
  EXPECT_EQ(presenter.written(), std::vector<std::string>{path});

  // The next job starts afresh: the old outcome is gone at once.
  presenter.Started({{"a.mp3"}});
  EXPECT_EQ(presenter.label(), "正在转换…");
  presenter.Done(0, Missing("gone.mp3"));
  EXPECT_EQ(presenter.label(), "编码失败：找不到音频文件 gone.mp3");
  EXPECT_EQ(presenter.tooltip(), presenter.label());
  EXPECT_TRUE(presenter.written().empty());
}

TEST(JobPresenter, CountsABatchAndListsEveryFailure) {
  const std::string sep(kPathSeparator);
  const std::string folder = "out";
  JobPresenter presenter;
  presenter.Started({{"a.mp3"}, {"b.mp3"}, {"c.mp3"}, {"d.mp3"}});
  EXPECT_EQ(presenter.label(), "正在编码 0/4…");
  presenter.Done(2, Written(folder + sep + "c.silk"));
  presenter.Done(0, Missing("a.mp3"));
  EXPECT_EQ(presenter.label(), "正在编码 2/4…");
  presenter.Done(1, Written(folder + sep + "b.silk"));
  presenter.Done(3, Missing("d.mp3"));
  EXPECT_EQ(presenter.label(), "编码完成 2 个，失败 2 个：找不到音频文件 a.mp3");
  EXPECT_EQ(presenter.tooltip(),
            "编码完成 2 个，失败 2 个：找不到音频文件 a.mp3\n"
            "a.mp3：找不到音频文件 a.mp3\nd.mp3：找不到音频文件 d.mp3\n单击打开所在文件夹");
  EXPECT_EQ(presenter.written().size(), 2u);

  presenter.Started({{"x.mp3"}, {"y.mp3"}});
  presenter.Done(0, Written(folder + sep + "x.silk"));
  presenter.Done(1, Written(folder + sep + "y.silk"));
  EXPECT_EQ(presenter.label(), "编码完成 2 个文件，路径：out");

  // A folder's file that is no audio is passed over, and said so.
  presenter.Started({{"x.mp3", true}, {"说明.txt", true}});
  presenter.Done(0, Written(folder + sep + "x.silk"));
  JobOutcome text;
  text.failure = JobFailure::kNotAudio;
  text.source = "说明.txt";
  presenter.Done(1, text);
  EXPECT_EQ(presenter.label(), "编码完成 1 个文件（跳过 1 个不是音频的文件），路径：out");
}

}  // namespace
}  // namespace tosilk
