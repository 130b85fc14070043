#include "ui/job_presenter.h"

#include "common/paths.h"
#include "texts/texts.h"

namespace tosilk {

void JobPresenter::Started(const std::vector<Source>& sources) {
  *this = JobPresenter();
  sources_ = sources;
  count_ = sources.size();
  Show();
}

void JobPresenter::Progress(std::size_t, const JobProgress& progress) {
  progress_ = progress;
  Show();
}

void JobPresenter::Done(std::size_t index, const JobOutcome& outcome) {
  ++done_;
  if (outcome.ok()) {
    written_.push_back(outcome.output_path);
  } else if (count_ > 1 && PassedOver(sources_[index], outcome)) {
    ++passed_over_;
  } else if (outcome.failure != JobFailure::kCancelled) {
    failures_.push_back(outcome);
  }
  if (count_ == 1) single_result_ = texts::ResultMessage(outcome);
  Show();
}

void JobPresenter::Show() {
  if (count_ == 1) {
    label_ = running() ? texts::ProgressMessage(progress_) : single_result_;
    return;
  }
  if (running()) {
    label_ = texts::BatchProgressMessage(done_, count_);
    return;
  }
  const std::string folder =
      written_.empty() ? std::string() : DirectoryOf(written_.front(), kPathSeparator);
  label_ = texts::BatchResultMessage(written_.size(), failures_.size(), passed_over_, folder,
                                     failures_.empty() ? std::string()
                                                       : texts::FailureReason(failures_.front()));
}

std::string JobPresenter::tooltip() const {
  std::string text = label_;
  if (count_ > 1 && !running()) {
    for (const JobOutcome& failure : failures_) text += "\n" + texts::SourceFailure(failure);
  }
  if (!running() && !written_.empty()) text += "\n" + std::string(texts::kClickToOpenFolder);
  return text;
}

}  // namespace tosilk
