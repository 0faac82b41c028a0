#include "app/ui/message_log_source.h"

#include "msglog/win32/hook_message_source.h"

namespace qm {

MessageSourceFactory MessageLogSourceFactory() {
  return [] { return CreateHookMessageSource(); };
}

}  // namespace qm
