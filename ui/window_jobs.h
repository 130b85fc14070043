// A window's jobs and what it shows of them, the same in both front ends:
// the jobs run on a thread of their own (BackgroundJobs), their events are
// carried to the window's thread, and there a JobPresenter keeps what the
// window shows. The window only gives a way to run a function on its own
// thread, and redraws when told that what it shows has changed.
#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include "ui/background_jobs.h"
#include "ui/job_presenter.h"

namespace tosilk {

class WindowJobs {
 public:
  // Runs `event` on the window's thread; called from the jobs' thread.
  using Post = std::function<void(std::function<void()> event)>;

  // `changed` is called on the window's thread whenever busy() or what the
  // presenter shows has changed.
  WindowJobs(BackgroundJobs::Job job, Post post, std::function<void()> changed);

  // Starts jobs for `sources` unless jobs run; what was shown goes at once.
  void Start(std::vector<Source> sources, JobSetting::Naming naming);

  bool busy() const { return jobs_.busy(); }
  const JobPresenter& presenter() const { return presenter_; }

  // See BackgroundJobs::Stop.
  bool Stop(std::chrono::milliseconds limit) { return jobs_.Stop(limit); }

 private:
  // Runs `event` and then `changed_`, on the window's thread.
  void Deliver(std::function<void()> event);

  Post post_;
  std::function<void()> changed_;
  JobPresenter presenter_;
  // Last, so that it is destroyed first: its destructor stops the jobs, and
  // their thread must be gone before what it posts to.
  BackgroundJobs jobs_;
};

}  // namespace tosilk
