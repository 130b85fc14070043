// The steps that the encoding and the decoding job share: failed outcomes,
// the files a job owns, the reservation of its output name, and running a
// tool. For the jobs' own sources only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/named_lock.h"
#include "job/encode_job.h"
#include "job/tools.h"

namespace tosilk::job_steps {

// What a step of a job returns: nothing when it succeeded, else the failed
// outcome of the whole job.
using Failure = std::optional<JobOutcome>;

JobOutcome Failed(JobFailure failure, std::string path = {}, SystemError error = {});

// 24000 samples of 2 bytes each per second.
inline constexpr std::uint64_t kPcmBytesPerSecond = 48000;

// A file of the job's reserved base, removed (if it exists by then) when the
// job is done with it, unless the job decides to keep it.
class OwnedFile {
 public:
  explicit OwnedFile(std::string path) : path_(std::move(path)) {}
  OwnedFile(const OwnedFile&) = delete;
  OwnedFile& operator=(const OwnedFile&) = delete;
  ~OwnedFile();
  const std::string& path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  std::string path_;
  bool kept_ = false;
};

// The names a job draws for its output, one after another: the name
// stamp's (STAMP and a suffix, a hundred of them), or the source's (NAME,
// "NAME (2)", "NAME (3)", ...).
class OutputNames {
 public:
  static OutputNames Stamped(std::string stamp, SuffixGenerator& suffixes);
  static OutputNames OfSource(std::string name);

  // The next name to try; nothing once there are no more.
  std::optional<std::string> Next();
  // What every name starts with, for the failure that all are taken.
  const std::string& start() const { return start_; }

 private:
  OutputNames(std::string start, SuffixGenerator* suffixes)
      : start_(std::move(start)), suffixes_(suffixes) {}

  std::string start_;
  SuffixGenerator* suffixes_;
  int drawn_ = 0;
};

// The base of a job's files, once reserved, and the lock that marks them as
// a running job's.
struct Reservation {
  std::string folder;
  std::string base;  // BASE, whose output file is now the job's
  std::unique_ptr<NamedLock> lock;
  Failure failure;  // set when no base could be reserved
};

// Reserves BASE`output_extension` in the folder the setting names: its
// output folder when it has one; else the result folder beside the program,
// or, when that cannot be made or written, the user's own (a folder full of
// taken names or a full disk is no reason to go elsewhere, and the first
// folder's failure is the one told when both fail). A base is taken when the
// job's lock for it could be taken and the output file created as a new
// file while no BASE.pcm exists. The output is created exclusively, so no
// other job, of this program or another copy of it, can end up with the
// same base; the .pcm is only checked, because any job that could write it
// must hold the output file first, and an empty placeholder would cost a
// disk write on every job.
Reservation Reserve(const JobSetting& setting, OutputNames& names,
                    std::string_view output_extension);

struct ToolRun {
  ProcessOutcome process;
  Failure failure;  // set when it could not be started, or was cancelled
};

// Runs `tool`, handing its lines of standard error to `each_line`.
ToolRun RunTool(const Tool& tool, const std::vector<std::string>& words, const JobHooks& hooks,
                std::function<void(std::string_view)> each_line = {});

// The outcome of a tool that ran and failed: `failure`, with `line` or else
// its last line.
JobOutcome ToolFailed(JobFailure failure, const Tool& tool, const ProcessOutcome& process,
                      std::string line = {});

// Whether the job has been asked to stop.
bool Cancelled(const JobHooks& hooks);

void Report(const JobHooks& hooks, JobProgress::Stage stage, int percent);

// Checks that `source` names a file; a missing one and a folder fail.
Failure CheckSource(const std::string& source);

// Checks that each tool is there and that the system can start it from its
// path.
Failure FindTools(const std::vector<const Tool*>& tools, const std::string& directory);

}  // namespace tosilk::job_steps
