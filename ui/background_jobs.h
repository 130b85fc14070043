// Runs a window's jobs on a thread of their own, so that the window keeps
// answering while they run, and stops them when the window must go.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "job/batch.h"
#include "job/sources.h"

namespace tosilk {

class BackgroundJobs {
 public:
  // Runs the job for one source, with its output named as `naming` says:
  // RunEncodingJob with the program's setting; tests give one of their own.
  using Job = std::function<JobOutcome(std::string_view source, JobSetting::Naming naming,
                                       const JobHooks& hooks)>;

  // How long closing a window may take at most: a running tool is asked to
  // end, ended at once after half of it, and its files are removed.
  static constexpr std::chrono::milliseconds kStopLimit{1000};

  BackgroundJobs(Job job, unsigned parallel);
  // Stops running jobs, waiting at most kStopLimit.
  ~BackgroundJobs();
  BackgroundJobs(const BackgroundJobs&) = delete;
  BackgroundJobs& operator=(const BackgroundJobs&) = delete;

  // Starts jobs for `sources` unless jobs run already; returns whether it
  // did. The events, and `finished` after the last of them, come on the jobs'
  // thread, never on the caller's: a window passes them on to its own thread.
  bool Start(std::vector<Source> sources, JobSetting::Naming naming, Batch::Events events,
             std::function<void()> finished);

  // Whether jobs are running (or their thread has not been reaped yet).
  bool busy() const { return thread_.joinable(); }

  // Waits for the jobs' thread, once `finished` has come.
  void Reap();

  // Stops running jobs: each running tool is asked to end, and ended at once
  // if it has not after half of `limit`; the jobs then remove their files.
  // Waits for all that at most `limit`, and says whether it was done in time.
  bool Stop(std::chrono::milliseconds limit);

 private:
  // What the jobs' thread shares with the window's.
  struct Shared {
    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;
    std::unique_ptr<Batch> batch;
  };

  bool WaitFinished(std::chrono::steady_clock::time_point until);

  Job job_;
  unsigned parallel_;
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace tosilk
