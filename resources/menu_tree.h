#pragma once
// What the menu page shows of a menu model: the text of each item in the
// items tree and the fields of the selected item.

#include <string>

#include "platform/system.h"
#include "resources/menu_template.h"

namespace qm {

// The item's text without its "&" marks, "<imágen>" for a bitmap item,
// "<separador>" for a separator.
std::string MenuItemTreeText(const MenuItem& item, const IStrings& strings);

struct MenuItemFields {
  std::string idText;  // empty for separators and pop-ups
  int styleIndex = 0;  // String, Bitmap, Ownerdraw, Separator; -1: none fits
  int breakIndex = 0;  // Ninguno, Column, Bar
  bool radioCheck = false;
  bool rightJustify = false;
  bool rightOrder = false;
  bool popup = false;
  bool checked = false;
  bool disabled = false;
  bool grayed = false;
  bool hilite = false;
  bool isDefault = false;
};

MenuItemFields DescribeMenuItem(const MenuItem& item);

}  // namespace qm
