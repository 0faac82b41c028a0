#include "resources/ui/extract_progress_dlg.h"

#include <commctrl.h>

#include <chrono>

#include "common/text.h"
#include "platform/system.h"
#include "platform/win32/win32_system.h"
#include "res/string_ids.h"

namespace qm {
namespace {

constexpr UINT_PTR kWriteTimer = 1;
// Files are written for this long per tick, so the button answers at once
// while the timer's own overhead stays small against the writing.
constexpr auto kSlice = std::chrono::milliseconds(50);
constexpr int kBarRange = 1000;

}  // namespace

fw::MessageTable<CExtractProgressDlg> CExtractProgressDlg::Messages() {
  static constexpr fw::MessageEntry<CExtractProgressDlg> kTable[] = {
      fw::OnMessage(WM_TIMER, &CExtractProgressDlg::OnTimer),
  };
  return kTable;
}

BOOL CExtractProgressDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  ::SendDlgItemMessageW(m_hWnd, IDC_EXTRACT_PROGRESS, PBM_SETRANGE32, 0, kBarRange);
  ShowProgress();
  ::SetTimer(m_hWnd, kWriteTimer, 1, nullptr);
  return TRUE;
}

void CExtractProgressDlg::ShowProgress() {
  const size_t count = writer_.Count();
  const size_t written = writer_.Written();
  const auto position = static_cast<WPARAM>(count ? written * kBarRange / count : 0);
  ::SendDlgItemMessageW(m_hWnd, IDC_EXTRACT_PROGRESS, PBM_SETPOS, position, 0);
  const std::string next = writer_.Done() ? std::string() : BaseName(writer_.PathOf(written), "/");
  const std::string status =
      FormatTable(strings_.LoadString(IDS_EXTRACT_PROGRESS),
                  {std::to_string(written + (writer_.Done() ? 0 : 1)), std::to_string(count), next});
  ::SetDlgItemTextW(m_hWnd, IDC_EXTRACT_STATUS, Widen(status).c_str());
}

LRESULT CExtractProgressDlg::OnTimer(WPARAM id, LPARAM) {
  if (id != kWriteTimer) return 0;
  const auto end = std::chrono::steady_clock::now() + kSlice;
  while (!writer_.Done() && std::chrono::steady_clock::now() < end) {
    if (!writer_.WriteNext()) {
      ::KillTimer(m_hWnd, kWriteTimer);
      EndDialog(kFailed);
      return 0;
    }
  }
  ShowProgress();
  if (writer_.Done()) {
    ::KillTimer(m_hWnd, kWriteTimer);
    EndDialog(kWritten);
  }
  return 0;
}

}  // namespace qm
