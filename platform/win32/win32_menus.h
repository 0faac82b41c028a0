#pragma once
// The real menus behind platform/menus.h: the wide item calls by position,
// texts converted to and from UTF-8 here.

#include "platform/menus.h"

namespace qm {

class Win32Menus : public IMenuSystem {
 public:
  bool IsMenu(MenuHandle menu) const override;
  int GetMenuItemCount(MenuHandle menu) const override;
  bool GetMenuItemInfo(MenuHandle menu, uint32_t position, MenuItemInfo& info) const override;
  bool SetMenuItemInfo(MenuHandle menu, uint32_t position, const MenuItemChange& change) override;
  bool InsertMenuItem(MenuHandle menu, uint32_t position, const MenuItemInfo& info) override;
  bool RemoveMenu(MenuHandle menu, uint32_t position) override;
  bool DrawMenuBar(WindowHandle window) override;
};

}  // namespace qm
