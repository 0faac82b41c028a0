#pragma once
// The resource browser's menu page: a menu resource's statistics, its items
// as a tree and the settings of the selected item, read from the decoded
// template; "Mostrar menú" pops up the live menu the platform builds from
// the same (checked) bytes, and "Guardar como recurso" writes Menu.rc.

#include <optional>
#include <string>
#include <vector>

#include "common/ui/dialog_toolbar.h"
#include "common/ui/list_ctrl_helper.h"
#include "common/ui/menu_ex.h"
#include "common/ui/toolbar_dialog.h"
#include "framework/controls.h"
#include "platform/platform.h"
#include "res/resource_ids.h"
#include "resources/menu_template.h"
#include "resources/menu_tree.h"
#include "resources/resource_module.h"

namespace qm {

class CMenuResPage : public fw::WithMessageTable<CMenuResPage, CToolBarDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CMenuResPage> Messages();
  static constexpr UINT kTemplateId = IDD_MENU_RES_PAGE;

  explicit CMenuResPage(const Platform& platform = SystemPlatform()) : platform_(platform) {}
  ~CMenuResPage() override;

  void ShowMenu(const CResourceModule& module, const ResourceName& name);

  // The decoded menu shown (none when the resource does not read) and the
  // live menu made from it (null likewise).
  const std::optional<Menu>& ShownMenu() const { return menu_; }
  HMENU LiveMenu() const { return liveMenu_.m_hMenu; }

 protected:
  BOOL OnInitDialog() override;

 private:
  void FillTree(const std::vector<MenuItem>& items, HTREEITEM parent);
  // The item a tree item stands for: its position and its parents' positions.
  const MenuItem* ItemOf(HTREEITEM treeItem) const;
  // A style or break index of -1 selects nothing in its box.
  void ShowFields(const MenuItemFields& fields);
  LRESULT OnSelChanged(NMTREEVIEWW& change);
  LRESULT OnShowMenu(WPARAM, LPARAM);
  LRESULT OnSaveAsResource(WPARAM, LPARAM);

  const Platform& platform_;
  const CResourceModule* module_ = nullptr;
  std::optional<Menu> menu_;
  CMenuEx liveMenu_;
  CListCtrlHelper list_;
  fw::CTreeCtrl tree_;
  CDialogToolBar toolbar_;
};

}  // namespace qm
