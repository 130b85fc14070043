#include "ui/background_jobs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace tosilk {
namespace {

using namespace std::chrono_literals;

// A job that runs until it is cancelled, or `length` has passed.
JobOutcome Waiting(std::chrono::milliseconds length, const JobHooks& hooks) {
  const auto until = std::chrono::steady_clock::now() + length;
  while (std::chrono::steady_clock::now() < until && !hooks.cancellation->cancelled()) {
    std::this_thread::sleep_for(1ms);
  }
  JobOutcome outcome;
  if (hooks.cancellation->cancelled()) outcome.failure = JobFailure::kCancelled;
  return outcome;
}

TEST(BackgroundJobs, RunsOffTheCallersThreadAndSaysWhenItHasFinished) {
  const std::thread::id caller = std::this_thread::get_id();
  std::atomic<bool> elsewhere{false};
  BackgroundJobs jobs(
      [&](std::string_view, JobSetting::Naming, const JobHooks& hooks) {
        elsewhere = std::this_thread::get_id() != caller;
        return Waiting(20ms, hooks);
      },
      2);
  std::atomic<int> done{0};
  std::atomic<bool> finished{false};
  ASSERT_TRUE(jobs.Start({{"a"}, {"b"}, {"c"}}, JobSetting::Naming::kStamp,
                         {{}, [&](std::size_t, const JobOutcome& outcome) {
                            if (outcome.ok()) ++done;
                          }},
                         [&] { finished = true; }));
  EXPECT_TRUE(jobs.busy());
  EXPECT_FALSE(jobs.Start({{"d"}}, JobSetting::Naming::kStamp, {}, [] {})) << "one batch at a time";
  while (!finished) std::this_thread::sleep_for(1ms);
  jobs.Reap();
  EXPECT_FALSE(jobs.busy());
  EXPECT_EQ(done, 3);
  EXPECT_TRUE(elsewhere);
}

TEST(BackgroundJobs, StopCancelsWhatRuns) {
  BackgroundJobs jobs([](std::string_view, JobSetting::Naming, const JobHooks& hooks) { return Waiting(60s, hooks); },
                      1);
  std::atomic<int> cancelled{0};
  jobs.Start({{"a"}, {"b"}}, JobSetting::Naming::kStamp,
             {{}, [&](std::size_t, const JobOutcome& outcome) {
                if (outcome.failure == JobFailure::kCancelled) ++cancelled;
              }},
             [] {});
  EXPECT_TRUE(jobs.Stop(BackgroundJobs::kStopLimit));
  EXPECT_FALSE(jobs.busy());
  EXPECT_EQ(cancelled, 2);
}

}  // namespace
}  // namespace tosilk
