#include "msglog/hook/subclass_table.h"

namespace qm {

void SubclassSlot::NoteQueued(uint32_t message, uint64_t wParam, uint64_t lParam) {
  queued = true;
  queuedMessage = message;
  queuedWParam = wParam;
  queuedLParam = lParam;
}

bool SubclassSlot::TakeQueued(uint32_t message, uint64_t wParam, uint64_t lParam) {
  if (!queued || message != queuedMessage || wParam != queuedWParam || lParam != queuedLParam) return false;
  queued = false;
  return true;
}

SubclassSlot* SubclassTable::Claim(uint64_t window, uint64_t original, uint32_t threadId, bool unicode) {
  if (window == 0 || Find(window) != nullptr) return nullptr;
  for (size_t i = 0; i < kCapacity; ++i) {
    SubclassSlot& slot = slots_[i];
    uint64_t free = 0;
    // Threads claim slots for their own windows at the same time.
    if (!slot.window.compare_exchange_strong(free, window, std::memory_order_acq_rel)) continue;
    slot.original = original;
    slot.threadId = threadId;
    slot.unicode = unicode;
    slot.queued = false;
    size_t used = used_.load(std::memory_order_acquire);
    while (used < i + 1 && !used_.compare_exchange_weak(used, i + 1, std::memory_order_acq_rel)) {
    }
    return &slot;
  }
  return nullptr;
}

SubclassSlot* SubclassTable::Find(uint64_t window) {
  if (window == 0) return nullptr;
  const size_t used = used_.load(std::memory_order_acquire);
  for (size_t i = 0; i < used; ++i)
    if (slots_[i].window.load(std::memory_order_acquire) == window) return &slots_[i];
  return nullptr;
}

void SubclassTable::Release(uint64_t window) {
  if (window == 0) return;
  const size_t used = used_.load(std::memory_order_acquire);
  for (size_t i = 0; i < used; ++i) {
    uint64_t expected = window;
    // Given back once, even when the window's thread and a detaching thread
    // both let it go.
    if (slots_[i].window.compare_exchange_strong(expected, 0, std::memory_order_acq_rel)) return;
  }
}

size_t SubclassTable::Count() const {
  size_t count = 0;
  const size_t used = used_.load(std::memory_order_acquire);
  for (size_t i = 0; i < used; ++i)
    if (slots_[i].window.load(std::memory_order_acquire) != 0) ++count;
  return count;
}

}  // namespace qm
