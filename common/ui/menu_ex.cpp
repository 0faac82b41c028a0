#include "common/ui/menu_ex.h"

namespace qm {

namespace {

// Reads the item at position with everything an insertion needs. A bitmap
// item carries its picture where a string item carries its text, so it is
// read (and inserted) the older way, by MIIM_TYPE.
bool ReadItem(HMENU menu, UINT position, MENUITEMINFOW& item, wchar_t* text, UINT capacity) {
  item = MENUITEMINFOW{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_FTYPE | MIIM_DATA;
  if (!::GetMenuItemInfoW(menu, position, TRUE, &item)) return false;
  if (item.fType & MFT_BITMAP) {
    item.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE | MIIM_DATA;
    return ::GetMenuItemInfoW(menu, position, TRUE, &item) != FALSE;
  }
  if (item.fType & (MFT_SEPARATOR | MFT_OWNERDRAW)) return true;
  item.fMask |= MIIM_STRING;
  item.dwTypeData = text;
  item.cch = capacity - 1;
  text[0] = L'\0';
  return ::GetMenuItemInfoW(menu, position, TRUE, &item) != FALSE;
}

}  // namespace

bool CMenuEx::CopyFrom(HMENU source) {
  DestroyMenu();
  m_hMenu = ::CreatePopupMenu();
  if (!m_hMenu) return false;
  sharesSubmenus_ = true;
  const int count = ::GetMenuItemCount(source);
  bool allInserted = true;
  for (int position = 0; position < count; ++position) {
    wchar_t text[256];
    MENUITEMINFOW item;
    if (!ReadItem(source, static_cast<UINT>(position), item, text, 256)) continue;
    const UINT end = static_cast<UINT>(::GetMenuItemCount(m_hMenu));
    if (!::InsertMenuItemW(m_hMenu, end, TRUE, &item)) allInserted = false;
  }
  return allInserted;
}

void CMenuEx::DestroyMenu() {
  if (!m_hMenu) return;
  if (sharesSubmenus_ && ::IsMenu(m_hMenu)) {
    // Destroying a menu destroys its submenus too: the shared ones are
    // taken out first.
    while (::GetMenuItemCount(m_hMenu) > 0)
      if (!::RemoveMenu(m_hMenu, 0, MF_BYPOSITION)) break;
  }
  ::DestroyMenu(m_hMenu);
  m_hMenu = nullptr;
  sharesSubmenus_ = false;
}

}  // namespace qm
