#pragma once
// The page of the resource browser that lists the strings of one string
// table, or of all of them, with their identifiers, and saves them as a
// resource script or as plain text. It mirrors resources/string_list.h;
// the files are written by the model, whole or not at all.

#include <optional>
#include <string>
#include <vector>

#include "common/ui/dialog_toolbar.h"
#include "common/ui/toolbar_dialog.h"
#include "framework/list_view.h"
#include "platform/platform.h"
#include "res/resource_ids.h"
#include "resources/resource_module.h"
#include "resources/string_list.h"

namespace qm {

class CStringResPage : public fw::WithMessageTable<CStringResPage, CToolBarDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CStringResPage> Messages();
  // images: the program's shared small icons, not owned.
  CStringResPage(Platform& platform, HIMAGELIST images) : platform_(platform), images_(images) {}

  // One block (its name as the model names it); the page keeps its own copy
  // for the save commands.
  void ShowStringBlock(const CResourceModule& module, const ResourceName& block);
  // Every numbered block of the module, with the size of all of them.
  void ShowAllStrings(const CResourceModule& module);

 protected:
  BOOL OnInitDialog() override;

 private:
  void Show(const CResourceModule& module, const std::optional<ResourceName>& block);
  // Widens the columns (never narrows them) to the texts of the rows.
  void FitColumns();
  void Save(bool resourceScript);
  LRESULT OnSaveAsResource(WPARAM, LPARAM);
  LRESULT OnSaveAsText(WPARAM, LPARAM);
  LRESULT OnColumnClick(NMLISTVIEW& click);
  LRESULT OnGetDisplayInfo(NMLVDISPINFOW& info);

  Platform& platform_;
  HIMAGELIST images_;
  const CResourceModule* module_ = nullptr;  // the browser's, not owned
  std::optional<ResourceName> block_;        // none: every block
  CDialogToolBar toolbar_;
  fw::CListCtrl list_;
  // The rows the list shows, in the order shown.
  std::vector<StringListRow> rows_;
  std::wstring cellText_;  // must outlive the list's read of the text
  int sortColumn_ = -1;
  bool ascending_ = true;
};

}  // namespace qm
