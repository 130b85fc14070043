#include "common/cancellation.h"

#include "common/child_process.h"

namespace tosilk {

void Cancellation::Cancel() {
  const std::lock_guard<std::mutex> hold(mutex_);
  cancelled_ = true;
  if (child_ != nullptr) child_->End(ChildProcess::Ending::kAsk);
}

void Cancellation::Kill() {
  const std::lock_guard<std::mutex> hold(mutex_);
  cancelled_ = true;
  killed_ = true;
  if (child_ != nullptr) child_->End(ChildProcess::Ending::kForce);
}

bool Cancellation::cancelled() const {
  const std::lock_guard<std::mutex> hold(mutex_);
  return cancelled_;
}

void Cancellation::Attach(ChildProcess* child) {
  const std::lock_guard<std::mutex> hold(mutex_);
  child_ = child;
  if (cancelled_) child_->End(killed_ ? ChildProcess::Ending::kForce : ChildProcess::Ending::kAsk);
}

void Cancellation::Detach() {
  const std::lock_guard<std::mutex> hold(mutex_);
  child_ = nullptr;
}

}  // namespace tosilk
