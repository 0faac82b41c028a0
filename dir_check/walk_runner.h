#pragma once
// A walk on a thread of its own, so the window stays responsive: the
// latest progress waits in a mailbox of one, and the window is told of it
// once until it has read it, so a fast walk never floods its queue; the
// result is handed over whole when the walk ends.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "dir_check/dir_walk.h"

namespace qm::dircheck {

enum class WalkEvent { kProgress, kDone };

class WalkRunner {
 public:
  using MakeTree = std::function<std::unique_ptr<IFileTree>()>;
  // Called on the walking thread; it should only pass the event on (a
  // window posts itself a message).
  using Notify = std::function<void(WalkEvent)>;

  WalkRunner(MakeTree makeTree, Notify notify);
  // Cancels a walk under way and waits for it.
  ~WalkRunner();
  WalkRunner(const WalkRunner&) = delete;
  WalkRunner& operator=(const WalkRunner&) = delete;

  // False while a walk is under way (its result not yet taken).
  bool Start(const std::string& folder);
  bool IsWalking() const { return worker_.joinable(); }
  // Asks the walk to stop soon; it still ends with kDone.
  void Cancel() { cancel_ = true; }
  // The latest progress; the next one is notified again.
  WalkProgress TakeProgress();
  // After kDone: waits for the thread and hands over the result.
  WalkResult Finish();
  // Cancels and waits, dropping the result.
  void Stop();

 private:
  MakeTree makeTree_;
  Notify notify_;
  std::thread worker_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> progressPending_{false};
  std::mutex mutex_;
  WalkProgress progress_;  // under mutex_
  WalkResult walked_;      // under mutex_
};

}  // namespace qm::dircheck
