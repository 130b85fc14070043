// Many jobs, several at a time: the window's batch and the command line's
// both run their sources through this.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "common/cancellation.h"
#include "job/encode_job.h"

namespace tosilk {

class Batch {
 public:
  // Runs the job of the source with index `index`.
  using Job = std::function<JobOutcome(std::size_t index, const JobHooks& hooks)>;

  // Called on the batch's threads, one call at a time, in the order things
  // happen: a job's progress, and its outcome once it has ended (a job never
  // started because the batch was cancelled ends as kCancelled).
  struct Events {
    std::function<void(std::size_t index, const JobProgress& progress)> progress;
    std::function<void(std::size_t index, const JobOutcome& outcome)> done;
  };

  // A batch of `count` jobs, at most `parallel` of them at once (at least one).
  Batch(std::size_t count, unsigned parallel);

  // Runs every job, taking them in order of their index, and returns once
  // every one has ended.
  void Run(const Job& job, const Events& events);

  // From any thread: starts no further job and cancels those running (see
  // Cancellation::Cancel); Kill() ends their tools at once.
  void Cancel();
  void Kill();
  bool cancelled() const;

 private:
  void Work(std::size_t worker, const Job& job, const Events& events);

  std::size_t count_;
  // One per thread, each cancelling the one job that thread runs.
  std::vector<std::unique_ptr<Cancellation>> cancellations_;

  mutable std::mutex mutex_;  // guards next_ and cancelled_, and orders the events
  std::size_t next_ = 0;
  bool cancelled_ = false;
};

// How many jobs to run at once by default: the number of logical processors.
unsigned DefaultParallelJobs();

}  // namespace tosilk
