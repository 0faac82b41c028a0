#pragma once
// The About box: the program's own version data beside an animated icon,
// and the version block's Comments as a link line, blue, underlined while
// the pointer is over it, opened by a click when it is a web address.

#include "app/about_texts.h"
#include "common/ui/animated_icon.h"
#include "framework/dialog.h"
#include "platform/platform.h"
#include "res/resource_ids.h"

namespace qm {

constexpr UINT_PTR IDT_LINK_HOVER = 2001;
constexpr UINT kLinkHoverMs = 10;

class CAboutDlg : public fw::WithMessageTable<CAboutDlg, fw::CDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CAboutDlg> Messages();
  explicit CAboutDlg(Platform& platform) : platform_(platform) {}
  ~CAboutDlg() override;

  INT_PTR DoModal(HWND parent = nullptr) { return CDialog::DoModal(IDD_ABOUTBOX, parent); }

  // Opens a link text as a click does (the test drives it directly).
  void OpenLink(const std::string& text);
  // Where the version texts come from; the program itself when empty.
  std::string m_versionPath;
  // Opens a web address; ShellExecute unless a test replaces it. Returns
  // ShellExecute's value (32 or less is a failure).
  INT_PTR (*m_openUrl)(const std::wstring& url) = nullptr;

 protected:
  BOOL OnInitDialog() override;

 private:
  LRESULT OnTimer(WPARAM, LPARAM);
  HBRUSH OnCtlColorStatic(HDC dc, HWND control);
  LRESULT OnLinkClicked(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);

  Platform& platform_;
  CAnimatedIcon icon_;
  HICON frames_[4] = {};           // owned: loaded at the icon's own size
  HFONT plainFont_ = nullptr;      // owned
  HFONT underlineFont_ = nullptr;  // owned
  bool underlined_ = false;
  HWND link_ = nullptr;  // the address, bound when the box is made
};

}  // namespace qm
