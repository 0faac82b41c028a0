#include "windows/menu_item_edit.h"

namespace qm {

namespace {
constexpr uint32_t kSeparatorType = 0x800;              // MFT_SEPARATOR
constexpr uint32_t kNoTextTypes = 0x800 | 0x4 | 0x100;  // separator, bitmap, owner-drawn
constexpr uint32_t kLowStateBits = 0x3;                 // MFS_GRAYED (= MFS_DISABLED)
constexpr uint32_t kCheckedState = 0x8;                 // MFS_CHECKED
uint32_t WithBits(uint32_t word, uint32_t bits, bool set) { return set ? word | bits : word & ~bits; }
}  // namespace

bool IsSeparatorItem(const MenuItemInfo& item) { return (item.type & kSeparatorType) != 0; }
bool IsPopupItem(const MenuItemInfo& item) { return item.submenu != 0; }
bool IsCommandItem(const MenuItemInfo& item) { return !IsSeparatorItem(item) && !IsPopupItem(item); }
bool HasEditableText(const MenuItemInfo& item) { return (item.type & kNoTextTypes) == 0; }

MenuItemView ViewOfMenuItem(const MenuItemInfo& item) {
  MenuItemView view;
  if (IsPopupItem(item)) {
    view.popup = true;
  } else if (IsSeparatorItem(item)) {
    view.separator = true;
    return view;  // everything empty, unchecked and disabled
  } else {
    view.idText = std::to_string(item.id);
    view.idEnabled = true;
  }
  view.title = item.text;
  view.titleEnabled = HasEditableText(item);
  view.inactive = view.grayed = (item.state & kLowStateBits) != 0;
  view.checked = (item.state & kCheckedState) != 0;
  view.statesEnabled = true;
  return view;
}

uint32_t ParseMenuItemId(const std::string& text) {
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > UINT32_MAX) return 0;
  }
  return static_cast<uint32_t>(value);
}

MenuItemInfo ApplyMenuItemView(const MenuItemInfo& item, const MenuItemView& view) {
  MenuItemInfo edited = item;
  edited.text = view.title;
  if (const uint32_t id = ParseMenuItemId(view.idText); id != 0) edited.id = id;
  edited.state = WithBits(edited.state, kLowStateBits, view.inactive);
  edited.state = WithBits(edited.state, kCheckedState, view.checked);
  edited.state = WithBits(edited.state, kLowStateBits, view.grayed);
  return edited;
}

MenuItemChange ChangeOfMenuItem(const MenuItemInfo& before, const MenuItemInfo& after) {
  MenuItemChange change;
  if (IsSeparatorItem(before)) return change;
  if (HasEditableText(before) && after.text != before.text) change.text = after.text;
  if (after.state != before.state) change.state = after.state;
  if (IsCommandItem(before) && after.id != before.id) change.id = after.id;
  return change;
}

}  // namespace qm
