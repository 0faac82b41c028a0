#include "dir_check/ui/dir_check_window.h"

#include "common/text.h"
#include "dir_check/dir_check_ids.h"
#include "dir_check/dir_check_strings.h"
#include "dir_check/ui/win32_file_tree.h"
#include "dir_check/walk_report.h"
#include "framework/file_dialog.h"
#include "framework/resource_text.h"
#include "platform/win32/win32_system.h"

namespace qm::dircheck {
namespace {

constexpr UINT WM_WALK_PROGRESS = WM_APP + 1;
constexpr UINT WM_WALK_DONE = WM_APP + 2;

// The tool's own texts, from the module its window comes from (the win
// tests load the tool as data and drive the window in their process).
std::string Text(uint32_t id) { return fw::ResourceText(id); }

// The walk's time in the machine's time zone, as the date column shows it.
std::optional<LocalDate> LocalDateOf(int64_t unixSeconds) {
  const auto ticks = FileTimeOfWalkTime(unixSeconds);
  if (!ticks) return std::nullopt;
  FILETIME utc{static_cast<DWORD>(*ticks & 0xFFFFFFFF), static_cast<DWORD>(*ticks >> 32)};
  FILETIME local{};
  SYSTEMTIME time{};
  if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &time)) return std::nullopt;
  return LocalDate{time.wDay, time.wMonth, time.wYear, time.wHour, time.wMinute};
}

std::string ItemText(HWND dialog, int id) {
  HWND item = ::GetDlgItem(dialog, id);
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

}  // namespace

fw::MessageTable<CDirCheckWindow> CDirCheckWindow::Messages() {
  static constexpr fw::MessageEntry<CDirCheckWindow> kTable[] = {
      fw::OnCommand(IDC_DC_BROWSE, &CDirCheckWindow::OnBrowse),
      fw::OnCommand(IDC_DC_STOP, &CDirCheckWindow::OnStop),
      fw::OnMessage(WM_WALK_PROGRESS, &CDirCheckWindow::OnProgress),
      fw::OnMessage(WM_WALK_DONE, &CDirCheckWindow::OnDone),
      fw::OnMessage(WM_DESTROY, &CDirCheckWindow::OnDestroy),
      fw::OnNotify<&CDirCheckWindow::OnFileText>(LVN_GETDISPINFOW, IDC_DC_FILES),
  };
  return kTable;
}

CDirCheckWindow::CDirCheckWindow(IMessageBox* messageBox)
    : WithMessageTable(IDD_DIR_CHECK, IDI_DIR_CHECK),
      messageBox_(messageBox ? *messageBox : ownMessageBox_),
      runner_([] { return std::make_unique<Win32FileTree>(); },
              [this](WalkEvent event) {
                // One progress message in the queue at a time; the window reads the latest.
                ::PostMessageW(m_hWnd, event == WalkEvent::kDone ? WM_WALK_DONE : WM_WALK_PROGRESS, 0, 0);
              }) {}

CDirCheckWindow::~CDirCheckWindow() { runner_.Stop(); }

BOOL CDirCheckWindow::OnInitDialog() {
  BeginToolWindow();
  ownMessageBox_.SetOwner(m_hWnd);
  files_.m_hWnd = ::GetDlgItem(m_hWnd, IDC_DC_FILES);
  problems_.m_hWnd = ::GetDlgItem(m_hWnd, IDC_DC_PROBLEMS);
  for (fw::CListCtrl* list : {&files_, &problems_}) list->SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  files_.InsertColumn(0, Text(IDS_DC_COL_FILE), LVCFMT_LEFT, 400);
  files_.InsertColumn(1, Text(IDS_DC_COL_SIZE), LVCFMT_RIGHT, 110);
  files_.InsertColumn(2, Text(IDS_DC_COL_DATE), LVCFMT_LEFT, 120);
  problems_.InsertColumn(0, Text(IDS_DC_COL_PROBLEM), LVCFMT_LEFT, 130);
  problems_.InsertColumn(1, Text(IDS_DC_COL_PATH), LVCFMT_LEFT, 300);
  problems_.InsertColumn(2, Text(IDS_DC_COL_DETAIL), LVCFMT_LEFT, 200);
  SetWalking(false);
  return TRUE;
}

void CDirCheckWindow::OnOK() {
  const std::string folder = ItemText(m_hWnd, IDC_DC_FOLDER);
  if (folder.find_first_not_of(" \t") == std::string::npos) {
    messageBox_.MessageBox(Text(IDS_DC_NO_FOLDER), MB_ICONEXCLAMATION_);
    return;
  }
  StartWalk(folder);
}

// "Cerrar" and Escape close the window, cancelling a walk under way.
void CDirCheckWindow::StartWalk(const std::string& folder) {
  if (runner_.IsWalking()) return;
  ::SetDlgItemTextW(m_hWnd, IDC_DC_FOLDER, Widen(folder).c_str());
  result_ = WalkResult{};
  ::SendMessageW(files_.m_hWnd, LVM_SETITEMCOUNT, 0, 0);
  problems_.DeleteAllItems();
  ::SetDlgItemTextW(m_hWnd, IDC_DC_TOTALS, L"");
  SetWalking(true);
  runner_.Start(folder);
}

void CDirCheckWindow::SetWalking(bool walking) {
  ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), !walking);
  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_DC_BROWSE), !walking);
  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_DC_STOP), walking);
  HWND progress = ::GetDlgItem(m_hWnd, IDC_DC_PROGRESS);
  ::SendMessageW(progress, PBM_SETMARQUEE, walking ? TRUE : FALSE, 40);
  ::ShowWindow(progress, walking ? SW_SHOW : SW_HIDE);
}

LRESULT CDirCheckWindow::OnBrowse(WPARAM, LPARAM) {
  if (const auto folder = fw::AskFolder(m_hWnd, Text(IDS_DC_BROWSE_TITLE)))
    ::SetDlgItemTextW(m_hWnd, IDC_DC_FOLDER, Widen(*folder).c_str());
  return 0;
}

LRESULT CDirCheckWindow::OnStop(WPARAM, LPARAM) {
  runner_.Cancel();
  return 0;
}

LRESULT CDirCheckWindow::OnProgress(WPARAM, LPARAM) {
  const WalkProgress progress = runner_.TakeProgress();
  if (!runner_.IsWalking()) return 0;
  ::SetDlgItemTextW(m_hWnd, IDC_DC_STATUS, Widen(ProgressStatus(Text(IDS_DC_READING), progress)).c_str());
  return 0;
}

LRESULT CDirCheckWindow::OnDone(WPARAM, LPARAM) {
  result_ = runner_.Finish();
  SetWalking(false);
  ::SetDlgItemTextW(m_hWnd, IDC_DC_STATUS, Widen(Text(result_.cancelled ? IDS_DC_CANCELLED : IDS_DC_DONE)).c_str());
  ::SendMessageW(files_.m_hWnd, LVM_SETITEMCOUNT, result_.files.size(), 0);
  ShowProblems();
  ::SetDlgItemTextW(m_hWnd, IDC_DC_TOTALS, Widen(TotalsText(Text(IDS_DC_TOTALS), result_)).c_str());
  return 0;
}

void CDirCheckWindow::ShowProblems() {
  int row = 0;
  for (const Problem& problem : result_.problems) {
    problems_.InsertItem(row, Text(ProblemNameId(problem.kind)));
    problems_.SetItemText(row, 1, problem.path);
    problems_.SetItemText(row, 2, problem.detail);
    ++row;
  }
}

LRESULT CDirCheckWindow::OnFileText(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || static_cast<size_t>(item.iItem) >= result_.files.size()) return 0;
  const FileRow& row = result_.files[static_cast<size_t>(item.iItem)];
  cellText_ = Widen(FileCellText(row, item.iSubItem, LocalDateOf));
  item.pszText = cellText_.data();
  return 0;
}

LRESULT CDirCheckWindow::OnDestroy(WPARAM, LPARAM) {
  runner_.Stop();
  EndToolWindow();
  return 0;
}

}  // namespace qm::dircheck
