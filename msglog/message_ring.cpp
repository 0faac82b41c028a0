#include "msglog/message_ring.h"

#include <atomic>
#include <cstring>

namespace qm {
namespace {

using Atomic = std::atomic_ref<uint64_t>;
static_assert(Atomic::required_alignment <= 8);
// Two processes share the words: a lock kept inside one of them would not do.
static_assert(Atomic::is_always_lock_free && std::atomic_ref<uint32_t>::is_always_lock_free);

// A writer that keeps losing the race for a position (or meets a damaged
// block) gives up after this many tries rather than spin.
constexpr int kWriterTries = 64;

bool IsPowerOfTwo(uint32_t n) { return n != 0 && (n & (n - 1)) == 0; }

bool Aligned(const void* p) { return reinterpret_cast<uintptr_t>(p) % 8 == 0; }

bool GeometryFits(uint32_t slotCount, size_t blockSize) {
  return slotCount >= kRingMinSlots && slotCount <= kRingMaxSlots && IsPowerOfTwo(slotCount) &&
         blockSize >= RingBlockSize(slotCount);
}

}  // namespace

Result<MessageRingWriter> MessageRingWriter::Attach(std::span<uint8_t> block) {
  if (block.size() < sizeof(RingHeader) || !Aligned(block.data()))
    return Result<MessageRingWriter>::Fail(ReadError::OutOfBounds, 0);
  auto* header = reinterpret_cast<RingHeader*>(block.data());
  // The magic is written last when the ring is laid out.
  RingHeader seen;
  seen.magic = std::atomic_ref<uint32_t>(header->magic).load(std::memory_order_acquire);
  seen.version = header->version;
  seen.slotCount = header->slotCount;
  seen.slotSize = header->slotSize;
  if (seen.magic != kRingMagic) return Result<MessageRingWriter>::Fail(ReadError::BadSignature, 0);
  if (seen.version != kRingVersion) return Result<MessageRingWriter>::Fail(ReadError::BadValue, 4);
  if (seen.slotSize != sizeof(RingSlot)) return Result<MessageRingWriter>::Fail(ReadError::BadValue, 12);
  if (!GeometryFits(seen.slotCount, block.size())) return Result<MessageRingWriter>::Fail(ReadError::BadValue, 8);
  return MessageRingWriter(header, reinterpret_cast<RingSlot*>(block.data() + sizeof(RingHeader)), seen.slotCount);
}

void MessageRingWriter::CountLost() { Atomic(header_->lost).fetch_add(1, std::memory_order_relaxed); }

bool MessageRingWriter::Write(const MessageRecord& record) {
  Atomic write(header_->writePosition);
  uint64_t position = write.load(std::memory_order_relaxed);
  for (int tries = 0;; ++tries) {
    if (tries == kWriterTries) {
      CountLost();
      return false;
    }
    RingSlot& slot = slots_[position & mask_];
    const uint64_t state = Atomic(slot.state).load(std::memory_order_acquire);
    const auto ahead = static_cast<int64_t>(state - position);
    if (ahead == 0) {
      if (write.compare_exchange_weak(position, position + 1, std::memory_order_relaxed)) break;
    } else if (ahead < 0) {
      // Still holds a record of the previous lap: the ring is full.
      CountLost();
      return false;
    } else {
      position = write.load(std::memory_order_relaxed);
    }
  }
  RingSlot& slot = slots_[position & mask_];
  std::memcpy(&slot.record, &record, sizeof(MessageRecord));
  slot.record.sequence = position;
  // The reader may have given up on this slot while it was being filled.
  uint64_t expected = position;
  if (!Atomic(slot.state)
           .compare_exchange_strong(expected, position + 1, std::memory_order_release, std::memory_order_relaxed))
    return false;
  return true;
}

bool MessageRingWriter::ReaderAlive(uint64_t nowMs, uint64_t staleAfterMs) const {
  const uint64_t beat = Atomic(header_->heartbeat).load(std::memory_order_relaxed);
  return beat <= nowMs && nowMs - beat <= staleAfterMs;
}

Result<MessageRingReader> MessageRingReader::Create(std::span<uint8_t> block, uint32_t slotCount) {
  if (!Aligned(block.data())) return Result<MessageRingReader>::Fail(ReadError::BadValue, 0);
  if (!GeometryFits(slotCount, block.size())) return Result<MessageRingReader>::Fail(ReadError::OutOfBounds, 0);
  auto* header = reinterpret_cast<RingHeader*>(block.data());
  auto* slots = reinterpret_cast<RingSlot*>(block.data() + sizeof(RingHeader));
  std::memset(block.data(), 0, RingBlockSize(slotCount));
  header->version = kRingVersion;
  header->slotCount = slotCount;
  header->slotSize = sizeof(RingSlot);
  for (uint32_t i = 0; i < slotCount; ++i) slots[i].state = i;
  std::atomic_ref<uint32_t>(header->magic).store(kRingMagic, std::memory_order_release);
  return MessageRingReader(header, slots, slotCount);
}

bool MessageRingReader::HeaderIntact() const {
  return std::atomic_ref<uint32_t>(header_->magic).load(std::memory_order_acquire) == kRingMagic &&
         header_->version == kRingVersion && header_->slotCount == slotCount_ && header_->slotSize == sizeof(RingSlot);
}

bool RecordChecksOut(const MessageRecord& record, uint64_t position) {
  return record.sequence == position && static_cast<uint8_t>(record.kind) < kMessageKindCount &&
         static_cast<uint8_t>(record.windowClass) < kControlClassCount &&
         static_cast<uint8_t>(record.controlClass) < kControlClassCount && record.textLength <= kRecordTextChars;
}

bool MessageRingReader::Read(std::vector<MessageRecord>& out, size_t maxRecords) {
  if (damaged_ || !HeaderIntact()) {
    damaged_ = true;
    return false;
  }
  for (size_t taken = 0; taken < maxRecords;) {
    RingSlot& slot = slots_[readPosition_ & (slotCount_ - 1)];
    Atomic state(slot.state);
    uint64_t seen = state.load(std::memory_order_acquire);
    if (seen != readPosition_ + 1) {
      const uint64_t written = Atomic(header_->writePosition).load(std::memory_order_relaxed);
      if (written <= readPosition_ || written - readPosition_ > slotCount_) {
        stalledReads_ = 0;  // nothing reserved here yet (or a write position that makes no sense)
        break;
      }
      if (++stalledReads_ < stallLimit_) break;
      // Reserved long ago and never published: give the slot up. If its
      // writer publishes just now, take the record after all. A writer that
      // wakes only after the ring has come round again could still be
      // copying into the slot while the next lap's writer fills it: the
      // checks below refuse such a record when its sequence number or a
      // field is out of place, though not every mix of the two.
      if (!state.compare_exchange_strong(seen, readPosition_ + slotCount_, std::memory_order_acq_rel) &&
          seen == readPosition_ + 1)
        continue;
      state.store(readPosition_ + slotCount_, std::memory_order_release);
      ++refused_;
      ++readPosition_;
      stalledReads_ = 0;
      continue;
    }
    stalledReads_ = 0;
    MessageRecord record;
    std::memcpy(&record, &slot.record, sizeof(MessageRecord));
    if (RecordChecksOut(record, readPosition_)) {
      out.push_back(record);
      ++taken;
    } else {
      ++refused_;
    }
    state.store(readPosition_ + slotCount_, std::memory_order_release);
    ++readPosition_;
  }
  return true;
}

uint64_t MessageRingReader::Lost() const { return Atomic(header_->lost).load(std::memory_order_relaxed) + refused_; }

void MessageRingReader::Beat(uint64_t nowMs) { Atomic(header_->heartbeat).store(nowMs, std::memory_order_relaxed); }

}  // namespace qm
