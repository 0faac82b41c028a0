// The message log with a million records: appending them as the reader's
// timer hands them over, picking the shown rows again when the filter
// changes (the log window has to do that in well under a second), and the
// ring's write-and-read cost per record.
#include <benchmark/benchmark.h>

#include <vector>

#include "msglog/message_log_model.h"
#include "msglog/message_ring.h"
#include "platform/sim/sim_system.h"

namespace qm {
namespace {

constexpr size_t kMillion = 1000000;

// Mouse moves, paints, timers, key presses, commands and a text now and then.
std::vector<MessageRecord> MixedRecords(size_t count) {
  static constexpr uint32_t kMessages[] = {0x0200, 0x000F, 0x0113, 0x0100, 0x0111, 0x0046, 0x000C, 0x0401};
  std::vector<MessageRecord> records(count);
  for (size_t i = 0; i < count; ++i) {
    MessageRecord& r = records[i];
    r.message = kMessages[i % std::size(kMessages)];
    r.kind = static_cast<MessageKind>(i % 3);
    r.window = 0x10000 + i % 7;
    r.timeMs = i / 10;
    r.wParam = i;
    r.lParam = 0x00100020;
    if (r.message == 0x000C) SetRecordText(r, u"Título de la ventana", 20);
  }
  return records;
}

void BM_MessageLogAppendMillion(benchmark::State& state) {
  SimStrings strings;
  const auto records = MixedRecords(kMillion);
  for (auto _ : state) {
    MessageLogModel model(strings);
    // The reader's timer hands over a few thousand records at a time.
    std::vector<MessageRecord> batch;
    for (size_t i = 0; i < records.size(); i += 4096) {
      batch.assign(records.begin() + static_cast<long>(i),
                   records.begin() + static_cast<long>(std::min(records.size(), i + 4096)));
      model.Append(batch);
    }
    benchmark::DoNotOptimize(model.ShownCount());
  }
}
BENCHMARK(BM_MessageLogAppendMillion)->Unit(benchmark::kMillisecond);

void BM_MessageLogFilterMillion(benchmark::State& state) {
  SimStrings strings;
  MessageLogModel model(strings);
  model.Append(MixedRecords(kMillion));
  MessageFilter hideMouse;
  hideMouse.SetGroupShown(MessageGroup::Mouse, false);
  hideMouse.SetRule("WM_TIMER", MessageRule::Exclude);
  bool toggle = false;
  for (auto _ : state) {
    model.SetFilter(toggle ? MessageFilter() : hideMouse);
    toggle = !toggle;
    benchmark::DoNotOptimize(model.ShownCount());
  }
}
BENCHMARK(BM_MessageLogFilterMillion)->Unit(benchmark::kMillisecond);

void BM_MessageRingWriteRead(benchmark::State& state) {
  std::vector<uint64_t> words(RingBlockSize(kRingDefaultSlots) / 8);
  std::span<uint8_t> block(reinterpret_cast<uint8_t*>(words.data()), words.size() * 8);
  auto reader = MessageRingReader::Create(block, kRingDefaultSlots);
  auto writer = MessageRingWriter::Attach(block);
  MessageRecord record;
  record.message = 0x0401;
  std::vector<MessageRecord> out;
  out.reserve(1024);
  for (auto _ : state) {
    for (int i = 0; i < 1024; ++i) writer->Write(record);
    out.clear();
    reader->Read(out, 1024);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * 1024);
}
BENCHMARK(BM_MessageRingWriteRead);

}  // namespace
}  // namespace qm
