// The files a job makes in a result folder, how a running job marks them as
// its own, and how a later start of the program finds and removes those that
// a killed job left behind.
//
// A job's files are BASE.silk, reserved empty before the tools run, BASE.pcm,
// ffmpeg's output, and silk_v3_encoder's temporary ".BASE.silk.*.tmp" beside
// them. For its whole life the job holds a NamedLock named after the folder
// and BASE, which the system gives up when the job's process ends in any way.
// So files of a base whose lock can be taken, and whose .silk is still empty,
// belong to no running job and hold no result: they are a killed job's.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/named_lock.h"
#include "job/encode_job.h"

namespace tosilk {

// Takes the lock of the job files of `base_name` in `folder`; null when a
// running job holds it.
std::unique_ptr<NamedLock> LockJobFiles(const std::string& folder, std::string_view base_name);

// Whether `name` is the base of a job's files: a date and time as the name
// stamp writes them, then a five-digit suffix ("2024年12月7日12时31分54秒10041").
bool IsStampedBase(std::string_view name);

// Whether the folder entry `entry` is one of silk_v3_encoder's temporary
// files for the output file named `silk_name`.
bool IsEncoderTemporaryOf(std::string_view entry, std::string_view silk_name);

// Removes the encoder's temporary files for `silk_name` from `folder`, which
// a tool ended at once cannot remove itself.
void RemoveEncoderLeftovers(const std::string& folder, std::string_view silk_name);

// Removes from `folder` what killed jobs left there: for each stamped base
// whose .silk is empty and whose lock no running job holds, that .silk, its
// .pcm and the encoder's temporary files. Nothing else is touched: no file
// of another name, no .silk that holds anything, no .pcm without its empty
// .silk. Returns the names of the files removed.
std::vector<std::string> RemoveAbandonedJobFiles(const std::string& folder);

// The same in both result folders the jobs of `setting` write to: the one
// beside the program and the user's own. Start-up calls it.
void RemoveAbandonedJobFiles(const JobSetting& setting);

}  // namespace tosilk
