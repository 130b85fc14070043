#include "cli/cli.h"

#include <atomic>
#include <chrono>
#include <mutex>

#include "cli/cli_options.h"
#include "cli/report.h"
#include "common/paths.h"
#include "job/batch.h"
#include "job/decode_job.h"
#include "job/sources.h"
#include "texts/cli_texts.h"

#ifndef TOSILK_VERSION
#error "TOSILK_VERSION must name the project's version"
#endif

namespace tosilk::cli {

int RunCli(const std::vector<std::string>& words, const JobSetting& program_setting,
           Output& output, Interrupts& interrupts) {
  const ParsedOptions parsed = ParseOptions(words);
  if (!parsed.options) {
    output.Error(parsed.error + "\n" + std::string(texts::cli::kUsage) + "\n");
    return kUsageError;
  }
  const CliOptions& options = *parsed.options;
  switch (options.action) {
    case CliOptions::Action::kHelp:
      output.Out(texts::cli::Help(TOSILK_VERSION));
      return kAllDone;
    case CliOptions::Action::kVersion:
      output.Out(texts::cli::Version(TOSILK_VERSION) + "\n");
      return kAllDone;
    case CliOptions::Action::kRun:
      break;
  }

  const std::vector<Source> sources = CollectSources(options.inputs, options.recursive);
  if (sources.empty()) {
    output.Error(std::string(texts::cli::kNothingFound) + "\n");
    return kAllDone;
  }
  JobSetting setting = program_setting;
  setting.naming = JobSetting::Naming::kSource;
  setting.output_folder = options.output_folder;
  // "out/" names the folder "out"; its outputs read better without "//".
  while (setting.output_folder.size() > 1 &&
         (setting.output_folder.ends_with('/') ||
          setting.output_folder.ends_with(kPathSeparator.front()))) {
    setting.output_folder.pop_back();
  }

  Batch batch(sources.size(), options.jobs != 0 ? options.jobs : DefaultParallelJobs());
  interrupts.OnInterrupt([&batch] { batch.Cancel(); });
  // An interrupt before the batch could see it: nothing is started.
  if (interrupts.interrupted()) batch.Cancel();

  const Report::Mode mode = options.json      ? Report::Mode::kJson
                            : output.terminal() ? Report::Mode::kTerminal
                                                : Report::Mode::kPlain;
  Report report(output, mode, sources);
  std::vector<std::chrono::milliseconds> elapsed(sources.size());
  std::vector<char> begun(sources.size(), 0);
  batch.Run(
      [&](std::size_t index, const JobHooks& hooks) {
        const auto start = std::chrono::steady_clock::now();
        const JobOutcome outcome =
            options.decode ? RunDecodingJob(sources[index].path, setting, options.format, hooks)
                           : RunEncodingJob(sources[index].path, setting, hooks);
        elapsed[index] = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        return outcome;
      },
      {[&](std::size_t index, const JobProgress&) {
         if (begun[index]) return;
         begun[index] = 1;
         report.Began(index);
       },
       [&](std::size_t index, const JobOutcome& outcome) {
         report.Ended(index, outcome, elapsed[index]);
       }});
  interrupts.OnInterrupt({});
  const bool interrupted = interrupts.interrupted();
  report.Finish(interrupted);
  interrupts.Finished();
  if (interrupted) return kInterrupted;
  return report.failed() > 0 ? kSomeFailed : kAllDone;
}

}  // namespace tosilk::cli
