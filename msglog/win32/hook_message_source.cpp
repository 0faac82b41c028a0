#include "msglog/win32/hook_message_source.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <vector>

#include "msglog/hook/hook_procs.h"
#include "msglog/hook/session_block.h"
#include "msglog/message_ring.h"
#include "msglog/win32/target_checks.h"
#include "platform/win32/win.h"

namespace qm {
namespace {

constexpr DWORD kAttachTimeoutMs = 5000;
// How long Stop waits for the target to let the section go before it
// removes the hooks anyway (a hung target keeps it, and its windows keep
// the log's procedure, until a logged window's next message finds the stop
// word, or for good).
constexpr DWORD kDetachWaitMs = 250;

HWND ToWindow(uint64_t handle) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(handle)); }
uint64_t FromWindow(HWND window) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(window)); }

ControlClass ClassOfWindow(HWND window) {
  wchar_t name[64];
  const int length = ::GetClassNameW(window, name, 64);
  if (length <= 0) return ControlClass::Other;
  return ControlClassFromName(reinterpret_cast<const char16_t*>(name), static_cast<size_t>(length));
}

class HookMessageSource : public IMessageSource {
 public:
  explicit HookMessageSource(std::wstring hookLibrary) : hookLibrary_(std::move(hookLibrary)) {}
  ~HookMessageSource() override { Stop(); }
  HookMessageSource(const HookMessageSource&) = delete;
  HookMessageSource& operator=(const HookMessageSource&) = delete;

  AttachOutcome Start(uint64_t window, bool includeChildren) override;
  void Stop() override;
  bool Running() const override { return running_; }
  void Poll(std::vector<MessageRecord>& out, size_t maxRecords) override;
  uint64_t Lost() const override { return reader_ ? reader_->Lost() : lostBefore_; }
  uint64_t NowMs() const override { return ::GetTickCount64(); }

  struct ThreadTarget {
    DWORD threadId;
    HWND window;  // where the attach and detach requests are posted
  };

 private:
  AttachOutcome Fail(AttachFailure failure, uint32_t error = 0) {
    Release();
    return AttachOutcome{failure, error};
  }
  bool CreateSection(const std::vector<WatchedWindow>& windows, uint64_t options);
  bool InstallHooks(DWORD threadId);
  bool WaitForAttach(uint64_t threads);
  // Posts the attach or detach request to every thread but this one;
  // how many were posted.
  size_t PostToThreads(UINT message, bool skipThisThread);
  uint64_t HeaderWord(uint64_t SessionHeader::*word) const {
    return std::atomic_ref<uint64_t>(header_->*word).load(std::memory_order_acquire);
  }
  void Release();

  std::wstring hookLibrary_;
  bool running_ = false;
  bool ownProcess_ = false;
  HMODULE library_ = nullptr;
  HOOKPROC getMsgProc_ = nullptr;
  std::vector<HHOOK> hooks_;
  std::vector<ThreadTarget> threads_;
  HANDLE mapping_ = nullptr;
  void* view_ = nullptr;
  SessionHeader* header_ = nullptr;
  uint32_t session_ = 0;
  std::optional<MessageRingReader> reader_;
  uint64_t lostBefore_ = 0;
  // Read by Stop after the target let go, handed out by the next Poll.
  std::vector<MessageRecord> pending_;
};

std::atomic<uint32_t> g_nextSession{1};

struct ChildWalk {
  DWORD pid;
  std::vector<WatchedWindow>* windows;
  std::vector<HookMessageSource::ThreadTarget>* threads;
};

BOOL CALLBACK AddChild(HWND child, LPARAM data) {
  auto& walk = *reinterpret_cast<ChildWalk*>(data);
  DWORD childPid = 0;
  const DWORD thread = ::GetWindowThreadProcessId(child, &childPid);
  // A child of another process (an embedded window) is not logged.
  if (thread == 0 || childPid != walk.pid) return TRUE;
  if (walk.windows->size() < kSessionMaxWindows) walk.windows->push_back({FromWindow(child), ClassOfWindow(child)});
  const bool known = std::any_of(walk.threads->begin(), walk.threads->end(),
                                 [&](const HookMessageSource::ThreadTarget& t) { return t.threadId == thread; });
  if (!known) walk.threads->push_back({thread, child});
  return TRUE;
}

bool HookMessageSource::CreateSection(const std::vector<WatchedWindow>& windows, uint64_t options) {
  const size_t size = SessionBlockSize(kRingDefaultSlots);
  const uint32_t pid = ::GetCurrentProcessId();
  for (int tries = 0; tries < 8; ++tries) {
    session_ = g_nextSession.fetch_add(1);
    char16_t name[64];
    SessionSectionName(pid, session_, name);
    HANDLE mapping =
        ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, static_cast<DWORD>(uint64_t{size} >> 32),
                             static_cast<DWORD>(size), reinterpret_cast<const wchar_t*>(name));
    if (!mapping) return false;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
      // Left by an earlier session still mapped in a target: another name.
      ::CloseHandle(mapping);
      continue;
    }
    mapping_ = mapping;
    view_ = ::MapViewOfFile(mapping_, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, size);
    if (!view_) return false;
    auto reader = LayOutSession({static_cast<uint8_t*>(view_), size}, windows, kRingDefaultSlots, options);
    if (!reader) return false;
    reader_.emplace(*reader);
    header_ = static_cast<SessionHeader*>(view_);
    reader_->Beat(::GetTickCount64());
    return true;
  }
  ::SetLastError(ERROR_ALREADY_EXISTS);
  return false;
}

// One hook per thread: it carries the library in, takes the attach request
// there and records the posted messages; the sent ones go through the
// subclass the library puts on the windows.
bool HookMessageSource::InstallHooks(DWORD threadId) {
  const HINSTANCE module = ownProcess_ ? nullptr : library_;
  HHOOK hook = ::SetWindowsHookExW(WH_GETMESSAGE, getMsgProc_, module, threadId);
  if (!hook) return false;
  hooks_.push_back(hook);
  return true;
}

size_t HookMessageSource::PostToThreads(UINT message, bool skipThisThread) {
  const DWORD self = ::GetCurrentThreadId();
  size_t posted = 0;
  for (const ThreadTarget& thread : threads_) {
    if (skipThisThread && thread.threadId == self) continue;
    if (::PostMessageW(thread.window, message, ::GetCurrentProcessId(), static_cast<LPARAM>(session_))) ++posted;
  }
  return posted;
}

// Waits for every hooked thread to take its attach request, keeping
// Quillmar's own windows alive meanwhile.
bool HookMessageSource::WaitForAttach(uint64_t threads) {
  const ULONGLONG deadline = ::GetTickCount64() + kAttachTimeoutMs;
  while (HeaderWord(&SessionHeader::attached) < threads) {
    const ULONGLONG now = ::GetTickCount64();
    if (now >= deadline) return false;
    reader_->Beat(now);
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        // Left for the loop that owns it.
        ::PostQuitMessage(static_cast<int>(message.wParam));
        return false;
      }
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
  return true;
}

AttachOutcome HookMessageSource::Start(uint64_t window, bool includeChildren) {
  Stop();
  pending_.clear();
  lostBefore_ = 0;
  HWND root = ToWindow(window);
  if (window == 0 || !::IsWindow(root)) return AttachOutcome{AttachFailure::NoWindow, 0};
  DWORD pid = 0;
  const DWORD rootThread = ::GetWindowThreadProcessId(root, &pid);
  if (rootThread == 0) return AttachOutcome{AttachFailure::NoWindow, 0};
  ownProcess_ = pid == ::GetCurrentProcessId();

  std::vector<WatchedWindow> windows{{window, ClassOfWindow(root)}};
  threads_.push_back({rootThread, root});
  if (includeChildren) {
    ChildWalk walk{pid, &windows, &threads_};
    ::EnumChildWindows(root, &AddChild, reinterpret_cast<LPARAM>(&walk));
  }

  if (ownProcess_) {
    getMsgProc_ = &hook::GetMsgProc;
  } else {
    const AttachOutcome checked = CheckTargetProcess(pid);
    if (!checked.ok()) return Fail(checked.failure, checked.systemError);
    const std::wstring path = hookLibrary_.empty() ? HookLibraryBesideProgram() : hookLibrary_;
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return Fail(AttachFailure::NoHookLibrary);
    library_ = ::LoadLibraryW(path.c_str());
    if (!library_) return Fail(AttachFailure::NoHookLibrary, ::GetLastError());
    getMsgProc_ = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(library_, "QmGetMsgProc")));
    if (!getMsgProc_) return Fail(AttachFailure::NoHookLibrary);
  }

  if (!CreateSection(windows, includeChildren ? kSessionOptionNewChildren : 0))
    return Fail(AttachFailure::SystemError, ::GetLastError());
  for (const ThreadTarget& thread : threads_)
    if (!InstallHooks(thread.threadId)) {
      const DWORD error = ::GetLastError();
      if (!::IsWindow(root)) return Fail(AttachFailure::NoWindow);
      return Fail(AttachFailure::SystemError, error);
    }

  // Quillmar's own windows of this thread are subclassed here directly;
  // every other thread subclasses its own on the attach request.
  uint64_t attached = 0;
  if (ownProcess_) {
    if (!hook::AttachSession(::GetCurrentProcessId(), session_))
      return Fail(AttachFailure::SystemError, ::GetLastError());
    attached = 1;
  }
  const size_t posted = PostToThreads(hook::AttachMessage(), ownProcess_);
  if (attached + posted == 0) return Fail(::IsWindow(root) ? AttachFailure::NotResponding : AttachFailure::NoWindow);
  if (posted > 0 && !WaitForAttach(attached + posted))
    return Fail(::IsWindow(root) ? AttachFailure::NotResponding : AttachFailure::NoWindow);
  running_ = true;
  return AttachOutcome{};
}

void HookMessageSource::Poll(std::vector<MessageRecord>& out, size_t maxRecords) {
  if (!pending_.empty()) {
    const size_t taken = std::min(maxRecords, pending_.size());
    out.insert(out.end(), pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(taken));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(taken));
    maxRecords -= taken;
  }
  if (!running_ || !reader_) return;
  reader_->Beat(::GetTickCount64());
  reader_->Read(out, maxRecords);
  // The target let the session go on its own (it found the heartbeat stale
  // or its section refused): the session is over, not silently empty.
  if (HeaderWord(&SessionHeader::detached) != 0) {
    reader_->Read(pending_, kRingDefaultSlots);
    running_ = false;
    Release();
  }
}

void HookMessageSource::Stop() {
  if (!running_) return;
  running_ = false;
  std::atomic_ref<uint64_t>(header_->stop).store(1, std::memory_order_release);
  // Each thread gives its windows their own procedures back on the detach
  // request (or, when the hook is gone before it takes it, at the window's
  // next message).
  const size_t posted = PostToThreads(hook::DetachMessage(), ownProcess_);
  if (ownProcess_) hook::DetachSession();
  if (posted > 0) {
    const ULONGLONG deadline = ::GetTickCount64() + kDetachWaitMs;
    while (HeaderWord(&SessionHeader::detached) == 0 && ::GetTickCount64() < deadline) ::Sleep(2);
  }
  // What the target wrote before it let go.
  reader_->Read(pending_, kRingDefaultSlots);
  Release();
}

void HookMessageSource::Release() {
  // A thread that attached after all lets go at its next record.
  if (header_) std::atomic_ref<uint64_t>(header_->stop).store(1, std::memory_order_release);
  for (HHOOK hook : hooks_) ::UnhookWindowsHookEx(hook);
  hooks_.clear();
  threads_.clear();
  if (library_) ::FreeLibrary(library_);
  library_ = nullptr;
  getMsgProc_ = nullptr;
  if (reader_) lostBefore_ = reader_->Lost();
  reader_.reset();
  header_ = nullptr;
  if (view_) ::UnmapViewOfFile(view_);
  view_ = nullptr;
  if (mapping_) ::CloseHandle(mapping_);
  mapping_ = nullptr;
}

}  // namespace

std::wstring HookLibraryName() { return QM_HOOK_LIBRARY_NAME; }

std::wstring HookLibraryBesideProgram() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return HookLibraryName();
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of(L"\\/");
  path.resize(slash == std::wstring::npos ? 0 : slash + 1);
  return path + HookLibraryName();
}

std::unique_ptr<IMessageSource> CreateHookMessageSource(std::wstring hookLibrary) {
  return std::make_unique<HookMessageSource>(std::move(hookLibrary));
}

RegisteredMessageName SystemRegisteredMessageName() {
  return [](uint32_t message) -> std::string {
    // Registered messages and clipboard formats share one atom table.
    wchar_t name[256];
    const int length = ::GetClipboardFormatNameW(message, name, 256);
    if (length <= 0) return {};
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, name, length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) ::WideCharToMultiByte(CP_UTF8, 0, name, length, text.data(), bytes, nullptr, nullptr);
    return text;
  };
}

}  // namespace qm
