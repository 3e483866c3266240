// Frame times of the interactive viewer on the default panel, under SDL's dummy video
// driver (so the copy to a real screen, the X server's share, is not in them): a frame
// of the default flight running at real time (events, clock, model and profile, every
// gauge updated, new sounds, the changed gauges drawn and copied) at the cold start, in
// the climb and on the approach, the same at 16 times, and a paused frame in which
// nothing changes. Counters: gauges drawn anew and boxes copied per frame. One frame at
// 60 frames a second may take 16.7 ms.
//   tarn_bench --benchmark_filter=Viewer
#include <benchmark/benchmark.h>
#include <SDL.h>
#include <stdlib.h>

#include <memory>
#include <string>

#include "host/core/host.h"
#include "host/core/simulation.h"
#include "host/view/viewer.h"
#include "platform/host_control.h"

namespace {

std::string panel_file() {
    const std::string here = __FILE__;
    return here.substr(0, here.rfind("/bench/")) + "/panel/panel.cfg";
}

std::unique_ptr<tarn::Viewer> make_viewer(double scale) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // Forced: the dummy driver's 1024 x 768 screen would reduce the scale to fit.
    return std::make_unique<tarn::Viewer>(
        tarn::ViewerOptions{.gauges_dir = TARN_GAUGES_DIR, .config = panel_file(), .scale = scale, .force_scale = true});
}

void press_key(SDL_Keycode sym) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = sym;
    SDL_PushEvent(&e);
}

// range(0): scale in hundredths; range(1): the rate (1 or 16); range(2): 1 paused;
// range(3): the second of the flight the frames start at.
void BM_ViewerFrame(benchmark::State& state) {
    auto v = make_viewer(state.range(0) / 100.0);
    while (v->simulation().profile_time_s() < double(state.range(3)) && !v->simulation().finished()) {
        tarn_platform_advance_time(100);
        v->simulation().step(100);
    }
    v->host().update_all();
    for (int64_t r = 1; r < state.range(1); r *= 2) press_key(SDLK_PLUS);
    if (state.range(2)) press_key(SDLK_p);
    v->frame(16);
    v->frame(16);
    double redrawn = 0, copied = 0;
    for (auto _ : state) {
        v->frame(16);
        redrawn += v->last_frame().gauges_redrawn;
        copied += v->last_frame().rects_copied;
    }
    state.counters["redrawn"] = benchmark::Counter(redrawn, benchmark::Counter::kAvgIterations);
    state.counters["copied"] = benchmark::Counter(copied, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ViewerFrame)
    ->ArgNames({"scale%", "rate", "paused", "at_s"})
    ->Args({100, 1, 0, 0})
    ->Args({100, 1, 0, 300})
    ->Args({100, 1, 0, 520})
    ->Args({100, 16, 0, 300})
    ->Args({100, 1, 1, 300})
    ->Args({50, 1, 0, 520})
    ->Unit(benchmark::kMillisecond);

}  // namespace
