#pragma once
// The resource browser of one module file: the tree of its resources by
// type on the left, and on the right the page that the selected item
// chooses (resources/resource_browser.h decides which, with what). The
// dialog owns the module that every page reads through, and the pages.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/dialog.h"
#include "platform/platform.h"
#include "res/resource_ids.h"
#include "resources/resource_browser.h"
#include "resources/resource_module.h"
#include "resources/ui/bitmap_res_page.h"
#include "resources/ui/hex_res_page.h"
#include "resources/ui/icon_res_page.h"
#include "resources/ui/list_res_page.h"
#include "resources/ui/menu_res_page.h"
#include "resources/ui/string_res_page.h"

// After <windows.h>, which it needs.
#include <commctrl.h>

namespace qm {

class CModuleResourcesDlg : public fw::WithMessageTable<CModuleResourcesDlg, fw::CDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CModuleResourcesDlg> Messages();
  // images: the program's shared small icons, not owned.
  CModuleResourcesDlg(Platform& platform, HIMAGELIST images, std::string path);
  INT_PTR DoModal(HWND parent = nullptr) { return CDialog::DoModal(IDD_MODULE_RESOURCES, parent); }

  const CResourceModule& Module() const { return module_; }
  // The page window of a slot; null when that page is not built.
  HWND PageWindow(ResourcePage page) const;

  // Asks where "Extraer todos los recursos..." writes (owner, title): the
  // system's folder chooser unless a caller picks the folder itself.
  using FolderChooser = std::function<std::optional<std::string>(HWND, const std::string&)>;
  void SetFolderChooser(FolderChooser chooser) { chooseFolder_ = std::move(chooser); }

 protected:
  BOOL OnInitDialog() override;
  // Enter reaches the dialog as IDOK wherever the focus is; the browser has
  // no OK button, so it only opens or closes the tree's selected item.
  void OnOK() override;

 private:
  void CreatePages();
  void FillTree();
  HTREEITEM InsertItem(const std::string& text, int image, int selectedImage, HTREEITEM parent,
                       ResourceSelection selection);
  BuiltPages Built() const;
  void ShowChoice(const PageChoice& choice);
  LRESULT OnSelectionChanged(NMTREEVIEWW& change);
  LRESULT OnDamageWarning(WPARAM, LPARAM);
  LRESULT OnExtractAll(WPARAM, LPARAM);

  Platform& platform_;
  HIMAGELIST images_;
  fw::CTreeCtrl tree_;
  std::string path_;
  CResourceModule module_;
  std::string damageWarning_;
  FolderChooser chooseFolder_;
  // What each tree item stands for; an item's data is its index here.
  std::vector<ResourceSelection> items_;

  // The pages built so far; each slot of pages_ points at one of them (null:
  // not built, its selections fall back to the hex page or to none).
  CHexResPage hexPage_;
  CStringResPage stringPage_;
  CIconResPage iconPage_;
  CBitmapResPage bitmapPage_;
  CListResPage listPage_;
  CMenuResPage menuPage_;
  std::array<CToolBarDialog*, kResourcePageCount> pages_{};
};

}  // namespace qm
