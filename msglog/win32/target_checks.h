#pragma once
// What Quillmar checks about a target process before it loads anything into
// it: the same bitness, and an integrity level that lets both sides share
// the section (not higher than Quillmar's, not low, not an AppContainer).

#include <cstdint>

#include "msglog/message_source.h"

namespace qm {

AttachOutcome CheckTargetProcess(uint32_t pid);

}  // namespace qm
