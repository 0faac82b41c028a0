#include "common/ui/image_lists.h"

#include <shellapi.h>

#include "res/resource_ids.h"

namespace qm {

const std::array<UINT, kSharedIconCount> kSharedIconIds = {
    IDI_P_DIAMOND,     IDI_WINDOW,      IDI_CHILD_WINDOW,  IDI_HIDDEN_WINDOW, IDI_HIDDEN_CHILD,  IDI_MENU_ITEM,
    IDI_SUBMENU,       IDI_SEPARATOR,   IDI_COMPUTER,      IDI_PROCESS_TREE,  IDI_TITLED_WINDOW, IDI_COMPONENT_DOC,
    IDI_QUESTION_DOC,  IDI_OPEN_FOLDER, IDI_CLOSED_FOLDER, IDI_KEYS,          IDI_PICTURE,       IDI_CURSOR,
    IDI_DIALOG,        IDI_GRID_PAGE,   IDI_STACKED_BARS,  IDI_ABC,           IDI_VERSION,       IDI_TWO_BUTTONS,
    IDI_QUESTION_MARK, IDI_INFO,        IDI_DOUBLE_ARROW,  IDI_PLUS,          IDI_CROSS,         IDI_WARNING_TRIANGLE,
};

CImageLists::~CImageLists() { Release(); }

bool CImageLists::BuildShared(HINSTANCE resources) {
  if (m_imageList) return true;
  m_imageList = ::ImageList_Create(16, 16, ILC_COLOR4, 24, 1);
  if (!m_imageList) return false;
  ::ImageList_SetBkColor(m_imageList, RGB(255, 255, 255));
  bool all = true;
  for (UINT id : kSharedIconIds) {
    // Loaded at 16x16 so no icon is scaled up and down again.
    HICON icon = static_cast<HICON>(::LoadImageW(resources, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
    if (!icon) {
      all = false;
      // Keep the indexes of the later icons: an empty slot takes its place.
      icon = ::CreateIcon(nullptr, 16, 16, 1, 1, std::array<BYTE, 32>{}.data(), std::array<BYTE, 32>{}.data());
    }
    ::ImageList_ReplaceIcon(m_imageList, -1, icon);
    if (icon) ::DestroyIcon(icon);
  }
  return all;
}

void CImageLists::BuildSystem() {
  if (m_systemImageList) return;
  SHFILEINFOW info{};
  const DWORD_PTR list = ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  if (list) {
    m_systemImageList = reinterpret_cast<HIMAGELIST>(list);
    systemListIsOurs_ = false;
    return;
  }
  m_systemImageList = ::ImageList_Create(16, 16, ILC_COLOR4, 1, 1);
  if (m_systemImageList) ::ImageList_SetBkColor(m_systemImageList, RGB(255, 255, 255));
  systemListIsOurs_ = true;
}

void CImageLists::Release() {
  if (m_systemImageList && systemListIsOurs_) ::ImageList_Destroy(m_systemImageList);
  m_systemImageList = nullptr;
  systemListIsOurs_ = false;
  if (m_imageList) ::ImageList_Destroy(m_imageList);
  m_imageList = nullptr;
}

}  // namespace qm
