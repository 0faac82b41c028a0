// The main frame's commands that open dialogs: what each hands in, what it
// does with the result, and whether the frame hides and the property
// refresh stops while the dialog runs.

#include "app/ui/frame_tool_launcher.h"
#include "app/ui/main_frame.h"
#include "framework/file_dialog.h"
#include "headers/ui/module_headers_dlg.h"
#include "platform/win32/win32_system.h"
#include "processes/ui/module_info_dlg.h"
#include "processes/ui/process_info_dlg.h"
#include "processes/ui/processes_dlg.h"
#include "res/resource_ids.h"
#include "res/string_ids.h"
#include "resources/ui/module_resources_dlg.h"
#include "windows/style_dictionary.h"
#include "windows/ui/child_windows_dlg.h"
#include "windows/ui/class_icons_dlg.h"
#include "windows/ui/style_edit_dlg.h"
#include "windows/ui/window_list_dlg.h"
#include "windows/ui/window_menu_dlg.h"
#include "windows/ui/window_props_dlg.h"
#include "windows/window_edits.h"

// After <windows.h> (through main_frame.h), which it needs.
#include <commdlg.h>

namespace qm {

CMainFrame::ModalScope::ModalScope(CMainFrame& frame, bool hideMain, bool stopTimer)
    : frame_(frame), run_(frame), hideMain_(hideMain), stopTimer_(stopTimer) {
  if (stopTimer_) ::KillTimer(frame_.m_hWnd, IDT_AUTO_REFRESH);
  if (hideMain_ && ::IsWindow(frame_.m_hWnd)) ::ShowWindow(frame_.m_hWnd, SW_SHOWMINNOACTIVE);
}

CMainFrame::ModalScope::~ModalScope() {
  if (hideMain_ && ::IsWindow(frame_.m_hWnd)) ::ShowWindow(frame_.m_hWnd, SW_RESTORE);
  if (stopTimer_) frame_.StartAutoRefresh();
}

LRESULT CMainFrame::OnClose(WPARAM wParam, LPARAM lParam) {
  if (InModalRun()) return 0;
  return DefWindowProc(WM_CLOSE, wParam, lParam);
}

// ---- styles ----

// The word comes from the last refresh, the dictionary of the window style
// from the class name shown in the tree.
void CMainFrame::OnEditStyles() {
  const auto& properties = document_.m_doc.m_properties;
  RunStyleEditor(StyleKindForClass(properties[kPropClassName].value), properties[kPropStyle].raw);
}

void CMainFrame::OnEditExStyles() { RunStyleEditor(kExtendedStyles, document_.m_doc.m_properties[kPropExStyle].raw); }

void CMainFrame::OnClassStyles() { RunStyleEditor(kClassStyles, document_.m_doc.m_properties[kPropClassStyle].raw); }

void CMainFrame::RunStyleEditor(int kind, uint64_t word) {
  CStyleEditDlg dialog;
  dialog.SetStyle(static_cast<uint32_t>(word), kind);
  bool accepted = false;
  {
    ModalScope scope(*this, /*hideMain=*/false, /*stopTimer=*/true);
    accepted = dialog.DoModal(m_hWnd) == IDOK;
  }
  // The refresh runs again before the question is asked.
  if (!accepted) return;
  if (ApplyStyleWord(platform_, Captured(), kind, dialog.Style()) == EditOutcome::Applied) document_.UpdateAllViews();
}

// ---- window properties and class icons ----

void CMainFrame::OnWindowProperties() {
  CWindowPropsDlg dialog(*platform_.windows);
  dialog.m_window = Captured();
  bool accepted = false;
  {
    ModalScope scope(*this, /*hideMain=*/false, /*stopTimer=*/true);
    accepted = dialog.DoModal(m_hWnd) == IDOK;
  }
  if (!accepted) return;
  if (ApplyWindowProperties(platform_, Captured(), dialog.m_properties) == EditOutcome::Applied)
    document_.UpdateAllViews();
}

// The class's icons are read when the command runs; the refresh goes on.
void CMainFrame::OnClassIcons() {
  const WindowHandle window = Captured();
  CClassIconsDlg dialog;
  dialog.m_hLargeIcon = reinterpret_cast<HICON>(platform_.windows->GetClassLongPtr(window, GCL_HICON));
  dialog.m_hSmallIcon = reinterpret_cast<HICON>(platform_.windows->GetClassLongPtr(window, GCL_HICONSM));
  ModalRun run(*this);
  dialog.DoModal(m_hWnd);
}

// ---- processes and modules ----

// The dialog finds the captured window's process itself.
void CMainFrame::OnProcessData() {
  CProcessInfoDlg dialog(platform_, m_hImageList);
  dialog.SetProcessWindow(Captured());
  ModalScope scope(*this, /*hideMain=*/false, /*stopTimer=*/true);
  dialog.DoModal(m_hWnd);
}

void CMainFrame::OnModuleGeneralData() {
  std::string path;
  if (!AskModulePath(path)) return;  // cancelled: the refresh goes on
  CModuleInfoDlg dialog(platform_, m_hImageList);
  dialog.SetModulePath(path);
  ModalScope scope(*this, /*hideMain=*/true, /*stopTimer=*/true);
  dialog.DoModal(m_hWnd);
}

void CMainFrame::OnModuleResources() {
  std::string path;
  if (!AskModulePath(path)) return;  // cancelled: the refresh goes on
  CModuleResourcesDlg dialog(platform_, m_hImageList, path);
  ModalScope scope(*this, /*hideMain=*/true, /*stopTimer=*/true);
  dialog.DoModal(m_hWnd);
}

void CMainFrame::OnModuleHeaders() {
  std::string path;
  if (!AskModulePath(path)) return;  // cancelled: the refresh goes on
  CModuleHeadersDlg dialog(platform_, m_hImageList);
  dialog.SetFileName(path);
  ModalScope scope(*this, /*hideMain=*/true, /*stopTimer=*/true);
  dialog.DoModal(m_hWnd);
}

bool CMainFrame::AskModulePath(std::string& path) {
  fw::FileDialogRequest request;
  request.filter = platform_.strings->LoadString(IDS_MODULE_FILE_FILTER);
  request.flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  std::optional<std::string> chosen;
  {
    ModalRun run(*this);  // the open-file dialog is modal to the frame too
    chosen = fw::AskFileName(m_hWnd, request);
  }
  if (!chosen) return false;
  path = *chosen;
  return true;
}

// ---- window list, child windows and processes ----

CFrameToolLauncher CMainFrame::Tools() {
  return CFrameToolLauncher(
      platform_, m_hImageList, [this](WindowHandle window) { OpenMessageLog(window); },
      [this](WindowHandle window) { highlighter_.Flash(window); });
}

void CMainFrame::OnChildWindows() {
  CFrameToolLauncher tools = Tools();
  CChildWindowsDlg dialog(platform_, m_hImageList);
  dialog.m_pTools = &tools;
  dialog.AddRoot(Captured());
  bool accepted = false;
  {
    ModalScope scope(*this, /*hideMain=*/false, /*stopTimer=*/true);
    accepted = dialog.DoModal(m_hWnd) == IDOK;
  }
  if (accepted && dialog.m_hResult != 0) CaptureWindow(dialog.m_hResult);
}

void CMainFrame::OnWindowList() {
  CFrameToolLauncher tools = Tools();
  CWindowListDlg dialog(platform_, m_hImageList, tools);
  bool accepted = false;
  {
    ModalScope scope(*this, /*hideMain=*/true, /*stopTimer=*/true);
    accepted = dialog.DoModal(m_hWnd) == IDOK;
  }
  if (accepted && dialog.m_hResult != 0) CaptureWindow(dialog.m_hResult);
}

void CMainFrame::OnProcessList() { RunProcesses(0); }

void CMainFrame::OnProcessTree() { RunProcesses(1); }

// A window comes back only when the user picked one of a process's windows.
void CMainFrame::RunProcesses(int initialTab) {
  CFrameToolLauncher tools = Tools();
  CProcessesDlg dialog(platform_, m_hImageList, initialTab, tools);
  bool accepted = false;
  {
    ModalScope scope(*this, /*hideMain=*/true, /*stopTimer=*/true);
    accepted = dialog.DoModal(m_hWnd) == IDOK;
  }
  if (accepted && dialog.m_hSelectedWnd != 0) CaptureWindow(dialog.m_hSelectedWnd);
}

// ---- window menu ----

// The editor makes its own changes on the window's menu; nothing comes back.
void CMainFrame::OnWindowMenu() {
  CWindowMenuDlg dialog(platform_, m_hImageList);
  dialog.m_window = Captured();
  ModalScope scope(*this, /*hideMain=*/false, /*stopTimer=*/true);
  dialog.DoModal(m_hWnd);
}

// ---- message log ----

void CMainFrame::OnMessageLog() { OpenMessageLog(Captured()); }

void CMainFrame::OpenMessageLog(WindowHandle window) {
  // Closed log windows are let go here (a window cannot free itself).
  std::erase_if(messageLogs_, [](const auto& log) { return !log->IsOpen(); });
  if (!m_messageSourceFactory) {
    platform_.messageBox->MessageBox(platform_.strings->LoadString(IDS_MSGLOG_UNAVAILABLE), MB_ICONEXCLAMATION_);
    return;
  }
  auto log = std::make_unique<CMessageLogWnd>(platform_, m_messageSourceFactory(), window);
  if (log->Open()) messageLogs_.push_back(std::move(log));
}

std::vector<const CMessageLogWnd*> CMainFrame::MessageLogs() const {
  std::vector<const CMessageLogWnd*> open;
  for (const auto& log : messageLogs_)
    if (log->IsOpen()) open.push_back(log.get());
  return open;
}

}  // namespace qm
