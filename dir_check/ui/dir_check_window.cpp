#include "dir_check/ui/dir_check_window.h"

#include <shlobj.h>

#include <memory>

#include "common/number_format.h"
#include "common/text.h"
#include "dir_check/dir_check_ids.h"
#include "dir_check/dir_check_strings.h"
#include "dir_check/ui/win32_file_tree.h"
#include "framework/list_view.h"
#include "framework/resource_text.h"
#include "platform/win32/win32_system.h"

namespace qm::dircheck {
namespace {

constexpr UINT WM_WALK_PROGRESS = WM_APP + 1;
constexpr UINT WM_WALK_DONE = WM_APP + 2;

// The tool's own texts, from the module its window comes from (the win
// tests load the tool as data and drive the window in their process).
std::string Text(uint32_t id) { return fw::ResourceText(id); }

void AddColumn(HWND list, int index, uint32_t title, int width, int format = LVCFMT_LEFT) {
  fw::CListCtrl(list).InsertColumn(index, Text(title), format, width);
}

// Column 0 makes the row, the others fill it.
void SetCell(HWND list, int row, int column, const std::string& text) {
  fw::CListCtrl cells(list);
  if (column == 0) {
    cells.InsertItem(row, text);
  } else {
    cells.SetItemText(row, column, text);
  }
}

std::string DateText(int64_t unixSeconds) {
  const uint64_t ticks = static_cast<uint64_t>(unixSeconds + 11644473600LL) * 10000000ULL;
  FILETIME utc{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
  FILETIME local{};
  SYSTEMTIME time{};
  if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &time)) return {};
  return Format("%02u/%02u/%04u %02u:%02u", time.wDay, time.wMonth, time.wYear, time.wHour, time.wMinute);
}

uint32_t ProblemName(ProblemKind kind) {
  switch (kind) {
    case ProblemKind::kUnreadableFolder:
      return IDS_DC_UNREADABLE_FOLDER;
    case ProblemKind::kBrokenLink:
      return IDS_DC_BROKEN_LINK;
    case ProblemKind::kUnreadableSize:
      return IDS_DC_UNREADABLE_SIZE;
  }
  return IDS_DC_UNREADABLE_FOLDER;
}

std::string ItemText(HWND dialog, int id) {
  HWND item = ::GetDlgItem(dialog, id);
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

struct PidlFree {
  void operator()(LPITEMIDLIST pidl) const { ::CoTaskMemFree(pidl); }
};

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

CDirCheckWindow::CDirCheckWindow() : WithMessageTable(IDD_DIR_CHECK, IDI_DIR_CHECK) {}

CDirCheckWindow::~CDirCheckWindow() { StopWalk(); }

BOOL CDirCheckWindow::OnInitDialog() {
  BeginToolWindow();
  HWND files = ::GetDlgItem(m_hWnd, IDC_DC_FILES);
  HWND problems = ::GetDlgItem(m_hWnd, IDC_DC_PROBLEMS);
  for (HWND list : {files, problems})
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  AddColumn(files, 0, IDS_DC_COL_FILE, 400);
  AddColumn(files, 1, IDS_DC_COL_SIZE, 110, LVCFMT_RIGHT);
  AddColumn(files, 2, IDS_DC_COL_DATE, 120);
  AddColumn(problems, 0, IDS_DC_COL_PROBLEM, 130);
  AddColumn(problems, 1, IDS_DC_COL_PATH, 300);
  AddColumn(problems, 2, IDS_DC_COL_DETAIL, 200);
  SetWalking(false);
  return TRUE;
}

void CDirCheckWindow::OnOK() {
  const std::string folder = ItemText(m_hWnd, IDC_DC_FOLDER);
  if (folder.find_first_not_of(" \t") == std::string::npos) {
    ::MessageBoxW(m_hWnd, Widen(Text(IDS_DC_NO_FOLDER)).c_str(), L"Turmidex", MB_ICONEXCLAMATION);
    return;
  }
  StartWalk(folder);
}

// "Cerrar" and Escape close the window, cancelling a walk under way.
void CDirCheckWindow::StartWalk(const std::string& folder) {
  if (worker_.joinable()) return;
  ::SetDlgItemTextW(m_hWnd, IDC_DC_FOLDER, Widen(folder).c_str());
  result_ = WalkResult{};
  ::SendDlgItemMessageW(m_hWnd, IDC_DC_FILES, LVM_SETITEMCOUNT, 0, 0);
  ::SendDlgItemMessageW(m_hWnd, IDC_DC_PROBLEMS, LVM_DELETEALLITEMS, 0, 0);
  ::SetDlgItemTextW(m_hWnd, IDC_DC_TOTALS, L"");
  cancel_ = false;
  SetWalking(true);
  HWND window = m_hWnd;
  worker_ = std::thread([this, folder, window] {
    Win32FileTree tree;
    WalkResult walked = WalkTree(tree, folder, cancel_, [this, window](const WalkProgress& progress) {
      {
        const std::lock_guard lock(mutex_);
        progress_ = progress;
      }
      // One message in the queue at a time; the window reads the latest.
      if (!progressPosted_.exchange(true)) ::PostMessageW(window, WM_WALK_PROGRESS, 0, 0);
    });
    {
      const std::lock_guard lock(mutex_);
      walked_ = std::move(walked);
    }
    ::PostMessageW(window, WM_WALK_DONE, 0, 0);
  });
}

void CDirCheckWindow::StopWalk() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
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
  const std::wstring title = Widen(Text(IDS_DC_BROWSE_TITLE));
  BROWSEINFOW browse{};
  browse.hwndOwner = m_hWnd;
  browse.lpszTitle = title.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  const std::unique_ptr<ITEMIDLIST, PidlFree> chosen(::SHBrowseForFolderW(&browse));
  if (!chosen) return 0;
  wchar_t path[MAX_PATH] = {};
  if (::SHGetPathFromIDListW(chosen.get(), path)) ::SetDlgItemTextW(m_hWnd, IDC_DC_FOLDER, path);
  return 0;
}

LRESULT CDirCheckWindow::OnStop(WPARAM, LPARAM) {
  cancel_ = true;
  return 0;
}

LRESULT CDirCheckWindow::OnProgress(WPARAM, LPARAM) {
  progressPosted_ = false;
  WalkProgress progress;
  {
    const std::lock_guard lock(mutex_);
    progress = progress_;
  }
  if (!worker_.joinable()) return 0;
  const std::string status =
      FormatTable(Text(IDS_DC_READING), {progress.folder}) + " (" + FormatNumber(progress.filesFound) + ")";
  ::SetDlgItemTextW(m_hWnd, IDC_DC_STATUS, Widen(status).c_str());
  return 0;
}

LRESULT CDirCheckWindow::OnDone(WPARAM, LPARAM) {
  if (worker_.joinable()) worker_.join();
  {
    const std::lock_guard lock(mutex_);
    result_ = std::move(walked_);
    walked_ = WalkResult{};
  }
  SetWalking(false);
  ::SetDlgItemTextW(m_hWnd, IDC_DC_STATUS, Widen(Text(result_.cancelled ? IDS_DC_CANCELLED : IDS_DC_DONE)).c_str());
  ::SendDlgItemMessageW(m_hWnd, IDC_DC_FILES, LVM_SETITEMCOUNT, result_.files.size(), 0);
  ShowProblems();
  const std::string totals =
      FormatTable(Text(IDS_DC_TOTALS), {FormatNumber(result_.totals.files), FormatNumber(result_.totals.folders),
                                        FormatNumber(result_.totals.bytes), FormatNumber(result_.problems.size())});
  ::SetDlgItemTextW(m_hWnd, IDC_DC_TOTALS, Widen(totals).c_str());
  return 0;
}

void CDirCheckWindow::ShowProblems() {
  HWND list = ::GetDlgItem(m_hWnd, IDC_DC_PROBLEMS);
  int row = 0;
  for (const Problem& problem : result_.problems) {
    SetCell(list, row, 0, Text(ProblemName(problem.kind)));
    SetCell(list, row, 1, problem.path);
    SetCell(list, row, 2, problem.detail);
    ++row;
  }
}

LRESULT CDirCheckWindow::OnFileText(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || static_cast<size_t>(item.iItem) >= result_.files.size()) return 0;
  const FileRow& row = result_.files[static_cast<size_t>(item.iItem)];
  std::string text;
  if (item.iSubItem == 0) {
    text = row.path;
  } else if (item.iSubItem == 1) {
    text = FormatNumber(row.size);
  } else {
    text = DateText(row.modified);
  }
  cellText_ = Widen(text);
  item.pszText = cellText_.data();
  return 0;
}

LRESULT CDirCheckWindow::OnDestroy(WPARAM, LPARAM) {
  StopWalk();
  EndToolWindow();
  return 0;
}

}  // namespace qm::dircheck
