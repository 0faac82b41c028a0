#include "app/ui/quillmar_view.h"

#include "app/property_diff.h"
#include "res/resource_ids.h"
#include "res/string_ids.h"

namespace qm {

fw::MessageTable<CQuillmarView> CQuillmarView::Messages() {
  static constexpr fw::MessageEntry<CQuillmarView> kTable[] = {
      fw::OnReflectedNotify<&CQuillmarView::OnSelChanged>(TVN_SELCHANGEDW),
      fw::OnReflectedNotify<&CQuillmarView::OnDoubleClick>(static_cast<UINT>(NM_DBLCLK)),
  };
  return kTable;
}

bool CQuillmarView::Create(HWND frame) {
  return CTreeView::Create(frame, TVS_HASBUTTONS | TVS_HASLINES, AFX_IDW_PANE_FIRST);
}

void CQuillmarView::OnInitialUpdate() {
  CTreeView::OnInitialUpdate();
  GetTreeCtrl().SetImageList(images_, TVSIL_NORMAL);
}

void CQuillmarView::BuildTree() {
  fw::CTreeCtrl tree = GetTreeCtrl();
  tree.DeleteAllItems();
  HTREEITEM group = TVI_ROOT;
  HTREEITEM handleItem = nullptr;
  for (const PropertyTreeNode& node : PropertyTreeLayout()) {
    // Group titles come from the string table; property lines start empty
    // and get their text from the update that follows.
    const std::string label = node.groupStringId ? platform_.strings->LoadString(node.groupStringId) : std::string();
    HTREEITEM item = tree.InsertItem(label, node.image, node.data, node.child ? group : TVI_ROOT);
    if (node.groupStringId) group = item;
    if (!node.groupStringId && node.data == kPropHandle) handleItem = item;
  }
  tree.SelectItem(handleItem);
}

HTREEITEM CQuillmarView::FindPropertyItem(int property) const {
  fw::CTreeCtrl tree = GetTreeCtrl();
  // An explicit stack instead of recursion: first child, its subtree, then
  // the next sibling.
  std::vector<HTREEITEM> pending;
  if (HTREEITEM root = tree.GetRootItem()) pending.push_back(root);
  while (!pending.empty()) {
    HTREEITEM item = pending.back();
    pending.pop_back();
    if (tree.GetItemData(item) == property) return item;
    if (HTREEITEM next = tree.GetNextSiblingItem(item)) pending.push_back(next);
    if (HTREEITEM child = tree.GetChildItem(item)) pending.push_back(child);
  }
  return nullptr;
}

void CQuillmarView::OnUpdate(fw::CView*) {
  fw::CTreeCtrl tree = GetTreeCtrl();
  CQuillmarDoc& doc = GetDocument()->m_doc;
  if (doc.m_hCapturedWnd == 0) {
    if (tree.GetCount() == 1) return;
    tree.DeleteAllItems();
    tree.InsertItem(platform_.strings->LoadString(IDS_NO_CAPTURE), kImageNoCapture, 0);
    tree.SelectItem(nullptr);
    return;
  }
  doc.RefreshProperties();
  if (tree.GetCount() < 2) BuildTree();

  std::array<HTREEITEM, kPropertyCount> items{};
  std::array<std::string, kPropertyCount> shown;
  for (int i = 0; i < kPropertyCount; ++i) {
    const size_t at = static_cast<size_t>(i);
    items[at] = FindPropertyItem(i);
    if (items[at]) shown[at] = tree.GetItemText(items[at]);
  }
  for (int i : ChangedPropertyLines(doc.m_properties, shown)) {
    const size_t at = static_cast<size_t>(i);
    if (items[at]) tree.SetItemText(items[at], PropertyLine(doc.m_properties[at]));
  }
}

LRESULT CQuillmarView::OnSelChanged(NMTREEVIEWW& change) {
  HTREEITEM item = change.itemNew.hItem;
  fw::CTreeCtrl tree = GetTreeCtrl();
  if (item && tree.ItemHasChildren(item) && !(tree.GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED)) {
    tree.Expand(item, TVE_EXPAND);
  }
  return 0;
}

UINT CQuillmarView::DoubleClickCommand(LPARAM data) {
  switch (data) {
    case kPropHandle:
      return ID_CHILD_WINDOWS;
    case kPropIsWindow:
    case kPropEnabled:
    case kPropVisible:
    case kPropIconic:
    case kPropZoomed:
    case kPropTitle:
    case kPropWindowRect:
    case kPropClientRect:
      return ID_WINDOW_PROPERTIES;
    case kPropStyle:
      return ID_EDIT_STYLES;
    case kPropExStyle:
      return ID_EDIT_EXSTYLES;
    case kPropOwner:
      return ID_CAPTURE_OWNER;
    case kPropParent:
      return ID_CAPTURE_PARENT;
    case kPropNext:
      return ID_CAPTURE_NEXT;
    case kPropPrevious:
      return ID_CAPTURE_PREVIOUS;
    case kPropMenu:
      return ID_WINDOW_MENU;
    case kPropClassStyle:
      return ID_CLASS_STYLES;
    case kPropClassIcon:
    case kPropClassSmallIcon:
      return ID_CLASS_ICONS;
    case kPropExePath:
    case kPropProcessId:
      return ID_PROCESS_DATA;
    default:
      return 0;
  }
}

LRESULT CQuillmarView::OnDoubleClick(NMHDR&) {
  fw::CTreeCtrl tree = GetTreeCtrl();
  // The selected item, not the one under the pointer.
  HTREEITEM item = tree.GetSelectedItem();
  if (!item) return 0;
  const UINT command = DoubleClickCommand(tree.GetItemData(item));
  // Posted, so it runs after this notification and meets the frame's
  // enabling rules like a menu command.
  if (command) ::PostMessageW(::GetAncestor(m_hWnd, GA_ROOT), WM_COMMAND, command, 0);
  return 0;
}

}  // namespace qm
