#include "app/ui/quillmar_app.h"

#include <ole2.h>
#include <shellapi.h>

#include <optional>

#include "app/ui/about_dlg.h"
#include "framework/data_exchange.h"
#include "res/resource_ids.h"
#include "res/string_ids.h"

namespace qm {

namespace {

struct LocalFreer {
  void operator()(LPWSTR* memory) const { ::LocalFree(memory); }
};

// The document file a command line names: its first argument after the
// program that is not a switch ('/' or '-').
std::optional<std::wstring> DocumentArgument(const std::wstring& commandLine) {
  int count = 0;
  const std::unique_ptr<LPWSTR, LocalFreer> arguments(::CommandLineToArgvW(commandLine.c_str(), &count));
  if (!arguments) return std::nullopt;
  for (int i = 1; i < count; ++i) {
    const std::wstring argument = arguments.get()[i];
    if (argument.empty() || argument[0] == L'/' || argument[0] == L'-') continue;
    return argument;
  }
  return std::nullopt;
}

}  // namespace

const fw::CommandEntry<CQuillmarApp> CQuillmarApp::kCommands[] = {
    {ID_APP_ABOUT, &CQuillmarApp::OnAppAbout, nullptr},
};

CQuillmarApp::CQuillmarApp(Platform& platform)
    : CWinApp(platform), m_initializeOle([] { return ::OleInitialize(nullptr); }), m_commandLine(::GetCommandLineW()) {
  m_appName = L"Quillmar";
}

CQuillmarApp::~CQuillmarApp() {
  // The frame (and with it the view's window) goes before the document.
  m_frame.reset();
  m_view.reset();
  m_document.reset();
  if (oleInitialized_) ::OleUninitialize();
}

bool CQuillmarApp::InitInstance() {
  if (FAILED(m_initializeOle())) {
    m_platform.messageBox->MessageBox(m_platform.strings->LoadString(IDS_OLE_INIT_FAILED), MB_ICONERROR_);
    return false;
  }
  oleInitialized_ = true;
  fw::SetNotWholeNumberMessage(IDS_NOT_WHOLE_NUMBER);

  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);

  // The framework's settings location; only the recent-file list is kept
  // there, so a key that cannot be created or read costs nothing.
  SetRegistryKey(L"Karvonel");
  LoadStdProfileSettings(4);

  m_imageLists.BuildShared(fw::ResourceInstance());
  m_imageLists.BuildSystem();

  // The single document, its frame and view.
  m_document = std::make_unique<CQuillmarDocument>(m_platform);
  if (!m_document->OnNewDocument()) return false;
  m_frame = std::make_unique<CMainFrame>(m_platform, *m_document);
  if (!m_frame->Create()) return false;
  m_frame->SetQuitOnDestroy(true);
  m_frame->m_pApp = this;
  m_frame->m_hImageList = m_imageLists.m_imageList;
  m_view = std::make_unique<CQuillmarView>(m_platform, m_imageLists.m_imageList);
  if (!m_view->Create(m_frame->m_hWnd)) return false;
  m_view->SetDocument(m_document.get());
  m_frame->SetView(m_view.get());
  m_view->OnInitialUpdate();
  m_pMainWnd = m_frame.get();
  // "document title - application title", the application's title being the
  // first part of the document string.
  const std::string documentString = m_platform.strings->LoadString(IDR_MAINFRAME);
  const std::wstring appTitle = Widen(documentString.substr(0, documentString.find('\n')));
  const std::wstring caption = m_document->m_title.empty() ? appTitle : m_document->m_title + L" - " + appTitle;
  ::SetWindowTextW(m_frame->m_hWnd, caption.c_str());

  ::ShowWindow(m_frame->m_hWnd, SW_SHOW);
  ::UpdateWindow(m_frame->m_hWnd);
  ::DragAcceptFiles(m_frame->m_hWnd, TRUE);
  ::SetFocus(m_view->m_hWnd);
  // A file that cannot be opened is reported but does not stop the start.
  if (const auto document = DocumentArgument(m_commandLine)) OpenDocumentFile(*document);
  return true;
}

bool CQuillmarApp::OnCmdMsg(UINT id, fw::CommandUI* ui) { return fw::RouteCommandTable(*this, kCommands, id, ui); }

bool CQuillmarApp::PreTranslateMessage(MSG& message) {
  if (m_frame) {
    for (const CMessageLogWnd* log : m_frame->MessageLogs()) {
      if (message.hwnd == log->m_hWnd || ::IsChild(log->m_hWnd, message.hwnd))
        return ::IsDialogMessageW(log->m_hWnd, &message) != FALSE;
    }
  }
  return CWinApp::PreTranslateMessage(message);
}

void CQuillmarApp::OnAppAbout() {
  CAboutDlg dialog(m_platform);
  dialog.m_versionPath = m_versionPath;
  if (!m_pMainWnd) {
    dialog.DoModal();
    return;
  }
  fw::CFrameWnd::ModalRun run(*m_pMainWnd);
  dialog.DoModal(m_pMainWnd->m_hWnd);
}

int CQuillmarApp::ExitInstance() {
  m_imageLists.Release();
  return CWinApp::ExitInstance();
}

}  // namespace qm
