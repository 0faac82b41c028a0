#pragma once
// The resource browser's icon and cursor groups: one group, or every group
// of one kind, as tree nodes whose children are the group's images (a small
// picture and "32 x 32 - 16 colors (744 bytes)"); the selected image is
// shown at its own size. An embedded list page above the tree lists the
// statistics of the group type. The nodes come from
// resources/icon_group_page.h. The small pictures are made only for the
// rows the tree draws, into a bounded number of image-list slots, so a
// module of thousands of images shows at once and holds few handles.

#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "common/ui/toolbar_dialog.h"
#include "framework/controls.h"
#include "platform/platform.h"
#include "res/resource_ids.h"
#include "resources/icon_group_page.h"
#include "resources/image_slot_cache.h"
#include "resources/resource_module.h"
#include "resources/ui/list_res_page.h"

namespace qm {

class CIconResPage : public fw::WithMessageTable<CIconResPage, CToolBarDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CIconResPage> Messages();
  static constexpr UINT kTemplateId = IDD_ICON_RES_PAGE;
  // Far more than a tree shows at once, however tall the screen.
  static constexpr size_t kPictureSlots = 128;

  explicit CIconResPage(const Platform& platform = SystemPlatform()) : platform_(platform), listPage_(platform) {}
  // The window goes first, so no control still shows an icon or an image
  // list when they are destroyed.
  ~CIconResPage() override;

  void ShowIconGroup(const CResourceModule& module, const ResourceName& name);
  void ShowCursorGroup(const CResourceModule& module, const ResourceName& name);
  void ShowAllIconGroups(const CResourceModule& module);
  void ShowAllCursorGroups(const CResourceModule& module);

  // The statistics above the tree.
  CListResPage& ListPage() { return listPage_; }
  // The page's small image list: the two node pictures, then the pictures
  // of the image rows drawn lately.
  HIMAGELIST Images() const { return images_.get(); }
  // The image rows shown, in tree order (an image row's item data indexes it).
  size_t ImageRowCount() const { return rows_.size(); }
  // The group of the selected node or image ("Guardar como .ico/.cur..."
  // acts on it); nullopt when nothing is selected.
  struct SelectedGroup {
    IconGroupKind kind = IconGroupKind::Icon;
    ResourceName name;
  };
  std::optional<SelectedGroup> Selected() const;
  // The icon of the selected image at its own size; null when none shows.
  HICON ShownIcon() const { return shownIcon_.get(); }

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

  // One image line: where its bytes are, and whether they failed to make
  // an icon (then it never shows a picture, and is not tried again).
  struct ImageRow {
    IconGroupKind kind = IconGroupKind::Icon;
    IconImageInfo info;
    bool failed = false;
  };

  void Show(const CResourceModule& module, IconGroupKind kind, const std::optional<ResourceName>& only);
  // Lets go of the picture and the row pictures, empties the tree and takes
  // the images of the groups off the image list.
  void Clear();
  void AddGroup(IconGroupKind kind, const IconGroupNode& node);
  // The icon of an image's bytes (at its own size, or at size × size), or null.
  IconHandle MakeIcon(const ImageRow& row, int size) const;
  // The image-list index of a row's picture, made now when it has none.
  int RowImage(size_t index);
  void ShowPicture(HICON icon);
  LRESULT OnGetDispInfo(NMTVDISPINFOW& info);
  LRESULT OnSelChanged(NMTREEVIEWW& change);
  // The save button names the selected group's kind and is off without one.
  void UpdateSaveButton();
  LRESULT OnSaveIconFile(WPARAM, LPARAM);
  void OnDestroy();

  const Platform& platform_;
  CListResPage listPage_;
  fw::CTreeCtrl tree_;
  HWND saveButton_ = nullptr;
  const CResourceModule* module_ = nullptr;  // the browser's, not owned
  ImageListHandle images_;
  std::vector<ImageRow> rows_;
  // The groups shown, with their tree nodes, in tree order.
  struct GroupNode {
    SelectedGroup group;
    HTREEITEM item = nullptr;
  };
  std::vector<GroupNode> groups_;
  ImageSlotCache slots_{kPictureSlots};
  IconHandle shownIcon_;
};

}  // namespace qm
