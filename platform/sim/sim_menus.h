#pragma once
// Menus of the simulated desktop: a test builds them item by item, hands a
// menu bar to a window through SimWindowDesc::menu, and reads back what the
// core changed. Every change is recorded.

#include <map>
#include <string>
#include <vector>

#include "platform/menus.h"

namespace qm {

class SimMenus : public IMenuSystem {
 public:
  MenuHandle CreateMenu();
  // Appends an item; a submenu handle makes it a pop-up.
  void Append(MenuHandle menu, const MenuItemInfo& item);
  // Destroys the menu and, as the platform does, the submenus of its items.
  void DestroyMenu(MenuHandle menu);
  // The items of a menu as they are now (empty for a handle that is none).
  const std::vector<MenuItemInfo>& Items(MenuHandle menu) const;

  // "RemoveMenu 0x... 2", "SetMenuItemInfo 0x... 1", ... one line per change.
  std::vector<std::string> actions;

  bool IsMenu(MenuHandle menu) const override;
  int GetMenuItemCount(MenuHandle menu) const override;
  bool GetMenuItemInfo(MenuHandle menu, uint32_t position, MenuItemInfo& info) const override;
  bool SetMenuItemInfo(MenuHandle menu, uint32_t position, const MenuItemChange& change) override;
  bool InsertMenuItem(MenuHandle menu, uint32_t position, const MenuItemInfo& info) override;
  bool RemoveMenu(MenuHandle menu, uint32_t position) override;
  bool DrawMenuBar(WindowHandle window) override;

 private:
  MenuItemInfo* Item(MenuHandle menu, uint32_t position);
  std::map<MenuHandle, std::vector<MenuItemInfo>> menus_;
  MenuHandle next_ = 0x00020010;
};

}  // namespace qm
