#pragma once
// A process a test starts with its standard output and error on a pipe:
// what it says is read while this thread keeps pumping its messages (the
// child may ask about this thread's windows). It is ended when the test
// lets go of it.
#include <algorithm>
#include <string>

#include "platform/win32/win.h"
#include "tests/win/pump.h"

namespace qm {

struct ChildProcess {
  HANDLE process = nullptr;
  HANDLE output = nullptr;
  std::string said;

  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Start(std::wstring command) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE write = nullptr;
    if (!::CreatePipe(&output, &write, &inherit, 0)) return false;
    ::SetHandleInformation(output, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write;
    startup.hStdError = write;
    PROCESS_INFORMATION info{};
    const BOOL made = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                       nullptr, &startup, &info);
    ::CloseHandle(write);
    if (!made) return false;
    ::CloseHandle(info.hThread);
    process = info.hProcess;
    return true;
  }
  // Takes what the child wrote so far.
  void Read() {
    DWORD available = 0;
    while (::PeekNamedPipe(output, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
      char buffer[4096];
      DWORD got = 0;
      if (!::ReadFile(output, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr) || got == 0) return;
      said.append(buffer, got);
    }
  }
  // Waits for the child's end (pumping), reading all it says; its exit
  // code, or STILL_ACTIVE when the time ran out.
  DWORD Finish(DWORD milliseconds) {
    PumpUntil(
        [&] {
          Read();
          return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        },
        milliseconds);
    Read();
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process, &code);
    return code;
  }
  ~ChildProcess() {
    if (process) {
      ::TerminateProcess(process, 0);
      ::WaitForSingleObject(process, 5000);
      ::CloseHandle(process);
    }
    if (output) ::CloseHandle(output);
  }
};

}  // namespace qm
