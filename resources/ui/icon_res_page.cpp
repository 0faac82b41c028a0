#include "resources/ui/icon_res_page.h"

#include <limits>

#include "framework/controls.h"

namespace qm {
namespace {

constexpr COLORREF kImageListBackground = RGB(255, 255, 255);
// An image line whose icon did not load shows no picture. -1 would be the
// tree's "ask the parent" marker (I_IMAGECALLBACK), which nobody answers.
constexpr int kNoImage = I_IMAGENONE;
constexpr LPARAM kNoIcon = -1;

}  // namespace

const fw::MessageEntry<CIconResPage> CIconResPage::kMessages[] = {
    fw::OnNotify<&CIconResPage::OnSelChanged>(TVN_SELCHANGEDW, IDC_ITEM_TREE),
};

CIconResPage::~CIconResPage() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

bool CIconResPage::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // WM_DESTROY goes on to the base as well.
  if (message == WM_DESTROY) OnDestroy();
  return fw::DispatchTable(*this, kMessages, message, wParam, lParam, result) ||
         CToolBarDialog::OnWndMsg(message, wParam, lParam, result);
}

BOOL CIconResPage::OnInitDialog() {
  CToolBarDialog::OnInitDialog();
  images_.reset(::ImageList_Create(16, 16, ILC_COLOR4, 2, 2));
  if (images_) {
    ::ImageList_SetBkColor(images_.get(), kImageListBackground);
    // The node pictures: the program's cursor icon for cursor groups, its
    // grid page for icon groups. A missing one keeps its slot empty so the
    // images of the groups still start at the same index.
    for (UINT id : {IDI_CURSOR, IDI_GRID_PAGE}) {
      IconHandle icon(
          static_cast<HICON>(::LoadImageW(fw::ResourceInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0)));
      const int count = ::ImageList_GetImageCount(images_.get());
      if (!icon || ::ImageList_ReplaceIcon(images_.get(), -1, icon.get()) < 0)
        ::ImageList_SetImageCount(images_.get(), static_cast<UINT>(count + 1));
    }
  }
  fw::CTreeCtrl(::GetDlgItem(m_hWnd, IDC_ITEM_TREE)).SetImageList(images_.get(), TVSIL_NORMAL);

  HWND placeholder = ::GetDlgItem(m_hWnd, IDC_PAGE_PLACEHOLDER);
  RECT area{};
  ::GetWindowRect(placeholder, &area);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&area), 2);
  if (listPage_.CreatePage(CListResPage::kTemplateId, m_hWnd, area, placeholder)) {
    listPage_.SetPageRect(area);
    ::ShowWindow(listPage_.m_hWnd, SW_SHOW);
  }
  return TRUE;
}

void CIconResPage::ShowIconGroup(const CResourceModule& module, const ResourceName& name) {
  Show(module, IconGroupKind::Icon, name);
}

void CIconResPage::ShowCursorGroup(const CResourceModule& module, const ResourceName& name) {
  Show(module, IconGroupKind::Cursor, name);
}

void CIconResPage::ShowAllIconGroups(const CResourceModule& module) { Show(module, IconGroupKind::Icon, std::nullopt); }

void CIconResPage::ShowAllCursorGroups(const CResourceModule& module) {
  Show(module, IconGroupKind::Cursor, std::nullopt);
}

void CIconResPage::Show(const CResourceModule& module, IconGroupKind kind, const std::optional<ResourceName>& only) {
  Clear();
  fw::CTreeCtrl tree(::GetDlgItem(m_hWnd, IDC_ITEM_TREE));
  for (const IconGroupNode& node : IconGroupNodes(module, kind, only)) AddGroup(module, kind, node);
  // Selecting the first group hides the picture until an image is chosen.
  if (HTREEITEM first = tree.GetRootItem()) tree.SelectItem(first);
  if (listPage_.m_hWnd) listPage_.ShowTypeStats(module, GroupResourceType(kind));
}

void CIconResPage::Clear() {
  ShowPicture(nullptr);
  // The icons go before the tree items: a selection change while the tree
  // empties then finds no icon to show.
  icons_.clear();
  fw::CTreeCtrl(::GetDlgItem(m_hWnd, IDC_ITEM_TREE)).DeleteAllItems();
  if (images_)
    for (int last = ::ImageList_GetImageCount(images_.get()) - 1; last >= kFirstGroupImage; --last)
      ::ImageList_Remove(images_.get(), last);
}

void CIconResPage::AddGroup(const CResourceModule& module, IconGroupKind kind, const IconGroupNode& node) {
  fw::CTreeCtrl tree(::GetDlgItem(m_hWnd, IDC_ITEM_TREE));
  HTREEITEM group = tree.InsertItem(node.text, node.image, kNoIcon);
  if (!group) return;
  for (size_t i = 0; i < node.images.size(); ++i) {
    IconHandle icon = MakeIcon(module, kind, node.images[i]);
    int image = kNoImage;
    LPARAM data = kNoIcon;
    if (icon) {
      if (images_) {
        const int added = ::ImageList_ReplaceIcon(images_.get(), -1, icon.get());
        if (added >= 0) image = added;
      }
      icons_.push_back(std::move(icon));
      data = static_cast<LPARAM>(icons_.size() - 1);
    }
    tree.InsertItem(node.lines[i], image, data, group);
  }
  tree.Expand(group, TVE_EXPAND);
}

CIconResPage::IconHandle CIconResPage::MakeIcon(const CResourceModule& module, IconGroupKind kind,
                                                const IconImageInfo& info) {
  if (!info.found) return nullptr;
  auto bytes = module.LoadResourceData(GroupImageResourceType(kind), ResourceName::Number(info.imageId));
  if (!bytes || bytes->size() == 0 || bytes->size() > std::numeric_limits<DWORD>::max()) return nullptr;
  // Width and height 0 without LR_DEFAULTSIZE: the image's own size. The
  // system only reads the bytes; its prototype is not const.
  return IconHandle(::CreateIconFromResourceEx(const_cast<PBYTE>(bytes->data()), static_cast<DWORD>(bytes->size()),
                                               kind == IconGroupKind::Icon, 0x00030000, 0, 0, 0));
}

void CIconResPage::ShowPicture(HICON icon) {
  HWND picture = ::GetDlgItem(m_hWnd, IDC_RESOURCE_PICTURE);
  if (!picture) return;
  // The static sizes itself to the icon, so the image shows at its own size.
  ::SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  ::ShowWindow(picture, icon ? SW_SHOW : SW_HIDE);
}

LRESULT CIconResPage::OnSelChanged(NMTREEVIEWW& change) {
  HICON icon = nullptr;
  if (change.itemNew.hItem) {
    const LPARAM index = change.itemNew.lParam;
    if (index >= 0 && static_cast<size_t>(index) < icons_.size()) icon = icons_[static_cast<size_t>(index)].get();
  }
  ShowPicture(icon);
  return 0;
}

void CIconResPage::OnDestroy() {
  // Nothing on screen may keep an icon or the image list past this page.
  ShowPicture(nullptr);
  fw::CTreeCtrl(::GetDlgItem(m_hWnd, IDC_ITEM_TREE)).SetImageList(nullptr, TVSIL_NORMAL);
}

}  // namespace qm
