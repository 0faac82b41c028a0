#include "services_manager/service_list.h"

#include <algorithm>
#include <cctype>

#include "services_manager/service_strings.h"

namespace qm::services {
namespace {

// ASCII case folding: service names are ASCII; display names that are not
// still sort consistently.
int CompareNoCase(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const int ca = std::tolower(static_cast<unsigned char>(a[i]));
    const int cb = std::tolower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

uint32_t StateTextId(uint32_t state) {
  switch (state) {
    case kStopped:
      return IDS_SM_STOPPED;
    case kStartPending:
      return IDS_SM_START_PENDING;
    case kStopPending:
      return IDS_SM_STOP_PENDING;
    case kRunning:
      return IDS_SM_RUNNING;
    case kContinuePending:
      return IDS_SM_CONTINUE_PENDING;
    case kPausePending:
      return IDS_SM_PAUSE_PENDING;
    case kPaused:
      return IDS_SM_PAUSED;
    default:
      return IDS_SM_UNKNOWN;
  }
}

uint32_t StartTypeTextId(uint32_t startType) {
  switch (startType) {
    case kBootStart:
      return IDS_SM_BOOT_START;
    case kSystemStart:
      return IDS_SM_SYSTEM_START;
    case kAutoStart:
      return IDS_SM_AUTO_START;
    case kDemandStart:
      return IDS_SM_DEMAND_START;
    case kDisabled:
      return IDS_SM_DISABLED;
    default:
      return IDS_SM_UNKNOWN;
  }
}

void SortRows(std::vector<ServiceRow>& rows) {
  std::stable_sort(rows.begin(), rows.end(), [](const ServiceRow& a, const ServiceRow& b) {
    const int byDisplay = CompareNoCase(a.displayName, b.displayName);
    return byDisplay != 0 ? byDisplay < 0 : CompareNoCase(a.name, b.name) < 0;
  });
}

bool CanStart(const ServiceRow& row) { return row.state == kStopped && row.startType != kDisabled; }

bool CanStop(const ServiceRow& row) {
  return row.state == kRunning || row.state == kPaused || row.state == kStartPending || row.state == kContinuePending ||
         row.state == kPausePending;
}

bool IsPending(const ServiceRow& row) {
  return row.state == kStartPending || row.state == kStopPending || row.state == kContinuePending ||
         row.state == kPausePending;
}

std::optional<size_t> FindRow(const std::vector<ServiceRow>& rows, const std::string& name) {
  for (size_t i = 0; i < rows.size(); ++i)
    if (CompareNoCase(rows[i].name, name) == 0) return i;
  return std::nullopt;
}

}  // namespace qm::services
