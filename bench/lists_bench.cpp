// The list work of the window list and the processes dialog on the
// simulated desktop: a fill of 2,000 top-level windows, one update tick
// over 300 processes, and the order a 2,000-row sort decides on its texts.
#include <benchmark/benchmark.h>

#include "common/list_compare.h"
#include "common/text.h"
#include "platform/sim/sim_system.h"
#include "processes/process_views.h"
#include "windows/window_list_model.h"

namespace qm {
namespace {

void BM_WindowListFill2000(benchmark::State& state) {
  SimSystem sim;
  for (uint32_t pid = 1; pid <= 50; ++pid)
    sim.desktop.AddProcess({pid, 0, "app.exe", {{0x400000, 0x1000, "C:\\Apps\\app.exe"}}, {}, 0});
  for (int i = 0; i < 2000; ++i) {
    SimWindowDesc desc;
    desc.title = Format("Ventana %d", i);
    desc.processId = static_cast<uint32_t>(i % 50 + 1);
    sim.desktop.AddWindow(desc);
  }
  for (auto _ : state) benchmark::DoNotOptimize(FillWindowList(sim.platform, {true, true, true}));
}
BENCHMARK(BM_WindowListFill2000)->Unit(benchmark::kMillisecond);

std::vector<ProcessEntry32> Processes(uint32_t count, uint32_t threadBump) {
  std::vector<ProcessEntry32> processes;
  for (uint32_t i = 0; i < count; ++i) {
    ProcessEntry32 entry;
    entry.th32ProcessID = 4 * i;
    entry.th32ParentProcessID = i ? 4 * (i / 3) : 0;
    entry.cntThreads = 1 + (i == 7 ? threadBump : 0);
    entry.szExeFile = Format("proceso%u.exe", i);
    processes.push_back(entry);
  }
  return processes;
}

void BM_ProcessUpdateTick300(benchmark::State& state) {
  ProcessViews views;
  views.Rebuild(Processes(300, 0));
  uint32_t tick = 0;
  for (auto _ : state) benchmark::DoNotOptimize(views.Update(Processes(300, ++tick % 2)));
}
BENCHMARK(BM_ProcessUpdateTick300)->Unit(benchmark::kMicrosecond);

void BM_SortDecision2000(benchmark::State& state) {
  const auto type = static_cast<ColumnType>(state.range(0));
  std::vector<std::string> texts;
  for (int i = 0; i < 2000; ++i) texts.push_back(Format("%d", (i * 7919) % 2000));
  const auto compare = [type](const std::string& a, const std::string& b) { return CompareCells(type, a, b); };
  for (auto _ : state) benchmark::DoNotOptimize(SelectionSortSwaps(texts, 1, compare));
}
BENCHMARK(BM_SortDecision2000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qm
