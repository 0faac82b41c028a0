#pragma once
// The window menu editor's model: the menu bar of another program's window
// as a tree, each node addressed by the positions that led to it when the
// tree was built. Before any change the item at that path is read again and
// must still have the recorded ID and type (and so must every pop-up on the
// way); otherwise the tree is rebuilt and nothing is done, so an edit or a
// deletion can never hit another item, even where IDs repeat.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/menus.h"
#include "platform/platform.h"

namespace qm {

struct WindowMenuNode {
  int parent = -1;                  // index of the pop-up node above, -1 at the top
  std::vector<uint32_t> positions;  // from the menu bar down to the item
  MenuItemInfo item;                // as read when the tree was built
  std::string treeText;             // "&" removed, or "<separador>", "<imágen>"
  int image = 0;                    // index into the shared small icons
};

enum class MenuEditOutcome {
  Done,
  Stale,     // the menu changed under the tree: rebuilt, nothing done
  Declined,  // the user answered No
  Failed,    // no window, no menu bar, or the platform refused
};

// The editor's buttons for the selected tree item.
struct WindowMenuButtons {
  bool insert = false;
  bool edit = false;
  bool remove = false;
  bool execute = false;
  friend bool operator==(const WindowMenuButtons&, const WindowMenuButtons&) = default;
};

class WindowMenuModel {
 public:
  explicit WindowMenuModel(const Platform& platform) : platform_(platform) {}

  void SetWindow(WindowHandle window) { window_ = window; }
  WindowHandle Window() const { return window_; }

  // Reads the window's menu bar again; parents come before their children.
  // Empty when the window has no menu bar.
  const std::vector<WindowMenuNode>& Rebuild();
  const std::vector<WindowMenuNode>& Nodes() const { return nodes_; }
  // The window names a menu bar that the platform will not read (under Wine,
  // any menu of another process), as of the last Rebuild.
  bool MenuUnreadable() const { return unreadable_; }
  // The node at these positions, if the tree has one.
  std::optional<size_t> FindNode(const std::vector<uint32_t>& positions) const;

  // The live item of a node when the path still leads to the recorded items.
  std::optional<MenuItemInfo> Lookup(size_t node) const;

  // The state names of a node's live item (menu item state dictionary).
  std::vector<std::string> StateNames(size_t node) const;
  // Execute is offered for a plain command item only.
  bool CanExecute(size_t node) const;
  // Nothing is offered over a menu the platform will not read; edit and
  // delete need a selected item, execute a plain command item.
  WindowMenuButtons ButtonsFor(std::optional<size_t> selected) const;

  // Changes the item of node to edited (what ChangeOfMenuItem allows).
  MenuEditOutcome Edit(size_t node, const MenuItemInfo& edited);
  // Inserts a string command item after node (at the end of the menu bar
  // with no node).
  MenuEditOutcome InsertAfter(std::optional<size_t> node, const MenuItemInfo& item);
  // Asks the deletion question with the node's tree text, then removes the
  // item by its position.
  MenuEditOutcome Delete(size_t node);
  // Posts WM_COMMAND with the item's ID to the window.
  MenuEditOutcome Execute(size_t node);

 private:
  void AddItems(MenuHandle menu, int parent, const std::vector<uint32_t>& path, size_t depth);
  // The menu that holds node's item, after checking the whole path.
  std::optional<MenuHandle> ContainingMenu(size_t node) const;
  MenuEditOutcome StaleOutcome();

  const Platform& platform_;
  WindowHandle window_ = 0;
  std::vector<WindowMenuNode> nodes_;
  bool unreadable_ = false;
};

// The tree text of a menu item: the text without its "&" marks (a doubled
// "&&" disappears too), or the separator and picture labels.
std::string MenuNodeText(const MenuItemInfo& item, const IStrings& strings);

}  // namespace qm
