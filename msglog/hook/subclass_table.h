#pragma once
// The windows the hook library has subclassed in this process, with the
// procedure each had before: a fixed table, so the subclass procedure finds
// its window's original procedure without allocating.
//
// A slot outlives the session that made it: when the session ends and
// another procedure was put over ours, ours stays in the chain as a
// pass-through and still needs the original. A slot is given back only once
// ours is no longer the window's procedure (put back, or the window gone).
//
// Each slot also keeps the posted message its thread last took from the
// queue for the window: when the procedure is then entered with that same
// message, it is the dispatch of a message already logged as queued, not a
// sent one.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "msglog/hook/session_block.h"

namespace qm {

struct SubclassSlot {
  std::atomic<uint64_t> window{0};  // 0 while the slot is free
  uint64_t original = 0;            // the procedure to call, as the system gave it
  uint32_t threadId = 0;            // the window's thread, the only one that touches the fields below
  bool unicode = false;             // subclassed with the W calls
  bool queued = false;
  uint32_t queuedMessage = 0;
  uint64_t queuedWParam = 0;
  uint64_t queuedLParam = 0;

  // The thread took this posted message from the queue for the window.
  void NoteQueued(uint32_t message, uint64_t wParam, uint64_t lParam);
  // Whether this entry into the procedure is the dispatch of the message
  // last noted; a match is used up, so the messages the dispatch itself
  // sends (even equal ones) count as sent.
  bool TakeQueued(uint32_t message, uint64_t wParam, uint64_t lParam);
};

class SubclassTable {
 public:
  static constexpr size_t kCapacity = kSessionMaxWindows;

  // A free slot for the window, its fields cleared, or nothing when the
  // table is full, the handle is 0 or the window already has one.
  SubclassSlot* Claim(uint64_t window, uint64_t original, uint32_t threadId, bool unicode);
  SubclassSlot* Find(uint64_t window);
  // Gives the window's slot back; nothing when it has none.
  void Release(uint64_t window);
  size_t Count() const;
  // Calls visit(slot) for each slot in use.
  template <class Visit>
  void ForEach(Visit visit) {
    const size_t used = used_.load(std::memory_order_acquire);
    for (size_t i = 0; i < used; ++i)
      if (slots_[i].window.load(std::memory_order_acquire) != 0) visit(slots_[i]);
  }

 private:
  std::array<SubclassSlot, kCapacity> slots_{};
  // Slots past this one were never used: lookups stop here.
  std::atomic<size_t> used_{0};
};

}  // namespace qm
