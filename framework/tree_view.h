#pragma once
// A view that is a tree control ("SysTreeView32"): the frame's client area
// shows it and it receives its own notifications through reflection.

#include "framework/controls.h"
#include "framework/document.h"

namespace qm::fw {

class CTreeView : public CView {
 public:
  // A child of the frame with the view's default styles (child, visible,
  // border) plus extraStyle.
  bool Create(HWND frame, DWORD extraStyle, UINT controlId);
  CTreeCtrl GetTreeCtrl() const { return CTreeCtrl(m_hWnd); }
};

}  // namespace qm::fw
