#include "msglog/attach_failure_text.h"

#include "common/text.h"
#include "res/string_ids.h"

namespace qm {

std::string AttachFailureText(const AttachOutcome& outcome, const IStrings& strings, std::string_view hookLibrary,
                              unsigned ownBits) {
  const std::string own = std::to_string(ownBits);
  const std::string other = std::to_string(ownBits == 64 ? 32 : 64);
  switch (outcome.failure) {
    case AttachFailure::None:
      return {};
    case AttachFailure::NoWindow:
      return strings.LoadString(IDS_MSGLOG_NO_WINDOW);
    case AttachFailure::OtherBitness:
      return FormatTable(strings.LoadString(IDS_MSGLOG_OTHER_BITNESS), {other, own, other});
    case AttachFailure::Elevated:
      return strings.LoadString(IDS_MSGLOG_ELEVATED);
    case AttachFailure::LowIntegrity:
      return strings.LoadString(IDS_MSGLOG_LOW_INTEGRITY);
    case AttachFailure::NoHookLibrary:
      return FormatTable(strings.LoadString(IDS_MSGLOG_NO_HOOK_LIBRARY), {hookLibrary});
    case AttachFailure::NotResponding:
      return FormatTable(strings.LoadString(IDS_MSGLOG_NOT_RESPONDING), {std::to_string(kAttachTimeoutSeconds)});
    case AttachFailure::SystemError:
      break;
  }
  return FormatTable(strings.LoadString(IDS_MSGLOG_SYSTEM_ERROR),
                     {std::to_string(outcome.systemError), Format("%X", outcome.systemError)});
}

}  // namespace qm
