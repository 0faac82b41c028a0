#pragma once
// The log's filter: a box per group of messages, and single messages by
// name that are shown (Incluir) or hidden (Excluir) whatever their group.
// It edits a copy; the log takes m_filter after IDOK, and only what the
// list shows changes.

#include "framework/dialog.h"
#include "msglog/message_filter.h"
#include "platform/system.h"

namespace qm {

class CMessageFilterDlg : public fw::WithMessageTable<CMessageFilterDlg, fw::CDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CMessageFilterDlg> Messages();
  explicit CMessageFilterDlg(const IStrings& strings) : strings_(strings) {}
  INT_PTR DoModal(HWND parent);

  MessageFilter m_filter;

 protected:
  BOOL OnInitDialog() override;
  // The groups are read back; the single rules were kept as they changed.
  void OnOK() override;

 private:
  LRESULT OnAdd(WPARAM, LPARAM);
  LRESULT OnRemove(WPARAM, LPARAM);
  void FillRules();

  const IStrings& strings_;
};

}  // namespace qm
