#include "msglog/ui/message_log_wnd.h"

#include <algorithm>

#include "common/text.h"
#include "framework/file_dialog.h"
#include "msglog/attach_failure_text.h"
#include "msglog/message_details.h"
#include "msglog/ui/message_filter_dlg.h"
#include "msglog/win32/hook_message_source.h"
#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"
#include "res/string_ids.h"

namespace qm {
namespace {

// A registered message by the name it was registered with: registered
// messages and clipboard formats share one atom table.
int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

// A control's rectangle in its dialog's client coordinates.
RECT ChildRect(HWND dialog, int id) {
  RECT rect{};
  HWND child = ::GetDlgItem(dialog, id);
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool EndsWithCsv(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
  return tail == ".csv";
}

}  // namespace

fw::MessageTable<CMessageLogWnd> CMessageLogWnd::Messages() {
  static constexpr fw::MessageEntry<CMessageLogWnd> kTable[] = {
      fw::OnMessage(WM_TIMER, &CMessageLogWnd::OnTimer),
      fw::OnMessage(WM_DESTROY, &CMessageLogWnd::OnDestroy),
      fw::OnMessage(WM_GETMINMAXINFO, &CMessageLogWnd::OnGetMinMaxInfo),
      fw::OnSizeMessage<&CMessageLogWnd::OnSize>(),
      fw::OnCommand(IDC_LOG_START, &CMessageLogWnd::OnStart),
      fw::OnCommand(IDC_LOG_STOP, &CMessageLogWnd::OnStop),
      fw::OnCommand(IDC_LOG_CLEAR, &CMessageLogWnd::OnClear),
      fw::OnCommand(IDC_LOG_FILTER, &CMessageLogWnd::OnFilter),
      fw::OnControl(BN_CLICKED, IDC_LOG_CHILDREN, &CMessageLogWnd::OnChildren),
      fw::OnCommand(IDC_LOG_SAVE, &CMessageLogWnd::OnSave),
      fw::OnCommand(IDC_LOG_FIND, &CMessageLogWnd::OnFind),
      fw::OnNotify<&CMessageLogWnd::OnGetDispInfo>(LVN_GETDISPINFOW, IDC_LOG_LIST),
  };
  return kTable;
}

CMessageLogWnd::CMessageLogWnd(Platform& platform, std::unique_ptr<IMessageSource> source, WindowHandle window)
    : platform_(platform),
      source_(std::move(source)),
      target_(window),
      targetClass_(platform.windows ? platform.windows->GetClassName(window) : std::string()),
      model_(*platform.strings, SystemRegisteredMessageName()) {}

CMessageLogWnd::~CMessageLogWnd() {
  // The window goes while this object is whole: its WM_DESTROY still
  // reaches this class and the source.
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  // The target is left as it was even when the window never opened.
  if (source_) source_->Stop();
}

std::string CMessageLogWnd::WindowText() const {
  return targetClass_.empty() ? LogHandleText(target_) : LogHandleText(target_) + " (" + targetClass_ + ")";
}

std::string CMessageLogWnd::TitleText() const {
  return FormatTable(platform_.strings->LoadString(IDS_MSGLOG_TITLE), {WindowText()});
}

bool CMessageLogWnd::Open() {
  if (!AskToAttach()) return false;
  // No parent: the log is unowned and stays up when the frame minimises.
  if (!Create(IDD_MESSAGE_LOG, nullptr)) return false;
  ::ShowWindow(m_hWnd, SW_SHOW);
  Attach();
  return true;
}

bool CMessageLogWnd::AskToAttach() const {
  const std::string question = FormatTable(platform_.strings->LoadString(IDS_MSGLOG_CONFIRM_ATTACH), {WindowText()});
  return platform_.messageBox->MessageBox(question, MB_YESNO_ | MB_ICONQUESTION_) == IDYES_;
}

bool CMessageLogWnd::Attach() {
  const AttachOutcome outcome = source_->Start(target_, IncludeChildren());
  // Times count from the first start (or "Borrar"): an earlier session's
  // rows keep their times when the log starts again.
  if (outcome.ok() && model_.RecordedCount() == 0) model_.SetStartTime(source_->NowMs());
  UpdateButtons();
  if (!outcome.ok())
    platform_.messageBox->MessageBox(
        AttachFailureText(outcome, *platform_.strings, Narrow(HookLibraryName()), sizeof(void*) * 8),
        MB_ICONEXCLAMATION_);
  return outcome.ok();
}

BOOL CMessageLogWnd::OnInitDialog() {
  ::SetWindowTextW(m_hWnd, Widen(TitleText()).c_str());
  list_ = fw::CListCtrl(::GetDlgItem(m_hWnd, IDC_LOG_LIST));
  list_.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  static constexpr int kWidths[kLogColumnCount] = {60, 60, 90, 70, 150, 90, 90, 90, 300};
  for (size_t column = 0; column < kLogColumnCount; ++column)
    list_.InsertColumn(static_cast<int>(column), model_.ColumnTitle(static_cast<LogColumn>(column)),
                       column <= static_cast<size_t>(LogColumn::Time) ? LVCFMT_RIGHT : LVCFMT_LEFT, kWidths[column]);

  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  const RECT list = ChildRect(m_hWnd, IDC_LOG_LIST);
  const RECT status = ChildRect(m_hWnd, IDC_LOG_STATUS);
  listMargins_ = {list.left, list.top, client.right - list.right, client.bottom - list.bottom};
  statusFromBottom_ = client.bottom - status.top;
  RECT window{};
  ::GetWindowRect(m_hWnd, &window);
  // Never narrower than the buttons, nor shorter than a few rows.
  minTrackWidth_ = Width(window);
  minTrackHeight_ = Height(window) / 2;
  // Opens wide enough for every column, "Detalles" whole, as far as the
  // screen allows.
  int columnsWidth = 0;
  for (const int width : kWidths) columnsWidth += width;
  const int wanted =
      Width(window) - Width(list) + columnsWidth + ::GetSystemMetrics(SM_CXVSCROLL) + 2 * ::GetSystemMetrics(SM_CXEDGE);
  MONITORINFO monitor{sizeof(MONITORINFO), {}, {}, 0};
  if (::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const int width = std::min(wanted, Width(monitor.rcWork));
    if (width > Width(window))
      ::SetWindowPos(m_hWnd, nullptr,
                     std::max(monitor.rcWork.left, std::min(window.left, monitor.rcWork.right - width)), window.top,
                     width, Height(window), SWP_NOZORDER | SWP_NOACTIVATE);
  }

  ShowRows();
  UpdateButtons();
  ::SetTimer(m_hWnd, IDT_MESSAGE_LOG_POLL, kMessageLogPollMs, nullptr);
  return TRUE;
}

LRESULT CMessageLogWnd::OnGetMinMaxInfo(WPARAM, LPARAM lParam) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  if (info && minTrackWidth_ > 0) {
    info->ptMinTrackSize.x = minTrackWidth_;
    info->ptMinTrackSize.y = minTrackHeight_;
  }
  return 0;
}

void CMessageLogWnd::OnSize(UINT kind, SIZE client) {
  if (kind == SIZE_MINIMIZED || !list_.m_hWnd) return;
  const int width = client.cx - listMargins_.left - listMargins_.right;
  const int height = client.cy - listMargins_.top - listMargins_.bottom;
  ::MoveWindow(list_.m_hWnd, listMargins_.left, listMargins_.top, std::max(width, 0), std::max(height, 0), TRUE);
  HWND status = ::GetDlgItem(m_hWnd, IDC_LOG_STATUS);
  const RECT statusRect = ChildRect(m_hWnd, IDC_LOG_STATUS);
  ::MoveWindow(status, listMargins_.left, client.cy - statusFromBottom_, std::max(width, 0), Height(statusRect), TRUE);
}

LRESULT CMessageLogWnd::OnTimer(WPARAM wParam, LPARAM lParam) {
  if (wParam != IDT_MESSAGE_LOG_POLL) return DefWindowProc(WM_TIMER, wParam, lParam);
  PollNow();
  return 0;
}

void CMessageLogWnd::PollNow() {
  if (Running()) {
    polled_.clear();
    source_->Poll(polled_, kMessageLogRecordsPerTick);
    if (!polled_.empty()) model_.Append(polled_);
    model_.SetLost(source_->Lost());
    if (m_hWnd) ShowRows();
  }
  // A session may end by itself (the target closed): the buttons follow.
  if (m_hWnd && Running() != wasRunning_) UpdateButtons();
}

void CMessageLogWnd::ShowRows() {
  const size_t rows = model_.ShownCount();
  if (rows != listedRows_ || rows == 0) {
    // The list showed its last row (or had none): it follows the new ones.
    const auto top = static_cast<size_t>(std::max<LRESULT>(::SendMessageW(list_.m_hWnd, LVM_GETTOPINDEX, 0, 0), 0));
    const auto perPage =
        static_cast<size_t>(std::max<LRESULT>(::SendMessageW(list_.m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0), 0));
    const bool atEnd = listedRows_ == 0 || top + perPage >= listedRows_;
    const bool grew = rows > listedRows_;
    ::SendMessageW(list_.m_hWnd, LVM_SETITEMCOUNT, rows, grew ? LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL : 0);
    if (grew) ::InvalidateRect(list_.m_hWnd, nullptr, FALSE);
    if (atEnd && rows > 0) list_.EnsureVisible(static_cast<int>(rows - 1));
    listedRows_ = rows;
  }
  std::string status = model_.StatusText();
  if (status != statusShown_) {
    ::SetDlgItemTextW(m_hWnd, IDC_LOG_STATUS, Widen(status).c_str());
    statusShown_ = std::move(status);
  }
}

LRESULT CMessageLogWnd::OnGetDispInfo(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return 0;
  item.pszText[0] = L'\0';
  if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= model_.ShownCount() || item.iSubItem < 0 ||
      static_cast<size_t>(item.iSubItem) >= kLogColumnCount)
    return 0;
  cellText_ = Widen(model_.CellText(static_cast<size_t>(item.iItem), static_cast<LogColumn>(item.iSubItem)));
  const size_t length = std::min(cellText_.size(), static_cast<size_t>(item.cchTextMax - 1));
  cellText_.copy(item.pszText, length);
  item.pszText[length] = L'\0';
  return 0;
}

void CMessageLogWnd::UpdateButtons() {
  wasRunning_ = Running();
  EnableDlgItem(IDC_LOG_START, !wasRunning_);
  EnableDlgItem(IDC_LOG_STOP, wasRunning_);
}

bool CMessageLogWnd::IncludeChildren() const {
  return m_hWnd && ::IsDlgButtonChecked(m_hWnd, IDC_LOG_CHILDREN) == BST_CHECKED;
}

bool CMessageLogWnd::StartLogging() { return AskToAttach() && Attach(); }

void CMessageLogWnd::StopLogging() {
  if (Running()) {
    // What the target wrote before the stop is still shown.
    PollNow();
    source_->Stop();
  }
  if (m_hWnd) {
    ShowRows();
    UpdateButtons();
  }
}

LRESULT CMessageLogWnd::OnStart(WPARAM, LPARAM) {
  if (!Running()) StartLogging();
  return 0;
}

LRESULT CMessageLogWnd::OnStop(WPARAM, LPARAM) {
  StopLogging();
  return 0;
}

LRESULT CMessageLogWnd::OnClear(WPARAM, LPARAM) {
  model_.Clear();
  if (Running()) model_.SetStartTime(source_->NowMs());
  listedRows_ = 0;
  ::SendMessageW(list_.m_hWnd, LVM_SETITEMCOUNT, 0, 0);
  ShowRows();
  return 0;
}

LRESULT CMessageLogWnd::OnFilter(WPARAM, LPARAM) {
  CMessageFilterDlg dialog(*platform_.strings);
  dialog.m_filter = model_.Filter();
  if (dialog.DoModal(m_hWnd) != IDOK || dialog.m_filter == model_.Filter()) return 0;
  model_.SetFilter(std::move(dialog.m_filter));
  // Other rows: the list is filled again and shows the end.
  listedRows_ = 0;
  ::SendMessageW(list_.m_hWnd, LVM_SETITEMCOUNT, 0, 0);
  ShowRows();
  return 0;
}

// A running session starts again with the new choice; the user agreed to
// log this window already.
LRESULT CMessageLogWnd::OnChildren(WPARAM, LPARAM) {
  if (!Running()) return 0;
  PollNow();
  Attach();
  return 0;
}

LRESULT CMessageLogWnd::OnSave(WPARAM, LPARAM) {
  const auto path =
      fw::AskExportFileName(m_hWnd, platform_.strings->LoadString(IDS_MSGLOG_FILE_FILTER), "Mensajes.txt", "txt");
  if (!path) return 0;
  // The writers replace a file only once the new one is whole.
  const bool saved = EndsWithCsv(*path) ? model_.SaveCsv(*path) : model_.SaveText(*path);
  if (!saved)
    platform_.messageBox->MessageBox(platform_.strings->LoadString(IDS_MSGLOG_SAVE_FAILED), MB_ICONEXCLAMATION_);
  return 0;
}

LRESULT CMessageLogWnd::OnFind(WPARAM, LPARAM) {
  wchar_t buffer[512] = {};
  ::GetDlgItemTextW(m_hWnd, IDC_LOG_FIND_TEXT, buffer, 512);
  const std::string text = Narrow(buffer);
  if (text.empty()) return 0;
  const int selected = list_.GetNextSelected();
  const std::optional<size_t> after =
      selected >= 0 ? std::optional<size_t>(static_cast<size_t>(selected)) : std::nullopt;
  const std::optional<size_t> found = model_.Find(text, after);
  if (!found) {
    platform_.messageBox->MessageBox(FormatTable(platform_.strings->LoadString(IDS_MSGLOG_TEXT_NOT_FOUND), {text}),
                                     MB_ICONEXCLAMATION_);
    return 0;
  }
  const int row = static_cast<int>(*found);
  list_.SetItemSelected(row, true);
  list_.EnsureVisible(row);
  return 0;
}

void CMessageLogWnd::OnOK() {
  if (::GetFocus() == ::GetDlgItem(m_hWnd, IDC_LOG_FIND_TEXT)) OnFind(0, 0);
}

void CMessageLogWnd::OnCancel() {
  StopLogging();
  CDialog::OnCancel();
}

LRESULT CMessageLogWnd::OnDestroy(WPARAM, LPARAM) {
  ::KillTimer(m_hWnd, IDT_MESSAGE_LOG_POLL);
  if (source_) source_->Stop();
  return 0;
}

}  // namespace qm
