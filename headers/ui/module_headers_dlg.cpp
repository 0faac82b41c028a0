#include "headers/ui/module_headers_dlg.h"

#include "framework/controls.h"
#include "headers/header_dump.h"
#include "headers/load_failure_message.h"

namespace qm {
namespace {

// Copies the node's children under parent (the dump is a few levels deep).
// A node the control refuses hands its children to its own parent, so no
// line is lost.
void InsertChildren(fw::CTreeCtrl& tree, const TreeNode& node, HTREEITEM parent) {
  for (const TreeNode& child : node.children) {
    HTREEITEM item = tree.InsertItem(child.text, child.image, 0, parent);
    InsertChildren(tree, child, item ? item : parent);
  }
}

}  // namespace

fw::MessageTable<CModuleHeadersDlg> CModuleHeadersDlg::Messages() {
  static constexpr fw::MessageEntry<CModuleHeadersDlg> kTable[] = {
      fw::OnControl(BN_CLICKED, IDC_SUMMARY_MODE, &CModuleHeadersDlg::OnMode),
      fw::OnControl(BN_CLICKED, IDC_COMPLETE_MODE, &CModuleHeadersDlg::OnMode),
  };
  return kTable;
}

BOOL CModuleHeadersDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  ::CheckRadioButton(m_hWnd, IDC_SUMMARY_MODE, IDC_COMPLETE_MODE, m_nMode == 1 ? IDC_COMPLETE_MODE : IDC_SUMMARY_MODE);
  if (!loader_.Load(m_strFileName)) {
    platform_.messageBox->MessageBox(
        ModuleLoadFailureMessage(*platform_.strings, *platform_.errors, loader_.GetLoadError(), m_strFileName),
        MB_ICONERROR_);
    EndDialog(IDCANCEL);
    return TRUE;
  }
  fw::CTreeCtrl(::GetDlgItem(m_hWnd, IDC_ITEM_TREE)).SetImageList(images_, TVSIL_NORMAL);
  BuildTree();
  return TRUE;
}

void CModuleHeadersDlg::BuildTree() {
  fw::CTreeCtrl tree(::GetDlgItem(m_hWnd, IDC_ITEM_TREE));
  // One repaint at the end: a large export table is thousands of items.
  tree.SetRedraw(false);
  tree.DeleteAllItems();
  m_nMode = ::IsDlgButtonChecked(m_hWnd, IDC_COMPLETE_MODE) == BST_CHECKED ? 1 : 0;
  const HeaderDump dump = BuildHeaderDump(loader_, m_nMode == 1, DumpText{*platform_.strings, *platform_.locale});
  if (HTREEITEM root = tree.InsertItem(dump.root.text, dump.root.image, 0)) {
    InsertChildren(tree, dump.root, root);
    tree.Expand(root, TVE_EXPAND);
  }
  tree.SetRedraw(true);
  ::InvalidateRect(tree.m_hWnd, nullptr, TRUE);
}

LRESULT CModuleHeadersDlg::OnMode(WPARAM, LPARAM) {
  BuildTree();
  return 0;
}

}  // namespace qm
