#pragma once
// The shared-memory ring between the hooked target (writers) and Quillmar
// (the one reader), over a memory block the caller maps: a header, then a
// power-of-two number of slots that each carry a state word and a record.
//
// Several threads of the target write at once. A writer never blocks and
// never waits on the reader: it reserves a position with one compare-and-
// swap on the header's write position, fills the slot and publishes it; when
// the slot of its position is still unread (the ring is full) it drops the
// record and counts it in the header's loss counter. The reader takes the
// published slots in position order and frees each for the next lap.
//
// The block is shared with another process, so each side keeps its own copy
// of the geometry it validated and checks every record it takes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "common/result.h"
#include "msglog/message_record.h"

namespace qm {

inline constexpr uint32_t kRingMagic = 0x474C4D51;  // "QMLG"
inline constexpr uint32_t kRingVersion = 1;
inline constexpr uint32_t kRingMinSlots = 2;
inline constexpr uint32_t kRingMaxSlots = 1u << 20;
// 16,384 slots of 640 bytes: a 10 MiB section, more than the default queue
// limit of a thread (10,000 posted messages) between two reads.
inline constexpr uint32_t kRingDefaultSlots = 16384;

struct RingHeader {
  uint32_t magic;
  uint32_t version;
  uint32_t slotCount;
  uint32_t slotSize;
  alignas(8) uint64_t writePosition;  // next position a writer reserves
  alignas(8) uint64_t lost;           // records the writers dropped
  alignas(8) uint64_t heartbeat;      // the reader's clock, in ms
  alignas(8) uint64_t reserved[3];
};

struct RingSlot {
  // position: free for the writer of that position; position + 1: published
  // and unread; position + slotCount: read, free for the next lap.
  alignas(8) uint64_t state;
  MessageRecord record;
};

static_assert(sizeof(RingHeader) == 64);
static_assert(sizeof(RingSlot) == 8 + sizeof(MessageRecord));

// Bytes a block of slotCount slots needs.
constexpr size_t RingBlockSize(uint32_t slotCount) { return sizeof(RingHeader) + size_t{slotCount} * sizeof(RingSlot); }

// The target's side.
class MessageRingWriter {
 public:
  // Refuses a block that is too small or misaligned, or whose header does
  // not carry the magic, this version, a power-of-two slot count in range,
  // this slot size, and slots that fit the block.
  static Result<MessageRingWriter> Attach(std::span<uint8_t> block);

  // Stamps the record's sequence number and publishes it; false when it was
  // dropped and counted lost: the ring was full or the block damaged (the
  // header's count), or the reader gave its slot up while this writer was
  // stalled (the reader's count).
  bool Write(const MessageRecord& record);

  // Whether the reader's heartbeat is at most staleAfterMs older than now.
  bool ReaderAlive(uint64_t nowMs, uint64_t staleAfterMs) const;

 private:
  MessageRingWriter(RingHeader* header, RingSlot* slots, uint32_t slotCount)
      : header_(header), slots_(slots), mask_(slotCount - 1) {}
  void CountLost();

  RingHeader* header_;
  RingSlot* slots_;
  uint64_t mask_;
};

// Quillmar's side.
class MessageRingReader {
 public:
  // Lays out a new ring over the block (slot count a power of two between
  // kRingMinSlots and kRingMaxSlots; block large enough and 8-aligned).
  static Result<MessageRingReader> Create(std::span<uint8_t> block, uint32_t slotCount);

  // Moves up to maxRecords published records, in position order, to out.
  // A slot that a writer reserved but has not published holds the reader
  // back: after stallLimit reads that found it so while the writers had
  // moved on, it is skipped and counted lost (its writer died or hangs).
  // A published record that does not check out is counted lost, not
  // returned. Returns false, reading nothing, once the header has been
  // changed by someone else: the ring is damaged and stays refused.
  bool Read(std::vector<MessageRecord>& out, size_t maxRecords);

  // Records lost: dropped by the writers, skipped or refused by the reader.
  uint64_t Lost() const;
  bool Damaged() const { return damaged_; }
  uint32_t SlotCount() const { return slotCount_; }
  void SetStallLimit(uint32_t reads) { stallLimit_ = reads; }

  // Writes the heartbeat the writers check.
  void Beat(uint64_t nowMs);

 private:
  MessageRingReader(RingHeader* header, RingSlot* slots, uint32_t slotCount)
      : header_(header), slots_(slots), slotCount_(slotCount) {}
  bool HeaderIntact() const;

  RingHeader* header_;
  RingSlot* slots_;
  uint32_t slotCount_;
  uint64_t readPosition_ = 0;
  uint64_t refused_ = 0;  // skipped or damaged records
  uint32_t stalledReads_ = 0;
  uint32_t stallLimit_ = 50;
  bool damaged_ = false;
};

// Whether a record read from the ring at position can be shown: its own
// sequence number, kind, classes and text length in range.
bool RecordChecksOut(const MessageRecord& record, uint64_t position);

}  // namespace qm
