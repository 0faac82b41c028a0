#pragma once
// Where the log window gets its records from: one logging session on one
// window (and, when asked, its children). The real source hooks the
// target's threads and reads the shared ring; a window of Quillmar's own
// process is logged without a hook. The log window polls it on a timer and
// never blocks on the target.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "msglog/message_record.h"

namespace qm {

// Why a session could not start; each has its own message for the user.
enum class AttachFailure : uint8_t {
  None = 0,
  NoWindow,       // the window does not exist (any more)
  OtherBitness,   // the target runs with the other bitness than Quillmar
  Elevated,       // the target runs at a higher integrity level
  LowIntegrity,   // a low-integrity or AppContainer target
  NoHookLibrary,  // the hook library is not beside the program
  NotResponding,  // the target did not attach within the time allowed
  SystemError,    // anything else; systemError carries GetLastError
};

struct AttachOutcome {
  AttachFailure failure = AttachFailure::None;
  uint32_t systemError = 0;
  bool ok() const { return failure == AttachFailure::None; }
};

class IMessageSource {
 public:
  virtual ~IMessageSource() = default;

  // Starts logging the window (and its children, in whatever threads they
  // run, when includeChildren). A source that is running is stopped first.
  virtual AttachOutcome Start(uint64_t window, bool includeChildren) = 0;
  // Ends the session: the target is left as it was before Start. The
  // records already read stay read; safe to call when not running.
  virtual void Stop() = 0;
  virtual bool Running() const = 0;

  // Moves the records written since the last call to out (appending, in
  // order, at most maxRecords) and keeps the session alive for the target.
  // Called from the log window's timer.
  virtual void Poll(std::vector<MessageRecord>& out, size_t maxRecords) = 0;
  // Records the target wrote but the log never got, over the session.
  virtual uint64_t Lost() const = 0;
  // The clock the records' timeMs is stamped with, read now.
  virtual uint64_t NowMs() const = 0;
};

// Makes the source the log window uses; the frame passes the real one.
using MessageSourceFactory = std::function<std::unique_ptr<IMessageSource>()>;

}  // namespace qm
