#pragma once
// The menu bar of a window as a tree: inspect the state of each item, edit,
// insert, delete, or send an item's command to the window. The dialog makes
// its changes itself, through WindowMenuModel, which checks each tree item
// against the live menu before acting.

#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/list_box.h"
#include "platform/platform.h"
#include "res/resource_ids.h"
#include "windows/window_menu.h"

// After <windows.h> (through dialog.h), which it needs.
#include <commctrl.h>

namespace qm {

class CWindowMenuDlg : public fw::WithMessageTable<CWindowMenuDlg, fw::CDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CWindowMenuDlg> Messages();
  // images: the program's shared small icons, not owned.
  CWindowMenuDlg(Platform& platform, HIMAGELIST images) : platform_(platform), images_(images), model_(platform) {}
  INT_PTR DoModal(HWND parent = nullptr) { return CDialog::DoModal(IDD_WINDOW_MENU, parent); }

  WindowHandle m_window = 0;  // set before the run

 protected:
  BOOL OnInitDialog() override;

 private:
  // Fills the tree again and selects the item at these positions (or the
  // nearest one above it).
  void Rebuild(const std::vector<uint32_t>& select);
  std::optional<size_t> SelectedNode() const;
  std::vector<uint32_t> SelectedPath() const;
  void ShowSelection();
  LRESULT OnSelChanged(NMTREEVIEWW&);
  LRESULT OnInsert(WPARAM, LPARAM);
  LRESULT OnInsertItem(WPARAM, LPARAM);
  LRESULT OnEdit(WPARAM, LPARAM);
  LRESULT OnDelete(WPARAM, LPARAM);
  LRESULT OnExecute(WPARAM, LPARAM);
  LRESULT OnUnreadableMenu(WPARAM, LPARAM);

  Platform& platform_;
  HIMAGELIST images_;
  WindowMenuModel model_;
  fw::CTreeCtrl tree_;
  fw::CListBox states_;
};

}  // namespace qm
