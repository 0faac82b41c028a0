#pragma once
// The base of dialogs that show a toolbar, and of dialogs that live as
// child pages inside another dialog: a page is created modeless in a
// rectangle of its host, takes its place in the host's tab order, and hands
// Enter and Escape to the host as if they had been pressed there. Every
// such dialog answers its toolbar's tooltips from the string table (the
// text after the line break of the command's string).

#include <string>

#include "framework/dialog.h"

// After <windows.h>, which it needs.
#include <commctrl.h>

namespace qm {

class CToolBarDialog : public fw::WithMessageTable<CToolBarDialog, fw::CDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CToolBarDialog> Messages();
  // Creates the dialog from a template as a modeless child of host, moved to
  // rect (host client coordinates); placed right after `follow` in the tab
  // order when that is a window. False when the template failed.
  bool CreatePage(UINT templateId, HWND host, const RECT& rect, HWND follow = nullptr);
  // Posts WM_COMMAND(command) to the parent, if there is one.
  void PostToParent(UINT command) const;

 protected:
  // Enter and Escape in a page go to the host. A page never ends itself:
  // the host decides (it may refuse to close, and its page must then still
  // be there).
  void OnOK() override;
  void OnCancel() override;

 private:
  LRESULT OnToolTipText(NMTTDISPINFOW& info);

  std::wstring tipText_;  // must outlive the tooltip's read of lpszText
};

}  // namespace qm
