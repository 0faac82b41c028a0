#pragma once
// The application object: start-up and exit around the message loop, idle
// processing (the frame's toolbar follows its commands' enabling handlers
// whenever the queue runs dry) and the frame's accelerators.

#include <string>

#include "framework/frame_wnd.h"

namespace qm::fw {

class CWinApp {
 public:
  virtual ~CWinApp() = default;

  // InitInstance, then the message loop if it succeeded, then ExitInstance.
  int Main();
  virtual bool InitInstance() = 0;
  virtual int ExitInstance() { return exitCode_; }
  int Run();
  // Idle work after the queue empties; true asks for another call.
  virtual bool OnIdle(long count);
  // Accelerators of the main frame; true when the message was consumed.
  virtual bool PreTranslateMessage(MSG& message);
  // Dispatches whatever is queued, then runs idle once (for tests and
  // nested waits).
  void PumpPending();

  // HKEY_CURRENT_USER\Software\<company>\<m_appName>, created when missing.
  bool SetRegistryKey(const std::wstring& company);

  CFrameWnd* m_pMainWnd = nullptr;
  std::wstring m_appName;
  std::wstring m_registryKey;

 private:
  int exitCode_ = 0;
};

}  // namespace qm::fw
