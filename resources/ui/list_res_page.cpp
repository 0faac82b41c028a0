#include "resources/ui/list_res_page.h"

namespace qm {
namespace {
constexpr int kMinimumColumnWidth = 25;
}  // namespace

fw::MessageTable<CListResPage> CListResPage::Messages() {
  static constexpr fw::MessageEntry<CListResPage> kTable[] = {
      fw::OnNotify<&CListResPage::OnCustomDraw>(NM_CUSTOMDRAW, IDC_ITEM_LIST),
  };
  return kTable;
}

BOOL CListResPage::OnInitDialog() {
  CToolBarDialog::OnInitDialog();
  helper_.Attach(::GetDlgItem(m_hWnd, IDC_ITEM_LIST));
  // Label and value; the list has no header, so the columns need no titles.
  helper_.m_list.InsertColumn(0, std::string(), LVCFMT_LEFT, kMinimumColumnWidth);
  helper_.m_list.InsertColumn(1, std::string(), LVCFMT_LEFT, kMinimumColumnWidth);
  helper_.m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  return TRUE;
}

void CListResPage::ShowModuleStats(const CResourceModule& module) {
  ShowRows(ModuleStatisticsRows(module, *platform_.strings));
}

void CListResPage::ShowTypeStats(const CResourceModule& module, const ResourceName& type) {
  ShowRows(TypeStatisticsRows(module, type, *platform_.strings));
}

void CListResPage::ShowVersion(const CResourceModule& module) { ShowRows(VersionPageRows(module, platform_)); }

void CListResPage::ShowRows(const std::vector<StatisticsRow>& rows) {
  fw::CListCtrl& list = helper_.m_list;
  // One relayout for the whole list instead of one per row.
  list.SetRedraw(false);
  list.DeleteAllItems();
  for (const StatisticsRow& row : rows) {
    const int index = list.InsertItem(list.GetItemCount(), row.label);
    if (index < 0) continue;
    list.SetItemText(index, 1, row.value);
    list.SetItemData(index, static_cast<LPARAM>(row.tint));
  }
  helper_.AutoSizeColumns(/*fromMinimum=*/true);
  list.SetRedraw(true);
  ::InvalidateRect(list.m_hWnd, nullptr, TRUE);
}

void CListResPage::SetPageRect(const RECT& rect) {
  ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  ::MoveWindow(helper_.m_list.m_hWnd, 0, 0, client.right, client.bottom, FALSE);
}

LRESULT CListResPage::OnCustomDraw(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      // The row's own item data, asked of the list: the tint it was given.
      const auto row = static_cast<int>(draw.nmcd.dwItemSpec);
      const std::optional<uint32_t> background = RowTintBackground(helper_.m_list.GetItemData(row));
      if (!background) return CDRF_DODEFAULT;
      draw.clrTextBk = *background;
      return CDRF_NEWFONT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

}  // namespace qm
