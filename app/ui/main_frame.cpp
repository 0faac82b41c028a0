#include "app/ui/main_frame.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>

#include "framework/file_dialog.h"
#include "framework/registry.h"
#include "framework/win_app.h"
#include "platform/error_text.h"
#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"

namespace qm {

fw::MessageTable<CMainFrame> CMainFrame::Messages() {
  static constexpr fw::MessageEntry<CMainFrame> kTable[] = {
      fw::OnMessage(WM_TIMER, &CMainFrame::OnTimer),
      fw::OnMessage(WM_DROPFILES, &CMainFrame::OnDropFiles),
      fw::OnMessage(WM_CLOSE, &CMainFrame::OnClose),
  };
  return kTable;
}

// Only the commands listed here have handlers; every other command of the
// menu and toolbar is disabled.
const fw::CommandEntry<CMainFrame> CMainFrame::kCommands[] = {
    {ID_CAPTURE_WINDOW, &CMainFrame::OnCaptureWindowCommand, &CMainFrame::OnUpdateRule<ID_CAPTURE_WINDOW>},
    {ID_REFRESH_PROPERTIES, &CMainFrame::OnRefresh, nullptr},
    {ID_AUTO_REFRESH, &CMainFrame::OnAutoRefresh, &CMainFrame::OnUpdateAutoRefresh},
    {ID_FILE_SAVE, &CMainFrame::OnFileSave, nullptr},
    {ID_ENABLE_WINDOW, &CMainFrame::OnAction<ID_ENABLE_WINDOW>, &CMainFrame::OnUpdateRule<ID_ENABLE_WINDOW>},
    {ID_DISABLE_WINDOW, &CMainFrame::OnAction<ID_DISABLE_WINDOW>, &CMainFrame::OnUpdateRule<ID_DISABLE_WINDOW>},
    {ID_TOGGLE_ENABLED, &CMainFrame::OnAction<ID_TOGGLE_ENABLED>, &CMainFrame::OnUpdateRule<ID_TOGGLE_ENABLED>},
    {ID_SHOW_WINDOW, &CMainFrame::OnAction<ID_SHOW_WINDOW>, &CMainFrame::OnUpdateRule<ID_SHOW_WINDOW>},
    {ID_HIDE_WINDOW, &CMainFrame::OnAction<ID_HIDE_WINDOW>, &CMainFrame::OnUpdateRule<ID_HIDE_WINDOW>},
    {ID_TOGGLE_VISIBLE, &CMainFrame::OnAction<ID_TOGGLE_VISIBLE>, &CMainFrame::OnUpdateRule<ID_TOGGLE_VISIBLE>},
    {ID_REPAINT_WINDOW, &CMainFrame::OnAction<ID_REPAINT_WINDOW>, &CMainFrame::OnUpdateRule<ID_REPAINT_WINDOW>},
    {ID_MAXIMIZE_WINDOW, &CMainFrame::OnAction<ID_MAXIMIZE_WINDOW>, &CMainFrame::OnUpdateRule<ID_MAXIMIZE_WINDOW>},
    {ID_MINIMIZE_WINDOW, &CMainFrame::OnAction<ID_MINIMIZE_WINDOW>, &CMainFrame::OnUpdateRule<ID_MINIMIZE_WINDOW>},
    {ID_RESTORE_WINDOW, &CMainFrame::OnAction<ID_RESTORE_WINDOW>, &CMainFrame::OnUpdateRule<ID_RESTORE_WINDOW>},
    {ID_CLOSE_WINDOW, &CMainFrame::OnAction<ID_CLOSE_WINDOW>, &CMainFrame::OnUpdateRule<ID_CLOSE_WINDOW>},
    {ID_CAPTURE_PARENT, &CMainFrame::OnCaptureMove<ID_CAPTURE_PARENT>, &CMainFrame::OnUpdateRule<ID_CAPTURE_PARENT>},
    {ID_CAPTURE_OWNER, &CMainFrame::OnCaptureMove<ID_CAPTURE_OWNER>, &CMainFrame::OnUpdateRule<ID_CAPTURE_OWNER>},
    {ID_CAPTURE_NEXT, &CMainFrame::OnCaptureMove<ID_CAPTURE_NEXT>, &CMainFrame::OnUpdateRule<ID_CAPTURE_NEXT>},
    {ID_CAPTURE_PREVIOUS, &CMainFrame::OnCaptureMove<ID_CAPTURE_PREVIOUS>,
     &CMainFrame::OnUpdateRule<ID_CAPTURE_PREVIOUS>},
    // The dialogs (main_frame_dialogs.cpp).
    {ID_EDIT_STYLES, &CMainFrame::OnEditStyles, &CMainFrame::OnUpdateRule<ID_EDIT_STYLES>},
    {ID_EDIT_EXSTYLES, &CMainFrame::OnEditExStyles, &CMainFrame::OnUpdateRule<ID_EDIT_EXSTYLES>},
    {ID_CLASS_STYLES, &CMainFrame::OnClassStyles, &CMainFrame::OnUpdateRule<ID_CLASS_STYLES>},
    {ID_CLASS_ICONS, &CMainFrame::OnClassIcons, &CMainFrame::OnUpdateRule<ID_CLASS_ICONS>},
    {ID_WINDOW_PROPERTIES, &CMainFrame::OnWindowProperties, &CMainFrame::OnUpdateRule<ID_WINDOW_PROPERTIES>},
    {ID_PROCESS_DATA, &CMainFrame::OnProcessData, &CMainFrame::OnUpdateRule<ID_PROCESS_DATA>},
    {ID_MODULE_GENERAL_DATA, &CMainFrame::OnModuleGeneralData, &CMainFrame::OnUpdateRule<ID_MODULE_GENERAL_DATA>},
    {ID_MODULE_RESOURCES, &CMainFrame::OnModuleResources, &CMainFrame::OnUpdateRule<ID_MODULE_RESOURCES>},
    {ID_MODULE_HEADERS, &CMainFrame::OnModuleHeaders, &CMainFrame::OnUpdateRule<ID_MODULE_HEADERS>},
    {ID_CHILD_WINDOWS, &CMainFrame::OnChildWindows, &CMainFrame::OnUpdateRule<ID_CHILD_WINDOWS>},
    {ID_WINDOW_LIST, &CMainFrame::OnWindowList, &CMainFrame::OnUpdateRule<ID_WINDOW_LIST>},
    {ID_FIND_WINDOW, &CMainFrame::OnFindWindow, &CMainFrame::OnUpdateRule<ID_FIND_WINDOW>},
    {ID_PROCESS_LIST, &CMainFrame::OnProcessList, &CMainFrame::OnUpdateRule<ID_PROCESS_LIST>},
    {ID_PROCESS_TREE, &CMainFrame::OnProcessTree, &CMainFrame::OnUpdateRule<ID_PROCESS_TREE>},
    {ID_DIRECTORY_CHECK, &CMainFrame::OnDirectoryCheck, &CMainFrame::OnUpdateRule<ID_DIRECTORY_CHECK>},
    {ID_SERVICES_MANAGER, &CMainFrame::OnServicesManager, &CMainFrame::OnUpdateRule<ID_SERVICES_MANAGER>},
    {ID_WINDOW_MENU, &CMainFrame::OnWindowMenu, &CMainFrame::OnUpdateRule<ID_WINDOW_MENU>},
    {ID_MESSAGE_LOG, &CMainFrame::OnMessageLog, &CMainFrame::OnUpdateRule<ID_MESSAGE_LOG>},
    {ID_HIGHLIGHT_WINDOW, &CMainFrame::OnHighlightWindow, &CMainFrame::OnUpdateRule<ID_HIGHLIGHT_WINDOW>},
};

CMainFrame::CMainFrame(Platform& platform, CQuillmarDocument& document)
    : WithMessageTable({ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_APP_EXIT, IDW_TOOLBAR_STRIP}),
      platform_(platform),
      document_(document),
      commands_(platform) {}

bool CMainFrame::Create() { return LoadFrame(IDR_MAINFRAME); }

bool CMainFrame::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // A component registered while the program runs is found when the menu
  // that holds its command opens; the probe only reads the registry.
  if (message == WM_INITMENUPOPUP && !HIWORD(lParam)) {
    const auto popup = reinterpret_cast<HMENU>(wParam);
    if (::GetMenuState(popup, ID_DIRECTORY_CHECK, MF_BYCOMMAND) != static_cast<UINT>(-1) ||
        ::GetMenuState(popup, ID_SERVICES_MANAGER, MF_BYCOMMAND) != static_cast<UINT>(-1))
      ProbeComponents();
  }
  // The interfaces go while COM is still initialised (the frame object may
  // outlive the application's OLE scope).
  if (message == WM_DESTROY) {
    m_dirCheckComponent.Release();
    m_servicesComponent.Release();
    // Every logging session ends with the program.
    messageLogs_.clear();
    highlighter_.Hide();
  }
  return WithMessageTable::OnWndMsg(message, wParam, lParam, result);
}

bool CMainFrame::RouteCommand(UINT id, fw::CommandUI* ui) {
  return fw::RouteCommandTable(*this, kCommands, id, ui) || CFrameWnd::RouteCommand(id, ui) ||
         (m_pApp && m_pApp->OnCmdMsg(id, ui));
}

bool CMainFrame::OnCreateFrame() {
  if (!CreateDockedToolBar(AFX_IDW_TOOLBAR, IDR_MAINFRAME, {ID_TOGGLE_ENABLED, ID_TOGGLE_VISIBLE})) return false;
  if (!m_wndStatusBar.Create(
          m_hWnd, AFX_IDW_STATUS_BAR,
          {{ID_INDICATOR_CAPS, VK_CAPITAL}, {ID_INDICATOR_NUM, VK_NUMLOCK}, {ID_INDICATOR_SCRL, VK_SCROLL}}))
    return false;
  ProbeComponents();
  highlighter_.SetTimerWindow(m_hWnd);
  return true;
}

bool IsComponentRegistered(const wchar_t* progId) { return CAutomationComponent(progId, 0).IsRegistered(); }

void CMainFrame::ProbeComponents() {
  m_bDirCheckAvailable = m_dirCheckComponent.IsRegistered();
  m_bServicesAvailable = m_servicesComponent.IsRegistered();
}

// The component is created and called in the same use: the first click
// opens the tool, as every later one does.
void CMainFrame::OnDirectoryCheck() { m_dirCheckComponent.Run(platform_); }

void CMainFrame::OnServicesManager() { m_servicesComponent.Run(platform_); }

void CMainFrame::CaptureWindow(WindowHandle window) {
  document_.m_doc.m_hCapturedWnd = window;
  document_.UpdateAllViews();
}

template <UINT id>
void CMainFrame::OnUpdateRule(fw::CommandUI& ui) {
  const CommandState state =
      commands_.Rule(id, Captured(), ComponentAvailability{m_bDirCheckAvailable, m_bServicesAvailable});
  ui.Enable(state.enabled);
  if (state.checked) ui.SetCheck(*state.checked);
}

template <UINT id>
void CMainFrame::OnAction() {
  if (commands_.Act(id, Captured())) document_.UpdateAllViews();
}

template <UINT id>
void CMainFrame::OnCaptureMove() {
  const WindowHandle related = commands_.RelatedWindow(id, Captured());
  if (related != 0) CaptureWindow(related);
}

// ---- capture by dragging ----

void CMainFrame::OnCaptureWindowCommand() {
  highlighter_.Hide();
  dragOutline_.Reset();
  ::SetCapture(m_hWnd);
  ::ShowWindow(m_hWnd, SW_SHOWMINIMIZED);
  dragging_ = true;
  buttonWentDown_ = false;
  ::SetTimer(m_hWnd, IDT_CAPTURE_POLL, kCapturePollMs, nullptr);
  ::KillTimer(m_hWnd, IDT_AUTO_REFRESH);
}

LRESULT CMainFrame::OnTimer(WPARAM wParam, LPARAM lParam) {
  if (wParam == IDT_CAPTURE_POLL) {
    OnCapturePoll();
  } else if (wParam == IDT_OUTLINE_FLASH) {
    highlighter_.OnFlashTimer();
  } else if (wParam == IDT_AUTO_REFRESH) {
    // A window that has gone is still refreshed: the tree then says so.
    if (Captured() != 0) document_.UpdateAllViews();
  } else {
    return CFrameWnd::OnTimer(wParam, lParam);
  }
  return 0;
}

void CMainFrame::OnCapturePoll() {
  if (!dragging_) {
    ::KillTimer(m_hWnd, IDT_CAPTURE_POLL);
    return;
  }
  // The minimized frame has no keyboard focus, so Escape is read from the
  // key's current state (the high bit; never the "pressed since" bit).
  if (::GetAsyncKeyState(VK_ESCAPE) & 0x8000) {
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    EndDrag(false);
    return;
  }
  // Some window managers keep the mouse capture with the frame through a
  // press and release over another program's window; a full click (down,
  // then up) ends the drag as losing the capture would.
  const bool buttonDown = (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
  if (buttonDown) {
    buttonWentDown_ = true;
  } else if (buttonWentDown_ && ::GetCapture() == m_hWnd) {
    ::ReleaseCapture();
  }
  if (::GetCapture() == m_hWnd) {
    Point point;
    if (platform_.windows->GetCursorPos(point)) {
      highlighter_.Show(dragOutline_.Update(point, CWindowHighlighter::ScreenRect()));
    } else {
      highlighter_.Hide();
    }
    return;
  }
  EndDrag(true);
}

void CMainFrame::FinishDrag() {
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  EndDrag(true);
}

void CMainFrame::EndDrag(bool captureUnderPointer) {
  ::KillTimer(m_hWnd, IDT_CAPTURE_POLL);
  // Gone before the window under the pointer is read.
  highlighter_.Hide();
  dragOutline_.Reset();
  dragging_ = false;
  buttonWentDown_ = false;
  if (captureUnderPointer) {
    Point point;
    if (platform_.windows->GetCursorPos(point)) {
      // Nothing under the pointer keeps the previous capture.
      if (auto target = commands_.FindCaptureTarget(point)) document_.m_doc.m_hCapturedWnd = *target;
    }
  }
  document_.UpdateAllViews();
  ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
  StartAutoRefresh();
}

void CMainFrame::StartAutoRefresh() {
  if (m_bAutoRefresh) ::SetTimer(m_hWnd, IDT_AUTO_REFRESH, kAutoRefreshMs, nullptr);
}

void CMainFrame::OnHighlightWindow() { highlighter_.Flash(Captured()); }

// ---- refresh ----

void CMainFrame::OnRefresh() { document_.UpdateAllViews(); }

void CMainFrame::OnAutoRefresh() {
  m_bAutoRefresh = !m_bAutoRefresh;
  if (!m_bAutoRefresh) {
    ::KillTimer(m_hWnd, IDT_AUTO_REFRESH);
  } else if (!dragging_ && Captured() != 0) {
    StartAutoRefresh();
  }
}

void CMainFrame::OnUpdateAutoRefresh(fw::CommandUI& ui) { ui.SetCheck(m_bAutoRefresh); }

// ---- saving the (empty) document ----

void CMainFrame::OnFileSave() {
  // Filter and extension come from the document string: the fourth and
  // fifth of its line-separated parts.
  std::vector<std::string> parts;
  const std::string docString = platform_.strings->LoadString(IDR_MAINFRAME);
  for (size_t start = 0;;) {
    const size_t end = docString.find('\n', start);
    parts.push_back(docString.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  const std::string extension = parts.size() > 4 ? parts[4] : ".qmr";
  fw::FileDialogRequest request;
  request.save = true;
  request.filter = (parts.size() > 3 ? parts[3] : "") + "|*" + extension + "|";
  request.defaultName = parts.size() > 2 ? parts[2] : "";
  request.defaultExtension = extension.size() > 1 ? extension.substr(1) : "";
  request.flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  std::optional<std::string> chosen;
  {
    ModalRun run(*this);
    chosen = fw::AskFileName(m_hWnd, request);
  }
  if (!chosen) return;
  const std::wstring name = Widen(*chosen);
  if (!document_.OnSaveDocument(name.c_str())) {
    const CErrorText error(*platform_.errors, ::GetLastError());
    platform_.messageBox->MessageBox(error.GetText(), MB_ICONEXCLAMATION_);
    return;
  }
  if (m_pApp) m_pApp->AddToRecentFileList(name.c_str());
}

// ---- dropped files ----

// Each dropped file is opened in turn, as the framework does, so all of
// them go on the recent-file list, the last dropped first.
LRESULT CMainFrame::OnDropFiles(WPARAM wParam, LPARAM) {
  const auto drop = reinterpret_cast<HDROP>(wParam);
  // Files come from another program: take the activation so a message
  // about one is owned by this frame and not left behind that program.
  ::SetActiveWindow(m_hWnd);
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count && m_pApp; ++i) {
    const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
    if (length == 0) continue;
    std::wstring path(length + 1, L'\0');
    const UINT copied = ::DragQueryFileW(drop, i, path.data(), length + 1);
    path.resize(std::min(copied, length));
    m_pApp->OpenDocumentFile(path);
  }
  ::DragFinish(drop);
  return 0;
}

}  // namespace qm
