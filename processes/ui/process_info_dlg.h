#pragma once
// The modules and threads of one process on two tabs. The dialog mirrors
// ProcessReading and the module and thread rows into its controls; every
// rule lives in processes/process_info_model.h.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/ui/list_ctrl_helper.h"
#include "framework/dialog.h"
#include "framework/list_view.h"
#include "framework/progress.h"
#include "framework/tab_control.h"
#include "platform/platform.h"
#include "platform/windows.h"
#include "processes/process_info_model.h"
#include "res/resource_ids.h"

namespace qm {

class CProcessInfoDlg : public fw::WithMessageTable<CProcessInfoDlg, fw::CDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CProcessInfoDlg> Messages();
  // images: the program's shared small icons for the headers dialog, not
  // owned.
  explicit CProcessInfoDlg(Platform& platform, HIMAGELIST images = nullptr) : platform_(platform), images_(images) {}
  // The process is read before the dialog is made: one that cannot be
  // shown is reported with no dialog drawn behind the message.
  INT_PTR DoModal(HWND parent = nullptr);

  // The process shown; refreshes at once when the dialog is open.
  void SetProcessId(uint32_t processId);
  // The process of a window; nothing when the handle is not a window.
  void SetProcessWindow(WindowHandle window);
  uint32_t ProcessId() const { return m_dwProcessId; }

  // The tab shown first: 0 modules, 1 threads.
  int m_nInitialTab = 0;
  std::string m_strPid;
  std::string m_strExe;
  std::string m_strCount;

 protected:
  BOOL OnInitDialog() override;
  // Enter on the list opens the selected module; elsewhere it closes.
  void OnOK() override;
  void DoDataExchange(fw::CDataExchange& exchange) override;

 private:
  ProcessTab CurrentTab() const;
  void SwitchTab();
  void Refresh();
  // Shows a reading; one that cannot be shown closes the dialog.
  void ShowReading(const ProcessReading& reading, ProcessTab tab);
  void FillModules(const std::vector<ModuleEntry32>& modules);
  // Writes the rows in the order they were read.
  void ShowRows();
  // The path of the selected module on the modules tab; empty otherwise.
  std::string SelectedModulePath() const;

  LRESULT OnTabChange(NMHDR& header);
  LRESULT OnColumnClick(NMLISTVIEW& click);
  LRESULT OnDoubleClick(NMITEMACTIVATE& activate);
  LRESULT OnListKey(NMLVKEYDOWN& key);
  LRESULT OnAdvanced(WPARAM, LPARAM);
  LRESULT OnHeaders(WPARAM, LPARAM);
  LRESULT OnResources(WPARAM, LPARAM);

  Platform& platform_;
  HIMAGELIST images_;
  // Every column sorts as text.
  CListCtrlHelper helper_;
  fw::CTabCtrl tabs_;
  fw::CProgressCtrl progress_;
  uint32_t m_dwProcessId = 0;
  std::vector<ModuleRow> modules_;
  std::vector<ThreadRow> threads_;
  // The reading DoModal made, shown by the first refresh.
  std::optional<ProcessReading> firstReading_;
  // When the process started, from the first reading: a later refresh that
  // finds another start time under the PID finds another process.
  std::optional<uint64_t> startTime_;
};

}  // namespace qm
