#include "framework/automation_server.h"

#include <shellapi.h>

#include <atomic>
#include <memory>
#include <string>

#include "framework/com_ptr.h"

namespace qm::fw {
namespace {

std::atomic<long> g_serverLocks{0};
DWORD g_mainThread = 0;
// Set once a client made the object: from then on the last release ends
// the process.
std::atomic<bool> g_everUsed{false};

// A COM launch whose client never asks for the object (it died meanwhile)
// ends after this long instead of waiting for ever.
constexpr UINT kUnusedLaunchMs = 60000;
// Asks the loop to end if nothing counts on the server any more. Checked
// when it arrives, not when posted, so a count that drops to zero and rises
// again while COM hands the object over ends nothing.
constexpr UINT kCheckLifetime = WM_APP + 0x51;

// The one dispatch object of the process: every client gets the same, so
// its method always reaches the one window. It lives as long as the
// process; its references only count towards the server's lifetime.
class ToolDispatch final : public IDispatch {
 public:
  explicit ToolDispatch(const AutomationServer& server) : server_(server) {}
  virtual ~ToolDispatch() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    if (++refs_ == 1) {
      g_everUsed = true;
      ServerLifetime::Lock();
    }
    return static_cast<ULONG>(refs_.load());
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const long left = --refs_;
    if (left == 0) ServerLifetime::Unlock();
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (!names || !ids) return E_POINTER;
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
      // The method takes no arguments, so no name after the first is known.
      const bool known = i == 0 && names[0] && _wcsicmp(names[0], server_.methodName) == 0;
      ids[i] = known ? server_.method : DISPID_UNKNOWN;
      if (!known) result = DISP_E_UNKNOWNNAME;
    }
    return result;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT*) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (id != server_.method || !(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    if (params && (params->cArgs != 0 || params->cNamedArgs != 0)) return DISP_E_BADPARAMCOUNT;
    if (result) ::VariantInit(result);
    std::wstring failure;
    if (server_.showTool(failure)) return S_OK;
    if (exception) {
      *exception = EXCEPINFO{};
      exception->scode = E_FAIL;
      exception->bstrSource = ::SysAllocString(server_.cls.progId);
      exception->bstrDescription = ::SysAllocString(failure.c_str());
    }
    return DISP_E_EXCEPTION;
  }

 private:
  const AutomationServer& server_;
  std::atomic<long> refs_{0};
};

// The class object; static, so its references are not counted.
class ToolFactory final : public IClassFactory {
 public:
  explicit ToolFactory(ToolDispatch& object) : object_(object) {}
  virtual ~ToolFactory() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return object_.QueryInterface(iid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      ServerLifetime::Lock();
    } else {
      ServerLifetime::Unlock();
    }
    return S_OK;
  }

 private:
  ToolDispatch& object_;
};

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

bool IsDialogWindow(HWND window) { return window && ::GetClassLongW(window, GCW_ATOM) == 32770; }

void RunMessageLoop(bool embedded) {
  if (embedded) ::SetTimer(nullptr, 0, kUnusedLaunchMs, nullptr);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd == nullptr && message.message == kCheckLifetime) {
      if (ServerLifetime::Count() == 0) break;
      continue;
    }
    if (message.hwnd == nullptr && message.message == WM_TIMER) {
      if (!g_everUsed && ServerLifetime::Count() == 0) break;
      continue;
    }
    HWND active = ::GetActiveWindow();
    if (IsDialogWindow(active) && ::IsDialogMessageW(active, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace

void ServerLifetime::Lock() { ++g_serverLocks; }

void ServerLifetime::Unlock() {
  if (--g_serverLocks == 0 && g_mainThread != 0) ::PostThreadMessageW(g_mainThread, kCheckLifetime, 0, 0);
}

long ServerLifetime::Count() { return g_serverLocks.load(); }

ServerMode ParseServerCommandLine(const wchar_t* commandLine) {
  int count = 0;
  std::unique_ptr<LPWSTR, decltype(&::LocalFree)> args(::CommandLineToArgvW(commandLine, &count), &::LocalFree);
  if (!args) return ServerMode::kStandalone;
  for (int i = 1; i < count; ++i) {
    const wchar_t* arg = args.get()[i];
    if (arg[0] != L'/' && arg[0] != L'-') continue;
    ++arg;
    if (_wcsicmp(arg, L"RegServer") == 0) return ServerMode::kRegister;
    if (_wcsicmp(arg, L"UnregServer") == 0) return ServerMode::kUnregister;
    if (_wcsicmp(arg, L"Embedding") == 0 || _wcsicmp(arg, L"Automation") == 0) return ServerMode::kEmbedding;
  }
  return ServerMode::kStandalone;
}

int RunAutomationServer(const AutomationServer& server, const wchar_t* commandLine) {
  const ServerMode mode = ParseServerCommandLine(commandLine);
  if (mode == ServerMode::kRegister) return static_cast<int>(RegisterAutomationClass(server.cls, ModulePath()));
  if (mode == ServerMode::kUnregister) return static_cast<int>(UnregisterAutomationClass(server.cls));

  const ComApartment com;
  if (FAILED(com.Result())) return static_cast<int>(com.Result());
  g_mainThread = ::GetCurrentThreadId();
  ToolDispatch object(server);
  ToolFactory factory(object);
  DWORD cookie = 0;
  if (mode == ServerMode::kEmbedding) {
    const HRESULT registered =
        ::CoRegisterClassObject(server.cls.clsid, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    if (FAILED(registered)) return static_cast<int>(registered);
  } else {
    std::wstring failure;
    if (!server.showTool(failure)) return 1;
  }
  RunMessageLoop(mode == ServerMode::kEmbedding);
  if (cookie) ::CoRevokeClassObject(cookie);
  // Clients still holding the object (the loop ended on WM_QUIT from the
  // window's side) are cut off before the object goes.
  ::CoDisconnectObject(static_cast<IDispatch*>(&object), 0);
  g_mainThread = 0;
  return 0;
}

}  // namespace qm::fw
