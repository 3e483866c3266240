// Speed of the host's update path and hit test.
//   tarn_bench                      all benchmarks
//   tarn_bench --benchmark_filter=Panel
#include <benchmark/benchmark.h>

#include "host/core/host.h"
#include "platform/host_control.h"

namespace {

// One panel update of every gauge of both modules, one instance each.
void BM_PanelUpdateAllGauges(benchmark::State& state) {
    tarn::PanelHost host(TARN_GAUGES_DIR);
    for (const char* module : {"TARN", "TARN2_Instruments"})
        for (GAUGEHDR* g : host.module(module).gauges()) host.create(module, g->gauge_name, nullptr);
    for (auto _ : state) {
        tarn_platform_advance_time(55);
        host.update_all();
    }
    state.counters["gauges"] = double(host.instances().size());
}
BENCHMARK(BM_PanelUpdateAllGauges);

// One update of the test module's "Probe": a table needle, a slewed needle, icons, a
// text through the formatter, failures, slider, sprite, moving image (14 elements).
void BM_ProbeUpdate(benchmark::State& state) {
    tarn::PanelHost host(TARN_TEST_GAUGES_DIR);
    tarn::GaugeInstance& g = host.create("TestGauges", "Probe", nullptr);
    host.vars().set_text(839, "KSEA");
    host.failures().fail(6);
    double altitude = 0;
    for (auto _ : state) {
        host.vars().set_number(74, altitude += 1.5);
        tarn_platform_advance_time(55);
        g.update(timeGetTime());
    }
}
BENCHMARK(BM_ProbeUpdate);

// Hit tests on "Probe": the last child in the list (every box tried) and a miss.
void BM_HitTest(benchmark::State& state) {
    tarn::PanelHost host(TARN_TEST_GAUGES_DIR);
    tarn::GaugeInstance& g = host.create("TestGauges", "Probe", nullptr);
    const int x = int(state.range(0)), y = int(state.range(1));
    for (auto _ : state) benchmark::DoNotOptimize(g.mouse().hit(x, y));
}
BENCHMARK(BM_HitTest)->Args({199, 99})->Args({300, 300});

}  // namespace

BENCHMARK_MAIN();
