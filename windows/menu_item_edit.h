#pragma once
// The item dialog of the window menu editor: what it shows for one menu item
// and what its OK makes of the boxes. The dialog only mirrors these.

#include <cstdint>
#include <string>

#include "platform/menus.h"

namespace qm {

// The boxes and edits of the item dialog.
struct MenuItemView {
  std::string idText;
  std::string title;
  bool separator = false;
  bool popup = false;
  bool inactive = false;
  bool checked = false;
  bool grayed = false;
  bool idEnabled = false;
  bool titleEnabled = false;
  bool statesEnabled = false;  // Inactive, Checked and Grayed
  friend bool operator==(const MenuItemView&, const MenuItemView&) = default;
};

bool IsSeparatorItem(const MenuItemInfo& item);
bool IsPopupItem(const MenuItemInfo& item);
// A plain command item: neither a separator nor a pop-up.
bool IsCommandItem(const MenuItemInfo& item);
// An item whose text is a string the user can edit (not a separator, a
// bitmap or an owner-drawn item).
bool HasEditableText(const MenuItemInfo& item);

MenuItemView ViewOfMenuItem(const MenuItemInfo& item);

// The ID edit read as a decimal number: its leading digits, 0 when it starts
// with anything else or the number does not fit 32 bits.
uint32_t ParseMenuItemId(const std::string& text);

// OK: the title becomes the text, a non-zero ID replaces the old one, then
// "Inactive" sets or clears both low state bits, "Checked" bit 0x8, and
// "Grayed" (last) both low bits again, so "Grayed" decides them.
MenuItemInfo ApplyMenuItemView(const MenuItemInfo& item, const MenuItemView& view);

// What an accepted dialog changes on the live item: the text of a string
// item, the state of anything but a separator, the ID of a command item.
// Type and submenu are never touched.
MenuItemChange ChangeOfMenuItem(const MenuItemInfo& before, const MenuItemInfo& after);

}  // namespace qm
