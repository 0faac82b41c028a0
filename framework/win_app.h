#pragma once
// The application object: start-up and exit around the message loop, idle
// processing (the frame's toolbar follows its commands' enabling handlers
// whenever the queue runs dry), the frame's accelerators, the settings key
// with its recent-file list, and opening a document file.

#include <string>
#include <vector>

#include "common/recent_file_list.h"
#include "framework/frame_wnd.h"
#include "platform/platform.h"

namespace qm::fw {

class CWinApp {
 public:
  // Failures the application reports go to the platform's message box.
  explicit CWinApp(Platform& platform) : m_platform(platform) {}
  virtual ~CWinApp() = default;

  // InitInstance, then the message loop if it succeeded, then ExitInstance.
  int Main();
  virtual bool InitInstance() = 0;
  virtual int ExitInstance() { return exitCode_; }
  int Run();
  // Idle work after the queue empties; true asks for another call.
  virtual bool OnIdle(long count);
  // The application's own commands, asked after the frame's (the About
  // box, for one); ui null runs the handler. False when it has none.
  virtual bool OnCmdMsg(UINT id, CommandUI* ui);
  // Accelerators of the main frame; true when the message was consumed.
  virtual bool PreTranslateMessage(MSG& message);
  // Dispatches whatever is queued, then runs idle once (for tests and
  // nested waits).
  void PumpPending();

  // HKEY_CURRENT_USER\Software\<company>\<m_appName>, created when missing.
  bool SetRegistryKey(const std::wstring& company);
  // Reads the recent-file list of recentCount entries from the settings
  // key; an unreadable key or value leaves those entries out.
  void LoadStdProfileSettings(size_t recentCount);
  // Puts path (made full, with long names) first in the recent-file list
  // and writes the whole list back (best effort: the list in memory is
  // right even if the write fails).
  void AddToRecentFileList(const std::wstring& path);
  std::vector<std::wstring> RecentFiles() const;

  // The document has no content, so opening a file only checks that it can
  // be read; a file that cannot shows its name and the system's reason and
  // gives false, one that can goes into the recent-file list.
  virtual bool OpenDocumentFile(const std::wstring& path);

  Platform& m_platform;
  CFrameWnd* m_pMainWnd = nullptr;
  std::wstring m_appName;
  std::wstring m_registryKey;

 private:
  void AddFullPathToRecentFileList(const std::wstring& fullPath);

  int exitCode_ = 0;
  RecentFileList recentFiles_{0};
};

}  // namespace qm::fw
