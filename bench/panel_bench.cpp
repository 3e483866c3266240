// Speed of the host's update path and hit test.
//   tarn_bench                      all benchmarks
//   tarn_bench --benchmark_filter=Panel
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <string>

#include "host/core/host.h"
#include "host/core/panel_config.h"
#include "host/draw/panel.h"
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

// A generated panel of ten windows of 1000 gauge lines of the test module each: all at
// one spot (crowded, every gauge overlapping every other of its window) or in a grid.
std::string large_panel(bool crowded) {
    std::string text;
    for (int w = 0; w < 10; ++w) {
        text += "[Window0" + std::to_string(w) + "]\nsize_mm=500,500\n";
        for (int i = 0; i < 1000; ++i) {
            const int x = crowded ? 10 : i % 30 * 15, y = crowded ? 10 : i / 30 * 15;
            text += "gauge" + std::to_string(i) + "=TestGauges!" + (i % 10 == 9 ? "Gone" : "Plain") + ", " +
                    std::to_string(x) + ", " + std::to_string(y) + ", 10, 10\n";
        }
    }
    return text;
}

double peak_megabytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

// lint of the large panel: reading the text and every check, findings bounded.
void BM_LintLargePanel(benchmark::State& state) {
    const std::string text = large_panel(state.range(0) != 0);
    tarn::PanelHost host(TARN_TEST_GAUGES_DIR);
    size_t findings = 0;
    for (auto _ : state) findings = tarn::lint_panel(host, tarn::parse_panel_config(text, "large.cfg")).size();
    state.counters["findings"] = double(findings);
    state.counters["peak_MB"] = peak_megabytes();
}
BENCHMARK(BM_LintLargePanel)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// render of the large panel: 9000 instances made, 1000 missing boxes, one sheet drawn.
void BM_RenderLargePanel(benchmark::State& state) {
    const std::string text = large_panel(state.range(0) != 0);
    for (auto _ : state) {
        tarn::PanelHost host(TARN_TEST_GAUGES_DIR);
        tarn::Panel panel(host, tarn::parse_panel_config(text, "large.cfg"));
        host.update_all();
        tarn::PanelRenderer renderer(panel, {.scale = 0.5});
        benchmark::DoNotOptimize(renderer.frame().width());
    }
    state.counters["peak_MB"] = peak_megabytes();
}
BENCHMARK(BM_RenderLargePanel)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
