#pragma once
// The two image lists every tree and list of the program draws from: the
// program's 30 small icons, addressed by index everywhere (so the order
// below is binding), and the shell's small-icon list for file icons. The
// application object builds them once and keeps them for the whole run;
// windows only borrow them.

#include <array>

#include "common/shared_icons.h"
#include "platform/win32/win.h"

// After <windows.h>, which it needs.
#include <commctrl.h>

namespace qm {

// Icon resources in image-list order: index i shows kSharedIconIds[i]
// (the indices by name: common/shared_icons.h).
extern const std::array<UINT, kSharedIconCount> kSharedIconIds;

class CImageLists {
 public:
  CImageLists() = default;
  CImageLists(const CImageLists&) = delete;
  CImageLists& operator=(const CImageLists&) = delete;
  // Destroys the program's list; the shell's is only let go of.
  ~CImageLists();

  // The 30 icons from the resources of `resources`, if not built yet.
  bool BuildShared(HINSTANCE resources);
  // The shell's small-icon list, or an empty 16x16 list when it has none.
  void BuildSystem();
  // Lets go of both as the exit of the program does.
  void Release();

  HIMAGELIST m_imageList = nullptr;
  HIMAGELIST m_systemImageList = nullptr;

 private:
  bool systemListIsOurs_ = false;  // the empty stand-in is ours to destroy
};

}  // namespace qm
