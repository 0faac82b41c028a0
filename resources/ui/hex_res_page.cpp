#include "resources/ui/hex_res_page.h"

#include <algorithm>
#include <vector>

#include "platform/win32/win32_system.h"
#include "resources/hex_dump.h"

namespace qm {

BOOL CHexResPage::OnInitDialog() {
  CToolBarDialog::OnInitDialog();
  dump_ = ::GetDlgItem(m_hWnd, IDC_HEX_DUMP);
  ::SendMessageW(dump_, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(ANSI_FIXED_FONT)), FALSE);
  // 1024 rows of 66 characters are more than an edit control takes by
  // default.
  ::SendMessageW(dump_, EM_SETLIMITTEXT, 0, 0);
  return TRUE;
}

void CHexResPage::ShowHexDump(const CResourceModule& module, const ResourceName& type, const ResourceName& name) {
  HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  ::SetWindowTextW(dump_, L"");
  ::UpdateWindow(dump_);
  const uint32_t size = module.ReadResource(type, name);
  // The total always belongs to the resource shown, also when it has no
  // bytes to dump.
  ::SetDlgItemTextW(m_hWnd, IDC_RESOURCE_TOTAL, Widen(FormatHexDumpTotal(strings_, size)).c_str());
  if (size > 0) {
    std::vector<uint8_t> bytes(std::min<size_t>(size, kHexDumpMaxBytes));
    const uint32_t read = module.ReadResource(type, name, bytes);
    if (read > 0) ::SetWindowTextW(dump_, Widen(FormatHexDump(bytes)).c_str());
  }
  ::SetCursor(previous);
}

}  // namespace qm
