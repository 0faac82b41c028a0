#pragma once
// The top-level windows of the desktop, filtered by three toggles: the user
// acts on the selected window, opens its child-window tree, or picks it for
// capture. It only mirrors the rows of FillWindowList into the list, those
// its search box lets through.

#include <optional>

#include "common/ui/dialog_toolbar.h"
#include "common/ui/list_ctrl_helper.h"
#include "common/ui/tool_launcher.h"
#include "common/ui/toolbar_dialog.h"
#include "platform/platform.h"
#include "res/resource_ids.h"
#include "windows/ui/search_box.h"
#include "windows/window_list_model.h"
#include "windows/window_search.h"

namespace qm {

class CWindowListDlg : public fw::WithMessageTable<CWindowListDlg, CToolBarDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CWindowListDlg> Messages();
  // images: the program's shared small icons, not owned.
  CWindowListDlg(Platform& platform, HIMAGELIST images, IToolLauncher& tools)
      : platform_(platform), images_(images), tools_(tools) {}
  INT_PTR DoModal(HWND parent = nullptr) { return CDialog::DoModal(IDD_WINDOW_LIST, parent); }
  bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  // The window picked for capture after IDOK.
  WindowHandle m_hResult = 0;
  WindowListFilters m_filters;

 protected:
  BOOL OnInitDialog() override;
  // Enter: the selected window is picked; from the search box, the first
  // match is selected.
  void OnOK() override;

 private:
  // Reads the desktop's windows again.
  void Fill();
  // Shows the rows read that the search lets through.
  void ShowRows();
  // Puts the rows matches names (indices into search_'s rows) on the list
  // and selects the row of window, or the first row when it is not among
  // them. The same number of rows (a sort) is rewritten in place.
  void PutRows(const std::vector<size_t>& matches, WindowHandle window);
  // Every row the filters allow, shown or not, so the columns stay put
  // while the user types.
  void FitColumns();
  void UpdateToolbar();
  WindowHandle Selected() const;
  LRESULT OnItemChanged(NMLISTVIEW&);
  // Answered so that emptying the list sends no notification per row.
  LRESULT OnDeleteAllItems(NMLISTVIEW&);
  LRESULT OnDoubleClick(NMITEMACTIVATE&);
  LRESULT OnKeyDown(NMLVKEYDOWN&);
  LRESULT OnColumnClick(NMLISTVIEW&);
  LRESULT OnCapture(WPARAM, LPARAM);
  LRESULT OnChildWindows(WPARAM, LPARAM);
  // "Módulos" and "Threads": the process information of the window's
  // process, on the modules or the threads tab.
  LRESULT OnProcessInfo(WPARAM, LPARAM);
  // "Mensajes": the message log of the window.
  LRESULT OnMessages(WPARAM, LPARAM);
  LRESULT OnWindowAction(WPARAM, LPARAM);
  LRESULT OnFilter(WPARAM, LPARAM);
  LRESULT OnTimer(WPARAM, LPARAM);
  LRESULT OnSearchChange(WPARAM, LPARAM);
  // The rows' texts are the list's callbacks: a row costs the list no
  // copies, and the control asks only for the cells it draws.
  LRESULT OnGetDispInfo(NMLVDISPINFOW&);

  Platform& platform_;
  HIMAGELIST images_;
  IToolLauncher& tools_;
  CDialogToolBar toolbar_;
  CListCtrlHelper helper_;
  CSearchBox searchBox_;
  // The rows of the last fill, in the list's order.
  std::optional<CWindowSearch> search_;
  // The rows on the list (indices into search_'s rows), to leave the list
  // alone when a keystroke changes nothing; none before the first fill.
  std::optional<std::vector<size_t>> shown_;
  // Set while the dialog itself puts rows on the list: the control's
  // notifications for each row are none of the user's doing, and the
  // toolbar is brought up to date once after.
  bool puttingRows_ = false;
};

}  // namespace qm
