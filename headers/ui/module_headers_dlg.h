#pragma once
// The PE headers of one module file as a tree, in summary or complete mode.
// The dialog loads the file once and mirrors the header dump
// (headers/header_dump.h) into its tree; switching modes rebuilds the tree
// from the same load.

#include <string>

#include "framework/controls.h"
#include "framework/dialog.h"
#include "headers/module_loader.h"
#include "platform/platform.h"
#include "res/resource_ids.h"

namespace qm {

class CModuleHeadersDlg : public fw::WithMessageTable<CModuleHeadersDlg, fw::CDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CModuleHeadersDlg> Messages();
  // images: the program's shared small icons, not owned.
  CModuleHeadersDlg(Platform& platform, HIMAGELIST images)
      : platform_(platform), images_(images), loader_(*platform.files) {}
  INT_PTR DoModal(HWND parent = nullptr) { return CDialog::DoModal(IDD_MODULE_HEADERS, parent); }

  void SetFileName(const std::string& path) { m_strFileName = path; }

  std::string m_strFileName;
  // 0 summary, 1 complete.
  int m_nMode = 0;

 protected:
  // A file that cannot be loaded is reported and the dialog ends before it
  // shows.
  BOOL OnInitDialog() override;

 private:
  void BuildTree();
  LRESULT OnMode(WPARAM, LPARAM);

  Platform& platform_;
  HIMAGELIST images_;
  CModuleLoader loader_;
};

}  // namespace qm
