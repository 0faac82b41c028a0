#pragma once
// What the user is told when a logging session cannot start.

#include <string>
#include <string_view>

#include "msglog/message_source.h"
#include "platform/system.h"

namespace qm {

inline constexpr unsigned kAttachTimeoutSeconds = 5;

// The message for a failed outcome (empty for a good one). hookLibrary is
// the file name the NoHookLibrary message names; ownBits the bitness of
// this Quillmar (32 or 64), which OtherBitness turns round for the target's.
std::string AttachFailureText(const AttachOutcome& outcome, const IStrings& strings, std::string_view hookLibrary,
                              unsigned ownBits);

}  // namespace qm
