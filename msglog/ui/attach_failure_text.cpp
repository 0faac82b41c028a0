#include "msglog/ui/attach_failure_text.h"

#include "common/text.h"
#include "platform/error_text.h"
#include "res/string_ids.h"

namespace qm {

std::string AttachFailureText(const Platform& platform, const AttachOutcome& outcome, const std::string& windowText) {
  const IStrings& strings = *platform.strings;
  uint32_t id = 0;
  switch (outcome.failure) {
    case AttachFailure::None:
      return {};
    case AttachFailure::NoWindow:
      id = IDS_MSGLOG_NO_WINDOW;
      break;
    case AttachFailure::OtherBitness:
      id = IDS_MSGLOG_OTHER_BITNESS;
      break;
    case AttachFailure::Elevated:
      id = IDS_MSGLOG_ELEVATED;
      break;
    case AttachFailure::LowIntegrity:
      id = IDS_MSGLOG_LOW_INTEGRITY;
      break;
    case AttachFailure::NoHookLibrary:
      return strings.LoadString(IDS_MSGLOG_NO_HOOK_LIBRARY);
    case AttachFailure::NotResponding:
      id = IDS_MSGLOG_NOT_RESPONDING;
      break;
    case AttachFailure::SystemError:
      return FormatTable(strings.LoadString(IDS_MSGLOG_SYSTEM_ERROR),
                         {windowText, CErrorText(*platform.errors, outcome.systemError).GetText()});
  }
  if (id == 0) return FormatTable(strings.LoadString(IDS_MSGLOG_SYSTEM_ERROR), {windowText, ""});
  return FormatTable(strings.LoadString(id), {windowText});
}

}  // namespace qm
