#include "resources/menu_tree.h"

#include "res/string_ids.h"

namespace qm {

std::string MenuItemTreeText(const MenuItem& item, const IStrings& strings) {
  if (item.type & kMftSeparator) return strings.LoadString(IDS_MENU_SEPARATOR);
  if (item.type & kMftBitmap) return strings.LoadString(IDS_MENU_PICTURE);
  std::string text;
  text.reserve(item.text.size());
  for (char c : item.text)
    if (c != '&') text.push_back(c);
  return text;
}

MenuItemFields DescribeMenuItem(const MenuItem& item) {
  MenuItemFields fields;
  const bool separator = (item.type & kMftSeparator) != 0;
  if (!separator && !item.hasSubmenu) fields.idText = std::to_string(item.id);
  switch (item.type & (kMftSeparator | kMftOwnerDraw | kMftBitmap)) {
    case 0:
      fields.styleIndex = 0;
      break;
    case kMftBitmap:
      fields.styleIndex = 1;
      break;
    case kMftOwnerDraw:
      fields.styleIndex = 2;
      break;
    case kMftSeparator:
      fields.styleIndex = 3;
      break;
    default:
      fields.styleIndex = -1;
  }
  const bool bar = (item.type & kMftMenuBarBreak) != 0, column = (item.type & kMftMenuBreak) != 0;
  fields.breakIndex = bar && !column ? 2 : (column && !bar ? 1 : 0);
  fields.radioCheck = (item.type & kMftRadioCheck) != 0;
  fields.rightJustify = (item.type & kMftRightJustify) != 0;
  fields.rightOrder = (item.type & kMftRightOrder) != 0;
  fields.popup = item.hasSubmenu;
  fields.checked = (item.state & kMfsChecked) != 0;
  fields.disabled = fields.grayed = (item.state & kMfsGrayed) != 0;
  fields.hilite = (item.state & kMfsHilite) != 0;
  fields.isDefault = (item.state & kMfsDefault) != 0;
  return fields;
}

const MenuItem* MenuItemAtPath(const Menu& menu, const std::vector<size_t>& path) {
  const std::vector<MenuItem>* level = &menu.items;
  const MenuItem* item = nullptr;
  for (size_t position : path) {
    if (!level || position >= level->size()) return nullptr;
    item = &(*level)[position];
    level = item->hasSubmenu ? &item->submenu : nullptr;
  }
  return item;
}

std::vector<StatisticsRow> MenuStatisticsRows(const CResourceModule& module, const ResourceName& name,
                                              const std::optional<size_t>& topLevelItems, const IStrings& strings) {
  std::vector<StatisticsRow> rows;
  rows.push_back({strings.LoadString(IDS_MODULE_STATISTICS), module.GetPath(), 0});
  rows.push_back({strings.LoadString(IDS_IDENTIFIER), name.isString ? name.name : std::to_string(name.id), 0});
  rows.push_back({strings.LoadString(IDS_ITEM_COUNT), topLevelItems ? std::to_string(*topLevelItems) : "?", 0});
  return rows;
}

}  // namespace qm
