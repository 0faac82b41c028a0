#include "platform/sim/sim_menus.h"

#include "common/text.h"

namespace qm {

namespace {
// The platform reads no text of these kinds of items.
constexpr uint32_t kNoTextTypes = 0x800 | 0x4 | 0x100;  // separator, bitmap, owner-drawn
}  // namespace

MenuHandle SimMenus::CreateMenu() {
  const MenuHandle handle = next_;
  next_ += 0x10;
  menus_[handle];
  return handle;
}

void SimMenus::Append(MenuHandle menu, const MenuItemInfo& item) { menus_[menu].push_back(item); }

void SimMenus::DestroyMenu(MenuHandle menu) {
  auto found = menus_.find(menu);
  if (found == menus_.end()) return;
  const std::vector<MenuItemInfo> items = std::move(found->second);
  menus_.erase(found);
  for (const MenuItemInfo& item : items)
    if (item.submenu) DestroyMenu(item.submenu);
}

const std::vector<MenuItemInfo>& SimMenus::Items(MenuHandle menu) const {
  static const std::vector<MenuItemInfo> none;
  auto found = menus_.find(menu);
  return found == menus_.end() ? none : found->second;
}

bool SimMenus::IsMenu(MenuHandle menu) const { return menus_.count(menu) != 0; }

int SimMenus::GetMenuItemCount(MenuHandle menu) const {
  auto found = menus_.find(menu);
  return found == menus_.end() ? -1 : static_cast<int>(found->second.size());
}

MenuItemInfo* SimMenus::Item(MenuHandle menu, uint32_t position) {
  auto found = menus_.find(menu);
  if (found == menus_.end() || position >= found->second.size()) return nullptr;
  return &found->second[position];
}

bool SimMenus::GetMenuItemInfo(MenuHandle menu, uint32_t position, MenuItemInfo& info) const {
  const MenuItemInfo* item = const_cast<SimMenus*>(this)->Item(menu, position);
  if (!item) return false;
  info = *item;
  if (info.type & kNoTextTypes) info.text.clear();
  return true;
}

bool SimMenus::SetMenuItemInfo(MenuHandle menu, uint32_t position, const MenuItemChange& change) {
  MenuItemInfo* item = Item(menu, position);
  if (!item) return false;
  if (change.text) item->text = *change.text;
  if (change.state) item->state = *change.state;
  if (change.id) item->id = *change.id;
  actions.push_back(Format("SetMenuItemInfo 0x%08llx %u", static_cast<unsigned long long>(menu), position));
  return true;
}

bool SimMenus::InsertMenuItem(MenuHandle menu, uint32_t position, const MenuItemInfo& info) {
  auto found = menus_.find(menu);
  if (found == menus_.end()) return false;
  auto& items = found->second;
  MenuItemInfo item = info;
  item.submenu = 0;
  const size_t at = position < items.size() ? position : items.size();
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), item);
  actions.push_back(Format("InsertMenuItem 0x%08llx %u", static_cast<unsigned long long>(menu), position));
  return true;
}

bool SimMenus::RemoveMenu(MenuHandle menu, uint32_t position) {
  auto found = menus_.find(menu);
  if (found == menus_.end() || position >= found->second.size()) return false;
  found->second.erase(found->second.begin() + static_cast<std::ptrdiff_t>(position));
  actions.push_back(Format("RemoveMenu 0x%08llx %u", static_cast<unsigned long long>(menu), position));
  return true;
}

bool SimMenus::DrawMenuBar(WindowHandle window) {
  actions.push_back(Format("DrawMenuBar 0x%08llx", static_cast<unsigned long long>(window)));
  return true;
}

}  // namespace qm
