#pragma once
// The child-window tree of one or more root windows: the user acts on the
// selected window or picks it for capture. It only mirrors a
// ChildWindowTree into the tree control.

#include "common/ui/dialog_toolbar.h"
#include "common/ui/tool_launcher.h"
#include "common/ui/toolbar_dialog.h"
#include "framework/controls.h"
#include "platform/platform.h"
#include "res/resource_ids.h"
#include "windows/child_window_tree.h"

namespace qm {

class CChildWindowsDlg : public fw::WithMessageTable<CChildWindowsDlg, CToolBarDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CChildWindowsDlg> Messages();
  // images: the program's shared small icons, not owned.
  CChildWindowsDlg(Platform& platform, HIMAGELIST images)
      : platform_(platform), images_(images), tree_(*platform.windows) {}
  INT_PTR DoModal(HWND parent = nullptr) { return CDialog::DoModal(IDD_CHILD_WINDOWS, parent); }

  // False when the window is a root already.
  bool AddRoot(WindowHandle window);
  // The top-level windows of the process become the roots; false (no
  // roots) when it has none.
  bool SetRootsFromProcess(uint32_t processId);

  // The window picked for capture after IDOK.
  WindowHandle m_hResult = 0;
  // Opens the message log of the selected window ("Mensajes"); the button
  // is hidden without one. Not owned.
  IToolLauncher* m_pTools = nullptr;

 protected:
  BOOL OnInitDialog() override;
  // Enter: the selected window is picked.
  void OnOK() override;

 private:
  void Rebuild();
  void UpdateToolbar();
  WindowHandle Selected() const;
  LRESULT OnSelChanged(NMTREEVIEWW&);
  LRESULT OnDoubleClick(NMHDR&);
  LRESULT OnKeyDown(NMTVKEYDOWN&);
  LRESULT OnCapture(WPARAM, LPARAM);
  LRESULT OnMessages(WPARAM, LPARAM);
  LRESULT OnWindowAction(WPARAM, LPARAM);
  LRESULT OnTimer(WPARAM, LPARAM);

  Platform& platform_;
  HIMAGELIST images_;
  ChildWindowTree tree_;
  fw::CTreeCtrl treeControl_;  // shows tree_
  CDialogToolBar toolbar_;
};

}  // namespace qm
