#pragma once
// What the menu page shows of a menu model: the text of each item in the
// items tree and the fields of the selected item.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/system.h"
#include "resources/menu_template.h"
#include "resources/resource_module.h"
#include "resources/resource_stats.h"

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

// The item reached by a chain of positions, one per level from the top; null
// when a position is out of range or a level on the way has no submenu.
const MenuItem* MenuItemAtPath(const Menu& menu, const std::vector<size_t>& path);

// The page's three statistics rows: the module's path, the menu's name (a
// number in decimal) and its count of top-level items, "?" when the menu
// cannot be read.
std::vector<StatisticsRow> MenuStatisticsRows(const CResourceModule& module, const ResourceName& name,
                                              const std::optional<size_t>& topLevelItems, const IStrings& strings);

}  // namespace qm
