#include "dir_check/walk_runner.h"

#include <utility>

namespace qm::dircheck {

WalkRunner::WalkRunner(MakeTree makeTree, Notify notify) : makeTree_(std::move(makeTree)), notify_(std::move(notify)) {}

WalkRunner::~WalkRunner() { Stop(); }

bool WalkRunner::Start(const std::string& folder) {
  if (worker_.joinable()) return false;
  cancel_ = false;
  progressPending_ = false;
  worker_ = std::thread([this, folder] {
    const std::unique_ptr<IFileTree> tree = makeTree_();
    WalkResult walked = WalkTree(*tree, folder, cancel_, [this](const WalkProgress& progress) {
      {
        const std::lock_guard lock(mutex_);
        progress_ = progress;
      }
      if (!progressPending_.exchange(true)) notify_(WalkEvent::kProgress);
    });
    {
      const std::lock_guard lock(mutex_);
      walked_ = std::move(walked);
    }
    notify_(WalkEvent::kDone);
  });
  return true;
}

WalkProgress WalkRunner::TakeProgress() {
  progressPending_ = false;
  const std::lock_guard lock(mutex_);
  return progress_;
}

WalkResult WalkRunner::Finish() {
  if (worker_.joinable()) worker_.join();
  const std::lock_guard lock(mutex_);
  WalkResult result = std::move(walked_);
  walked_ = WalkResult{};
  return result;
}

void WalkRunner::Stop() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

}  // namespace qm::dircheck
