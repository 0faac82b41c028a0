#include "msglog/hook/subclass_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace qm {
namespace {

TEST(SubclassTable, KeepsEachWindowsOriginalProcedureUntilTheSlotIsGivenBack) {
  auto table = std::make_unique<SubclassTable>();
  SubclassSlot* first = table->Claim(0x100, 0xA1, 7, true);
  SubclassSlot* second = table->Claim(0x200, 0xB2, 8, false);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(table->Find(0x100), first);
  EXPECT_EQ(table->Find(0x200)->original, 0xB2u);
  EXPECT_FALSE(table->Find(0x200)->unicode);
  EXPECT_EQ(table->Find(0x200)->threadId, 8u);
  EXPECT_EQ(table->Find(0x300), nullptr);
  // One slot per window, and none for the null handle.
  EXPECT_EQ(table->Claim(0x100, 0xC3, 7, true), nullptr);
  EXPECT_EQ(table->Find(0x100)->original, 0xA1u);
  EXPECT_EQ(table->Claim(0, 0xC3, 7, true), nullptr);
  EXPECT_EQ(table->Find(0), nullptr);

  table->Release(0x100);
  table->Release(0x100);  // given back once, whoever lets it go
  EXPECT_EQ(table->Find(0x100), nullptr);
  EXPECT_EQ(table->Count(), 1u);
  // The freed slot serves the next window, its queued message forgotten.
  second->NoteQueued(1, 2, 3);
  first->NoteQueued(1, 2, 3);
  SubclassSlot* third = table->Claim(0x300, 0xD4, 9, true);
  EXPECT_EQ(third, first);
  EXPECT_FALSE(third->TakeQueued(1, 2, 3));
  EXPECT_TRUE(second->TakeQueued(1, 2, 3));
  size_t visited = 0;
  table->ForEach([&](SubclassSlot& slot) {
    ++visited;
    EXPECT_NE(slot.window.load(), 0u);
  });
  EXPECT_EQ(visited, 2u);
}

TEST(SubclassTable, AFullTableRefusesAndTakesWindowsAgainOnceOneIsGivenBack) {
  auto table = std::make_unique<SubclassTable>();
  for (uint64_t i = 1; i <= SubclassTable::kCapacity; ++i) ASSERT_NE(table->Claim(i * 16, i, 1, true), nullptr) << i;
  EXPECT_EQ(table->Claim(0xFFFF0, 1, 1, true), nullptr);
  EXPECT_EQ(table->Count(), SubclassTable::kCapacity);
  table->Release(16 * 500);
  ASSERT_NE(table->Claim(0xFFFF0, 77, 1, true), nullptr);
  EXPECT_EQ(table->Find(0xFFFF0)->original, 77u);
  EXPECT_EQ(table->Find(16 * SubclassTable::kCapacity)->original, SubclassTable::kCapacity);
}

TEST(SubclassTable, ThreadsClaimingAtOnceGetSlotsOfTheirOwn) {
  auto table = std::make_unique<SubclassTable>();
  constexpr uint64_t kPerThread = 200;
  std::vector<std::thread> threads;
  for (uint32_t t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (uint64_t i = 0; i < kPerThread; ++i) table->Claim((t + 1) * 0x100000 + i * 8, i, t, true);
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(table->Count(), 4 * kPerThread);
  for (uint32_t t = 0; t < 4; ++t)
    for (uint64_t i = 0; i < kPerThread; ++i) {
      const SubclassSlot* slot = table->Find((t + 1) * 0x100000 + i * 8);
      ASSERT_NE(slot, nullptr);
      EXPECT_EQ(slot->threadId, t);
      EXPECT_EQ(slot->original, i);
    }
}

// The dispatch of a message the hook logged as queued is recognised once,
// by its exact parameters; what the dispatch sends, and anything else, is a
// sent message.
TEST(SubclassSlot, OnlyTheDispatchOfTheLastQueuedMessageIsTakenForIt) {
  SubclassSlot slot;
  EXPECT_FALSE(slot.TakeQueued(0, 0, 0));
  slot.NoteQueued(0x8000, 5, 6);
  EXPECT_FALSE(slot.TakeQueued(0x8000, 5, 7));
  EXPECT_FALSE(slot.TakeQueued(0x8000, 4, 6));
  EXPECT_FALSE(slot.TakeQueued(0x8001, 5, 6));
  EXPECT_TRUE(slot.TakeQueued(0x8000, 5, 6));
  // The same message sent from inside its own dispatch.
  EXPECT_FALSE(slot.TakeQueued(0x8000, 5, 6));
  // A later queued message replaces one that was never dispatched.
  slot.NoteQueued(0x0113, 1, 0);
  slot.NoteQueued(0x000F, 0, 0);
  EXPECT_FALSE(slot.TakeQueued(0x0113, 1, 0));
  EXPECT_TRUE(slot.TakeQueued(0x000F, 0, 0));
  // 64-bit parameters compare whole.
  slot.NoteQueued(0x0200, 0x1'0000'0001, 0);
  EXPECT_FALSE(slot.TakeQueued(0x0200, 1, 0));
  EXPECT_TRUE(slot.TakeQueued(0x0200, 0x1'0000'0001, 0));
}

}  // namespace
}  // namespace qm
