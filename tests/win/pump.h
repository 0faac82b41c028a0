#pragma once
// Runs this thread's messages (timers, posted commands, a worker's reports)
// until a condition holds or the time is up.
#include <functional>

#include "platform/win32/win.h"

namespace qm {

inline bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > milliseconds) return false;
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::Sleep(10);
  }
  return true;
}

}  // namespace qm
