#include "app/ui/message_log_source.h"

namespace qm {

MessageSourceFactory MessageLogSourceFactory() { return {}; }

}  // namespace qm
