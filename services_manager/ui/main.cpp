// Palvexi, the services manager: an automation server ("Palvexi.Application")
// whose method 2 opens its window, or, started by hand, the window alone.

#include "framework/automation_server.h"
#include "services_manager/ui/services_window.h"

namespace {

// {C8B80EE4-A34D-4666-A596-74E2D2B42C8B}
constexpr CLSID kServicesClsid = {0xc8b80ee4, 0xa34d, 0x4666, {0xa5, 0x96, 0x74, 0xe2, 0xd2, 0xb4, 0x2c, 0x8b}};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);
  qm::services::CServicesWindow window;
  const qm::fw::AutomationServer server{{L"Palvexi.Application", kServicesClsid, L"Palvexi: gestor de servicios"},
                                        2,
                                        L"Show",
                                        [&window](std::wstring& failure) {
                                          if (window.Show()) return true;
                                          failure = L"No se pudo abrir la ventana del gestor de servicios";
                                          return false;
                                        }};
  return qm::fw::RunAutomationServer(server, ::GetCommandLineW());
}
