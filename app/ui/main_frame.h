#pragma once
// The main frame: hosts the property tree, owns the capture (by dragging,
// or moved to a related window), acts on the captured window and keeps the
// tree current with a one-second timer. A command is enabled when its rule
// (app/enabling.h) allows it and the frame has a handler for it, so the
// dialog commands stay grey until their dialogs exist.

#include <memory>
#include <vector>

#include "app/capture_outline.h"
#include "app/enabling.h"
#include "app/ui/automation_component.h"
#include "app/ui/message_log_source.h"
#include "app/ui/quillmar_document.h"
#include "app/ui/window_highlighter.h"
#include "framework/frame_wnd.h"
#include "msglog/ui/message_log_wnd.h"
#include "windows/find_window.h"

namespace qm::fw {
class CWinApp;
}

namespace qm {

class CFrameToolLauncher;

constexpr UINT_PTR IDT_CAPTURE_POLL = 275;
constexpr UINT_PTR IDT_AUTO_REFRESH = 276;
constexpr UINT kCapturePollMs = 10;
constexpr UINT kAutoRefreshMs = 1000;

class CMainFrame : public fw::WithMessageTable<CMainFrame, fw::CFrameWnd> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CMainFrame> Messages();
  CMainFrame(Platform& platform, CQuillmarDocument& document);

  bool Create();

  // Stores the handle in the document and updates all views.
  void CaptureWindow(WindowHandle window);
  bool IsDragging() const { return dragging_; }
  // Ends a drag as the poll does: captures what lies under the pointer.
  void FinishDrag();
  WindowHandle Captured() const { return document_.m_doc.m_hCapturedWnd; }
  // The outline round the window under the pointer while dragging, and
  // the flashes that show a picked window.
  CWindowHighlighter& Highlighter() { return highlighter_; }

  // The two external tools, created on first use and kept until the frame
  // is destroyed.
  CAutomationComponent m_dirCheckComponent{L"Turmidex.Application", 3};
  bool m_bDirCheckAvailable = false;
  CAutomationComponent m_servicesComponent{L"Palvexi.Application", 2};
  bool m_bServicesAvailable = false;
  bool m_bAutoRefresh = true;
  // Opens dropped files and keeps the recent-file list; not owned.
  fw::CWinApp* m_pApp = nullptr;
  // The program's shared small icons for the dialogs' lists; not owned.
  HIMAGELIST m_hImageList = nullptr;
  // Makes the session of each log window; empty when the log is not
  // available. Tests put a source of their own here.
  MessageSourceFactory m_messageSourceFactory = MessageLogSourceFactory();

  // Opens a log window on the window (after the user agrees); the frame
  // keeps it until it is closed or the frame goes.
  void OpenMessageLog(WindowHandle window);
  // The log windows open now.
  std::vector<const CMessageLogWnd*> MessageLogs() const;

  bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 protected:
  bool OnCreateFrame() override;
  bool RouteCommand(UINT id, fw::CommandUI* ui) override;

 private:
  LRESULT OnTimer(WPARAM, LPARAM);
  LRESULT OnDropFiles(WPARAM, LPARAM);
  void OnCapturePoll();
  void EndDrag(bool captureUnderPointer);
  void StartAutoRefresh();
  // "Resaltar ventana": flashes the outline round the captured window.
  void OnHighlightWindow();

  void OnCaptureWindowCommand();
  void OnRefresh();
  void OnAutoRefresh();
  void OnUpdateAutoRefresh(fw::CommandUI& ui);
  void OnFileSave();
  template <UINT id>
  void OnAction();
  template <UINT id>
  void OnCaptureMove();
  template <UINT id>
  void OnUpdateRule(fw::CommandUI& ui);

  void ProbeComponents();
  void OnDirectoryCheck();
  void OnServicesManager();

  // The dialog commands (main_frame_dialogs.cpp).
  void OnEditStyles();
  void OnEditExStyles();
  void OnClassStyles();
  // Runs the style editor on a word of the last refresh; applies the
  // accepted word unless the kind is shown only.
  void RunStyleEditor(int kind, uint64_t word);
  void OnClassIcons();
  void OnWindowProperties();
  void OnProcessData();
  void OnModuleGeneralData();
  void OnModuleResources();

  void OnModuleHeaders();
  // The open-file dialog of the module commands (filter 4031); false when
  // the user cancels it.
  bool AskModulePath(std::string& path);
  void OnChildWindows();
  void OnWindowList();
  // "Buscar ventana..." (main_frame_find.cpp).
  void OnFindWindow();
  void OnProcessList();
  void OnProcessTree();
  void RunProcesses(int initialTab);
  void OnWindowMenu();
  void OnMessageLog();
  // The launcher the frame's dialogs open each other's dialogs with.
  CFrameToolLauncher Tools();
  // A close request while one of the frame's modal dialogs runs (a window
  // list's "Cerrar" aimed at the frame) is ignored: the frame must outlive
  // the dialog it owns.
  LRESULT OnClose(WPARAM, LPARAM);

  // Around a modal dialog: the frame minimised without activation while it
  // runs (hideMain) and the property refresh stopped (stopTimer); both are
  // put back when the scope ends, whatever the dialog's result.
  class ModalScope {
   public:
    ModalScope(CMainFrame& frame, bool hideMain, bool stopTimer);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

   private:
    CMainFrame& frame_;
    ModalRun run_;
    bool hideMain_;
    bool stopTimer_;
  };

  static const fw::CommandEntry<CMainFrame> kCommands[];

  Platform& platform_;
  CQuillmarDocument& document_;
  CaptureCommands commands_;
  CaptureOutlineTracker dragOutline_{commands_, *platform_.windows, *platform_.strings};
  CWindowHighlighter highlighter_{platform_};
  bool dragging_ = false;
  bool buttonWentDown_ = false;
  // Every log window opened and not yet found closed.
  std::vector<std::unique_ptr<CMessageLogWnd>> messageLogs_;
  // What "Buscar ventana..." looked for last, offered again the next time.
  FindWindowRequest lastFindRequest_;
};

// Whether an automation component is registered: its ProgID key with a
// CLSID under HKEY_CLASSES_ROOT, opened read-only (nothing is created).
bool IsComponentRegistered(const wchar_t* progId);

}  // namespace qm
