#include "platform/win32/win32_menus.h"

#include <cstdint>
#include <cwchar>

#include "platform/win32/win.h"
#include "platform/win32/win32_system.h"

namespace qm {

namespace {

HMENU ToHmenu(MenuHandle handle) {
  if (handle > UINTPTR_MAX) return nullptr;
  return reinterpret_cast<HMENU>(static_cast<uintptr_t>(handle));
}

MenuHandle FromHmenu(HMENU menu) { return static_cast<MenuHandle>(reinterpret_cast<uintptr_t>(menu)); }

constexpr UINT kNoTextTypes = MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW;

}  // namespace

bool Win32Menus::IsMenu(MenuHandle menu) const { return menu && ::IsMenu(ToHmenu(menu)); }

int Win32Menus::GetMenuItemCount(MenuHandle menu) const {
  if (!IsMenu(menu)) return -1;
  return ::GetMenuItemCount(ToHmenu(menu));
}

bool Win32Menus::GetMenuItemInfo(MenuHandle menu, uint32_t position, MenuItemInfo& info) const {
  if (!IsMenu(menu)) return false;
  wchar_t text[256] = {};
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING | MIIM_DATA;
  item.dwTypeData = text;
  item.cch = 255;
  if (!::GetMenuItemInfoW(ToHmenu(menu), position, TRUE, &item)) return false;
  info.type = item.fType;
  info.state = item.fState;
  info.id = item.wID;
  info.submenu = FromHmenu(item.hSubMenu);
  info.data = static_cast<uint64_t>(item.dwItemData);
  info.text = (item.fType & kNoTextTypes) ? std::string() : Narrow(std::wstring(text, wcsnlen(text, 255)));
  return true;
}

bool Win32Menus::SetMenuItemInfo(MenuHandle menu, uint32_t position, const MenuItemChange& change) {
  if (!IsMenu(menu)) return false;
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  std::wstring text;
  if (change.text) {
    text = Widen(*change.text);
    item.fMask |= MIIM_STRING;
    item.dwTypeData = text.data();
  }
  if (change.state) {
    item.fMask |= MIIM_STATE;
    item.fState = *change.state;
  }
  if (change.id) {
    item.fMask |= MIIM_ID;
    item.wID = *change.id;
  }
  if (item.fMask == 0) return true;
  return ::SetMenuItemInfoW(ToHmenu(menu), position, TRUE, &item) != FALSE;
}

bool Win32Menus::InsertMenuItem(MenuHandle menu, uint32_t position, const MenuItemInfo& info) {
  if (!IsMenu(menu)) return false;
  std::wstring text = Widen(info.text);
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
  item.fType = info.type & ~kNoTextTypes;
  item.fState = info.state;
  item.wID = info.id;
  item.dwTypeData = text.data();
  return ::InsertMenuItemW(ToHmenu(menu), position, TRUE, &item) != FALSE;
}

bool Win32Menus::RemoveMenu(MenuHandle menu, uint32_t position) {
  if (!IsMenu(menu)) return false;
  return ::RemoveMenu(ToHmenu(menu), position, MF_BYPOSITION) != FALSE;
}

bool Win32Menus::DrawMenuBar(WindowHandle window) {
  if (window > UINTPTR_MAX) return false;
  return ::DrawMenuBar(reinterpret_cast<HWND>(static_cast<uintptr_t>(window))) != FALSE;
}

}  // namespace qm
