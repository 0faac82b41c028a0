#pragma once
// The "Detalles" column: what a message carries, decoded from the record
// alone (its parameters and the fields the hook copied inside the target).

#include <string>

#include "msglog/message_record.h"

namespace qm {

// Empty for a message it does not decode.
std::string MessageDetails(const MessageRecord& record);

// A window handle or other pointer-sized value as the lists show it:
// "0x%08x", more digits only when the value needs them.
std::string LogHandleText(uint64_t value);

}  // namespace qm
