#include <atomic>
#include <cstring>
#include <optional>

#include "msglog/hook/hook_procs.h"
#include "msglog/hook/session_block.h"
#include "msglog/message_record.h"
#include "msglog/message_ring.h"

namespace qm::hook {
namespace {

// The one session of this process. Writers in several threads read it
// between a rise and a fall of inFlight; attaching and detaching take the
// lock, and detaching clears enabled, then waits for inFlight to drain
// before the view is unmapped.
struct Session {
  std::atomic<bool> enabled{false};
  std::atomic<int> inFlight{0};
  std::atomic<bool> locked{false};
  // Taken by a writer that adds a new child; never held while waiting for
  // anything else.
  std::atomic<bool> adding{false};
  HANDLE mapping = nullptr;
  void* view = nullptr;
  SessionHeader* header = nullptr;
  uint32_t quillmarPid = 0;
  uint32_t number = 0;
  WatchedWindows watched;
  std::optional<MessageRingWriter> writer;
};

Session g_session;

class SessionLock {
 public:
  SessionLock() {
    while (g_session.locked.exchange(true, std::memory_order_acquire)) ::Sleep(0);
  }
  ~SessionLock() { g_session.locked.store(false, std::memory_order_release); }
  SessionLock(const SessionLock&) = delete;
  SessionLock& operator=(const SessionLock&) = delete;
};

uint64_t Handle(HWND window) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(window)); }
uint64_t Word(WPARAM value) { return static_cast<uint64_t>(value); }
uint64_t Word(LPARAM value) { return static_cast<uint64_t>(static_cast<ULONG_PTR>(value)); }

// The class of a control a message names: a watched window's is known; any
// other is asked once per message.
ControlClass ClassOfControl(HWND control) {
  if (control == nullptr) return ControlClass::Other;
  if (const WatchedWindow* watched = g_session.watched.Find(Handle(control))) return watched->windowClass;
  wchar_t name[64];
  const int length = ::GetClassNameW(control, name, 64);
  if (length <= 0) return ControlClass::Other;
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  return ControlClassFromName(reinterpret_cast<const char16_t*>(name), static_cast<size_t>(length));
}

// A window the root gets while the session runs, seen at its first message
// (WM_NCCREATE), joins the watched ones when the user asked for children.
const WatchedWindow* WatchNewChild(HWND window) {
  const uint64_t root = g_session.watched.Root();
  if (!g_session.watched.FollowsNewChildren() || root == 0 ||
      !::IsChild(reinterpret_cast<HWND>(static_cast<uintptr_t>(root)), window))
    return nullptr;
  const ControlClass windowClass = ClassOfControl(window);
  while (g_session.adding.exchange(true, std::memory_order_acquire)) ::Sleep(0);
  g_session.watched.Add(Handle(window), windowClass);
  g_session.adding.store(false, std::memory_order_release);
  return g_session.watched.Find(Handle(window));
}

void CopyText(MessageRecord& record, const wchar_t* text, size_t limit) {
  if (text == nullptr) return;
  size_t length = 0;
  // One past the record's room, to know whether it was cut.
  while (length < limit && length <= kRecordTextChars && text[length] != 0) ++length;
  SetRecordText(record, reinterpret_cast<const char16_t*>(text), length);
}

// What the message's parameters point to, copied while the pointers are
// valid. A posted message is never followed: its pointers may mean nothing.
void Decode(MessageRecord& record, HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT result) {
  (void)window;
  if (record.kind == MessageKind::Posted) {
    if (message == WM_COMMAND && lParam != 0) record.controlClass = ClassOfControl(reinterpret_cast<HWND>(lParam));
    return;
  }
  switch (message) {
    case WM_SETTEXT:
      if (record.kind == MessageKind::Sent) CopyText(record, reinterpret_cast<const wchar_t*>(lParam), SIZE_MAX);
      break;
    case WM_GETTEXT:
      if (record.kind == MessageKind::Returned && result > 0 && static_cast<WPARAM>(result) < wParam)
        CopyText(record, reinterpret_cast<const wchar_t*>(lParam), static_cast<size_t>(result));
      break;
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
      if (const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam)) {
        record.posX = pos->x;
        record.posY = pos->y;
        record.posWidth = pos->cx;
        record.posHeight = pos->cy;
        record.swpFlags = pos->flags;
        record.insertAfter = Handle(pos->hwndInsertAfter);
        record.fields = static_cast<uint8_t>(record.fields | kFieldWindowPos);
      }
      break;
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
      if (const auto* styles = reinterpret_cast<const STYLESTRUCT*>(lParam)) {
        record.oldStyle = styles->styleOld;
        record.newStyle = styles->styleNew;
        record.fields = static_cast<uint8_t>(record.fields | kFieldStyles);
      }
      break;
    case WM_NOTIFY:
      if (const auto* header = reinterpret_cast<const NMHDR*>(lParam)) {
        record.notifyFrom = Handle(header->hwndFrom);
        record.notifyId = static_cast<uint64_t>(header->idFrom);
        record.notifyCode = header->code;
        record.controlClass = ClassOfControl(header->hwndFrom);
        record.fields = static_cast<uint8_t>(record.fields | kFieldNotifyHeader);
      }
      break;
    case WM_COMMAND:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      if (lParam != 0) record.controlClass = ClassOfControl(reinterpret_cast<HWND>(lParam));
      break;
    default:
      break;
  }
}

void Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT result, MessageKind kind) {
  if (!g_session.enabled.load(std::memory_order_relaxed)) return;
  g_session.inFlight.fetch_add(1);
  bool letGo = false;
  if (g_session.enabled.load()) {
    const WatchedWindow* watched = g_session.watched.Find(Handle(window));
    if (!watched && kind == MessageKind::Sent && message == WM_NCCREATE) watched = WatchNewChild(window);
    if (watched) {
      const uint64_t now = ::GetTickCount64();
      if (std::atomic_ref<uint64_t>(g_session.header->stop).load(std::memory_order_relaxed) != 0 ||
          !g_session.writer->ReaderAlive(now, kHeartbeatStaleMs)) {
        letGo = true;
      } else {
        MessageRecord record;
        record.timeMs = now;
        record.window = Handle(window);
        record.wParam = Word(wParam);
        record.lParam = Word(lParam);
        record.result = kind == MessageKind::Returned ? Word(result) : 0;
        record.message = message;
        record.threadId = ::GetCurrentThreadId();
        record.kind = kind;
        record.windowClass = watched->windowClass;
        Decode(record, window, message, wParam, lParam, result);
        g_session.writer->Write(record);
      }
    }
  }
  g_session.inFlight.fetch_sub(1);
  if (letGo) DetachSession();
}

bool SameSession(uint32_t quillmarPid, uint32_t number) {
  return g_session.view != nullptr && g_session.quillmarPid == quillmarPid && g_session.number == number;
}

void MarkAttached() { std::atomic_ref<uint64_t>(g_session.header->attached).fetch_add(1, std::memory_order_release); }

// Under the lock.
void CloseSession() {
  g_session.enabled.store(false);
  // The writers in other threads are in the middle of one copy at most.
  while (g_session.inFlight.load() != 0) ::Sleep(0);
  g_session.writer.reset();
  g_session.watched.Clear();
  if (g_session.header) std::atomic_ref<uint64_t>(g_session.header->detached).store(1, std::memory_order_release);
  if (g_session.view) ::UnmapViewOfFile(g_session.view);
  if (g_session.mapping) ::CloseHandle(g_session.mapping);
  g_session.view = nullptr;
  g_session.mapping = nullptr;
  g_session.header = nullptr;
  g_session.quillmarPid = 0;
  g_session.number = 0;
}

}  // namespace

UINT AttachMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"quillmar-msglog-attach-1");
  return message;
}

UINT DetachMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"quillmar-msglog-detach-1");
  return message;
}

bool AttachSession(uint32_t quillmarPid, uint32_t number) {
  SessionLock lock;
  if (SameSession(quillmarPid, number)) {
    MarkAttached();
    return true;
  }
  CloseSession();
  char16_t name[64];
  SessionSectionName(quillmarPid, number, name);
  HANDLE mapping = ::OpenFileMappingW(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, reinterpret_cast<const wchar_t*>(name));
  if (!mapping) return false;
  void* view = ::MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0);
  MEMORY_BASIC_INFORMATION region{};
  if (!view || ::VirtualQuery(view, &region, sizeof region) == 0) {
    if (view) ::UnmapViewOfFile(view);
    ::CloseHandle(mapping);
    return false;
  }
  auto writer = OpenSession({static_cast<uint8_t*>(view), region.RegionSize}, g_session.watched);
  if (!writer) {
    g_session.watched.Clear();
    ::UnmapViewOfFile(view);
    ::CloseHandle(mapping);
    return false;
  }
  g_session.mapping = mapping;
  g_session.view = view;
  g_session.header = static_cast<SessionHeader*>(view);
  g_session.quillmarPid = quillmarPid;
  g_session.number = number;
  g_session.writer.emplace(*writer);
  MarkAttached();
  g_session.enabled.store(true);
  return true;
}

void DetachSession() {
  SessionLock lock;
  CloseSession();
}

LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && lParam != 0) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    Record(sent->hwnd, sent->message, sent->wParam, sent->lParam, 0, MessageKind::Sent);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CallWndRetProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && lParam != 0) {
    const auto* returned = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    Record(returned->hwnd, returned->message, returned->wParam, returned->lParam, returned->lResult,
           MessageKind::Returned);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK GetMsgProc(int code, WPARAM wParam, LPARAM lParam) {
  // A peek that leaves the message in the queue is not its arrival: it is
  // counted when it is removed.
  if (code == HC_ACTION && wParam == PM_REMOVE && lParam != 0) {
    auto* queued = reinterpret_cast<MSG*>(lParam);
    if (queued->message == AttachMessage() || queued->message == DetachMessage()) {
      const auto pid = static_cast<uint32_t>(queued->wParam);
      const auto number = static_cast<uint32_t>(queued->lParam);
      if (queued->message == AttachMessage()) {
        AttachSession(pid, number);
      } else {
        SessionLock lock;
        if (SameSession(pid, number)) CloseSession();
      }
      // Ours alone: the window never sees it.
      queued->message = WM_NULL;
    } else {
      Record(queued->hwnd, queued->message, queued->wParam, queued->lParam, 0, MessageKind::Posted);
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace qm::hook
