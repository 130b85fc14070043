#include "ui/window_jobs.h"

#include <utility>

namespace tosilk {

WindowJobs::WindowJobs(BackgroundJobs::Job job, Post post, std::function<void()> changed)
    : post_(std::move(post)),
      changed_(std::move(changed)),
      jobs_(std::move(job), DefaultParallelJobs()) {}

void WindowJobs::Deliver(std::function<void()> event) {
  post_([this, event = std::move(event)] {
    event();
    changed_();
  });
}

void WindowJobs::Start(std::vector<Source> sources, JobSetting::Naming naming) {
  if (jobs_.busy()) return;
  presenter_.Started(sources);
  Batch::Events events;
  events.progress = [this](std::size_t index, const JobProgress& progress) {
    Deliver([this, index, progress] { presenter_.Progress(index, progress); });
  };
  events.done = [this](std::size_t index, const JobOutcome& outcome) {
    Deliver([this, index, outcome] { presenter_.Done(index, outcome); });
  };
  jobs_.Start(std::move(sources), naming, std::move(events),
              [this] { Deliver([this] { jobs_.Reap(); }); });
  changed_();
}

}  // namespace tosilk
