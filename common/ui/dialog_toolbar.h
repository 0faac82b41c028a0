#pragma once
// A toolbar that takes the place of a hidden placeholder static in a dialog
// (by convention 3307 "Barra de botones") and loads its buttons from a
// toolbar resource (type 241) and the bitmap of the same ID. Its control ID
// is the resource ID; its buttons send WM_COMMAND to the host dialog, and
// its tooltips ask the host for their texts.
//
// Ownership: the toolbar window is a child of the host, destroyed with it
// (or with this object, which created it); the image list is owned here.

#include <string>
#include <vector>

#include "framework/wnd.h"

// After <windows.h>, which it needs.
#include <commctrl.h>

namespace qm {

class CDialogToolBar : public fw::CWnd {
 public:
  // Every toolbar of the program's dialogs: child, visible, tab stop, flat,
  // tooltips, placed and sized by its host.
  static constexpr DWORD kStyle =
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE;

  CDialogToolBar() = default;
  ~CDialogToolBar() override;

  // Creates the toolbar over the placeholder control of the host, right
  // after it in the tab order, and loads the buttons; false with
  // m_strLastError set when the placeholder, the window or the resource is
  // missing.
  bool CreateInPlace(HWND host, int placeholderId, UINT resourceId, DWORD style = kStyle);
  // Replaces the buttons with those of another toolbar resource; one of no
  // items leaves a toolbar with no buttons (false only when the resource is
  // missing or malformed).
  bool LoadButtons(UINT resourceId);

  // The buttons last loaded (separators included), in order.
  std::vector<TBBUTTON> m_pButtons;
  // The text of the last failure; empty after a success.
  std::string m_strLastError;

  // Check buttons keep a pressed state (the filter toggles); call before
  // LoadButtons, or the buttons are plain push buttons.
  void SetCheckButtons(std::vector<UINT> commands) { checkButtons_ = std::move(commands); }
  void EnableButton(UINT command, bool enable);
  void CheckButton(UINT command, bool check);
  void HideButton(UINT command, bool hide);
  bool IsButtonEnabled(UINT command) const;
  bool IsButtonChecked(UINT command) const;
  bool IsButtonHidden(UINT command) const;
  // A button's rectangle in the toolbar's client coordinates; false for an
  // unknown command.
  bool GetButtonRect(UINT command, RECT& rect) const;

 private:
  void SetLastError();
  void SetLastError(DWORD code);

  HIMAGELIST images_ = nullptr;  // owned
  std::vector<UINT> checkButtons_;
};

}  // namespace qm
