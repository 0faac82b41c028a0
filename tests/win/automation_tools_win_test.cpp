// The two automation tools and the frame's commands that reach them:
// registration leaves exactly its keys, the commands start and call both
// servers on first use, and failures reach the user with their texts.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/ui/automation_component.h"
#include "app/ui/main_frame.h"
#include "framework/automation_registration.h"
#include "framework/com_ptr.h"
#include "res/resource_ids.h"
#include "tests/win/app_fixture.h"
#include "tests/win/modal_driver.h"
#include "tests/win/pump.h"

namespace qm {
namespace {

std::wstring ToolPath(const char* relative) { return Widen(std::string(QM_FIXTURE_DIR) + "/../" + relative); }
const std::wstring kTurmidex = ToolPath("dir_check/turmidex.exe");
const std::wstring kPalvexi = ToolPath("services_manager/palvexi.exe");

// Runs a tool with one argument and returns its exit code (-1 when it could
// not be started or did not end).
int RunTool(const std::wstring& exe, const std::wstring& argument) {
  std::wstring command = L"\"" + exe + L"\" " + argument;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  if (!::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
    return -1;
  DWORD code = static_cast<DWORD>(-1);
  if (::WaitForSingleObject(child.hProcess, 20000) == WAIT_OBJECT_0) ::GetExitCodeProcess(child.hProcess, &code);
  ::CloseHandle(child.hThread);
  ::CloseHandle(child.hProcess);
  return static_cast<int>(code);
}

bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

std::wstring DefaultValue(HKEY root, const std::wstring& path) {
  wchar_t value[1024] = {};
  DWORD bytes = sizeof value - sizeof(wchar_t);
  if (::RegGetValueW(root, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) return {};
  return value;
}

struct Tool {
  std::wstring exe;
  const wchar_t* progId;
  const wchar_t* caption;  // of its window
};
const Tool kTools[] = {{kTurmidex, L"Turmidex.Application", L"Comprobar directorio"},
                       {kPalvexi, L"Palvexi.Application", L"Gestor de servicios"}};

// Both tools registered for the scope of a test, and unregistered after.
struct RegisteredTools {
  RegisteredTools() {
    for (const Tool& tool : kTools) registered = RunTool(tool.exe, L"/RegServer") == 0 && registered;
  }
  ~RegisteredTools() {
    for (const Tool& tool : kTools) RunTool(tool.exe, L"/UnregServer");
  }
  bool registered = true;
};

TEST(AutomationRegistrationTest, RegisterWritesTheClassKeysAndUnregisterLeavesNone) {
  for (const Tool& tool : kTools) {
    SCOPED_TRACE(Narrow(tool.progId));
    ASSERT_EQ(RunTool(tool.exe, L"/RegServer"), 0);
    const std::wstring classes = L"Software\\Classes\\";
    const std::wstring clsid = DefaultValue(HKEY_LOCAL_MACHINE, classes + tool.progId + L"\\CLSID");
    ASSERT_EQ(clsid.size(), 38u) << "a {...} class identifier";
    const std::wstring classKey = classes + L"CLSID\\" + clsid;
    EXPECT_EQ(DefaultValue(HKEY_LOCAL_MACHINE, classKey + L"\\ProgID"), tool.progId);
    const std::wstring server = DefaultValue(HKEY_LOCAL_MACHINE, classKey + L"\\LocalServer32");
    const std::wstring exeName = tool.exe.substr(tool.exe.find_last_of(L"/\\") + 1);
    EXPECT_EQ(server.front(), L'"') << "a quoted path survives spaces";
    EXPECT_NE(server.find(exeName), std::wstring::npos) << Narrow(server);
    // HKEY_CLASSES_ROOT finds what was written, as the frame's probe needs.
    EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, std::wstring(tool.progId) + L"\\CLSID"), clsid);

    ASSERT_EQ(RunTool(tool.exe, L"/UnregServer"), 0);
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      EXPECT_FALSE(KeyExists(root, classes + tool.progId));
      EXPECT_FALSE(KeyExists(root, classKey));
    }
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, tool.progId));
    EXPECT_EQ(RunTool(tool.exe, L"/UnregServer"), 0) << "removing what is not there is no failure";
  }
}

class AutomationCommandsTest : public RunningAppTest {
 protected:
  // Opens the "Otros" menu as the user would, so the frame probes again.
  void OpenOthersMenu() {
    HMENU bar = ::GetMenu(app.m_frame->m_hWnd);
    for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
      HMENU popup = ::GetSubMenu(bar, i);
      if (popup && ::GetMenuState(popup, ID_DIRECTORY_CHECK, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
        ::SendMessageW(app.m_frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(i, FALSE));
        others_ = popup;
      }
    }
  }
  bool MenuEnabled(UINT id) const { return others_ && !(::GetMenuState(others_, id, MF_BYCOMMAND) & MF_GRAYED); }

  HMENU others_ = nullptr;
};

TEST_F(AutomationCommandsTest, TheFirstUseStartsEachToolAndOpensItsWindowAndTheServersEndAfterwards) {
  RegisteredTools tools;
  ASSERT_TRUE(tools.registered);
  // Registered after the frame was made: found when the menu opens.
  OpenOthersMenu();
  ASSERT_TRUE(app.m_frame->m_bDirCheckAvailable);
  ASSERT_TRUE(app.m_frame->m_bServicesAvailable);
  EXPECT_TRUE(MenuEnabled(ID_DIRECTORY_CHECK));
  EXPECT_TRUE(MenuEnabled(ID_SERVICES_MANAGER));

  std::vector<HANDLE> servers;
  const UINT commands[] = {ID_DIRECTORY_CHECK, ID_SERVICES_MANAGER};
  for (size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(Narrow(kTools[i].caption));
    ::SendMessageW(app.m_frame->m_hWnd, WM_COMMAND, commands[i], 0);
    // One command: the window is there when the call returns.
    HWND window = ::FindWindowW(nullptr, kTools[i].caption);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(::IsWindowVisible(window));
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    EXPECT_NE(pid, ::GetCurrentProcessId()) << "an out-of-process server";
    servers.push_back(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid));
    ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(window); }, 5000));
  }
  EXPECT_TRUE(app.m_frame->m_dirCheckComponent.IsCreated());
  EXPECT_TRUE(app.m_frame->m_servicesComponent.IsCreated());

  // With its window closed and the frame's reference gone, a server ends.
  ::DestroyWindow(app.m_frame->m_hWnd);
  for (HANDLE server : servers) {
    ASSERT_NE(server, nullptr);
    const DWORD waited = ::WaitForSingleObject(server, 15000);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the server process is still running";
    if (waited != WAIT_OBJECT_0) ::TerminateProcess(server, 1);  // no stray process on the shared display
    ::CloseHandle(server);
  }
}

TEST_F(AutomationCommandsTest, AServerThatCannotBeStartedIsReportedWithTheSystemsText) {
  const fw::AutomationClass missing{L"Turmidex.Application",
                                    {0x1d0c3b8e, 0x2f4a, 0x4e51, {0x9a, 0x11, 0x53, 0x0e, 0x6d, 0x2c, 0x7b, 0x40}},
                                    L"missing"};
  ASSERT_EQ(fw::RegisterAutomationClass(missing, L"Z:\\nonexistent\\turmidex.exe"), 0u);
  OpenOthersMenu();
  ASSERT_TRUE(MenuEnabled(ID_DIRECTORY_CHECK));
  std::vector<std::string> messages;
  ModalDriver driver;
  for (int i = 0; i < 2; ++i) {
    driver.On(L"Quillmar", [&](HWND box) {
      wchar_t text[1024] = {};
      ::GetDlgItemTextW(box, 0xFFFF, text, 1024);
      messages.push_back(Narrow(text));
      ModalDriver::Press(box, IDOK);
    });
  }
  ::SendMessageW(app.m_frame->m_hWnd, WM_COMMAND, ID_DIRECTORY_CHECK, 0);
  ::SendMessageW(app.m_frame->m_hWnd, WM_COMMAND, ID_DIRECTORY_CHECK, 0);
  fw::UnregisterAutomationClass(missing);
  ASSERT_EQ(messages.size(), 2u) << "the driver stayed empty, so the second use tried again";
  const std::string head = "Error creando componente [Turmidex.Application]\n(#-";
  EXPECT_EQ(messages[0].rfind(head, 0), 0u) << messages[0];
  EXPECT_EQ(messages[1], messages[0]);
  EXPECT_FALSE(app.m_frame->m_dirCheckComponent.IsCreated());
}

// A component of this process whose method raises an automation exception
// (DISPID 7) and which knows no other method.
class FaultyDispatch final : public IDispatch {
 public:
  virtual ~FaultyDispatch() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown && iid != IID_IDispatch) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IDispatch*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return DISP_E_BADINDEX; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO* info,
                                   UINT*) override {
    if (id != 7) return DISP_E_MEMBERNOTFOUND;
    *info = EXCEPINFO{};
    info->scode = E_FAIL;
    info->bstrSource = ::SysAllocString(source);
    info->bstrDescription = ::SysAllocString(L"Fallo simulado");
    return DISP_E_EXCEPTION;
  }
  const wchar_t* source = L"Prueba";
};

class FaultyFactory final : public IClassFactory {
 public:
  explicit FaultyFactory(FaultyDispatch& object) : object_(object) {}
  virtual ~FaultyFactory() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** object) override {
    return object_.QueryInterface(iid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  FaultyDispatch& object_;
};

TEST(AutomationComponentTest, AnExceptionOfTheComponentIsShownWithItsSourceAndDescription) {
  const fw::ComApartment com;
  ASSERT_TRUE(SUCCEEDED(com.Result()));
  const fw::AutomationClass faulty{
      L"Quillmar.PruebaFallo", {0x5e1f0a27, 0x8c3d, 0x4b9e, {0xb2, 0x60, 0x19, 0x7a, 0x44, 0xd1, 0x0f, 0x3c}}, L"test"};
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  ASSERT_EQ(fw::RegisterAutomationClass(faulty, self), 0u);
  FaultyDispatch object;
  FaultyFactory factory(object);
  DWORD cookie = 0;
  ASSERT_TRUE(SUCCEEDED(::CoRegisterClassObject(faulty.clsid, &factory, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                                REGCLS_MULTIPLEUSE, &cookie)));
  std::vector<std::string> messages;
  ModalDriver driver;
  for (int i = 0; i < 3; ++i) {
    driver.On(L"Quillmar", [&](HWND box) {
      wchar_t text[1024] = {};
      ::GetDlgItemTextW(box, 0xFFFF, text, 1024);
      messages.push_back(Narrow(text));
      ModalDriver::Press(box, IDOK);
    });
  }
  CAutomationComponent component(faulty.progId, 7);
  EXPECT_FALSE(component.Run(SystemPlatform()));
  EXPECT_TRUE(component.IsCreated()) << "a failed call keeps the component";
  object.source = L"";
  EXPECT_FALSE(component.Run(SystemPlatform()));
  CAutomationComponent unknownMethod(faulty.progId, 8);
  EXPECT_FALSE(unknownMethod.Run(SystemPlatform()));
  ::CoRevokeClassObject(cookie);
  fw::UnregisterAutomationClass(faulty);

  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0], "Error accediendo a un componente\n[Prueba] Fallo simulado");
  EXPECT_EQ(messages[1], "Error accediendo a un componente\nFallo simulado");
  EXPECT_EQ(messages[2].rfind("Error accediendo a un componente\n(#-2147352573) ", 0), 0u) << messages[2];
}

}  // namespace
}  // namespace qm
