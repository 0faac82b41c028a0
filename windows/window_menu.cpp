#include "windows/window_menu.h"

#include "common/shared_icons.h"
#include "common/text.h"
#include "res/string_ids.h"
#include "windows/menu_item_edit.h"
#include "windows/style_dictionary.h"

namespace qm {

namespace {

constexpr uint32_t kBitmapType = 0x4;  // MFT_BITMAP
// Menus may not hold themselves, but another program's menus are not trusted
// to keep that rule.
constexpr size_t kMaxMenuDepth = 32;

bool SameItem(const MenuItemInfo& recorded, const MenuItemInfo& live) {
  return recorded.id == live.id && recorded.type == live.type && recorded.submenu == live.submenu;
}

}  // namespace

std::string MenuNodeText(const MenuItemInfo& item, const IStrings& strings) {
  if (IsSeparatorItem(item)) return strings.LoadString(IDS_MENU_SEPARATOR);
  if (item.type & kBitmapType) return strings.LoadString(IDS_MENU_PICTURE);
  std::string text;
  text.reserve(item.text.size());
  for (char c : item.text)
    if (c != '&') text.push_back(c);
  return text;
}

const std::vector<WindowMenuNode>& WindowMenuModel::Rebuild() {
  nodes_.clear();
  unreadable_ = false;
  if (window_ == 0 || !platform_.windows->IsWindow(window_)) return nodes_;
  const MenuHandle bar = platform_.windows->GetMenu(window_);
  if (bar == 0) return nodes_;
  if (!platform_.menus->IsMenu(bar)) {
    unreadable_ = true;
    return nodes_;
  }
  AddItems(bar, -1, {}, 0);
  return nodes_;
}

void WindowMenuModel::AddItems(MenuHandle menu, int parent, const std::vector<uint32_t>& path, size_t depth) {
  const IMenuSystem& menus = *platform_.menus;
  const int count = menus.GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    WindowMenuNode node;
    if (!menus.GetMenuItemInfo(menu, static_cast<uint32_t>(position), node.item)) continue;
    node.parent = parent;
    node.positions = path;
    node.positions.push_back(static_cast<uint32_t>(position));
    node.treeText = MenuNodeText(node.item, *platform_.strings);
    node.image = IsSeparatorItem(node.item) ? kIconMenuSeparator
                 : IsPopupItem(node.item)   ? kIconSubmenu
                                            : kIconMenuItem;
    const MenuHandle submenu = node.item.submenu;
    const std::vector<uint32_t> positions = node.positions;
    nodes_.push_back(std::move(node));
    const int index = static_cast<int>(nodes_.size() - 1);
    if (submenu != 0 && depth + 1 < kMaxMenuDepth && menus.IsMenu(submenu))
      AddItems(submenu, index, positions, depth + 1);
  }
}

std::optional<size_t> WindowMenuModel::FindNode(const std::vector<uint32_t>& positions) const {
  for (size_t i = 0; i < nodes_.size(); ++i)
    if (nodes_[i].positions == positions) return i;
  return std::nullopt;
}

std::optional<MenuHandle> WindowMenuModel::ContainingMenu(size_t node) const {
  if (node >= nodes_.size() || window_ == 0 || !platform_.windows->IsWindow(window_)) return std::nullopt;
  MenuHandle menu = platform_.windows->GetMenu(window_);
  if (menu == 0 || !platform_.menus->IsMenu(menu)) return std::nullopt;
  // The pop-ups on the way, from the menu bar down.
  std::vector<size_t> chain;
  for (int up = nodes_[node].parent; up >= 0; up = nodes_[static_cast<size_t>(up)].parent)
    chain.insert(chain.begin(), static_cast<size_t>(up));
  for (size_t popup : chain) {
    const WindowMenuNode& recorded = nodes_[popup];
    MenuItemInfo live;
    if (!platform_.menus->GetMenuItemInfo(menu, recorded.positions.back(), live) || !SameItem(recorded.item, live) ||
        !platform_.menus->IsMenu(live.submenu))
      return std::nullopt;
    menu = live.submenu;
  }
  return menu;
}

std::optional<MenuItemInfo> WindowMenuModel::Lookup(size_t node) const {
  const auto menu = ContainingMenu(node);
  if (!menu) return std::nullopt;
  MenuItemInfo live;
  if (!platform_.menus->GetMenuItemInfo(*menu, nodes_[node].positions.back(), live) ||
      !SameItem(nodes_[node].item, live))
    return std::nullopt;
  return live;
}

std::vector<std::string> WindowMenuModel::StateNames(size_t node) const {
  std::vector<std::string> names;
  const auto live = Lookup(node);
  if (!live) return names;
  CStyleDictionary dictionary(kMenuItemStates);
  const int count = dictionary.Decode(live->state);
  for (int i = 0; i < count; ++i) names.push_back(dictionary.GetName(i));
  return names;
}

bool WindowMenuModel::CanExecute(size_t node) const {
  const auto live = Lookup(node);
  return live && IsCommandItem(*live);
}

WindowMenuButtons WindowMenuModel::ButtonsFor(std::optional<size_t> selected) const {
  WindowMenuButtons buttons;
  if (unreadable_) return buttons;
  buttons.insert = true;
  if (!selected || *selected >= nodes_.size()) return buttons;
  buttons.edit = buttons.remove = true;
  buttons.execute = CanExecute(*selected);
  return buttons;
}

MenuEditOutcome WindowMenuModel::StaleOutcome() {
  Rebuild();
  return MenuEditOutcome::Stale;
}

MenuEditOutcome WindowMenuModel::Edit(size_t node, const MenuItemInfo& edited) {
  if (node >= nodes_.size() || !platform_.windows->IsWindow(window_)) return MenuEditOutcome::Failed;
  const auto menu = ContainingMenu(node);
  const auto live = Lookup(node);
  if (!menu || !live) return StaleOutcome();
  const MenuItemChange change = ChangeOfMenuItem(*live, edited);
  const bool changed = platform_.menus->SetMenuItemInfo(*menu, nodes_[node].positions.back(), change);
  if (changed && nodes_[node].parent < 0) platform_.menus->DrawMenuBar(window_);
  Rebuild();
  return changed ? MenuEditOutcome::Done : MenuEditOutcome::Failed;
}

MenuEditOutcome WindowMenuModel::InsertAfter(std::optional<size_t> node, const MenuItemInfo& item) {
  if (!platform_.windows->IsWindow(window_)) return MenuEditOutcome::Failed;
  MenuHandle menu = 0;
  uint32_t position = 0;
  bool onBar = true;
  if (node) {
    const auto containing = ContainingMenu(*node);
    if (!containing || !Lookup(*node)) return StaleOutcome();
    menu = *containing;
    position = nodes_[*node].positions.back() + 1;
    onBar = nodes_[*node].parent < 0;
  } else {
    menu = platform_.windows->GetMenu(window_);
    const int count = platform_.menus->GetMenuItemCount(menu);
    if (count < 0) return MenuEditOutcome::Failed;
    position = static_cast<uint32_t>(count);
  }
  MenuItemInfo command = item;
  command.type = 0;  // MFT_STRING
  command.submenu = 0;
  const bool inserted = platform_.menus->InsertMenuItem(menu, position, command);
  if (inserted && onBar) platform_.menus->DrawMenuBar(window_);
  Rebuild();
  return inserted ? MenuEditOutcome::Done : MenuEditOutcome::Failed;
}

MenuEditOutcome WindowMenuModel::Delete(size_t node) {
  if (node >= nodes_.size() || !platform_.windows->IsWindow(window_)) return MenuEditOutcome::Failed;
  if (!Lookup(node)) return StaleOutcome();
  const std::string question =
      FormatTable(platform_.strings->LoadString(IDS_CONFIRM_MENU_DELETE), {nodes_[node].treeText});
  if (platform_.messageBox->MessageBox(question, MB_YESNO_ | MB_ICONQUESTION_) != IDYES_)
    return MenuEditOutcome::Declined;
  // The menu may have changed while the question was open.
  const auto menu = ContainingMenu(node);
  if (!menu || !Lookup(node)) return StaleOutcome();
  const bool removed = platform_.menus->RemoveMenu(*menu, nodes_[node].positions.back());
  if (removed && nodes_[node].parent < 0) platform_.menus->DrawMenuBar(window_);
  Rebuild();
  return removed ? MenuEditOutcome::Done : MenuEditOutcome::Failed;
}

MenuEditOutcome WindowMenuModel::Execute(size_t node) {
  if (node >= nodes_.size() || !platform_.windows->IsWindow(window_)) return MenuEditOutcome::Failed;
  const auto live = Lookup(node);
  if (!live) return StaleOutcome();
  if (!IsCommandItem(*live)) return MenuEditOutcome::Failed;
  // A menu command: the ID in the low word, no control handle.
  return platform_.windows->PostMessage(window_, WM_COMMAND, live->id, 0) ? MenuEditOutcome::Done
                                                                          : MenuEditOutcome::Failed;
}

}  // namespace qm
