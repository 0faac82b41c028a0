#include "common/ui/count_text.h"

#include "common/text.h"
#include "platform/platform.h"
#include "platform/win32/win32_system.h"

namespace qm {

std::wstring CountText(int count, uint32_t stringId) {
  return Widen(Format("%d %s", count, SystemPlatform().strings->LoadString(stringId).c_str()));
}

}  // namespace qm
