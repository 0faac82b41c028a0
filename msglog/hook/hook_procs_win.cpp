#include <atomic>
#include <cstring>
#include <optional>

#include "msglog/hook/hook_procs.h"
#include "msglog/hook/session_block.h"
#include "msglog/hook/subclass_table.h"
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

void CopyText(MessageRecord& record, const wchar_t* text, size_t limit) {
  if (text == nullptr) return;
  size_t length = 0;
  // One past the record's room, to know whether it was cut.
  while (length < limit && length <= kRecordTextChars && text[length] != 0) ++length;
  SetRecordText(record, reinterpret_cast<const char16_t*>(text), length);
}

// The text of an ANSI window's message, in its code page. A byte gives at
// most one UTF-16 unit, so the converted prefix always fits the buffer.
void CopyAnsiText(MessageRecord& record, const char* text, size_t limit) {
  if (text == nullptr) return;
  constexpr size_t kBytes = kRecordTextChars + 1;
  size_t length = 0;
  while (length < limit && length <= kBytes && text[length] != 0) ++length;
  const size_t taken = length < kBytes ? length : kBytes;
  wchar_t wide[kBytes] = {};
  const int converted =
      taken == 0 ? 0 : ::MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(taken), wide, static_cast<int>(kBytes));
  if (taken > 0 && converted <= 0) return;
  SetRecordText(record, reinterpret_cast<const char16_t*>(wide), static_cast<size_t>(converted));
  if (length > taken) record.fields = static_cast<uint8_t>(record.fields | kFieldTextCut);
}

void CopyText(MessageRecord& record, LPARAM text, size_t limit, bool unicode) {
  if (unicode) {
    CopyText(record, reinterpret_cast<const wchar_t*>(text), limit);
  } else {
    CopyAnsiText(record, reinterpret_cast<const char*>(text), limit);
  }
}

// What the message's parameters point to, copied while the pointers are
// valid. A posted message is never followed: its pointers may mean nothing.
// The text of an ANSI window's messages is in its code page.
void Decode(MessageRecord& record, UINT message, WPARAM wParam, LPARAM lParam, LRESULT result, bool unicode) {
  if (record.kind == MessageKind::Posted) {
    if (message == WM_COMMAND && lParam != 0) record.controlClass = ClassOfControl(reinterpret_cast<HWND>(lParam));
    return;
  }
  switch (message) {
    case WM_SETTEXT:
      if (record.kind == MessageKind::Sent) CopyText(record, lParam, SIZE_MAX, unicode);
      break;
    case WM_GETTEXT:
      if (record.kind == MessageKind::Returned && result > 0 && static_cast<WPARAM>(result) < wParam)
        CopyText(record, lParam, static_cast<size_t>(result), unicode);
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

void DetachAndRestore();

void Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT result, MessageKind kind,
            bool unicode = true) {
  if (!g_session.enabled.load(std::memory_order_relaxed)) return;
  g_session.inFlight.fetch_add(1);
  bool letGo = false;
  if (g_session.enabled.load()) {
    if (const WatchedWindow* watched = g_session.watched.Find(Handle(window))) {
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
        Decode(record, message, wParam, lParam, result, unicode);
        g_session.writer->Write(record);
      }
    }
  }
  g_session.inFlight.fetch_sub(1);
  if (letGo) DetachAndRestore();
}

// Whether the session logs the window now.
bool Watching(HWND window) {
  if (!g_session.enabled.load(std::memory_order_relaxed)) return false;
  g_session.inFlight.fetch_add(1);
  const bool watching = g_session.enabled.load() && g_session.watched.Find(Handle(window)) != nullptr;
  g_session.inFlight.fetch_sub(1);
  return watching;
}

// The windows subclassed in this process, with their own procedures.
SubclassTable g_subclassed;
std::atomic<bool> g_pinned{false};

LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

LONG_PTR OurProcedure() { return reinterpret_cast<LONG_PTR>(&SubclassProc); }

LONG_PTR CurrentProcedure(HWND window, bool unicode) {
  return unicode ? ::GetWindowLongPtrW(window, GWLP_WNDPROC) : ::GetWindowLongPtrA(window, GWLP_WNDPROC);
}

LONG_PTR SetProcedure(HWND window, bool unicode, LONG_PTR procedure) {
  return unicode ? ::SetWindowLongPtrW(window, GWLP_WNDPROC, procedure)
                 : ::SetWindowLongPtrA(window, GWLP_WNDPROC, procedure);
}

// Once a window's procedure points into the library, the library must stay
// mapped even when the carrier hook goes (Windows unloads a hook's library
// then). Pinned for the life of the process: a pass-through may stay.
void PinLibrary() {
  if (g_pinned.exchange(true)) return;
  HMODULE self = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(reinterpret_cast<uintptr_t>(&SubclassProc)), &self);
}

// Puts the procedure in front of the window's own, from the window's thread,
// with the A or W call the window was made with (the other one would make
// the system translate every text message on the way).
void Subclass(HWND window) {
  const uint64_t handle = Handle(window);
  // Already in its chain, from this session or as an earlier one's
  // pass-through.
  if (g_subclassed.Find(handle)) return;
  const bool unicode = ::IsWindowUnicode(window) != FALSE;
  const LONG_PTR own = CurrentProcedure(window, unicode);
  if (own == 0) return;
  PinLibrary();
  SubclassSlot* slot = g_subclassed.Claim(handle, static_cast<uint64_t>(own), ::GetCurrentThreadId(), unicode);
  if (!slot) return;
  ::SetLastError(0);
  const LONG_PTR previous = SetProcedure(window, unicode, OurProcedure());
  if (previous == 0 && ::GetLastError() != 0) {
    g_subclassed.Release(handle);
    return;
  }
  slot->original = static_cast<uint64_t>(previous);
}

// Gives the window its own procedure back when ours is still the current
// one. When another procedure was put over ours, ours stays in the chain
// and passes every message on untouched.
void Unsubclass(SubclassSlot& slot) {
  const uint64_t handle = slot.window.load();
  HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
  if (!::IsWindow(window)) {
    g_subclassed.Release(handle);
    return;
  }
  if (CurrentProcedure(window, slot.unicode) != OurProcedure()) return;
  SetProcedure(window, slot.unicode, static_cast<LONG_PTR>(slot.original));
  g_subclassed.Release(handle);
}

// A window's procedure may only be changed by its own thread's code here:
// its slot's queued message is that thread's alone.
void SubclassWatchedOfThisThread() {
  const DWORD thread = ::GetCurrentThreadId();
  const uint32_t count = g_session.watched.Count();
  for (uint32_t i = 0; i < count; ++i) {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(g_session.watched.At(i).handle));
    if (::GetWindowThreadProcessId(window, nullptr) == thread) Subclass(window);
  }
}

void UnsubclassThisThread() {
  const DWORD thread = ::GetCurrentThreadId();
  g_subclassed.ForEach([&](SubclassSlot& slot) {
    if (slot.threadId == thread) Unsubclass(slot);
  });
}

// A child the root gets while the session runs, announced to its watched
// parent before the child's first message from outside, joins the watched
// windows when the user asked for children and it is of this thread.
void FollowNewChild(HWND child) {
  if (child == nullptr || ::GetWindowThreadProcessId(child, nullptr) != ::GetCurrentThreadId()) return;
  g_session.inFlight.fetch_add(1);
  bool follow = false;
  if (g_session.enabled.load()) {
    const uint64_t root = g_session.watched.Root();
    if (g_session.watched.FollowsNewChildren() && root != 0 &&
        ::IsChild(reinterpret_cast<HWND>(static_cast<uintptr_t>(root)), child)) {
      const ControlClass windowClass = ClassOfControl(child);
      while (g_session.adding.exchange(true, std::memory_order_acquire)) ::Sleep(0);
      g_session.watched.Add(Handle(child), windowClass);
      g_session.adding.store(false, std::memory_order_release);
      follow = true;
    }
  }
  g_session.inFlight.fetch_sub(1);
  if (follow) Subclass(child);
}

LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SubclassSlot* slot = g_subclassed.Find(Handle(window));
  // Never expected: a slot is given back only once ours is out of the chain.
  if (!slot) return ::DefWindowProcW(window, message, wParam, lParam);
  const auto original = reinterpret_cast<WNDPROC>(static_cast<uintptr_t>(slot->original));
  const bool unicode = slot->unicode;
  // A posted message the thread took from the queue was logged as queued
  // by the hook; its dispatch is not a sent message.
  const bool dispatched = slot->TakeQueued(message, Word(wParam), Word(lParam));
  const bool logging = Watching(window);
  if (!logging && slot->threadId == ::GetCurrentThreadId()) {
    // The session is over (or no longer logs this window): the window gets
    // its own procedure back, so the messages after this one go straight to
    // it.
    Unsubclass(*slot);
  }
  slot = nullptr;  // may be given back from here on
  if (logging && message == WM_PARENTNOTIFY && LOWORD(wParam) == WM_CREATE)
    FollowNewChild(reinterpret_cast<HWND>(lParam));
  const bool record = logging && !dispatched;
  if (record) Record(window, message, wParam, lParam, 0, MessageKind::Sent, unicode);
  const LRESULT result = unicode ? ::CallWindowProcW(original, window, message, wParam, lParam)
                                 : ::CallWindowProcA(original, window, message, wParam, lParam);
  if (record) Record(window, message, wParam, lParam, result, MessageKind::Returned, unicode);
  if (message == WM_NCDESTROY) g_subclassed.Release(Handle(window));
  return result;
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

namespace {

// Under the lock: opens the session's section and starts writing.
bool OpenSessionSection(uint32_t quillmarPid, uint32_t number) {
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
  g_session.enabled.store(true);
  return true;
}

void DetachAndRestore() {
  {
    SessionLock lock;
    CloseSession();
  }
  UnsubclassThisThread();
}

}  // namespace

bool AttachSession(uint32_t quillmarPid, uint32_t number) {
  {
    SessionLock lock;
    if (!SameSession(quillmarPid, number) && !OpenSessionSection(quillmarPid, number)) return false;
  }
  // Subclassed before Quillmar hears of the attach, so nothing it sends
  // afterwards goes unseen.
  SubclassWatchedOfThisThread();
  SessionLock lock;
  // Ended meanwhile by another thread (the heartbeat, the stop word).
  if (!SameSession(quillmarPid, number)) return false;
  MarkAttached();
  return true;
}

void DetachSession() { DetachAndRestore(); }

namespace {

// The subclass procedure is about to get this message from the dispatch.
void NoteQueued(const MSG& queued) {
  SubclassSlot* slot = g_subclassed.Find(Handle(queued.hwnd));
  if (slot && slot->threadId == ::GetCurrentThreadId())
    slot->NoteQueued(queued.message, Word(queued.wParam), Word(queued.lParam));
}

}  // namespace

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
        bool ours = false;
        {
          SessionLock lock;
          ours = SameSession(pid, number) || g_session.view == nullptr;
        }
        // The windows get their own procedures back before Quillmar reads
        // the session as let go.
        if (ours) UnsubclassThisThread();
        SessionLock lock;
        if (SameSession(pid, number)) CloseSession();
      }
      // Ours alone: the window sees a WM_NULL, and the log not even that.
      queued->message = WM_NULL;
      NoteQueued(*queued);
    } else {
      NoteQueued(*queued);
      Record(queued->hwnd, queued->message, queued->wParam, queued->lParam, 0, MessageKind::Posted);
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace qm::hook
