#pragma once
// A process handle from IProcessSystem::OpenProcess, closed when it goes
// out of scope; 0 (a failed open) is held and never closed.

#include "platform/processes.h"

namespace qm {

class ProcessHandle {
 public:
  ProcessHandle(IProcessSystem& system, KernelHandle handle) : system_(system), handle_(handle) {}
  ~ProcessHandle() {
    if (handle_) system_.CloseHandle(handle_);
  }
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;
  KernelHandle get() const { return handle_; }
  explicit operator bool() const { return handle_ != 0; }

 private:
  IProcessSystem& system_;
  KernelHandle handle_;
};

}  // namespace qm
