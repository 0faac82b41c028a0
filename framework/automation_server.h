#pragma once
// The running side of an out-of-process automation server with one method:
// the command line (/RegServer, /UnregServer, -Embedding or none), the
// class object offered to COM, the dispatch object whose one DISPID opens
// the tool's window, and the rule that keeps the process alive while a
// client holds the object or the window is open.

#include <functional>

#include "framework/automation_registration.h"

namespace qm::fw {

struct AutomationServer {
  AutomationClass cls;
  DISPID method;              // the DISPID the method answers to
  const wchar_t* methodName;  // its name for GetIDsOfNames
  // Shows the tool's window, or brings it forward when it is open; runs on
  // the server's interface thread. A failure is reported to the caller as
  // an automation exception with the text given.
  std::function<bool(std::wstring& failure)> showTool;
};

// Keeps the process alive while something counts on it: a client's object,
// a LockServer, the tool's window. The last release ends the message loop.
class ServerLifetime {
 public:
  static void Lock();
  static void Unlock();
  static long Count();
};

// Runs the server for its command line; returns the process's exit code:
// 0, or the system error code of a failed registration.
int RunAutomationServer(const AutomationServer& server, const wchar_t* commandLine);

// What the command line asks for.
enum class ServerMode { kRegister, kUnregister, kEmbedding, kStandalone };
ServerMode ParseServerCommandLine(const wchar_t* commandLine);

}  // namespace qm::fw
