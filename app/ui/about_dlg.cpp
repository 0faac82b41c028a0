#include "app/ui/about_dlg.h"

#include <shellapi.h>

#include "common/text.h"
#include "framework/control_text.h"
#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"

namespace qm {

namespace {

INT_PTR ShellOpen(const std::wstring& url) {
  return reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, nullptr, url.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

}  // namespace

fw::MessageTable<CAboutDlg> CAboutDlg::Messages() {
  static constexpr fw::MessageEntry<CAboutDlg> kTable[] = {
      fw::OnMessage(WM_TIMER, &CAboutDlg::OnTimer),
      fw::OnColorMessage<WM_CTLCOLORSTATIC, &CAboutDlg::OnCtlColorStatic>(),
      fw::OnControl(STN_CLICKED, IDC_ABOUT_LINK, &CAboutDlg::OnLinkClicked),
      fw::OnMessage(WM_DESTROY, &CAboutDlg::OnDestroy),
  };
  return kTable;
}

CAboutDlg::~CAboutDlg() {
  for (HICON frame : frames_)
    if (frame) ::DestroyIcon(frame);
  if (plainFont_) ::DeleteObject(plainFont_);
  if (underlineFont_) ::DeleteObject(underlineFont_);
}

BOOL CAboutDlg::OnInitDialog() {
  HINSTANCE resources = fw::ResourceInstance();
  const int small = ::GetSystemMetrics(SM_CXSMICON);
  auto smallIcon =
      static_cast<HICON>(::LoadImageW(resources, MAKEINTRESOURCEW(IDI_QUILLMAR), IMAGE_ICON, small, small, LR_SHARED));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));

  const AboutTexts texts = ReadAboutTexts(platform_, m_versionPath);
  auto setText = [&](int id, const std::string& text) { ::SetDlgItemTextW(m_hWnd, id, Widen(text).c_str()); };
  setText(IDC_GROUP_BOX, texts.groupCaption);
  setText(IDC_ABOUT_LINE1, texts.line1);
  setText(IDC_ABOUT_LINE2, texts.line2);
  setText(IDC_ABOUT_LINE3, texts.line3);
  setText(IDC_ABOUT_LINK, texts.link);
  link_ = ::GetDlgItem(m_hWnd, IDC_ABOUT_LINK);

  // Four frames, not a range of IDs: a window, then with a hammer, with a
  // hammer and a screwdriver, with a screwdriver.
  const UINT frameIds[] = {IDI_ABOUT_FRAME1, IDI_ABOUT_FRAME2, IDI_ABOUT_FRAME3, IDI_ABOUT_FRAME4};
  if (icon_.SubclassDlgItem(IDC_ABOUT_ICON, m_hWnd)) {
    const int large = ::GetSystemMetrics(SM_CXICON);
    for (size_t i = 0; i < 4; ++i) {
      frames_[i] =
          static_cast<HICON>(::LoadImageW(resources, MAKEINTRESOURCEW(frameIds[i]), IMAGE_ICON, large, large, 0));
      if (frames_[i]) icon_.AddIcon(frames_[i]);
    }
    icon_.Start(300);
  }

  auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  LOGFONTW logFont{};
  if (font && ::GetObjectW(font, sizeof logFont, &logFont) == sizeof logFont) {
    plainFont_ = ::CreateFontIndirectW(&logFont);
    logFont.lfUnderline = TRUE;
    underlineFont_ = ::CreateFontIndirectW(&logFont);
  }
  ::SetTimer(m_hWnd, IDT_LINK_HOVER, kLinkHoverMs, nullptr);
  return TRUE;
}

LRESULT CAboutDlg::OnTimer(WPARAM wParam, LPARAM) {
  if (wParam != IDT_LINK_HOVER) return 0;
  POINT pointer{};
  RECT rect{};
  if (!link_ || !::GetCursorPos(&pointer) || !::GetWindowRect(link_, &rect)) return 0;
  const bool over = ::PtInRect(&rect, pointer) != FALSE;
  if (over == underlined_ || !plainFont_ || !underlineFont_) return 0;
  underlined_ = over;
  ::SendMessageW(link_, WM_SETFONT, reinterpret_cast<WPARAM>(over ? underlineFont_ : plainFont_), TRUE);
  return 0;
}

HBRUSH CAboutDlg::OnCtlColorStatic(HDC dc, HWND control) {
  // The normal colouring (DefWindowProc's: DefDlgProc would call this
  // procedure again), with the link's text in pure blue.
  const LRESULT brush =
      ::DefWindowProcW(m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  if (control == link_) ::SetTextColor(dc, RGB(0, 0, 255));
  return reinterpret_cast<HBRUSH>(brush);
}

LRESULT CAboutDlg::OnLinkClicked(WPARAM, LPARAM) {
  OpenLink(fw::ControlText(link_));
  return 0;
}

void CAboutDlg::OpenLink(const std::string& text) {
  if (!IsOpenableLink(text)) return;
  const INT_PTR opened = (m_openUrl ? m_openUrl : &ShellOpen)(Widen(text));
  if (opened > 32) return;
  platform_.messageBox->MessageBox(LinkFailureText(*platform_.strings, text), MB_ICONERROR_);
}

LRESULT CAboutDlg::OnDestroy(WPARAM, LPARAM) {
  ::KillTimer(m_hWnd, IDT_LINK_HOVER);
  return 0;
}

}  // namespace qm
