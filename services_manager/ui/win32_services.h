#pragma once
// The system's service manager: the installed services, and start and stop
// of one of them. Failures are the system's error codes (0 is success).

#include <vector>

#include "services_manager/service_list.h"

namespace qm::services {

uint32_t ListServices(std::vector<ServiceRow>& rows);
uint32_t StartServiceByName(const std::string& name);
uint32_t StopServiceByName(const std::string& name);

}  // namespace qm::services
