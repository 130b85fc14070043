#include "job/batch.h"

#include <algorithm>
#include <thread>

namespace tosilk {

Batch::Batch(std::size_t count, unsigned parallel) : count_(count) {
  const std::size_t threads = std::clamp<std::size_t>(parallel, 1, std::max<std::size_t>(count, 1));
  for (std::size_t i = 0; i < threads; ++i) {
    cancellations_.push_back(std::make_unique<Cancellation>());
  }
}

void Batch::Run(const Job& job, const Events& events) {
  std::vector<std::thread> threads;
  // The calling thread works too, so a batch of one starts no thread.
  for (std::size_t worker = 1; worker < cancellations_.size(); ++worker) {
    threads.emplace_back([this, worker, &job, &events] { Work(worker, job, events); });
  }
  Work(0, job, events);
  for (std::thread& thread : threads) thread.join();
}

void Batch::Work(std::size_t worker, const Job& job, const Events& events) {
  Cancellation& cancellation = *cancellations_[worker];
  JobHooks hooks;
  hooks.cancellation = &cancellation;
  for (;;) {
    std::size_t index = 0;
    bool skip = false;
    {
      const std::lock_guard<std::mutex> hold(mutex_);
      if (next_ >= count_) return;
      index = next_++;
      skip = cancelled_;
    }
    if (events.progress) {
      hooks.progress = [&, index](const JobProgress& progress) {
        const std::lock_guard<std::mutex> hold(mutex_);
        events.progress(index, progress);
      };
    }
    JobOutcome outcome;
    if (skip) {
      outcome.failure = JobFailure::kCancelled;
    } else {
      outcome = job(index, hooks);
    }
    const std::lock_guard<std::mutex> hold(mutex_);
    if (events.done) events.done(index, outcome);
  }
}

void Batch::Cancel() {
  {
    const std::lock_guard<std::mutex> hold(mutex_);
    cancelled_ = true;
  }
  for (const auto& cancellation : cancellations_) cancellation->Cancel();
}

void Batch::Kill() {
  {
    const std::lock_guard<std::mutex> hold(mutex_);
    cancelled_ = true;
  }
  for (const auto& cancellation : cancellations_) cancellation->Kill();
}

bool Batch::cancelled() const {
  const std::lock_guard<std::mutex> hold(mutex_);
  return cancelled_;
}

unsigned DefaultParallelJobs() { return std::max(1u, std::thread::hardware_concurrency()); }

}  // namespace tosilk
