#include "resources/ui/icon_res_page.h"

#include <limits>

#include "framework/controls.h"
#include "framework/file_dialog.h"
#include "platform/win32/win32_system.h"
#include "res/string_ids.h"
#include "resources/image_page_model.h"

namespace qm {
namespace {

constexpr COLORREF kImageListBackground = RGB(255, 255, 255);
// The size of the row pictures, the image list's own.
constexpr int kRowPictureSize = 16;
// Group nodes stand for no image row.
constexpr LPARAM kNoRow = -1;

}  // namespace

fw::MessageTable<CIconResPage> CIconResPage::Messages() {
  static constexpr fw::MessageEntry<CIconResPage> kTable[] = {
      fw::OnNotify<&CIconResPage::OnSelChanged>(TVN_SELCHANGEDW, IDC_ITEM_TREE),
      fw::OnNotify<&CIconResPage::OnGetDispInfo>(TVN_GETDISPINFOW, IDC_ITEM_TREE),
      fw::OnCommand(IDC_SAVE_ICON_FILE, &CIconResPage::OnSaveIconFile),
  };
  return kTable;
}

CIconResPage::~CIconResPage() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

bool CIconResPage::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // WM_DESTROY goes on to the base as well.
  if (message == WM_DESTROY) OnDestroy();
  return WithMessageTable::OnWndMsg(message, wParam, lParam, result);
}

BOOL CIconResPage::OnInitDialog() {
  CToolBarDialog::OnInitDialog();
  tree_.m_hWnd = ::GetDlgItem(m_hWnd, IDC_ITEM_TREE);
  saveButton_ = ::GetDlgItem(m_hWnd, IDC_SAVE_ICON_FILE);
  images_.reset(::ImageList_Create(kRowPictureSize, kRowPictureSize, ILC_COLOR4, 2, 2));
  if (images_) {
    ::ImageList_SetBkColor(images_.get(), kImageListBackground);
    // The node pictures: the program's cursor icon for cursor groups, its
    // grid page for icon groups. A missing one keeps its slot empty so the
    // images of the groups still start at the same index.
    for (UINT id : {IDI_CURSOR, IDI_GRID_PAGE}) {
      IconHandle icon(static_cast<HICON>(
          ::LoadImageW(fw::ResourceInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, kRowPictureSize, kRowPictureSize, 0)));
      const int count = ::ImageList_GetImageCount(images_.get());
      if (!icon || ::ImageList_ReplaceIcon(images_.get(), -1, icon.get()) < 0)
        ::ImageList_SetImageCount(images_.get(), static_cast<UINT>(count + 1));
    }
  }
  tree_.SetImageList(images_.get(), TVSIL_NORMAL);

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
  // Every group's directory is read now; a module of hundreds takes a moment.
  HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  Clear();
  module_ = &module;
  fw::CTreeCtrl& tree = tree_;
  tree.SetRedraw(false);
  for (const IconGroupNode& node : IconGroupNodes(module, kind, only)) AddGroup(kind, node);
  tree.SetRedraw(true);
  // Selecting the first group hides the picture until an image is chosen.
  if (HTREEITEM first = tree.GetRootItem()) tree.SelectItem(first);
  ::InvalidateRect(tree.m_hWnd, nullptr, TRUE);
  if (listPage_.m_hWnd) listPage_.ShowTypeStats(module, GroupResourceType(kind));
  ::SetCursor(previous);
}

void CIconResPage::Clear() {
  ShowPicture(nullptr);
  shownIcon_.reset();
  // The rows go before the tree items: a selection change or a drawing
  // while the tree empties then finds no row to show.
  rows_.clear();
  groups_.clear();
  slots_.Clear();
  tree_.DeleteAllItems();
  if (images_)
    for (int last = ::ImageList_GetImageCount(images_.get()) - 1; last >= kFirstGroupImage; --last)
      ::ImageList_Remove(images_.get(), last);
}

void CIconResPage::AddGroup(IconGroupKind kind, const IconGroupNode& node) {
  fw::CTreeCtrl& tree = tree_;
  HTREEITEM group = tree.InsertItem(node.text, node.image, kNoRow);
  if (!group) return;
  groups_.push_back(GroupNode{SelectedGroup{kind, node.name}, group});
  for (size_t i = 0; i < node.images.size() && i < node.lines.size(); ++i) {
    // The picture is asked for when the row is drawn.
    rows_.push_back(ImageRow{kind, node.images[i], !node.images[i].found});
    tree.InsertItem(node.lines[i], I_IMAGECALLBACK, static_cast<LPARAM>(rows_.size() - 1), group);
  }
  tree.Expand(group, TVE_EXPAND);
}

CIconResPage::IconHandle CIconResPage::MakeIcon(const ImageRow& row, int size) const {
  if (!module_ || !row.info.found) return nullptr;
  auto bytes = module_->LoadResourceData(GroupImageResourceType(row.kind), ResourceName::Number(row.info.imageId));
  if (!bytes || bytes->size() == 0 || bytes->size() > std::numeric_limits<DWORD>::max()) return nullptr;
  // Size 0 without LR_DEFAULTSIZE: the image's own size. The system only
  // reads the bytes; its prototype is not const.
  return IconHandle(::CreateIconFromResourceEx(const_cast<PBYTE>(bytes->data()), static_cast<DWORD>(bytes->size()),
                                               row.kind == IconGroupKind::Icon, 0x00030000, size, size, 0));
}

int CIconResPage::RowImage(size_t index) {
  if (auto slot = slots_.Find(index)) return kFirstGroupImage + static_cast<int>(*slot);
  ImageRow& row = rows_[index];
  if (row.failed || !images_) return I_IMAGENONE;
  IconHandle icon = MakeIcon(row, kRowPictureSize);
  if (!icon) {
    row.failed = true;
    return I_IMAGENONE;
  }
  const auto placed = slots_.Place(index);
  if (!placed) return I_IMAGENONE;
  // The list copies the picture; the icon goes at once.
  const int at = kFirstGroupImage + static_cast<int>(placed->slot);
  if (::ImageList_GetImageCount(images_.get()) <= at)
    ::ImageList_SetImageCount(images_.get(), static_cast<UINT>(at + 1));
  return ::ImageList_ReplaceIcon(images_.get(), at, icon.get()) == at ? at : I_IMAGENONE;
}

LRESULT CIconResPage::OnGetDispInfo(NMTVDISPINFOW& info) {
  if (!(info.item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE))) return 0;
  const LPARAM index = info.item.lParam;
  const int image =
      index >= 0 && static_cast<size_t>(index) < rows_.size() ? RowImage(static_cast<size_t>(index)) : I_IMAGENONE;
  info.item.iImage = image;
  info.item.iSelectedImage = image;
  return 0;
}

void CIconResPage::ShowPicture(HICON icon) {
  HWND picture = ::GetDlgItem(m_hWnd, IDC_RESOURCE_PICTURE);
  if (!picture) return;
  // The static sizes itself to the icon, so the image shows at its own size.
  ::SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  ::ShowWindow(picture, icon ? SW_SHOW : SW_HIDE);
}

LRESULT CIconResPage::OnSelChanged(NMTREEVIEWW& change) {
  // The static lets go of the last icon before it is destroyed.
  ShowPicture(nullptr);
  shownIcon_.reset();
  const LPARAM index = change.itemNew.hItem ? change.itemNew.lParam : kNoRow;
  if (index >= 0 && static_cast<size_t>(index) < rows_.size()) {
    ImageRow& row = rows_[static_cast<size_t>(index)];
    if (!row.failed) shownIcon_ = MakeIcon(row, 0);
    if (!shownIcon_) row.failed = true;
  }
  ShowPicture(shownIcon_.get());
  UpdateSaveButton();
  return 0;
}

std::optional<CIconResPage::SelectedGroup> CIconResPage::Selected() const {
  HTREEITEM item = tree_.GetSelectedItem();
  if (!item) return std::nullopt;
  // An image row's group is its parent node.
  if (HTREEITEM parent = tree_.GetParentItem(item)) item = parent;
  for (const GroupNode& node : groups_)
    if (node.item == item) return node.group;
  return std::nullopt;
}

void CIconResPage::UpdateSaveButton() {
  if (!saveButton_) return;
  const auto group = Selected();
  const bool cursor = group && group->kind == IconGroupKind::Cursor;
  ::SetWindowTextW(saveButton_,
                   Widen(platform_.strings->LoadString(cursor ? IDS_SAVE_AS_CUR : IDS_SAVE_AS_ICO)).c_str());
  ::EnableWindow(saveButton_, group.has_value());
}

LRESULT CIconResPage::OnSaveIconFile(WPARAM, LPARAM) {
  const auto group = Selected();
  if (!module_ || !group) return 0;
  SaveIconGroupAsFile(
      *module_, group->kind, group->name,
      ImagePageServices{*platform_.strings, *platform_.messageBox,
                        [this](const std::string& filter, const std::string& name, const std::string& ext) {
                          return fw::AskExportFileName(m_hWnd, filter, name, ext);
                        }});
  return 0;
}

void CIconResPage::OnDestroy() {
  // Nothing on screen may keep an icon or the image list past this page.
  ShowPicture(nullptr);
  tree_.SetImageList(nullptr, TVSIL_NORMAL);
}

}  // namespace qm
