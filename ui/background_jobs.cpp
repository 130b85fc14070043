#include "ui/background_jobs.h"

#include <utility>

namespace tosilk {

BackgroundJobs::BackgroundJobs(Job job, unsigned parallel)
    : job_(std::move(job)), parallel_(parallel) {}

BackgroundJobs::~BackgroundJobs() { Stop(kStopLimit); }

bool BackgroundJobs::Start(std::vector<Source> sources, JobSetting::Naming naming,
                           Batch::Events events, std::function<void()> finished) {
  if (busy()) return false;
  shared_ = std::make_shared<Shared>();
  shared_->batch = std::make_unique<Batch>(sources.size(), parallel_);
  thread_ = std::thread([shared = shared_, job = job_, sources = std::move(sources), naming,
                         events = std::move(events), finished = std::move(finished)] {
    shared->batch->Run(
        [&](std::size_t index, const JobHooks& hooks) {
          return job(sources[index].path, naming, hooks);
        },
        events);
    {
      const std::lock_guard<std::mutex> hold(shared->mutex);
      shared->finished = true;
    }
    shared->ended.notify_all();
    finished();
  });
  return true;
}

void BackgroundJobs::Reap() {
  if (thread_.joinable()) thread_.join();
}

bool BackgroundJobs::WaitFinished(std::chrono::steady_clock::time_point until) {
  std::unique_lock<std::mutex> hold(shared_->mutex);
  return shared_->ended.wait_until(hold, until, [&] { return shared_->finished; });
}

bool BackgroundJobs::Stop(std::chrono::milliseconds limit) {
  if (!busy()) return true;
  const auto start = std::chrono::steady_clock::now();
  shared_->batch->Cancel();
  bool ended = WaitFinished(start + limit / 2);
  if (!ended) {
    shared_->batch->Kill();
    ended = WaitFinished(start + limit);
  }
  if (ended) {
    thread_.join();
  } else {
    // A tool that outlives even SIGKILL is stuck in the kernel; the thread
    // waiting for it holds only what `shared_` keeps alive, and ends with
    // the process.
    thread_.detach();
  }
  return ended;
}

}  // namespace tosilk
