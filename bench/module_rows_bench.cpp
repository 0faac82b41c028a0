// The module list of the process information dialog for one process that
// has loaded every module of Wine's x86_64 directory (its .dll and .exe
// files, 648 of them): the process read, then for each module its name on
// disk and its version fields read from the file. Real files, warm cache;
// the shell icons are the dialog's and are not counted here.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/posix_system.h"
#include "platform/sim/sim_system.h"
#include "processes/process_info.h"
#include "processes/process_info_model.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> WineModules() {
  std::vector<std::string> paths;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows", error)) {
    const std::string ext = entry.path().extension().string();
    if (entry.is_regular_file() && (ext == ".dll" || ext == ".exe")) paths.push_back(entry.path().string());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

void BM_WineModuleRows(benchmark::State& state) {
  const std::vector<std::string> paths = WineModules();
  if (paths.empty()) {
    state.SkipWithError("no Wine modules here");
    return;
  }
  SimSystem sim;
  PosixFiles files;
  sim.platform.files = &files;
  SimProcess process;
  process.id = 4242;
  process.exeFile = "wine-modules.exe";
  uint64_t base = 0x10000000;
  for (const auto& path : paths) process.modules.push_back({base += 0x100000, 0x1000, path, false});
  sim.desktop.AddProcess(process);

  size_t withVersion = 0;
  for (auto _ : state) {
    CProcessApi::ResetLibraryLoadReports();
    const ProcessReading reading = ReadProcessForTab(sim.platform, 4242, ProcessTab::Modules);
    const std::vector<ModuleRow> rows = ReadModuleRows(sim.platform, reading.modules);
    withVersion = static_cast<size_t>(std::count_if(
        rows.begin(), rows.end(), [](const ModuleRow& row) { return !row.cells[kModuleVersion].empty(); }));
    benchmark::DoNotOptimize(rows.data());
  }
  state.counters["modules"] = static_cast<double>(paths.size());
  state.counters["with_version"] = static_cast<double>(withVersion);
}
BENCHMARK(BM_WineModuleRows)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(7)
    ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace qm
