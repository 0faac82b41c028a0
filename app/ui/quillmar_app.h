#pragma once
// The application object: start-up (OLE, settings key and recent files,
// shared image lists, the document, the frame and its view, a file named on
// the command line) and exit.

#include <functional>
#include <memory>
#include <string>

#include "app/ui/main_frame.h"
#include "app/ui/quillmar_document.h"
#include "app/ui/quillmar_view.h"
#include "common/ui/image_lists.h"
#include "framework/win_app.h"

namespace qm {

class CQuillmarApp : public fw::CWinApp {
 public:
  explicit CQuillmarApp(Platform& platform);
  ~CQuillmarApp() override;

  bool InitInstance() override;
  int ExitInstance() override;
  bool OnCmdMsg(UINT id, fw::CommandUI* ui) override;
  // The log windows are modeless dialogs: Tab, Enter and Escape work in
  // them as in any dialog.
  bool PreTranslateMessage(MSG& message) override;

  // The OLE start-up call; tests replace it to see a failure handled.
  std::function<HRESULT()> m_initializeOle;
  // The program's command line; tests give their own.
  std::wstring m_commandLine;
  // The file whose version block the About box shows: the program itself
  // when empty (tests run inside another executable and name quillmar.exe).
  std::string m_versionPath;

  CImageLists m_imageLists;
  std::unique_ptr<CQuillmarDocument> m_document;
  std::unique_ptr<CQuillmarView> m_view;
  std::unique_ptr<CMainFrame> m_frame;

 private:
  void OnAppAbout();

  static const fw::CommandEntry<CQuillmarApp> kCommands[];
  bool oleInitialized_ = false;
};

}  // namespace qm
