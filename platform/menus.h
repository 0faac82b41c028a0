#pragma once
// Menus of any window, the core's way: items addressed by position inside
// their own (sub)menu, texts in UTF-8. The real backend uses the wide calls,
// so texts in any script survive a read and a write.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/windows.h"

namespace qm {

using MenuHandle = uint64_t;

#ifndef WM_COMMAND
constexpr uint32_t WM_COMMAND = 0x0111;
#endif

// What one item holds, as GetMenuItemInfo reads it with MIIM_STATE, MIIM_ID,
// MIIM_SUBMENU, MIIM_FTYPE, MIIM_STRING and MIIM_DATA.
struct MenuItemInfo {
  uint32_t type = 0;   // MFT_ bits
  uint32_t state = 0;  // MFS_ bits
  uint32_t id = 0;
  MenuHandle submenu = 0;
  uint64_t data = 0;
  std::string text;  // empty for separators, bitmaps and owner-drawn items
  friend bool operator==(const MenuItemInfo&, const MenuItemInfo&) = default;
};

// The parts of an item SetMenuItemInfo changes; what is absent stays as it
// is (a pop-up keeps its submenu, a bitmap item its picture).
struct MenuItemChange {
  std::optional<std::string> text;
  std::optional<uint32_t> state;
  std::optional<uint32_t> id;
};

class IMenuSystem {
 public:
  virtual ~IMenuSystem() = default;

  virtual bool IsMenu(MenuHandle menu) const = 0;
  // -1 when the handle is not a menu.
  virtual int GetMenuItemCount(MenuHandle menu) const = 0;
  // By position. The text is read into a buffer of 256 UTF-16 units.
  virtual bool GetMenuItemInfo(MenuHandle menu, uint32_t position, MenuItemInfo& info) const = 0;
  virtual bool SetMenuItemInfo(MenuHandle menu, uint32_t position, const MenuItemChange& change) = 0;
  // A string command item (type, state, ID and text of info; no submenu)
  // inserted before position; a position past the end appends.
  virtual bool InsertMenuItem(MenuHandle menu, uint32_t position, const MenuItemInfo& info) = 0;
  // By position; a submenu of the removed item is not destroyed.
  virtual bool RemoveMenu(MenuHandle menu, uint32_t position) = 0;
  // Redraws the menu bar of a window after its items changed.
  virtual bool DrawMenuBar(WindowHandle window) = 0;
};

}  // namespace qm
