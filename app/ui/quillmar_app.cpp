#include "app/ui/quillmar_app.h"

#include <ole2.h>
#include <shellapi.h>

#include "res/resource_ids.h"

namespace qm {

CQuillmarApp::CQuillmarApp(Platform& platform)
    : m_initializeOle([] { return ::OleInitialize(nullptr); }), platform_(platform) {
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
    platform_.messageBox->MessageBox(platform_.strings->LoadString(4308), MB_ICONERROR_);
    return false;
  }
  oleInitialized_ = true;

  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);

  // The framework's settings location; no setting is stored yet, so a key
  // that cannot be created costs nothing.
  SetRegistryKey(L"Karvonel");

  m_imageLists.BuildShared(fw::ResourceInstance());
  m_imageLists.BuildSystem();

  // The single document, its frame and view; the command line's optional
  // document path opens nothing since the document has no content.
  m_document = std::make_unique<CQuillmarDocument>(platform_);
  if (!m_document->OnNewDocument()) return false;
  m_frame = std::make_unique<CMainFrame>(platform_, *m_document);
  if (!m_frame->Create()) return false;
  m_frame->SetQuitOnDestroy(true);
  m_view = std::make_unique<CQuillmarView>(platform_, m_imageLists.m_imageList);
  if (!m_view->Create(m_frame->m_hWnd)) return false;
  m_view->SetDocument(m_document.get());
  m_frame->SetView(m_view.get());
  m_view->OnInitialUpdate();
  m_pMainWnd = m_frame.get();
  // "document title - application title", the application's title being the
  // first part of the document string.
  const std::string documentString = platform_.strings->LoadString(IDR_MAINFRAME);
  const std::wstring appTitle = Widen(documentString.substr(0, documentString.find('\n')));
  const std::wstring caption = m_document->m_title.empty() ? appTitle : m_document->m_title + L" - " + appTitle;
  ::SetWindowTextW(m_frame->m_hWnd, caption.c_str());

  ::ShowWindow(m_frame->m_hWnd, SW_SHOW);
  ::UpdateWindow(m_frame->m_hWnd);
  ::DragAcceptFiles(m_frame->m_hWnd, TRUE);
  ::SetFocus(m_view->m_hWnd);
  return true;
}

int CQuillmarApp::ExitInstance() {
  m_imageLists.Release();
  return CWinApp::ExitInstance();
}

}  // namespace qm
