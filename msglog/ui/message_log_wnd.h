#pragma once
// The message log of one window: a modeless, unowned top-level window, so
// the user keeps working with the target (and the frame may minimise)
// while the log runs. A timer polls the session's source and appends what
// it read to the model; the list is virtual and asks the model for the
// cells it draws, so a million records scroll as ten do. Several log
// windows may be open at once, each with its own session.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/list_view.h"
#include "msglog/message_log_model.h"
#include "msglog/message_source.h"
#include "platform/platform.h"
#include "platform/windows.h"

namespace qm {

// The poll runs every 50 ms and takes at most this many records a tick, so
// a flood never holds the window for long; the rest waits in the ring.
constexpr UINT_PTR IDT_MESSAGE_LOG_POLL = 2005;
constexpr UINT kMessageLogPollMs = 50;
constexpr size_t kMessageLogRecordsPerTick = 20000;

class CMessageLogWnd : public fw::WithMessageTable<CMessageLogWnd, fw::CDialog> {
 public:
  // The class's own messages, answered before the base class's.
  static fw::MessageTable<CMessageLogWnd> Messages();
  CMessageLogWnd(Platform& platform, std::unique_ptr<IMessageSource> source, WindowHandle window);
  ~CMessageLogWnd() override;

  // Asks the user, then opens the window and starts the session. False
  // (and no window) when the user says no; when the session cannot start
  // the user is told, and the window stays open without a session.
  bool Open();
  // "Iniciar": asks the user, then attaches; the reason is shown when it
  // fails. False when not running afterwards.
  bool StartLogging();
  // "Detener": reads what the ring still holds, then ends the session.
  void StopLogging();
  // Reads the source once, as the timer does.
  void PollNow();

  bool IsOpen() const { return m_hWnd != nullptr; }
  bool Running() const { return source_ && source_->Running(); }
  WindowHandle Target() const { return target_; }
  const MessageLogModel& Model() const { return model_; }

  // "Registro de mensajes - 0x0001002a (Edit)".
  std::string TitleText() const;

 protected:
  BOOL OnInitDialog() override;
  // Enter in the search box finds the next match; it never closes the log.
  void OnOK() override;
  // Escape and the close box: the session ends with the window.
  void OnCancel() override;

 private:
  LRESULT OnTimer(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnGetMinMaxInfo(WPARAM, LPARAM);
  void OnSize(UINT kind, SIZE client);
  LRESULT OnStart(WPARAM, LPARAM);
  LRESULT OnStop(WPARAM, LPARAM);
  LRESULT OnClear(WPARAM, LPARAM);
  LRESULT OnFilter(WPARAM, LPARAM);
  LRESULT OnChildren(WPARAM, LPARAM);
  LRESULT OnSave(WPARAM, LPARAM);
  LRESULT OnFind(WPARAM, LPARAM);
  LRESULT OnGetDispInfo(NMLVDISPINFOW&);

  // The "%s" of the title and of the messages: handle and class.
  std::string WindowText() const;
  // Puts the model's rows and counts on the list and the status line; the
  // list follows the new rows when it showed the last one.
  void ShowRows();
  void UpdateButtons();
  bool AskToAttach() const;
  // Starts the session; the user is told why when it cannot start.
  bool Attach();
  bool IncludeChildren() const;

  Platform& platform_;
  std::unique_ptr<IMessageSource> source_;
  WindowHandle target_;
  std::string targetClass_;
  MessageLogModel model_;
  fw::CListCtrl list_;
  std::vector<MessageRecord> polled_;
  size_t listedRows_ = 0;
  std::string statusShown_;
  bool wasRunning_ = false;
  // The list's and status line's distances from the client edges, read
  // from the template so resizing keeps them.
  RECT listMargins_{};
  int statusFromBottom_ = 0;
  int minTrackWidth_ = 0;
  int minTrackHeight_ = 0;
  std::wstring cellText_;  // must outlive the list's read of pszText
};

}  // namespace qm
