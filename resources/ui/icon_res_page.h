#pragma once
// The resource browser's icon and cursor groups: one group, or every group
// of one kind, as tree nodes whose children are the group's images (a small
// picture and "32 x 32 - 16 colors (744 bytes)"); the selected image is
// shown at its own size. An embedded list page above the tree lists the
// statistics of the group type. The nodes come from
// resources/icon_group_page.h; this page only makes the icons.

#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "common/ui/toolbar_dialog.h"
#include "platform/platform.h"
#include "res/resource_ids.h"
#include "resources/icon_group_page.h"
#include "resources/resource_module.h"
#include "resources/ui/list_res_page.h"

namespace qm {

class CIconResPage : public CToolBarDialog {
 public:
  static constexpr UINT kTemplateId = IDD_ICON_RES_PAGE;

  explicit CIconResPage(const Platform& platform = SystemPlatform()) : listPage_(platform) {}
  // The window goes first, so no control still shows an icon or an image
  // list when they are destroyed.
  ~CIconResPage() override;

  void ShowIconGroup(const CResourceModule& module, const ResourceName& name);
  void ShowCursorGroup(const CResourceModule& module, const ResourceName& name);
  void ShowAllIconGroups(const CResourceModule& module);
  void ShowAllCursorGroups(const CResourceModule& module);

  // The statistics above the tree.
  CListResPage& ListPage() { return listPage_; }
  // The page's small image list: the two node pictures, then one per image.
  HIMAGELIST Images() const { return images_.get(); }
  // The icons made for the images shown, in the order they were made.
  size_t IconCount() const { return icons_.size(); }
  HICON IconAt(size_t index) const { return index < icons_.size() ? icons_[index].get() : nullptr; }

  bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 protected:
  BOOL OnInitDialog() override;

 private:
  struct IconDestroyer {
    void operator()(HICON icon) const { ::DestroyIcon(icon); }
  };
  struct ImageListDestroyer {
    void operator()(HIMAGELIST list) const { ::ImageList_Destroy(list); }
  };
  using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;
  using ImageListHandle = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDestroyer>;

  void Show(const CResourceModule& module, IconGroupKind kind, const std::optional<ResourceName>& only);
  // Lets go of the picture, destroys every icon, empties the tree and takes
  // the images of the groups off the image list.
  void Clear();
  void AddGroup(const CResourceModule& module, IconGroupKind kind, const IconGroupNode& node);
  // The icon of an image's bytes at the size it was drawn, or null.
  static IconHandle MakeIcon(const CResourceModule& module, IconGroupKind kind, const IconImageInfo& info);
  void ShowPicture(HICON icon);
  LRESULT OnSelChanged(NMTREEVIEWW& change);
  void OnDestroy();

  static const fw::MessageEntry<CIconResPage> kMessages[];
  CListResPage listPage_;
  ImageListHandle images_;
  std::vector<IconHandle> icons_;
};

}  // namespace qm
