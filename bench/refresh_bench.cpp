// One refresh of the captured window's 29 properties on the simulated
// desktop, plus the comparison that picks the tree lines to rewrite: the
// work the frame does once a second while a window is captured.
#include <benchmark/benchmark.h>

#include "app/property_diff.h"
#include "app/quillmar_doc.h"
#include "platform/sim/sim_system.h"

namespace qm {
namespace {

struct CapturedDesktop {
  SimSystem sim;
  CQuillmarDoc doc{sim.platform};
  CapturedDesktop() {
    SimProcess process;
    process.id = 4242;
    process.exeFile = "fixture.exe";
    process.modules.push_back({0x400000, 0x10000, "C:\\Program Files\\Fixture\\fixture.exe", false});
    sim.desktop.AddProcess(process);
    SimWindowDesc desc;
    desc.title = "Ventana de prueba";
    desc.window = {10, 20, 410, 320};
    desc.processId = 4242;
    desc.windowClass.icon = 0x1234;
    doc.m_hCapturedWnd = sim.desktop.AddWindow(desc);
  }
};

void BM_RefreshProperties(benchmark::State& state) {
  CapturedDesktop desktop;
  for (auto _ : state) {
    desktop.doc.RefreshProperties();
    benchmark::DoNotOptimize(desktop.doc.m_properties);
  }
}
BENCHMARK(BM_RefreshProperties);

void BM_RefreshAndCompareLines(benchmark::State& state) {
  CapturedDesktop desktop;
  desktop.doc.RefreshProperties();
  std::array<std::string, kPropertyCount> shown;
  for (size_t i = 0; i < shown.size(); ++i) shown[i] = PropertyLine(desktop.doc.m_properties[i]);
  for (auto _ : state) {
    desktop.doc.RefreshProperties();
    auto changed = ChangedPropertyLines(desktop.doc.m_properties, shown);
    benchmark::DoNotOptimize(changed);
  }
}
BENCHMARK(BM_RefreshAndCompareLines);

}  // namespace
}  // namespace qm
