// What the encoding job costs beyond starting its two tools: the job with
// the stand-in tools, against the same two stand-ins started with the same
// words through RunProgram and the same removal of the .pcm. The stand-ins
// do next to nothing, so nearly all of the time is process start-up, which
// both sides pay alike; what is left over is the job's own checks, the name
// reservation and the reading of the two file heads.
//
// Only the work inside the loop is timed (manual time); removing the .silk
// that each round leaves, so the result folder never grows, is not.
//
// The program folder is made under the system's temporary folder, or under
// TMPDIR when that is set, so one run can be made on a disk and another on
// a file system in memory; the file system makes a difference here.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/file.h"
#include "common/paths.h"
#include "common/process.h"
#include "common/text.h"
#include "job/encode_job.h"
#include "job/name_stamp.h"
#include "job/tools.h"
#include "testing/fs_util.h"
#include "testing/standins.h"

namespace tosilk {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A program folder holding copies of the stand-in tools, a source file for
// them to "convert" and an empty result folder. Shared by both benchmarks,
// so both start the very same program files.
class StandinFolder {
 public:
  StandinFolder() : folder_("tosilk bench") {
    testing::CopyStandins(folder_.path(), TOSILK_STANDIN_DIR);
    source_ = Join({folder_.text(), kPathSeparator, "source.wav"});
    testing::WriteAll(testing::Utf8Path(source_), "RIFF and a few bytes the stand-in never reads");
    fs::create_directory(folder_.path() / "result");
  }

  std::string directory() const { return folder_.text(); }
  const std::string& source() const { return source_; }
  std::string result_prefix() const {
    return Join({folder_.text(), kPathSeparator, "result", kPathSeparator});
  }

 private:
  testing::TempFolder folder_;
  std::string source_;
};

StandinFolder& Folder() {
  static StandinFolder folder;
  return folder;
}

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_Job(benchmark::State& state) {
  StandinFolder& folder = Folder();
  JobSetting setting;
  setting.program_directory = folder.directory();
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    const JobOutcome outcome = RunEncodingJob(folder.source(), setting);
    const double seconds = SecondsSince(start);
    if (!outcome.ok()) {
      state.SkipWithError(outcome.reason.c_str());
      break;
    }
    state.SetIterationTime(seconds);
    RemoveFile(outcome.output_path);
  }
}

// The two tools started directly, with the words the job gives them for a
// base name of the job's own shape (the time stamp and a suffix).
class DirectRun {
 public:
  explicit DirectRun(const StandinFolder& folder)
      : tools_(ToolsIn(folder.directory())),
        base_(Join({folder.result_prefix(), DateTimeText(CurrentLocalTime()), "10041"})),
        pcm_(base_ + ".pcm"),
        silk_(base_ + ".silk"),
        convert_(ConverterWords(tools_.converter, folder.source(), pcm_)),
        encode_(EncoderWords(tools_.encoder, pcm_, silk_)) {}

  // Both tools, then the removal of the .pcm; false when a tool failed.
  bool Run() const {
    const bool converted = RunProgram(tools_.converter.path, convert_).exit.succeeded();
    const bool encoded = RunProgram(tools_.encoder.path, encode_).exit.succeeded();
    RemoveFile(pcm_);
    return converted && encoded;
  }

  const std::string& pcm() const { return pcm_; }
  const std::string& silk() const { return silk_; }

 private:
  Tools tools_;
  std::string base_;
  std::string pcm_;
  std::string silk_;
  std::vector<std::string> convert_;
  std::vector<std::string> encode_;
};

void BM_Baseline(benchmark::State& state) {
  const DirectRun direct(Folder());
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    const bool ran = direct.Run();
    const double seconds = SecondsSince(start);
    if (!ran) {
      state.SkipWithError("a stand-in tool failed");
      break;
    }
    state.SetIterationTime(seconds);
    RemoveFile(direct.silk());
  }
}

// The baseline plus the one thing of the job's that changes what the tools
// do: the job first creates BASE.silk empty, to own the name, so the encoder
// then replaces an existing file instead of making a new one. Set beside the
// other two, it shows how much of the job's overhead is that.
void BM_BaselineWithReservedNames(benchmark::State& state) {
  const DirectRun direct(Folder());
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    const bool reserved = CreateNewFile(direct.silk()).result == CreateResult::kCreated;
    const bool ran = direct.Run();
    const double seconds = SecondsSince(start);
    if (!reserved || !ran) {
      state.SkipWithError("the name could not be reserved, or a stand-in tool failed");
      break;
    }
    state.SetIterationTime(seconds);
    RemoveFile(direct.silk());
  }
}

// Many short repetitions rather than a few long ones: with random
// interleaving (scripts/bench turns it on) the three take turns often, so a
// slow spell of the machine falls on all of them alike.
void Repeated(benchmark::internal::Benchmark* run) {
  run->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(0.2)->Repetitions(30);
}
BENCHMARK(BM_Job)->Apply(Repeated);
BENCHMARK(BM_Baseline)->Apply(Repeated);
BENCHMARK(BM_BaselineWithReservedNames)->Apply(Repeated);

}  // namespace
}  // namespace tosilk

BENCHMARK_MAIN();
