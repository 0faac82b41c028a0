#include "resources/ui/module_resources_dlg.h"

#include "common/shared_icons.h"
#include "common/text.h"
#include "framework/controls.h"
#include "framework/file_dialog.h"
#include "platform/win32/win32_system.h"
#include "res/string_ids.h"
#include "resources/extract_folder.h"
#include "resources/extract_messages.h"
#include "resources/module_extract.h"
#include "resources/ui/extract_progress_dlg.h"

namespace qm {

namespace {
// The damage warning waits until the dialog is on screen.
constexpr UINT kShowDamageWarning = WM_APP + 1;

// The template of each page slot, in the order the pages are created.
constexpr std::array<UINT, kResourcePageCount> kPageTemplates = {IDD_HEX_RES_PAGE,    IDD_STRING_RES_PAGE,
                                                                 IDD_BITMAP_RES_PAGE, IDD_ICON_RES_PAGE,
                                                                 IDD_LIST_RES_PAGE,   IDD_MENU_RES_PAGE};
}  // namespace

fw::MessageTable<CModuleResourcesDlg> CModuleResourcesDlg::Messages() {
  static constexpr fw::MessageEntry<CModuleResourcesDlg> kTable[] = {
      fw::OnNotify<&CModuleResourcesDlg::OnSelectionChanged>(TVN_SELCHANGEDW, IDC_ITEM_TREE),
      fw::OnMessage(kShowDamageWarning, &CModuleResourcesDlg::OnDamageWarning),
      fw::OnCommand(IDC_EXTRACT_ALL, &CModuleResourcesDlg::OnExtractAll),
  };
  return kTable;
}

CModuleResourcesDlg::CModuleResourcesDlg(Platform& platform, HIMAGELIST images, std::string path)
    : platform_(platform),
      images_(images),
      path_(std::move(path)),
      module_(*platform.files),
      hexPage_(*platform.strings),
      stringPage_(platform, images),
      iconPage_(platform),
      bitmapPage_(platform),
      listPage_(platform),
      menuPage_(platform) {
  pages_[static_cast<size_t>(ResourcePage::Hex)] = &hexPage_;
  pages_[static_cast<size_t>(ResourcePage::String)] = &stringPage_;
  pages_[static_cast<size_t>(ResourcePage::IconGroup)] = &iconPage_;
  pages_[static_cast<size_t>(ResourcePage::List)] = &listPage_;
  pages_[static_cast<size_t>(ResourcePage::Bitmap)] = &bitmapPage_;
  pages_[static_cast<size_t>(ResourcePage::Menu)] = &menuPage_;
}

HWND CModuleResourcesDlg::PageWindow(ResourcePage page) const {
  const CToolBarDialog* slot = pages_[static_cast<size_t>(page)];
  return slot ? slot->m_hWnd : nullptr;
}

BOOL CModuleResourcesDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  tree_ = fw::CTreeCtrl(::GetDlgItem(m_hWnd, IDC_ITEM_TREE));
  HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  const ResourceBrowserOpening opening = OpenForBrowsing(module_, path_, platform_);
  if (!opening.opened) {
    ::SetCursor(previous);
    platform_.messageBox->MessageBox(opening.failure, MB_ICONERROR_);
    EndDialog(IDCANCEL);
    return TRUE;
  }
  tree_.SetImageList(images_, TVSIL_NORMAL);
  CreatePages();
  FillTree();
  ::SetCursor(previous);
  damageWarning_ = opening.damageWarning;
  if (!damageWarning_.empty()) PostMessage(kShowDamageWarning);
  return TRUE;
}

void CModuleResourcesDlg::OnOK() {
  if (::GetFocus() != tree_.m_hWnd) return;
  if (HTREEITEM selected = tree_.GetSelectedItem()) tree_.Expand(selected, TVE_TOGGLE);
}

void CModuleResourcesDlg::CreatePages() {
  HWND placeholder = ::GetDlgItem(m_hWnd, IDC_PAGE_PLACEHOLDER);
  RECT area{};
  ::GetWindowRect(placeholder, &area);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&area), 2);
  for (size_t slot = 0; slot < kResourcePageCount; ++slot) {
    CToolBarDialog* page = pages_[slot];
    if (!page) continue;
    if (!page->CreatePage(kPageTemplates[slot], m_hWnd, area, placeholder)) {
      pages_[slot] = nullptr;  // its selections fall back as for a page not built
      continue;
    }
    ::ShowWindow(page->m_hWnd, SW_HIDE);
  }
  // The list fills its whole page.
  if (pages_[static_cast<size_t>(ResourcePage::List)]) listPage_.SetPageRect(area);
}

HTREEITEM CModuleResourcesDlg::InsertItem(const std::string& text, int image, int selectedImage, HTREEITEM parent,
                                          ResourceSelection selection) {
  items_.push_back(std::move(selection));
  const std::wstring wide = Widen(text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  insert.item.pszText = const_cast<wchar_t*>(wide.c_str());
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage;
  insert.item.lParam = static_cast<LPARAM>(items_.size() - 1);
  return reinterpret_cast<HTREEITEM>(
      ::SendMessageW(tree_.m_hWnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void CModuleResourcesDlg::FillTree() {
  tree_.SetRedraw(false);
  tree_.DeleteAllItems();
  items_.clear();
  const ResourceBrowserTree model = BuildResourceBrowserTree(module_, *platform_.files, *platform_.strings);
  HTREEITEM root = InsertItem(model.root.text, model.root.image, model.root.image, TVI_ROOT, model.rootSelection);
  for (size_t i = 0; i < model.root.children.size(); ++i) {
    const TreeNode& typeNode = model.root.children[i];
    HTREEITEM node = InsertItem(typeNode.text, typeNode.image, kIconOpenFolder, root, model.typeNodes[i]);
    for (size_t j = 0; j < typeNode.children.size() && j < model.resources[i].size(); ++j) {
      const TreeNode& resource = typeNode.children[j];
      InsertItem(resource.text, resource.image, resource.image, node, model.resources[i][j]);
    }
  }
  tree_.Expand(root, TVE_EXPAND);
  tree_.SetRedraw(true);
}

BuiltPages CModuleResourcesDlg::Built() const {
  BuiltPages built{};
  for (size_t slot = 0; slot < kResourcePageCount; ++slot) built[slot] = pages_[slot] != nullptr;
  return built;
}

LRESULT CModuleResourcesDlg::OnSelectionChanged(NMTREEVIEWW& change) {
  ResourceSelection selection;  // no item: nothing selected
  const auto index = static_cast<size_t>(change.itemNew.lParam);
  if (change.itemNew.hItem && index < items_.size()) selection = items_[index];
  ShowChoice(ChooseResourcePage(selection, Built()));
  return 0;
}

void CModuleResourcesDlg::ShowChoice(const PageChoice& choice) {
  // The chosen page shows before it fills; every other one hides.
  for (size_t slot = 0; slot < kResourcePageCount; ++slot) {
    if (!pages_[slot]) continue;
    const bool chosen = choice.page && static_cast<size_t>(*choice.page) == slot;
    ::ShowWindow(pages_[slot]->m_hWnd, chosen ? SW_SHOW : SW_HIDE);
  }
  switch (choice.content) {
    case PageContent::HexDump:
      hexPage_.ShowHexDump(module_, choice.type, choice.name);
      break;
    case PageContent::AllStrings:
      stringPage_.ShowAllStrings(module_);
      break;
    case PageContent::StringBlock:
      stringPage_.ShowStringBlock(module_, choice.name);
      break;
    case PageContent::ModuleStatistics:
      listPage_.ShowModuleStats(module_);
      break;
    case PageContent::TypeStatistics:
      listPage_.ShowTypeStats(module_, choice.type);
      break;
    case PageContent::Version:
      listPage_.ShowVersion(module_);
      break;
    case PageContent::AllIconGroups:
      iconPage_.ShowAllIconGroups(module_);
      break;
    case PageContent::AllCursorGroups:
      iconPage_.ShowAllCursorGroups(module_);
      break;
    case PageContent::IconGroup:
      iconPage_.ShowIconGroup(module_, choice.name);
      break;
    case PageContent::CursorGroup:
      iconPage_.ShowCursorGroup(module_, choice.name);
      break;
    case PageContent::Menu:
      menuPage_.ShowMenu(module_, choice.name);
      break;
    case PageContent::Bitmap:
      bitmapPage_.ShowBitmap(module_, choice.name);
      break;
    case PageContent::IconImage:
      bitmapPage_.ShowIcon(module_, choice.name);
      break;
    case PageContent::CursorImage:
      bitmapPage_.ShowCursor(module_, choice.name);
      break;
    case PageContent::DialogPicture:
      bitmapPage_.ShowDialog(module_, choice.name);
      break;
    default:
      break;
  }
}

LRESULT CModuleResourcesDlg::OnDamageWarning(WPARAM, LPARAM) {
  // A modal dialog shows once its queue is empty, which under Wine is after
  // this message: the warning must not come up over nothing.
  if (!::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_SHOW);
  if (!damageWarning_.empty()) platform_.messageBox->MessageBox(damageWarning_, MB_ICONEXCLAMATION_);
  damageWarning_.clear();
  return 0;
}

LRESULT CModuleResourcesDlg::OnExtractAll(WPARAM, LPARAM) {
  if (!module_.image()) return 0;
  const IStrings& strings = *platform_.strings;
  IMessageBox& messages = *platform_.messageBox;
  const std::string fileName = BaseName(path_, "\\/");
  // A module of thousands of resources takes a moment to put into script
  // form; nothing is asked before it is known there is something to write.
  HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  const ModuleExtract extract = ExtractModuleResources(*module_.image(), module_.directory(), fileName);
  ::SetCursor(previous);
  if (!ExtractHasResources(extract)) {
    messages.MessageBox(strings.LoadString(IDS_EXTRACT_NO_RESOURCES), MB_ICONINFORMATION_);
    return 0;
  }
  const std::string title = FormatTable(strings.LoadString(IDS_EXTRACT_FOLDER_TITLE), {fileName});
  const auto folder = chooseFolder_ ? chooseFolder_(m_hWnd, title) : fw::AskFolder(m_hWnd, title);
  if (!folder) return 0;
  ExtractFolderWriter writer(PlanExtractFolder(*folder, path_), extract);
  const std::vector<std::string> existing = writer.ExistingPaths();
  if (!existing.empty() && messages.MessageBox(ExtractOverwriteQuestion(strings, writer.Layout().folder, existing),
                                               MB_YESNO_ | MB_ICONQUESTION_) != IDYES_)
    return 0;
  if (!writer.MakeFolders()) {
    messages.MessageBox(FormatTable(strings.LoadString(IDS_EXTRACT_FOLDER_FAILED), {writer.Layout().folder}),
                        MB_ICONEXCLAMATION_);
    return 0;
  }
  CExtractProgressDlg progress(strings, writer);
  const INT_PTR outcome = progress.DoModal(m_hWnd);
  const ExtractEnd end = outcome == CExtractProgressDlg::kWritten  ? ExtractEnd::Written
                         : outcome == CExtractProgressDlg::kFailed ? ExtractEnd::Failed
                                                                   : ExtractEnd::Cancelled;
  messages.MessageBox(ExtractEndText(strings, writer, extract, end),
                      end == ExtractEnd::Written ? MB_ICONINFORMATION_ : MB_ICONEXCLAMATION_);
  return 0;
}

}  // namespace qm
