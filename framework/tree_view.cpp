#include "framework/tree_view.h"

namespace qm::fw {

bool CTreeView::Create(HWND frame, DWORD extraStyle, UINT controlId) {
  return CreateEx(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | extraStyle, RECT{0, 0, 0, 0}, frame,
                  controlId);
}

}  // namespace qm::fw
