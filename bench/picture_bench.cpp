// Background pictures: reading a 640x480 BMP (24-bit, and 8-bit RLE), and lint and render
// of a panel of 20 windows, each with that picture. `heap_MB` is what the process's heap
// holds right after one read, the picture still alive (4 bytes a pixel: 1.2 MB).
#include <malloc.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/core/host.h"
#include "host/core/panel_config.h"
#include "host/draw/bitmap.h"
#include "host/draw/panel.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;

void put(std::vector<unsigned char>& v, uint32_t x, int bytes) {
    for (int i = 0; i < bytes; ++i) v.push_back((unsigned char)(x >> (8 * i)));
}

// A .bmp file of kWidth x kHeight: 24-bit, or 8-bit RLE (runs of 16 pixels).
std::string write_bmp(bool rle) {
    std::vector<unsigned char> body;
    put(body, 40, 4);
    put(body, kWidth, 4);
    put(body, kHeight, 4);
    put(body, 1, 2);
    put(body, rle ? 8 : 24, 2);
    put(body, rle ? 1 : 0, 4);
    for (int i = 0; i < 5; ++i) put(body, i == 3 && rle ? 256 : 0, 4);
    if (rle)
        for (uint32_t i = 0; i < 256; ++i) put(body, i * 0x010101u, 4);
    const size_t pixels_at = 14 + body.size();
    for (int y = 0; y < kHeight; ++y) {
        if (rle) {
            for (int x = 0; x < kWidth; x += 16) body.insert(body.end(), {16, (unsigned char)(x / 16 + y)});
            body.insert(body.end(), {0, 0});
        } else {
            for (int x = 0; x < kWidth; ++x) put(body, uint32_t(x * 0x10203 + y), 3);
        }
    }
    std::vector<unsigned char> file = {'B', 'M'};
    put(file, uint32_t(14 + body.size()), 4);
    put(file, 0, 4);
    put(file, uint32_t(pixels_at), 4);
    file.insert(file.end(), body.begin(), body.end());
    const std::string path = std::string("/tmp/tarn_bench_picture") + (rle ? "_rle" : "") + ".bmp";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f != nullptr) {
        std::fwrite(file.data(), 1, file.size(), f);
        std::fclose(f);
    }
    return path;
}

void BM_PictureRead(benchmark::State& state) {
    const std::string path = write_bmp(state.range(0) != 0);
    std::string why;
    for (auto _ : state) {
        tarn::Image img = tarn::load_picture_file(path, {}, &why);
        if (img.empty()) state.SkipWithError(why.c_str());
        benchmark::DoNotOptimize(img.surface());
    }
    const size_t before = mallinfo2().uordblks;
    tarn::Image held = tarn::load_picture_file(path, {}, &why);
    state.counters["heap_MB"] = double(mallinfo2().uordblks - before) / 1e6;
    std::remove(path.c_str());
}
BENCHMARK(BM_PictureRead)->ArgName("rle")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A panel file of 20 windows, each with the 640x480 picture as its background.
tarn::PanelConfig twenty_windows(const std::string& picture) {
    std::string text;
    for (int i = 0; i < 20; ++i) {
        char section[96];
        std::snprintf(section, sizeof section, "[Window%02d]\nfile=%s\nposition=0\nvisible=1\n", i, picture.c_str());
        text += section;
    }
    return tarn::parse_panel_config(text, "/tmp/twenty.cfg");
}

void BM_PanelWithPictures(benchmark::State& state) {
    const std::string path = write_bmp(false);
    const tarn::PanelConfig config = twenty_windows(path);
    tarn::PanelHost host(TARN_GAUGES_DIR);
    for (auto _ : state) {
        if (state.range(0) == 0) {
            benchmark::DoNotOptimize(tarn::lint_panel(host, config).size());
        } else {
            tarn::Panel panel(host, config);
            tarn::PanelRenderer renderer(panel, {});
            benchmark::DoNotOptimize(renderer.frame().surface());
        }
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_PanelWithPictures)->ArgName("render")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
