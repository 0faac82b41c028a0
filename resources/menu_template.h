#pragma once
// Menu templates (RT_MENU) in both binary forms — the plain one of MENU
// statements and the extended one of MENUEX — read into the fields the menu
// pages show, the way the platform's menu loader reads them.

#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_reader.h"

namespace qm {

// Type and state bits, with the platform's values.
constexpr uint32_t kMftBitmap = 0x4;
constexpr uint32_t kMftMenuBarBreak = 0x20;
constexpr uint32_t kMftMenuBreak = 0x40;
constexpr uint32_t kMftOwnerDraw = 0x100;
constexpr uint32_t kMftRadioCheck = 0x200;
constexpr uint32_t kMftSeparator = 0x800;
constexpr uint32_t kMftRightOrder = 0x2000;
constexpr uint32_t kMftRightJustify = 0x4000;
constexpr uint32_t kMfsGrayed = 0x3;
constexpr uint32_t kMfsChecked = 0x8;
constexpr uint32_t kMfsHilite = 0x80;
constexpr uint32_t kMfsDefault = 0x1000;

struct MenuItem {
  uint32_t type = 0;    // MFT_ bits
  uint32_t state = 0;   // MFS_ bits
  uint32_t id = 0;      // 0 for the pop-ups of a plain template, which have none
  uint32_t helpId = 0;  // pop-ups of an extended template only
  std::string text;     // UTF-8, as stored ("&" included)
  bool hasSubmenu = false;
  std::vector<MenuItem> submenu;
};

struct Menu {
  bool extended = false;
  std::vector<MenuItem> items;
};

// Caps far above what real menus use, so a hostile template cannot recurse
// or allocate without end.
constexpr size_t kMaxMenuDepth = 32;
constexpr size_t kMaxMenuItems = 65536;
constexpr size_t kMaxMenuTextChars = 0xFFFF;

Result<Menu> ParseMenuTemplate(ByteView data);

}  // namespace qm
