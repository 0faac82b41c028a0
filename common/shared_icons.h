#pragma once
// The images of the program's shared image list, by name: the tree, the
// dumps and the lists address them by these indices (the order of the list
// is binding; common/ui/image_lists.cpp loads the icons in this order).

namespace qm {

enum SharedIcon : int {
  kIconLetterP = 0,
  kIconWindow = 1,         // visible window without parent
  kIconChildWindow = 2,    // visible window with a parent
  kIconHiddenWindow = 3,   // hidden window without parent
  kIconHiddenChild = 4,    // hidden window with a parent
  kIconMenuItem = 5,       // menu item
  kIconSubmenu = 6,        // menu item that opens a submenu
  kIconMenuSeparator = 7,  // menu separator
  kIconComputer = 8,       // process rows and items, list tab
  kIconProcessTree = 9,    // process tree tab
  kIconTitledWindow = 10,
  kIconComponentDocument = 11,
  kIconQuestionDocument = 12,
  kIconOpenFolder = 13,    // selected resource-type node
  kIconClosedFolder = 14,  // resource-type node
  kIconKeys = 15,          // accelerators
  kIconPicture = 16,       // bitmaps
  kIconCursor = 17,        // cursors
  kIconDialog = 18,        // dialogs
  kIconGridPage = 19,      // icons
  kIconStackedBars = 20,   // menus
  kIconAbc = 21,           // string tables
  kIconVersion = 22,       // version blocks
  kIconTwoButtons = 23,    // toolbars
  kIconQuestionMark = 24,  // resources of other types
  kIconInfo = 25,          // property items (second kind), dump leaves
  kIconDoubleArrow = 26,   // property items
  kIconPlus = 27,          // property groups, dump nodes
  kIconCross = 28,
  kIconWarning = 29,  // the no-capture item
  kSharedIconCount = 30,
};

}  // namespace qm
