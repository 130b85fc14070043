#include "job/job_files.h"

#include <set>

#include "common/file.h"
#include "common/paths.h"
#include "common/text.h"

namespace tosilk {
namespace {

constexpr std::string_view kSilk = ".silk";
constexpr std::string_view kPcm = ".pcm";

// Reads a run of digits from the start of `text` into `value` and returns how
// many there were.
std::size_t Digits(std::string_view text, long long& value) {
  std::size_t count = 0;
  value = 0;
  while (count < text.size() && text[count] >= '0' && text[count] <= '9' && count < 12) {
    value = value * 10 + (text[count] - '0');
    ++count;
  }
  return count;
}

// Takes a number and then `unit` from the start of `text`.
bool Field(std::string_view& text, std::string_view unit) {
  long long value = 0;
  const std::size_t digits = Digits(text, value);
  if (digits == 0 || text.substr(digits, unit.size()) != unit) return false;
  text.remove_prefix(digits + unit.size());
  return true;
}

std::string Inside(const std::string& folder, std::string_view name) {
  return Join({folder, kPathSeparator, name});
}

}  // namespace

std::unique_ptr<NamedLock> LockJobFiles(const std::string& folder, std::string_view base_name) {
  return NamedLock::TryTake(LockName(Join({CanonicalPath(folder), "/", base_name})));
}

bool IsStampedBase(std::string_view name) {
  if (!Field(name, "年") || !Field(name, "月") || !Field(name, "日")) return false;
  // Then as much of the time as is not zero: 时, 时分 or 时分秒.
  for (std::string_view unit : {"时", "分", "秒"}) {
    std::string_view rest = name;
    if (!Field(rest, unit)) break;
    name = rest;
  }
  long long suffix = 0;
  return Digits(name, suffix) == 5 && name.size() == 5 && suffix >= 10000;
}

bool IsEncoderTemporaryOf(std::string_view entry, std::string_view silk_name) {
  // ".NAME.<random>.tmp"
  return entry.size() > silk_name.size() + 6 && entry.front() == '.' &&
         entry.substr(1, silk_name.size()) == silk_name &&
         entry[silk_name.size() + 1] == '.' && entry.ends_with(".tmp");
}

void RemoveEncoderLeftovers(const std::string& folder, std::string_view silk_name) {
  for (const std::string& entry : FolderEntries(folder)) {
    if (IsEncoderTemporaryOf(entry, silk_name)) RemoveFile(Inside(folder, entry));
  }
}

std::vector<std::string> RemoveAbandonedJobFiles(const std::string& folder) {
  const std::vector<std::string> entries = FolderEntries(folder);
  std::set<std::string> bases;
  for (const std::string& entry : entries) {
    if (!entry.ends_with(kSilk)) continue;
    const std::string base = entry.substr(0, entry.size() - kSilk.size());
    if (IsStampedBase(base)) bases.insert(base);
  }

  std::vector<std::string> removed;
  for (const std::string& base : bases) {
    const std::string silk_name = base + std::string(kSilk);
    // Held while the files go, so that no job can take this base meanwhile.
    const std::unique_ptr<NamedLock> lock = LockJobFiles(folder, base);
    if (lock == nullptr || FileSize(Inside(folder, silk_name)) != 0u) continue;
    for (const std::string& entry : entries) {
      if ((entry == silk_name || entry == base + std::string(kPcm) ||
           IsEncoderTemporaryOf(entry, silk_name)) &&
          RemoveFile(Inside(folder, entry))) {
        removed.push_back(entry);
      }
    }
  }
  return removed;
}

void RemoveAbandonedJobFiles(const JobSetting& setting) {
  RemoveAbandonedJobFiles(ResultFolderBeside(setting.program_directory));
  if (!setting.user_result_folder.empty()) RemoveAbandonedJobFiles(setting.user_result_folder);
}

}  // namespace tosilk
