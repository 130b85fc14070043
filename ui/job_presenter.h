// What a window shows of the jobs it runs, one source or a batch, the same in
// both front ends: fed with the jobs' events on the window's own thread, it
// says what the result label reads, what its tooltip says and which files a
// click on it shows.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "job/job_outcome.h"
#include "job/sources.h"

namespace tosilk {

class JobPresenter {
 public:
  // Jobs for `sources` have started; what was shown before is gone.
  void Started(const std::vector<Source>& sources);
  void Progress(std::size_t index, const JobProgress& progress);
  void Done(std::size_t index, const JobOutcome& outcome);

  // Whether jobs have started that have not all ended.
  bool running() const { return done_ < count_; }

  // The result label's text.
  const std::string& label() const { return label_; }
  // The label's whole text, wrapped where a long list needs it, and after a
  // success how to open the folder.
  std::string tooltip() const;
  // The files written, for a click on the label to show in their folder.
  const std::vector<std::string>& written() const { return written_; }

 private:
  void Show();

  std::vector<Source> sources_;
  std::size_t count_ = 0;
  std::size_t done_ = 0;
  std::size_t passed_over_ = 0;
  JobProgress progress_;  // of a single source
  std::vector<JobOutcome> failures_;
  std::vector<std::string> written_;
  std::string single_result_;  // the outcome of a single source, as shown
  std::string label_;
};

}  // namespace tosilk
