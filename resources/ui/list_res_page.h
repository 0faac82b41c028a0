#pragma once
// The resource browser's list of labelled values: the module's statistics
// (the root selected), those of one resource type (a type node) and the
// version information of the module (a version resource). The icon group
// page embeds one more for the statistics of the group type. The rows come
// from resources/resource_stats.h; a row's item data is its tint, which the
// list's custom draw turns into a grey text background.

#include <vector>

#include "common/ui/list_ctrl_helper.h"
#include "common/ui/toolbar_dialog.h"
#include "platform/platform.h"
#include "res/resource_ids.h"
#include "resources/resource_module.h"
#include "resources/resource_stats.h"

namespace qm {

class CListResPage : public fw::WithMessageTable<CListResPage, CToolBarDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CListResPage> Messages();
  static constexpr UINT kTemplateId = IDD_LIST_RES_PAGE;

  explicit CListResPage(const Platform& platform = SystemPlatform()) : platform_(platform) {}

  // Each show operation replaces every row and fits both columns again.
  void ShowModuleStats(const CResourceModule& module);
  void ShowTypeStats(const CResourceModule& module, const ResourceName& type);
  // The version information of the module's file; which RT_VERSION
  // resource was selected does not matter.
  void ShowVersion(const CResourceModule& module);
  // Moves the page to rect (parent's client coordinates) and the list over
  // the whole page, without repainting.
  void SetPageRect(const RECT& rect);

  HWND List() const { return helper_.m_list.m_hWnd; }

 protected:
  BOOL OnInitDialog() override;

 private:
  void ShowRows(const std::vector<StatisticsRow>& rows);
  LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw);

  const Platform& platform_;
  CListCtrlHelper helper_;
};

}  // namespace qm
