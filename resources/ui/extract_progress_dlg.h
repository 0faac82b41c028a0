#pragma once
// "Extraer todos los recursos...": the files of one extraction written one
// after another under a progress bar with "Cancelar". The writing runs on a
// timer in the dialog's own thread: between two slices of files the dialog
// answers its button, so a cancel stops the extraction at the next file and
// whatever was written so far stays (every file is written whole or not at
// all).

#include <string>

#include "framework/dialog.h"
#include "res/resource_ids.h"
#include "resources/extract_folder.h"

namespace qm {

class IStrings;

class CExtractProgressDlg : public fw::WithMessageTable<CExtractProgressDlg, fw::CDialog> {
 public:
  static fw::MessageTable<CExtractProgressDlg> Messages();
  enum Outcome : INT_PTR { kWritten = IDOK, kCancelled = IDCANCEL, kFailed = 3 };

  CExtractProgressDlg(const IStrings& strings, ExtractFolderWriter& writer) : strings_(strings), writer_(writer) {}
  // kWritten, kCancelled or kFailed (the writer's next file is the one
  // that failed).
  INT_PTR DoModal(HWND parent) { return CDialog::DoModal(IDD_EXTRACT_PROGRESS, parent); }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override { EndDialog(kCancelled); }

 private:
  LRESULT OnTimer(WPARAM, LPARAM);
  void ShowProgress();

  const IStrings& strings_;
  ExtractFolderWriter& writer_;
};

}  // namespace qm
