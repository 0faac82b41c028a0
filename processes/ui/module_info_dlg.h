#pragma once
// One module file: its path, shell icon, size, dates, attributes and the
// twelve version strings. The dialog mirrors processes/module_info_model.h
// into its controls; the check boxes only display.

#include <memory>
#include <string>
#include <type_traits>

#include "common/ui/list_ctrl_helper.h"
#include "framework/dialog.h"
#include "framework/list_view.h"
#include "framework/static_control.h"
#include "platform/platform.h"
#include "processes/module_info_model.h"
#include "res/resource_ids.h"

namespace qm {

class CModuleInfoDlg : public fw::WithMessageTable<CModuleInfoDlg, fw::CDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CModuleInfoDlg> Messages();
  // images: the program's shared small icons for the headers dialog, not
  // owned.
  explicit CModuleInfoDlg(Platform& platform, HIMAGELIST images = nullptr) : platform_(platform), images_(images) {}
  INT_PTR DoModal(HWND parent = nullptr) { return CDialog::DoModal(IDD_MODULE_INFO, parent); }
  bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  // The module shown; refreshes at once when the dialog is open.
  void SetModulePath(const std::string& path);

  std::string m_strPath;
  ModuleFileFields m_fields;
  // The shell's icon for the file, null when it gave none.
  HICON Icon() const { return icon_.get(); }

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(fw::CDataExchange& exchange) override;

 private:
  void Refresh();
  LRESULT OnColumnClick(NMLISTVIEW& click);
  LRESULT OnListKey(NMLVKEYDOWN& key);
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnHeaders(WPARAM, LPARAM);
  LRESULT OnResources(WPARAM, LPARAM);
  // Writes the rows in the order they were read.
  void ShowRows();

  struct IconDestroyer {
    void operator()(HICON icon) const { ::DestroyIcon(icon); }
  };

  Platform& platform_;
  HIMAGELIST images_;
  std::vector<VersionRow> rows_;
  // Both columns sort as text.
  CListCtrlHelper helper_;
  fw::CStatic iconStatic_;  // shows icon_
  // Ours from SHGetFileInfo: destroyed when replaced and with the dialog.
  std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer> icon_;
};

}  // namespace qm
