// The message log window on a source the test feeds: the frame's command
// opens it with its title after the question, the records become rows and
// counts, the filter changes what is shown, and "Detener", closing the
// window and the frame's end all stop the session.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "msglog/ui/message_log_wnd.h"
#include "platform/win32/win32_system.h"
#include "res/resource_ids.h"
#include "tests/win/app_fixture.h"
#include "tests/win/control_queries.h"
#include "tests/win/modal_driver.h"
#include "tests/win/pump.h"

namespace qm {
namespace {

// What every source the factory made shares with the test.
struct FakeSession {
  std::vector<MessageRecord> pending;
  AttachOutcome outcome;
  int running = 0;  // sources running now
  int starts = 0;
  int stops = 0;
  uint64_t window = 0;
  uint64_t lost = 0;
};

class FakeSource : public IMessageSource {
 public:
  explicit FakeSource(std::shared_ptr<FakeSession> session) : session_(std::move(session)) {}
  AttachOutcome Start(uint64_t window, bool) override {
    Stop();
    ++session_->starts;
    session_->window = window;
    running_ = session_->outcome.ok();
    session_->running += running_ ? 1 : 0;
    return session_->outcome;
  }
  void Stop() override {
    if (!running_) return;
    running_ = false;
    --session_->running;
    ++session_->stops;
  }
  bool Running() const override { return running_; }
  void Poll(std::vector<MessageRecord>& out, size_t maxRecords) override {
    const size_t count = std::min(maxRecords, session_->pending.size());
    out.insert(out.end(), session_->pending.begin(), session_->pending.begin() + static_cast<ptrdiff_t>(count));
    session_->pending.erase(session_->pending.begin(), session_->pending.begin() + static_cast<ptrdiff_t>(count));
  }
  uint64_t Lost() const override { return session_->lost; }
  uint64_t NowMs() const override { return 1000; }

 private:
  std::shared_ptr<FakeSession> session_;
  bool running_ = false;
};

MessageRecord Record(uint64_t sequence, uint32_t message, MessageKind kind, uint64_t window) {
  MessageRecord record;
  record.sequence = sequence;
  record.timeMs = 1000 + sequence;
  record.window = window;
  record.message = message;
  record.kind = kind;
  return record;
}

// The log window of the test's thread with this title; null when none.
HWND FindLog(const std::string& title) { return ::FindWindowW(nullptr, Widen(title).c_str()); }

class MessageLogTest : public RunningAppTest {
 protected:
  void SetUp() override {
    RunningAppTest::SetUp();
    target_ = ::CreateWindowExW(0, L"STATIC", L"Objetivo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 130, 300, 200,
                                nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    session_ = std::make_shared<FakeSession>();
    auto session = session_;
    app.m_frame->m_messageSourceFactory = [session] { return std::make_unique<FakeSource>(session); };
    const auto window = H(target_);
    for (uint64_t i = 0; i < 3; ++i) {
      session_->pending.push_back(Record(3 * i + 1, WM_PAINT, MessageKind::Sent, window));
      session_->pending.push_back(Record(3 * i + 2, WM_SIZE, MessageKind::Posted, window));
      session_->pending.push_back(Record(3 * i + 3, WM_SIZE, MessageKind::Returned, window));
    }
  }
  void TearDown() override {
    if (::IsWindow(target_)) ::DestroyWindow(target_);
    RunningAppTest::TearDown();
  }
  // Opens the log through the frame's command, answering the question.
  HWND OpenThroughCommand(int answer) {
    app.m_frame->CaptureWindow(H(target_));
    ModalDriver driver;
    driver.On(L"Quillmar", [&](HWND question) { ModalDriver::Press(question, answer); });
    EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_MESSAGE_LOG));
    EXPECT_TRUE(driver.AllDone());
    const auto logs = app.m_frame->MessageLogs();
    return logs.empty() ? nullptr : logs.back()->m_hWnd;
  }
  CMessageLogWnd* Log() { return const_cast<CMessageLogWnd*>(app.m_frame->MessageLogs().back()); }

  HWND target_ = nullptr;
  std::shared_ptr<FakeSession> session_;
};

TEST_F(MessageLogTest, TheCommandAsksThenOpensAnUnownedLogWhoseRowsAndCountsFollowTheSource) {
  EXPECT_EQ(OpenThroughCommand(IDNO), nullptr) << "no window when the user says no";
  EXPECT_EQ(session_->starts, 0);

  HWND log = OpenThroughCommand(IDYES);
  ASSERT_NE(log, nullptr);
  char handle[32];
  std::snprintf(handle, sizeof handle, "0x%08llx", static_cast<unsigned long long>(H(target_)));
  EXPECT_EQ(WindowText(log), std::string("Registro de mensajes - ") + handle + " (Static)");
  EXPECT_EQ(FindLog(WindowText(log)), log);
  EXPECT_EQ(::GetWindow(log, GW_OWNER), nullptr) << "stays up when the frame minimises";
  EXPECT_EQ(session_->window, H(target_));
  EXPECT_EQ(session_->running, 1);
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(log, IDC_LOG_START)));

  session_->lost = 2;
  Log()->PollNow();
  HWND list = ::GetDlgItem(log, IDC_LOG_LIST);
  ASSERT_EQ(RowCount(list), 9);
  // On a screen wide enough it opens with every column in view.
  RECT listClient{};
  ::GetClientRect(list, &listClient);
  int columnsWidth = 0;
  for (int column = 0; column < 9; ++column)
    columnsWidth += static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
  if (::GetSystemMetrics(SM_CXSCREEN) >= 1280) {
    EXPECT_GE(listClient.right, columnsWidth);
  }
  EXPECT_EQ(CellText(list, 0, 4), "WM_PAINT");
  EXPECT_EQ(CellText(list, 1, 3), "encolado");
  EXPECT_EQ(ItemText(log, IDC_LOG_STATUS), "Registrados: 9   Mostrados: 9   Perdidos: 2");

  // Hiding the painting group leaves the six WM_SIZE rows; every record
  // stays recorded.
  ModalDriver driver;
  driver.On(L"Filtro de mensajes", [&](HWND filter) {
    EXPECT_EQ(ItemText(filter, IDC_FILTER_GROUP_FIRST + 3), "pintura");
    ::CheckDlgButton(filter, IDC_FILTER_GROUP_FIRST + 3, BST_UNCHECKED);
    ModalDriver::Press(filter, IDOK);
  });
  Command(log, IDC_LOG_FILTER);
  ASSERT_TRUE(driver.AllDone());
  EXPECT_EQ(RowCount(list), 6);
  EXPECT_EQ(CellText(list, 0, 4), "WM_SIZE");
  EXPECT_EQ(ItemText(log, IDC_LOG_STATUS), "Registrados: 9   Mostrados: 6   Perdidos: 2");

  // "Detener" stops the source; "Borrar" empties the list.
  Command(log, IDC_LOG_STOP);
  EXPECT_EQ(session_->running, 0);
  EXPECT_EQ(session_->stops, 1);
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(log, IDC_LOG_START)));
  Command(log, IDC_LOG_CLEAR);
  EXPECT_EQ(RowCount(list), 0);
}

TEST_F(MessageLogTest, SeveralLogsOpenAndClosingOneOrTheFrameEndsTheirSessions) {
  HWND first = OpenThroughCommand(IDYES);
  HWND second = OpenThroughCommand(IDYES);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, first) << "several logs at once";
  EXPECT_EQ(app.m_frame->MessageLogs().size(), 2u);
  // The close box's WM_CLOSE comes back to the dialog as a posted Cancel.
  ::SendMessageW(first, WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(first); }, 5000));
  EXPECT_EQ(session_->stops, 1);
  EXPECT_EQ(app.m_frame->MessageLogs().size(), 1u);

  ::DestroyWindow(app.m_frame->m_hWnd);
  EXPECT_FALSE(::IsWindow(second));
  EXPECT_EQ(session_->stops, 2);
  EXPECT_EQ(session_->running, 0);
}

TEST_F(MessageLogTest, AFailedAttachIsToldAndAMissingSourceToo) {
  session_->outcome = {AttachFailure::OtherBitness, 0};
  app.m_frame->CaptureWindow(H(target_));
  std::string told;
  ModalDriver driver;
  driver.On(L"Quillmar", [&](HWND question) { ModalDriver::Press(question, IDYES); })
      .On(L"Quillmar", [&](HWND message) {
        told = ItemText(message, 0xFFFF);
        ModalDriver::Press(message, IDOK);
      });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_MESSAGE_LOG));
  ASSERT_TRUE(driver.AllDone());
  EXPECT_NE(told.find("y este Quillmar es de"), std::string::npos) << told;
  ASSERT_EQ(app.m_frame->MessageLogs().size(), 1u);
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(app.m_frame->MessageLogs()[0]->m_hWnd, IDC_LOG_START)));

  app.m_frame->m_messageSourceFactory = nullptr;
  ModalDriver unavailable;
  unavailable.On(L"Quillmar", [&](HWND message) {
    told = ItemText(message, 0xFFFF);
    ModalDriver::Press(message, IDOK);
  });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_MESSAGE_LOG));
  ASSERT_TRUE(unavailable.AllDone());
  EXPECT_NE(told.find("no está disponible"), std::string::npos) << told;
}

TEST_F(MessageLogTest, TheWindowListsMessagesButtonOpensALogThatOutlivesTheList) {
  char handle[32];
  std::snprintf(handle, sizeof handle, "0x%08llx", static_cast<unsigned long long>(H(target_)));
  bool selected = false;
  ModalDriver driver;
  driver
      .On(L"Lista de ventanas en el sistema",
          [&](HWND dialog) {
            HWND list = ::GetDlgItem(dialog, IDC_ITEM_LIST);
            for (int row = 0; row < RowCount(list) && !selected; ++row) {
              if (CellText(list, row, 0) != handle) continue;
              SelectRow(list, row);
              selected = true;
            }
            ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_MESSAGES, BN_CLICKED), 0);
          })
      .On(L"Quillmar", [&](HWND question) { ModalDriver::Press(question, IDYES); })
      .On(L"Lista de ventanas en el sistema", [&](HWND dialog) { ModalDriver::Press(dialog, IDCANCEL); });
  EXPECT_TRUE(app.m_frame->ExecuteCommand(ID_WINDOW_LIST));
  ASSERT_TRUE(driver.AllDone());
  EXPECT_TRUE(selected);
  ASSERT_EQ(app.m_frame->MessageLogs().size(), 1u);
  EXPECT_EQ(app.m_frame->MessageLogs()[0]->Target(), H(target_));
  EXPECT_EQ(session_->window, H(target_));
  EXPECT_TRUE(::IsWindowVisible(app.m_frame->MessageLogs()[0]->m_hWnd));
}

}  // namespace
}  // namespace qm
