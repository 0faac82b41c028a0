#include "resources/ui/menu_res_page.h"

#include "framework/controls.h"
#include "framework/file_dialog.h"
#include "platform/win32/win32_system.h"
#include "res/string_ids.h"
#include "resources/dialog_creation.h"
#include "resources/menu_script.h"
#include "resources/menu_tree.h"
#include "resources/resource_types.h"
#include "resources/string_list.h"

namespace qm {
namespace {

constexpr int kMinimumColumnWidth = 25;

void Check(HWND page, int id, bool on) { ::CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED); }

}  // namespace

fw::MessageTable<CMenuResPage> CMenuResPage::Messages() {
  static constexpr fw::MessageEntry<CMenuResPage> kTable[] = {
      fw::OnNotify<&CMenuResPage::OnSelChanged>(TVN_SELCHANGEDW, IDC_ITEM_TREE),
      fw::OnControl(BN_CLICKED, IDC_SHOW_MENU, &CMenuResPage::OnShowMenu),
      fw::OnControl(BN_CLICKED, IDC_SAVE_AS_RESOURCE, &CMenuResPage::OnSaveAsResource),
  };
  return kTable;
}

CMenuResPage::~CMenuResPage() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

BOOL CMenuResPage::OnInitDialog() {
  CToolBarDialog::OnInitDialog();
  list_.Attach(::GetDlgItem(m_hWnd, IDC_ITEM_LIST));
  tree_.m_hWnd = ::GetDlgItem(m_hWnd, IDC_ITEM_TREE);
  list_.m_list.InsertColumn(0, std::string(), LVCFMT_LEFT, kMinimumColumnWidth);
  list_.m_list.InsertColumn(1, std::string(), LVCFMT_LEFT, kMinimumColumnWidth);
  list_.m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  for (const wchar_t* type : {L"String", L"Bitmap", L"Ownerdraw", L"Separator"})
    ::SendDlgItemMessageW(m_hWnd, IDC_MENU_ITEM_TYPE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(type));
  for (const wchar_t* kind : {L"Ninguno", L"Column", L"Bar"})
    ::SendDlgItemMessageW(m_hWnd, IDC_MENU_ITEM_BREAK, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kind));
  toolbar_.CreateInPlace(m_hWnd, IDC_TOOLBAR_PLACEHOLDER, IDR_MENU_PAGE_TOOLBAR);
  return TRUE;
}

void CMenuResPage::ShowMenu(const CResourceModule& module, const ResourceName& name) {
  module_ = &module;
  fw::CTreeCtrl& tree = tree_;
  // The tree empties first: its selection changes must not find an item of
  // the menu that goes.
  tree.DeleteAllItems();
  list_.m_list.DeleteAllItems();
  menu_.reset();
  liveMenu_.DestroyMenu();

  auto data = module.LoadResourceData(ResourceName::Number(kRtMenu), name);
  if (data) {
    if (auto menu = ParseMenuTemplate(*data)) {
      menu_ = std::move(*menu);
      // The platform trusts every count in a template: it reads only bytes
      // the decoder has read whole, from a copy with zeros after them.
      const std::vector<uint8_t> bytes = PaddedTemplateCopy(*data);
      liveMenu_.m_hMenu = ::LoadMenuIndirectW(bytes.data());
    }
  }

  const std::optional<size_t> count = menu_ ? std::optional<size_t>(menu_->items.size()) : std::nullopt;
  for (const StatisticsRow& row : MenuStatisticsRows(module, name, count, *platform_.strings)) {
    const int index = list_.m_list.InsertItem(list_.m_list.GetItemCount(), row.label);
    if (index >= 0) list_.m_list.SetItemText(index, 1, row.value);
  }
  list_.AutoSizeColumns(/*fromMinimum=*/true);

  tree.SetRedraw(false);
  if (menu_) FillTree(menu_->items, TVI_ROOT);
  for (HTREEITEM item = tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item)) tree.Expand(item, TVE_EXPAND);
  tree.SetRedraw(true);
  if (HTREEITEM first = tree.GetRootItem()) {
    tree.SelectItem(first);
  } else {
    // No item to describe (a menu that does not read, or an empty one):
    // nothing in the fields, rather than the ID 0 of a plain string item.
    MenuItemFields blank;
    blank.styleIndex = blank.breakIndex = -1;
    ShowFields(blank);
  }
}

void CMenuResPage::FillTree(const std::vector<MenuItem>& items, HTREEITEM parent) {
  fw::CTreeCtrl& tree = tree_;
  for (size_t position = 0; position < items.size(); ++position) {
    const MenuItem& item = items[position];
    HTREEITEM added =
        tree.InsertItem(MenuItemTreeText(item, *platform_.strings), 0, static_cast<LPARAM>(position), parent);
    if (added && item.hasSubmenu) FillTree(item.submenu, added);
  }
}

const MenuItem* CMenuResPage::ItemOf(HTREEITEM treeItem) const {
  if (!menu_ || !treeItem) return nullptr;
  const fw::CTreeCtrl& tree = tree_;
  std::vector<size_t> path;
  for (HTREEITEM at = treeItem; at; at = tree.GetParentItem(at))
    path.insert(path.begin(), static_cast<size_t>(tree.GetItemData(at)));
  return MenuItemAtPath(*menu_, path);
}

void CMenuResPage::ShowFields(const MenuItemFields& fields) {
  ::SetDlgItemTextW(m_hWnd, IDC_MENU_ITEM_ID, Widen(fields.idText).c_str());
  ::SendDlgItemMessageW(m_hWnd, IDC_MENU_ITEM_TYPE, CB_SETCURSEL, static_cast<WPARAM>(fields.styleIndex), 0);
  ::SendDlgItemMessageW(m_hWnd, IDC_MENU_ITEM_BREAK, CB_SETCURSEL, static_cast<WPARAM>(fields.breakIndex), 0);
  Check(m_hWnd, IDC_MENU_ITEM_RADIO_CHECK, fields.radioCheck);
  Check(m_hWnd, IDC_MENU_ITEM_RIGHT_JUSTIFY, fields.rightJustify);
  Check(m_hWnd, IDC_MENU_ITEM_RIGHT_ORDER, fields.rightOrder);
  Check(m_hWnd, IDC_MENU_ITEM_POPUP, fields.popup);
  Check(m_hWnd, IDC_MENU_ITEM_CHECKED, fields.checked);
  Check(m_hWnd, IDC_MENU_ITEM_DISABLED, fields.disabled);
  Check(m_hWnd, IDC_MENU_ITEM_GRAYED, fields.grayed);
  Check(m_hWnd, IDC_MENU_ITEM_HILITE, fields.hilite);
  Check(m_hWnd, IDC_MENU_ITEM_DEFAULT, fields.isDefault);
}

LRESULT CMenuResPage::OnSelChanged(NMTREEVIEWW& change) {
  // An item that cannot be found leaves the fields as they are.
  if (const MenuItem* item = ItemOf(change.itemNew.hItem)) ShowFields(DescribeMenuItem(*item));
  return 0;
}

LRESULT CMenuResPage::OnShowMenu(WPARAM, LPARAM) {
  if (!liveMenu_.m_hMenu) return 0;
  RECT button{};
  if (!toolbar_.GetButtonRect(IDC_SHOW_MENU, button)) return 0;
  ::MapWindowPoints(toolbar_.m_hWnd, nullptr, reinterpret_cast<POINT*>(&button), 2);
  // The copy shares the loaded menu's submenus and lets go of them when it
  // goes, so the menu can be shown again and still read whole.
  CMenuEx popup;
  if (!popup.CopyFrom(liveMenu_.m_hMenu)) return 0;
  // The choice is returned rather than sent: an item's identifier must not
  // reach this page as one of its own commands.
  ::TrackPopupMenu(popup.m_hMenu, TPM_NONOTIFY | TPM_RETURNCMD, (button.left + button.right) / 2,
                   (button.top + button.bottom) / 2, 0, m_hWnd, nullptr);
  return 0;
}

LRESULT CMenuResPage::OnSaveAsResource(WPARAM, LPARAM) {
  if (!module_) return 0;
  const auto path =
      fw::AskExportFileName(m_hWnd, platform_.strings->LoadString(IDS_RESOURCE_FILE_FILTER), "Menu.rc", "rc");
  if (!path) return 0;
  // A menu that does not read is written as an empty block. The writer
  // replaces the file only once everything is written.
  if (!WriteMenuScript(menu_ ? *menu_ : Menu{}, *path))
    platform_.messageBox->MessageBox(platform_.strings->LoadString(IDS_MENU_SAVE_FAILED), MB_ICONEXCLAMATION_);
  return 0;
}

}  // namespace qm
