#pragma once
// The services manager's list: the rows it shows, the order, which of start
// and stop the selected row allows, and the row a refresh keeps selected.
// Portable; the state and start-type numbers are the service manager's.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm::services {

// SERVICE_STOPPED ... SERVICE_PAUSED.
enum ServiceState : uint32_t {
  kStopped = 1,
  kStartPending = 2,
  kStopPending = 3,
  kRunning = 4,
  kContinuePending = 5,
  kPausePending = 6,
  kPaused = 7,
};

// SERVICE_BOOT_START ... SERVICE_DISABLED; kUnknownStart when it could not
// be read.
enum StartType : uint32_t {
  kBootStart = 0,
  kSystemStart = 1,
  kAutoStart = 2,
  kDemandStart = 3,
  kDisabled = 4,
  kUnknownStart = 0xFFFFFFFF,
};

struct ServiceRow {
  std::string name;
  std::string displayName;
  uint32_t state = kStopped;
  uint32_t startType = kUnknownStart;
  uint32_t processId = 0;
};

// The string ID of a state's or a start type's name (services_manager/strings.inc).
uint32_t StateTextId(uint32_t state);
uint32_t StartTypeTextId(uint32_t startType);

// Display name order, ignoring case; the service name breaks ties.
void SortRows(std::vector<ServiceRow>& rows);

// A stopped service that is not disabled can be started. Anything running,
// paused or on its way may be asked to stop: the service manager decides,
// and its refusal is shown to the user.
bool CanStart(const ServiceRow& row);
bool CanStop(const ServiceRow& row);
bool IsPending(const ServiceRow& row);

// The row of the service named name (names compare ignoring case).
std::optional<size_t> FindRow(const std::vector<ServiceRow>& rows, const std::string& name);

}  // namespace qm::services
