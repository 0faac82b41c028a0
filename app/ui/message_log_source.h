#pragma once
// Where the frame's log windows get their sessions from.

#include "msglog/message_source.h"

namespace qm {

// The real source: the hook library's session, and the in-process one for
// Quillmar's own windows. An empty factory (as tests may set) makes
// "Registro de mensajes..." tell the user the log is not available.
MessageSourceFactory MessageLogSourceFactory();

}  // namespace qm
