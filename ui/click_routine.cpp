#include "ui/click_routine.h"

#include "common/text.h"
#include "job/encode_job.h"

namespace tosilk {

std::string ResultMessage(const JobOutcome& outcome) {
  if (outcome.ok()) return Join({kDonePrefix, outcome.output_path});
  return Join({kFailedPrefix, outcome.reason});
}

std::string RunClick(std::string_view edit_text) {
  return ResultMessage(RunEncodingJob(edit_text));
}

}  // namespace tosilk
