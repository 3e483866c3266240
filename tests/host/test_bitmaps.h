// Bitmaps for drawing tests, painted pixel by pixel, so that every pixel a test looks at
// is known.
#ifndef TARN_TESTS_HOST_TEST_BITMAPS_H
#define TARN_TESTS_HOST_TEST_BITMAPS_H

#include <cstdint>
#include <map>
#include <vector>

#include "host/draw/render.h"

namespace tarn::test {

// Bitmaps by id, painted pixel by pixel; the transparency rule of the host applied.
class Bitmaps : public tarn::ImageSource {
public:
    // A w x h bitmap of one colour (0xRRGGBB).
    void add(int32_t id, int w, int h, uint32_t rgb) { pixels_[id] = {w, h, std::vector<uint32_t>(size_t(w * h), rgb)}; }
    void set(int32_t id, int x, int y, uint32_t rgb) { pixels_[id].data[size_t(y * pixels_[id].w + x)] = rgb; }

    const tarn::Image* bitmap(int32_t id, tarn::Decode how) override {
        auto it = pixels_.find(id);
        if (it == pixels_.end()) return nullptr;
        const uint64_t key = uint64_t(uint32_t(id)) << 8 | uint64_t(how.transparent) << 4 | uint64_t(how.light);
        auto done = cache_.find(key);
        if (done != cache_.end()) return &done->second;
        tarn::Image img(it->second.w, it->second.h, true);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                uint32_t rgb = it->second.data[size_t(y * it->second.w + x)];
                unsigned r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
                tarn::light_rgb(how.light, r, g, b);
                img.row(y)[x] = how.transparent && rgb == 0 ? 0 : 0xFF000000u | r << 16 | g << 8 | b;
            }
        cairo_surface_mark_dirty(img.surface());
        return &cache_.emplace(key, std::move(img)).first->second;
    }

private:
    struct Pixels {
        int w = 0, h = 0;
        std::vector<uint32_t> data;
    };
    std::map<int32_t, Pixels> pixels_;
    std::map<uint64_t, tarn::Image> cache_;
};

}  // namespace tarn::test

#endif
