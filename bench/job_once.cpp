// job_once PROGRAM_FOLDER SOURCE
//
// Runs one encoding job, with the tools in PROGRAM_FOLDER, on SOURCE, the
// way a click in the window does, and exits: 0 with the output path on
// standard output, or 1 with the reason on standard error. Last, it prints
// "max_rss_kib=N", the peak resident memory of this process alone (not of
// the tools it started), so that scripts/bench can see whether the job's own
// memory grows with the length of the audio.
#include <sys/resource.h>

#include <cstdio>

#include "job/encode_job.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: job_once PROGRAM_FOLDER SOURCE\n");
    return 2;
  }
  tosilk::JobSetting setting;
  setting.program_directory = argv[1];
  const tosilk::JobOutcome outcome = tosilk::RunEncodingJob(argv[2], setting);
  if (outcome.ok()) {
    std::printf("%s\n", outcome.output_path.c_str());
  } else {
    std::fprintf(stderr, "编码失败：%s\n", outcome.reason.c_str());
  }

  // RUSAGE_SELF counts this process only; the tools are children, which
  // RUSAGE_CHILDREN would count.
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("max_rss_kib=%ld\n", usage.ru_maxrss);
  return outcome.ok() ? 0 : 1;
}
