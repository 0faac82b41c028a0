#pragma once
// The property tree: the captured window's 29 properties in six fixed
// groups, built once per capture and afterwards rewritten line by line
// where the text changed, so expansion and selection survive the refresh.
// A double click on a property posts the frame command that edits or
// follows it.

#include "app/ui/quillmar_document.h"
#include "framework/tree_view.h"

namespace qm {

class CQuillmarView : public fw::WithMessageTable<CQuillmarView, fw::CTreeView> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CQuillmarView> Messages();
  CQuillmarView(Platform& platform, HIMAGELIST images) : platform_(platform), images_(images) {}

  bool Create(HWND frame);
  CQuillmarDocument* GetDocument() const { return static_cast<CQuillmarDocument*>(CView::GetDocument()); }

  void OnInitialUpdate() override;
  void OnUpdate(fw::CView* sender) override;

  // The item whose data is a property index (depth first from the root).
  HTREEITEM FindPropertyItem(int property) const;
  // The command a double click on an item with this data posts; 0 for none.
  static UINT DoubleClickCommand(LPARAM data);

 private:
  void BuildTree();
  LRESULT OnSelChanged(NMTREEVIEWW& change);
  LRESULT OnDoubleClick(NMHDR& header);

  Platform& platform_;
  HIMAGELIST images_;  // the application's; borrowed
};

}  // namespace qm
