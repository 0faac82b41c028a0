#include "services_manager/ui/win32_services.h"

#include <memory>

#include "platform/win32/win.h"
#include "platform/win32/win32_system.h"

namespace qm::services {
namespace {

struct ServiceHandleCloser {
  void operator()(SC_HANDLE handle) const { ::CloseServiceHandle(handle); }
};
using UniqueService = std::unique_ptr<std::remove_pointer_t<SC_HANDLE>, ServiceHandleCloser>;

UniqueService OpenManager(DWORD access) { return UniqueService(::OpenSCManagerW(nullptr, nullptr, access)); }

uint32_t ReadStartType(SC_HANDLE manager, const wchar_t* name) {
  UniqueService service(::OpenServiceW(manager, name, SERVICE_QUERY_CONFIG));
  if (!service) return kUnknownStart;
  DWORD needed = 0;
  ::QueryServiceConfigW(service.get(), nullptr, 0, &needed);
  if (needed == 0 || needed > 64 * 1024) return kUnknownStart;
  // DWORD storage keeps the structure aligned.
  std::vector<DWORD> buffer((needed + sizeof(DWORD) - 1) / sizeof(DWORD));
  auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
  if (!::QueryServiceConfigW(service.get(), config, static_cast<DWORD>(buffer.size() * sizeof(DWORD)), &needed))
    return kUnknownStart;
  return config->dwStartType;
}

}  // namespace

uint32_t ListServices(std::vector<ServiceRow>& rows) {
  rows.clear();
  UniqueService manager = OpenManager(SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE);
  if (!manager) return ::GetLastError();
  DWORD resume = 0;
  std::vector<DWORD> buffer(16 * 1024);
  for (;;) {
    DWORD needed = 0;
    DWORD count = 0;
    const BOOL done = ::EnumServicesStatusExW(
        manager.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL, reinterpret_cast<BYTE*>(buffer.data()),
        static_cast<DWORD>(buffer.size() * sizeof(DWORD)), &needed, &count, &resume, nullptr);
    const DWORD error = done ? ERROR_SUCCESS : ::GetLastError();
    if (!done && error != ERROR_MORE_DATA) return error;
    const auto* found = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSW*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
      ServiceRow row;
      row.name = Narrow(found[i].lpServiceName ? found[i].lpServiceName : L"");
      row.displayName = Narrow(found[i].lpDisplayName ? found[i].lpDisplayName : L"");
      row.state = found[i].ServiceStatusProcess.dwCurrentState;
      row.processId = found[i].ServiceStatusProcess.dwProcessId;
      row.startType = ReadStartType(manager.get(), found[i].lpServiceName);
      rows.push_back(std::move(row));
    }
    if (done) break;
    // More to come: grow the buffer when not even one entry fitted.
    if (count == 0) {
      if (needed > 1024 * 1024) return ERROR_MORE_DATA;
      buffer.resize(needed / sizeof(DWORD) + 1);
    }
  }
  SortRows(rows);
  return ERROR_SUCCESS;
}

uint32_t StartServiceByName(const std::string& name) {
  UniqueService manager = OpenManager(SC_MANAGER_CONNECT);
  if (!manager) return ::GetLastError();
  UniqueService service(::OpenServiceW(manager.get(), Widen(name).c_str(), SERVICE_START));
  if (!service) return ::GetLastError();
  if (!::StartServiceW(service.get(), 0, nullptr)) return ::GetLastError();
  return ERROR_SUCCESS;
}

uint32_t StopServiceByName(const std::string& name) {
  UniqueService manager = OpenManager(SC_MANAGER_CONNECT);
  if (!manager) return ::GetLastError();
  UniqueService service(::OpenServiceW(manager.get(), Widen(name).c_str(), SERVICE_STOP));
  if (!service) return ::GetLastError();
  SERVICE_STATUS status{};
  if (!::ControlService(service.get(), SERVICE_CONTROL_STOP, &status)) return ::GetLastError();
  return ERROR_SUCCESS;
}

}  // namespace qm::services
