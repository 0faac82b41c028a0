#pragma once
// A menu the program owns: destroyed with the object. CopyFrom fills a new
// pop-up menu with the items of another menu; the submenus are shared with
// that menu, not copied, so before the copy is destroyed its items are
// removed (never destroyed) and the source's submenus stay alive.

#include "platform/win32/win.h"

namespace qm {

class CMenuEx {
 public:
  CMenuEx() = default;
  // Takes ownership of a menu the caller created or loaded.
  explicit CMenuEx(HMENU menu) : m_hMenu(menu) {}
  ~CMenuEx() { DestroyMenu(); }
  CMenuEx(const CMenuEx&) = delete;
  CMenuEx& operator=(const CMenuEx&) = delete;

  HMENU m_hMenu = nullptr;

  // Replaces what the object holds with a new pop-up menu holding every
  // readable item of source, in order. False when the menu cannot be
  // created or an item cannot be inserted; an item that cannot be read is
  // skipped.
  bool CopyFrom(HMENU source);
  // Destroys the menu (a copy loses its items first); safe to call twice.
  void DestroyMenu();

 private:
  bool sharesSubmenus_ = false;
};

}  // namespace qm
