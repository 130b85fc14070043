#include "job/batch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>

namespace tosilk {
namespace {

using namespace std::chrono_literals;

// A job that takes `length` and notes how many ran at once.
struct FakeJobs {
  std::chrono::milliseconds length{50};
  std::atomic<int> running{0};
  std::atomic<int> most_at_once{0};

  JobOutcome operator()(std::size_t index, const JobHooks& hooks) {
    const int now = ++running;
    for (int seen = most_at_once; now > seen && !most_at_once.compare_exchange_weak(seen, now);) {
    }
    if (hooks.progress) hooks.progress({JobProgress::Stage::kConverting, 50});
    const auto until = std::chrono::steady_clock::now() + length;
    while (std::chrono::steady_clock::now() < until && !hooks.cancellation->cancelled()) {
      std::this_thread::sleep_for(1ms);
    }
    --running;
    JobOutcome outcome;
    if (hooks.cancellation->cancelled()) {
      outcome.failure = JobFailure::kCancelled;
    } else {
      outcome.output_path = std::to_string(index);
    }
    return outcome;
  }
};

TEST(Batch, RunsEveryJobOnceWithAsManyAtOnceAsAsked) {
  FakeJobs jobs;
  Batch batch(7, 3);
  std::multiset<std::size_t> done;
  std::multiset<std::size_t> progressed;
  batch.Run([&](std::size_t index, const JobHooks& hooks) { return jobs(index, hooks); },
            {[&](std::size_t index, const JobProgress&) { progressed.insert(index); },
             [&](std::size_t index, const JobOutcome& outcome) {
               EXPECT_EQ(outcome.output_path, std::to_string(index));
               done.insert(index);
             }});
  EXPECT_EQ(done, (std::multiset<std::size_t>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(progressed, done);
  EXPECT_EQ(jobs.most_at_once, 3);
}

TEST(Batch, OfOneRunsOnTheCallersThread) {
  Batch batch(1, 8);
  std::thread::id ran_on;
  batch.Run(
      [&](std::size_t, const JobHooks&) {
        ran_on = std::this_thread::get_id();
        return JobOutcome{};
      },
      {});
  EXPECT_EQ(ran_on, std::this_thread::get_id());
}

TEST(Batch, CancelledStartsNothingMoreAndEndsWhatRuns) {
  FakeJobs jobs;
  jobs.length = 60s;
  Batch batch(6, 2);
  std::vector<JobFailure> failures(6, JobFailure::kNone);
  std::thread canceller([&] {
    while (jobs.running < 2) std::this_thread::sleep_for(1ms);
    batch.Cancel();
  });
  batch.Run([&](std::size_t index, const JobHooks& hooks) { return jobs(index, hooks); },
            {{}, [&](std::size_t index, const JobOutcome& outcome) {
               failures[index] = outcome.failure;
             }});
  canceller.join();
  EXPECT_TRUE(batch.cancelled());
  EXPECT_EQ(failures, std::vector<JobFailure>(6, JobFailure::kCancelled));
}

}  // namespace
}  // namespace tosilk
