// Speed of drawing: the whole panel drawn anew, the frame in which 20 needles moved and
// nothing else did, and the floor both are measured against, one copy of the panel's
// pixels. Each on the default panel (its gauges as they are) and on a synthetic panel of
// the test module's gauges of the same size (52 gauges, 91 needles), whose needles are
// all drawn whatever the state of the real gauges.
// The drawing benchmarks also report x_floor: their time as a multiple of the floor
// measured in the same run just before them (the machine's load changes both alike).
//   tarn_bench --benchmark_filter=Render
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "host/draw/panel.h"
#include "platform/host_control.h"

namespace {

std::string source_dir() {
    const std::string here = __FILE__;
    return here.substr(0, here.rfind("/bench/"));
}

// The synthetic panel: a grid of 8 x 7 cells of 300 x 228 units, 15 "Probe" (5 needles
// each), 8 "Canvas" (2 needles) and 29 "Plain" gauges, each 280 units wide.
std::string synthetic_config() {
    std::string cfg = "[Window00]\nsize_mm=2400,1600\nbackground_color=58,62,66\n";
    for (int i = 0; i < 52; ++i) {
        const char* gauge = i < 15 ? "Probe" : i < 23 ? "Canvas" : "Plain";
        cfg += "gauge" + std::to_string(i) + "=TestGauges!" + gauge + ", " + std::to_string(10 + (i % 8) * 300) + ", " +
               std::to_string(10 + (i / 8) * 228) + ", 280\n";
    }
    return cfg;
}

struct Setup {
    std::unique_ptr<tarn::PanelHost> host;
    std::unique_ptr<tarn::Panel> panel;
    std::unique_ptr<tarn::PanelRenderer> renderer;
    std::vector<tarn::ElementState*> needles;  // in panel order
};

Setup make(bool synthetic) {
    Setup s;
    s.host = std::make_unique<tarn::PanelHost>(synthetic ? TARN_TEST_GAUGES_DIR : TARN_GAUGES_DIR);
    tarn::PanelConfig cfg = synthetic ? tarn::parse_panel_config(synthetic_config(), "synthetic.cfg")
                                      : tarn::load_panel_config(source_dir() + "/panel/panel.cfg");
    s.panel = std::make_unique<tarn::Panel>(*s.host, std::move(cfg));
    s.host->update_all();
    s.renderer = std::make_unique<tarn::PanelRenderer>(*s.panel, tarn::RenderOptions{.window = 0});
    s.renderer->frame();
    for (const tarn::PlacedGauge& g : s.panel->gauges()) {
        if (g.instance == nullptr || g.window->number != 0) continue;
        for (size_t i = 0; i < g.instance->element_count(); ++i) {
            tarn::ElementState& e = g.instance->element(i);
            if (e.element->element_type == ELEMENT_TYPE_NEEDLE && !e.hidden()) s.needles.push_back(&e);
        }
    }
    return s;
}

// The least of repeated runs: on a shared machine the run least disturbed by others.
double least(const std::vector<double>& v) { return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end()); }

void counters(benchmark::State& state, const Setup& s) {
    const tarn::Image& img = s.renderer->frame();
    state.counters["pixels"] = double(img.width()) * img.height();
    state.counters["gauges"] = double(s.panel->gauges().size());
    state.counters["needles"] = double(s.needles.size());
}

// The floor measured in the same run, just before a drawing benchmark: the least time of
// a few copies of the panel's pixels, in seconds.
double floor_seconds(const Setup& s) {
    const tarn::Image& img = s.renderer->frame();
    const size_t bytes = size_t(cairo_image_surface_get_stride(img.surface())) * size_t(img.height());
    std::vector<unsigned char> from(bytes, 1), to(bytes);
    double least = 1e9;
    for (int i = 0; i < 20; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
        least = std::min(least, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return least;
}

// Runs the loop, and reports its time per iteration as a multiple of the floor.
template <class Body>
void against_floor(benchmark::State& state, const Setup& s, Body body) {
    const double floor = floor_seconds(s);
    const auto t0 = std::chrono::steady_clock::now();
    for (auto _ : state) body();
    const double each = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() /
                        double(std::max<benchmark::IterationCount>(1, state.iterations()));
    state.counters["x_floor"] = each / floor;
}

// Every gauge of the main window drawn again and copied into the panel.
void BM_RenderFullRedraw(benchmark::State& state) {
    Setup s = make(state.range(0) != 0);
    against_floor(state, s, [&] {
        s.renderer->invalidate();
        benchmark::DoNotOptimize(s.renderer->frame());
    });
    counters(state, s);
}
BENCHMARK(BM_RenderFullRedraw)->Arg(0)->Arg(1)->ArgName("synthetic")->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", least);

// Twenty needles, spread over the panel, turn by a degree; nothing else changes.
void BM_RenderTwentyNeedles(benchmark::State& state) {
    Setup s = make(state.range(0) != 0);
    std::vector<tarn::ElementState*> moving;
    const size_t n = s.needles.size();
    for (size_t k = 0; k < 20 && k < n; ++k) moving.push_back(s.needles[k * n / std::min<size_t>(20, n)]);
    double step = 1.0;
    int redrawn = 0;
    against_floor(state, s, [&] {
        for (tarn::ElementState* e : moving) e->angle += step;
        step = -step;
        benchmark::DoNotOptimize(s.renderer->frame());
        redrawn = s.renderer->redrawn();
    });
    counters(state, s);
    state.counters["moved"] = double(moving.size());
    state.counters["gauges_redrawn"] = redrawn;
}
BENCHMARK(BM_RenderTwentyNeedles)->Arg(0)->Arg(1)->ArgName("synthetic")->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", least);

// The floor: one copy of the main window's pixels.
void BM_RenderMemcpyFloor(benchmark::State& state) {
    Setup s = make(state.range(0) != 0);
    const tarn::Image& img = s.renderer->frame();
    const size_t bytes = size_t(cairo_image_surface_get_stride(img.surface())) * size_t(img.height());
    std::vector<unsigned char> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
    counters(state, s);
}
BENCHMARK(BM_RenderMemcpyFloor)->Arg(0)->Arg(1)->ArgName("synthetic")->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", least);

// Writing the main window as PNG, default and fast compression.
void BM_RenderWritePng(benchmark::State& state) {
    Setup s = make(false);
    const tarn::Image& img = s.renderer->frame();
    const std::string path = "/tmp/tarn_bench_panel.png";
    for (auto _ : state) {
        std::string why;
        if (!tarn::write_png(img, path, int(state.range(0)), &why)) state.SkipWithError(why.c_str());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_RenderWritePng)->Arg(tarn::kPngDefault)->Arg(tarn::kPngFast)->ArgName("level")->Unit(benchmark::kMillisecond);

}  // namespace
