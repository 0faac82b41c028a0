#pragma once
// Where the frame's log windows get their sessions from.

#include "msglog/message_source.h"

namespace qm {

// The real source (the hook library's session, and the in-process one for
// Quillmar's own windows) is wired in here. Until it is, this returns an
// empty factory and "Registro de mensajes..." tells the user the log is not
// available.
MessageSourceFactory MessageLogSourceFactory();

}  // namespace qm
