// The encoding job: turns the audio file named by a source path into a SILK
// v3 voice file in the folder "result" beside the program, by running
// ffmpeg (to raw 24 kHz mono 16-bit PCM) and then silk_v3_encoder (with
// "-tencent") from the program's folder.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "job/job_outcome.h"
#include "job/name_stamp.h"

namespace tosilk {

// What the job depends on beyond its source path. The defaults are the
// running program's; tests put the tools and the clock where they like.
struct JobSetting {
  std::string program_directory;
  std::function<LocalTime()> clock = &CurrentLocalTime;
  SuffixGenerator* suffixes = &ProcessSuffixes();
};

// The source path as typed, with the blanks around it and one pair of double
// quotes enclosing it removed (Windows' "Copy as path" adds them). Nothing
// else is changed.
std::string CleanSourcePath(std::string_view typed);

// Runs one job for the source path as typed. A relative path is taken from
// the current directory, which start-up made the program folder.
//
// Promises: both tools were started and exited 0, and the output file exists
// and holds a SILK stream after its header, or else the outcome says which
// step failed. The output name is reserved before the tools run (the .silk
// created exclusively, the .pcm checked to be free), so no existing file is
// ever overwritten; on failure the job leaves nothing of its own in the
// result folder, and the intermediate .pcm file never stays.
JobOutcome RunEncodingJob(std::string_view typed_source, const JobSetting& setting);

// The same, for the running program: its folder, clock and suffixes.
JobOutcome RunEncodingJob(std::string_view typed_source);

}  // namespace tosilk
