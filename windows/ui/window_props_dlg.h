#pragma once
// The captured window's title, rectangles and states. The dialog only reads
// the window; the frame applies what was accepted.

#include "framework/dialog.h"
#include "platform/platform.h"
#include "res/resource_ids.h"
#include "windows/window_edits.h"

namespace qm {

class CWindowPropsDlg : public fw::CDialog {
 public:
  explicit CWindowPropsDlg(const IWindowSystem& windows) : windows_(windows) {}
  INT_PTR DoModal(HWND parent = nullptr) { return CDialog::DoModal(IDD_WINDOW_PROPS, parent); }
  bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  WindowHandle m_window = 0;      // set before the run
  WindowProperties m_properties;  // the result after IDOK

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(fw::CDataExchange& exchange) override;

 private:
  LRESULT OnMaximisedClicked(WPARAM, LPARAM);
  LRESULT OnMinimisedClicked(WPARAM, LPARAM);
  void OnPlacementClicked(PlacementBox clicked);

  static const fw::MessageEntry<CWindowPropsDlg> kMessages[];
  const IWindowSystem& windows_;
};

}  // namespace qm
