// Turmidex, the directory check: an automation server ("Turmidex.Application")
// whose method 3 opens its window, or, started by hand, the window alone.

#include "dir_check/ui/dir_check_window.h"
#include "framework/automation_server.h"

namespace {

// {A27C2EAC-3327-4BC3-A764-EC1BAD324227}
constexpr CLSID kDirCheckClsid = {0xa27c2eac, 0x3327, 0x4bc3, {0xa7, 0x64, 0xec, 0x1b, 0xad, 0x32, 0x42, 0x27}};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&controls);
  qm::dircheck::CDirCheckWindow window;
  const qm::fw::AutomationServer server{
      {L"Turmidex.Application", kDirCheckClsid, L"Turmidex: comprobación de directorios"},
      3,
      L"Show",
      [&window](std::wstring& failure) {
        if (window.Show()) return true;
        failure = L"No se pudo abrir la ventana de comprobación de directorios";
        return false;
      }};
  return qm::fw::RunAutomationServer(server, ::GetCommandLineW());
}
