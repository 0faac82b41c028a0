#pragma once
// The names of window messages, of the common controls' messages and of the
// codes they send in WM_COMMAND and WM_NOTIFY, as the platform's headers
// spell them.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "msglog/message_record.h"

namespace qm {

struct MessageNameEntry {
  uint32_t value;
  const char* name;
};

// The registered name of a message in 0xC000..0xFFFF (the real one asks
// GetClipboardFormatName); empty when it has none.
using RegisteredMessageName = std::function<std::string(uint32_t message)>;

inline constexpr uint32_t kFirstRegisteredMessage = 0xC000;
inline constexpr uint32_t kLastRegisteredMessage = 0xFFFF;

// The name of a message sent to a window of the class: the class's own
// control messages first (toolbars and status bars share the WM_USER
// range), then the window messages, then the control messages whose numbers
// no other class uses; a registered message by its registered name; any
// other as "0x%04X".
std::string MessageName(uint32_t message, ControlClass windowClass, const RegisteredMessageName& registered = {});

// The table name alone; null when no table has it.
const char* KnownMessageName(uint32_t message, ControlClass windowClass);

// The name of a WM_COMMAND notification code of a control of the class
// (BN_, EN_, LBN_, CBN_); null when the class has none of that number.
const char* CommandCodeName(uint16_t code, ControlClass controlClass);

// The name of a WM_NOTIFY code (NM_, LVN_, TVN_, TCN_, TBN_, HDN_, SBN_);
// null when unknown.
const char* NotifyCodeName(uint32_t code);

// The name of a virtual-key code (VK_RETURN); letters and digits, which
// the headers leave unnamed, as the character ("A", "7"); null otherwise.
const char* VirtualKeyName(uint32_t key);

// SetWindowPos flags as names joined by " | ", bits without a name as one
// "0x%X" at the end; "0" for none.
std::string WindowPosFlagsText(uint32_t flags);

// Every message name the tables hold, sorted, each once: the names the
// filter offers for single messages.
std::vector<std::string> AllMessageNames();

}  // namespace qm
