#pragma once
// The processes of the system as a list and as a parent/child tree on two
// tabs, kept up to date once a second; from the selected process the user
// opens its windows or ends it. It only mirrors a ProcessViews into the
// controls.

#include <map>
#include <optional>
#include <string>

#include "common/ui/dialog_toolbar.h"
#include "common/ui/list_ctrl_helper.h"
#include "common/ui/tool_launcher.h"
#include "common/ui/toolbar_dialog.h"
#include "framework/controls.h"
#include "framework/tab_control.h"
#include "platform/platform.h"
#include "platform/windows.h"
#include "processes/process_views.h"
#include "res/resource_ids.h"

namespace qm {

constexpr UINT_PTR IDT_PROCESS_UPDATE = 2003;
constexpr UINT kProcessUpdateMs = 1000;

class CProcessesDlg : public fw::WithMessageTable<CProcessesDlg, CToolBarDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CProcessesDlg> Messages();
  // initialTab: 0 the list, 1 the tree. images: the program's shared small
  // icons, not owned. tools opens a process's windows.
  CProcessesDlg(Platform& platform, HIMAGELIST images, int initialTab, IToolLauncher& tools)
      : platform_(platform), images_(images), tools_(tools), m_nInitialTab(initialTab), views_([this](uint32_t pid) {
          return platform_.processes ? ReadProcessStartTime(*platform_.processes, pid) : std::nullopt;
        }) {}
  ~CProcessesDlg() override;
  INT_PTR DoModal(HWND parent = nullptr) { return CDialog::DoModal(IDD_PROCESSES, parent); }
  bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  // The selected process: the list's row on the list tab, the tree's item
  // on the tree tab; -1 when none.
  int64_t GetSelectedProcessId() const;

  // The window picked in the child-window tree, after IDOK.
  WindowHandle m_hSelectedWnd = 0;

 protected:
  BOOL OnInitDialog() override;
  // Enter opens the windows of the selected process.
  void OnOK() override;

 private:
  // Rebuilds both views, keeping the selection on its process unless that
  // one is `ended` (just killed) or gone: then the first process.
  void Refresh(std::optional<uint32_t> ended = std::nullopt);
  void UpdateFromSystem();
  void Apply(const ProcessViews::Changes& changes);
  void MoveSubtree(const ProcessViews::MovedItem& move);
  std::optional<uint32_t> TreeSelection() const;
  // Puts the tree's caret on the process's item; none clears it.
  void SelectInTree(std::optional<uint32_t> pid);
  void ShowCount(int count);
  void ShowTab(int tab);
  int RowOf(uint32_t pid) const;

  LRESULT OnTimer(WPARAM, LPARAM);
  LRESULT OnTabChange(NMHDR&);
  LRESULT OnColumnClick(NMLISTVIEW&);
  LRESULT OnListDoubleClick(NMITEMACTIVATE&);
  LRESULT OnTreeDoubleClick(NMHDR&);
  LRESULT OnListKey(NMLVKEYDOWN&);
  LRESULT OnTreeKey(NMTVKEYDOWN&);
  // "Módulos" and "Threads": the process information of the selected
  // process, on the modules or the threads tab.
  LRESULT OnProcessInfo(WPARAM, LPARAM);
  LRESULT OnChildWindows(WPARAM, LPARAM);
  LRESULT OnKillProcess(WPARAM, LPARAM);
  LRESULT OnResources(WPARAM, LPARAM);
  void OnKey(WORD key);

  Platform& platform_;
  HIMAGELIST images_;
  IToolLauncher& tools_;
  HIMAGELIST tabImages_ = nullptr;  // owned
  int m_nInitialTab;
  CDialogToolBar toolbar_;
  fw::CTabCtrl tabs_;
  fw::CTreeCtrl tree_;
  CListCtrlHelper helper_;
  ProcessViews views_;
  std::map<uint32_t, HTREEITEM> items_;  // the tree item of each process
};

}  // namespace qm
