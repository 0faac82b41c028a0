#include "msglog/message_ring.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

namespace qm {
namespace {

// A block of ordinary memory standing in for the shared section.
struct Block {
  explicit Block(uint32_t slotCount) : words((RingBlockSize(slotCount) + 7) / 8) {}
  std::span<uint8_t> bytes() { return {reinterpret_cast<uint8_t*>(words.data()), words.size() * 8}; }
  RingHeader& header() { return *reinterpret_cast<RingHeader*>(words.data()); }
  RingSlot& slot(uint32_t i) { return reinterpret_cast<RingSlot*>(bytes().data() + sizeof(RingHeader))[i]; }
  std::vector<uint64_t> words;
};

MessageRecord Numbered(uint64_t n, uint32_t thread = 0) {
  MessageRecord record;
  record.message = 0x0401;
  record.wParam = n;
  record.threadId = thread;
  return record;
}

std::vector<uint64_t> Numbers(const std::vector<MessageRecord>& records) {
  std::vector<uint64_t> numbers;
  for (const auto& r : records) numbers.push_back(r.wParam);
  return numbers;
}

TEST(MessageRing, RecordsComeBackInOrderAcrossTheWrap) {
  Block block(4);
  auto reader = MessageRingReader::Create(block.bytes(), 4);
  ASSERT_TRUE(reader);
  auto writer = MessageRingWriter::Attach(block.bytes());
  ASSERT_TRUE(writer);
  std::vector<MessageRecord> got;
  for (uint64_t n = 0; n < 3; ++n) ASSERT_TRUE(writer->Write(Numbered(n)));
  ASSERT_TRUE(reader->Read(got, 100));
  // The next four go over the end of the slots and start again at the first.
  for (uint64_t n = 3; n < 7; ++n) ASSERT_TRUE(writer->Write(Numbered(n)));
  ASSERT_TRUE(reader->Read(got, 2));
  ASSERT_TRUE(reader->Read(got, 100));
  EXPECT_EQ(Numbers(got), (std::vector<uint64_t>{0, 1, 2, 3, 4, 5, 6}));
  for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].sequence, i);
  EXPECT_EQ(reader->Lost(), 0u);
}

TEST(MessageRing, AFullRingDropsAndCountsWithoutTouchingWhatIsUnread) {
  Block block(4);
  auto reader = MessageRingReader::Create(block.bytes(), 4);
  auto writer = MessageRingWriter::Attach(block.bytes());
  ASSERT_TRUE(reader && writer);
  int accepted = 0;
  for (uint64_t n = 0; n < 6; ++n) accepted += writer->Write(Numbered(n)) ? 1 : 0;
  EXPECT_EQ(accepted, 4);
  EXPECT_EQ(reader->Lost(), 2u);
  std::vector<MessageRecord> got;
  ASSERT_TRUE(reader->Read(got, 100));
  EXPECT_EQ(Numbers(got), (std::vector<uint64_t>{0, 1, 2, 3}));
  // Read slots are free again, and the loss stays counted.
  EXPECT_TRUE(writer->Write(Numbered(6)));
  got.clear();
  ASSERT_TRUE(reader->Read(got, 100));
  EXPECT_EQ(Numbers(got), (std::vector<uint64_t>{6}));
  EXPECT_EQ(reader->Lost(), 2u);
}

TEST(MessageRing, ADamagedHeaderIsRefusedByBothSides) {
  {
    Block block(8);
    ASSERT_TRUE(MessageRingReader::Create(block.bytes(), 8));
    EXPECT_TRUE(MessageRingWriter::Attach(block.bytes()));
    // The writer refuses a block that is shorter than its header says.
    EXPECT_FALSE(MessageRingWriter::Attach(block.bytes().first(RingBlockSize(8) - 1)));
    EXPECT_FALSE(MessageRingWriter::Attach(block.bytes().first(16)));
  }
  const auto damaged = [](void (*damage)(RingHeader&)) {
    Block block(8);
    auto reader = MessageRingReader::Create(block.bytes(), 8);
    EXPECT_TRUE(reader);
    damage(block.header());
    EXPECT_FALSE(MessageRingWriter::Attach(block.bytes()));
    std::vector<MessageRecord> got;
    EXPECT_FALSE(reader->Read(got, 10));
    EXPECT_TRUE(reader->Damaged());
  };
  damaged([](RingHeader& h) { h.magic = 0; });
  damaged([](RingHeader& h) { h.version = kRingVersion + 1; });
  damaged([](RingHeader& h) { h.slotCount = 6; });         // not a power of two
  damaged([](RingHeader& h) { h.slotCount = 1u << 21; });  // past the block
  damaged([](RingHeader& h) { h.slotSize = sizeof(RingSlot) - 8; });

  // The reader lays out no ring it cannot hold.
  Block small(4);
  EXPECT_FALSE(MessageRingReader::Create(small.bytes(), 8));
  EXPECT_FALSE(MessageRingReader::Create(small.bytes(), 3));
  EXPECT_FALSE(MessageRingReader::Create(small.bytes(), 1));
}

TEST(MessageRing, TornWritesAreNeitherShownNorLostSilently) {
  Block block(8);
  auto reader = MessageRingReader::Create(block.bytes(), 8);
  auto writer = MessageRingWriter::Attach(block.bytes());
  ASSERT_TRUE(reader && writer);
  reader->SetStallLimit(3);
  // A writer took position 0 and stopped before publishing it; others went on.
  block.header().writePosition = 1;
  for (uint64_t n = 1; n < 3; ++n) ASSERT_TRUE(writer->Write(Numbered(n)));
  std::vector<MessageRecord> got;
  ASSERT_TRUE(reader->Read(got, 100));
  ASSERT_TRUE(reader->Read(got, 100));
  EXPECT_TRUE(got.empty()) << "a reserved slot holds the reader back for a while";
  ASSERT_TRUE(reader->Read(got, 100));
  EXPECT_EQ(Numbers(got), (std::vector<uint64_t>{1, 2}));
  EXPECT_EQ(reader->Lost(), 1u);
  // The stalled writer that wakes up finds its slot given up: no second copy.
  MessageRecord late = Numbered(0);
  late.sequence = 0;
  std::memcpy(&block.slot(0).record, &late, sizeof late);
  uint64_t expected = 0;
  EXPECT_FALSE(std::atomic_ref<uint64_t>(block.slot(0).state).compare_exchange_strong(expected, 1));

  // A published record that does not check out is counted, not shown.
  ASSERT_TRUE(writer->Write(Numbered(3)));
  block.slot(3).record.textLength = kRecordTextChars + 1;
  ASSERT_TRUE(writer->Write(Numbered(4)));
  block.slot(4).record.sequence = 99;
  ASSERT_TRUE(writer->Write(Numbered(5)));
  block.slot(5).record.kind = static_cast<MessageKind>(kMessageKindCount);
  ASSERT_TRUE(writer->Write(Numbered(6)));
  got.clear();
  ASSERT_TRUE(reader->Read(got, 100));
  EXPECT_EQ(Numbers(got), (std::vector<uint64_t>{6}));
  EXPECT_EQ(reader->Lost(), 4u);
}

TEST(MessageRing, SeveralWriterThreadsLoseNothingThatIsNotCounted) {
  constexpr uint32_t kThreads = 4;
  constexpr uint64_t kPerThread = 20000;
  Block block(256);
  auto reader = MessageRingReader::Create(block.bytes(), 256);
  ASSERT_TRUE(reader);
  std::atomic<uint64_t> dropped{0};
  std::atomic<uint32_t> running{kThreads};
  std::vector<std::thread> threads;
  for (uint32_t t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      auto writer = MessageRingWriter::Attach(block.bytes());
      for (uint64_t n = 0; n < kPerThread; ++n)
        if (!writer->Write(Numbered(n, t))) dropped.fetch_add(1);
      running.fetch_sub(1);
    });
  }
  std::vector<MessageRecord> got;
  // A writer preempted between reserving and publishing is waited for.
  reader->SetStallLimit(UINT32_MAX);
  while (running.load() != 0) {
    EXPECT_TRUE(reader->Read(got, 64));
    std::this_thread::yield();
  }
  for (auto& thread : threads) thread.join();
  ASSERT_TRUE(reader->Read(got, kThreads * kPerThread));

  EXPECT_EQ(got.size() + reader->Lost(), kThreads * kPerThread);
  EXPECT_EQ(reader->Lost(), dropped.load());
  // Each thread's records keep their order; the sequence numbers rise.
  std::vector<int64_t> last(kThreads, -1);
  for (size_t i = 0; i < got.size(); ++i) {
    ASSERT_LT(got[i].threadId, kThreads);
    EXPECT_GT(static_cast<int64_t>(got[i].wParam), last[got[i].threadId]);
    last[got[i].threadId] = static_cast<int64_t>(got[i].wParam);
    if (i > 0) {
      EXPECT_GT(got[i].sequence, got[i - 1].sequence);
    }
  }
}

TEST(MessageRing, TheWriterSeesWhenTheReaderStopsBeating) {
  Block block(4);
  auto reader = MessageRingReader::Create(block.bytes(), 4);
  auto writer = MessageRingWriter::Attach(block.bytes());
  ASSERT_TRUE(reader && writer);
  reader->Beat(1000);
  EXPECT_TRUE(writer->ReaderAlive(1100, 500));
  EXPECT_FALSE(writer->ReaderAlive(1600, 500));
  // A heartbeat from the future (a damaged word) is not taken as alive.
  EXPECT_FALSE(writer->ReaderAlive(900, 500));
}

}  // namespace
}  // namespace qm
