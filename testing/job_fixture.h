// A program folder for job tests: a fresh temporary folder holding the two
// stand-in tools, a user's result folder of its own (inside it, in "user"),
// a fixed clock and a generator of its own, so the names and the words each
// tool receives are known in advance.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/paths.h"
#include "common/text.h"
#include "job/encode_job.h"
#include "job/tools.h"
#include "testing/fs_util.h"
#include "testing/standins.h"

namespace tosilk {

// 7 December 2024, 12:31:54 local time.
inline LocalTime FixedTime() { return {2024, 12, 7, 12, 31, 54}; }
inline constexpr const char* kFixedStamp = "2024年12月7日12时31分54秒";

class ProgramFolder {
 public:
  explicit ProgramFolder(std::string_view label) : folder_(label) {
    testing::CopyStandins(folder_.path());
    setting_.program_directory = folder_.text();
    setting_.user_result_folder = Inside(Join({"user", kPathSeparator, "result"}));
    setting_.clock = &FixedTime;
    setting_.suffixes = &suffixes_;
  }

  const std::filesystem::path& path() const { return folder_.path(); }
  std::string text() const { return folder_.text(); }
  std::filesystem::path result() const { return folder_.path() / "result"; }
  std::filesystem::path user_result() const { return folder_.path() / "user" / "result"; }

  // The full path, as a text, of `name` inside the folder.
  std::string Inside(std::string_view name) const {
    return Join({text(), kPathSeparator, name});
  }
  // The base of the job files for the suffix, in the result folder.
  std::string Base(std::string_view suffix) const {
    return Join({text(), kPathSeparator, "result", kPathSeparator, kFixedStamp, suffix});
  }

  // Writes a source file into the folder and returns its full path.
  std::string AddSource(std::string_view name, std::string_view content = "RIFF audio") const {
    testing::WriteAll(path() / testing::Utf8Path(name), content);
    return Inside(name);
  }

  // Tells the stand-in `role` how to behave (see tools/standin/standin.h).
  void Behave(std::string_view role, std::string_view behaviour) const {
    testing::WriteAll(path() / testing::Utf8Path(std::string(role) + ".behave"), behaviour);
  }

  // The words the stand-in `role` received last, or nothing if it never ran.
  std::vector<std::string> WordsOf(std::string_view role) const {
    const std::string record =
        testing::ReadAll(path() / testing::Utf8Path(std::string(role) + ".args"));
    std::vector<std::string> words;
    std::size_t start = 0;
    for (std::size_t end; (end = record.find('\0', start)) != std::string::npos; start = end + 1) {
      words.push_back(record.substr(start, end - start));
    }
    return words;
  }

  // The names of the entries in the result folder.
  std::vector<std::string> ResultEntries() const { return testing::EntryNames(result()); }

  JobOutcome Run(std::string_view typed, const JobHooks& hooks = {}) const {
    return RunEncodingJob(typed, setting_, hooks);
  }
  JobOutcome Run(std::string_view typed, JobSetting::Naming naming, const JobHooks& hooks) const {
    JobSetting named = setting_;
    named.naming = naming;
    return RunEncodingJob(typed, named, hooks);
  }

  const JobSetting& setting() const { return setting_; }

 private:
  testing::TempFolder folder_;
  SuffixGenerator suffixes_;
  JobSetting setting_;
};

// The words the converter must receive for one job.
inline std::vector<std::string> ConverterWords(const ProgramFolder& folder,
                                               const std::string& source,
                                               const std::string& base) {
  return ConverterWords(ToolsIn(folder.text()).converter, source, base + ".pcm");
}

// The words the encoder must receive for one job.
inline std::vector<std::string> EncoderWords(const ProgramFolder& folder, const std::string& base) {
  return EncoderWords(ToolsIn(folder.text()).encoder, base + ".pcm", base + ".silk");
}

}  // namespace tosilk
