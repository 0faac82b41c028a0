#pragma once
// The captured window's title, rectangles and states. The dialog only reads
// the window; the frame applies what was accepted.

#include "framework/dialog.h"
#include "platform/platform.h"
#include "res/resource_ids.h"
#include "windows/window_edits.h"

namespace qm {

class CWindowPropsDlg : public fw::WithMessageTable<CWindowPropsDlg, fw::CDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CWindowPropsDlg> Messages();
  explicit CWindowPropsDlg(const IWindowSystem& windows) : windows_(windows) {}
  INT_PTR DoModal(HWND parent = nullptr) { return CDialog::DoModal(IDD_WINDOW_PROPS, parent); }

  WindowHandle m_window = 0;      // set before the run
  WindowProperties m_properties;  // the result after IDOK

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(fw::CDataExchange& exchange) override;

 private:
  LRESULT OnMaximisedClicked(WPARAM, LPARAM);
  LRESULT OnMinimisedClicked(WPARAM, LPARAM);
  void OnPlacementClicked(PlacementBox clicked);

  const IWindowSystem& windows_;
};

}  // namespace qm
