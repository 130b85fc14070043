// The encoding job: turns the audio file named by a source path into a SILK
// v3 voice file in the folder "result" beside the program, by running
// ffmpeg (to raw 24 kHz mono 16-bit PCM) and then silk_v3_encoder (with
// "-tencent") from the program's folder.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/cancellation.h"
#include "common/clock.h"
#include "job/job_outcome.h"
#include "job/name_stamp.h"

namespace tosilk {

// What the job depends on beyond its source path. The defaults are the
// running program's; tests put the tools, the folders and the clock where
// they like.
struct JobSetting {
  std::string program_directory;
  // Where results go when the folder "result" beside the program cannot be
  // made or written: this user's own (see UserResultFolder).
  std::string user_result_folder;
  // Where results go instead, when not empty (the command line's -o); it is
  // made when missing, and no other folder is tried.
  std::string output_folder;
  // How the output is named: by the name stamp (the window's one file), or
  // after the source ("a.mp3" gives "a.silk", then "a (2).silk", ...).
  enum class Naming { kStamp, kSource };
  Naming naming = Naming::kStamp;
  std::function<LocalTime()> clock = &CurrentLocalTime;
  SuffixGenerator* suffixes = &ProcessSuffixes();
};

// What a caller may follow and steer of one running job.
struct JobHooks {
  // Called on the job's thread whenever it has got further.
  std::function<void(const JobProgress&)> progress;
  // Lets another thread stop the job; it then ends as kCancelled, its tool
  // ended and its files removed.
  Cancellation* cancellation = nullptr;
};

// The result folder beside the program in `program_directory`.
std::string ResultFolderBeside(const std::string& program_directory);

// The user's own result folder: "tosilk/result" in UserDataFolder(), or
// nothing when the system names no such folder.
std::string UserResultFolder();

// Runs one job for the source path as typed (see CleanSourcePath). A relative
// path is taken from the current directory, which start-up made the program
// folder.
//
// Promises: both tools were started and exited 0, and the output file exists
// and holds a SILK stream after its header, or else the outcome says which
// step failed and why. The output name is reserved before the tools run (the
// .silk created exclusively, the .pcm checked to be free, the job's lock
// taken; see job_files.h), so no existing file is ever overwritten, and jobs
// running at once never collide; on failure the job leaves nothing of its
// own in the result folder, and the intermediate .pcm file never stays.
JobOutcome RunEncodingJob(std::string_view typed_source, const JobSetting& setting,
                          const JobHooks& hooks = {});

// The setting of the running program: its folder, clock and suffixes.
JobSetting ProgramJobSetting();

}  // namespace tosilk
