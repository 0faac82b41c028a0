#pragma once
// What the user reads when a logging session could not start.
//
// Stand-in until the real source brings its own text for an AttachOutcome:
// then the log window calls that one and this file goes.

#include <string>

#include "msglog/message_source.h"
#include "platform/platform.h"

namespace qm {

// windowText: the window as the log's title names it. Empty for a success.
std::string AttachFailureText(const Platform& platform, const AttachOutcome& outcome, const std::string& windowText);

}  // namespace qm
