// Fuzz target: device-independent bitmaps (background pictures and the plug-ins' bitmap
// resources) through the host's decoder. The input is the bitmap's bytes, header first,
// held in a block of exactly its size (a read past it is a heap overflow that
// AddressSanitizer reports). Decoding either gives a picture of the size the header
// gives, every pixel opaque (or clear where black is transparent), or fails with a reason.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "host/draw/bitmap.h"

namespace {

uint32_t u32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

// The area the header claims; inputs claiming more than 4 M pixels are skipped (a picture
// of 16384x16384 is valid, but at 1 GiB each the fuzzer would spend its time zero-filling).
uint64_t claimed_area(const uint8_t* data, size_t size) {
    if (size < 12) return 0;
    if (u32(data) == 12) return uint64_t(data[4] | data[5] << 8) * uint64_t(data[6] | data[7] << 8);
    const int64_t w = int32_t(u32(data + 4)), h = int32_t(u32(data + 8));
    return uint64_t(w < 0 ? -w : w) * uint64_t(h < 0 ? -h : h);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20 || claimed_area(data, size) > (uint64_t(1) << 22)) return 0;
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size ? size : 1]);
    if (size) std::memcpy(copy.get(), data, size);
    for (const tarn::Decode how : {tarn::Decode{}, tarn::Decode{true, tarn::Light::kDim}}) {
        std::string why;
        tarn::Image img = tarn::decode_dib(copy.get(), size, how, &why);
        if (img.empty()) {
            if (why.empty()) {
                std::fprintf(stderr, "bmp_fuzz: refused without a reason\n");
                std::abort();
            }
            continue;
        }
        const int w = img.width(), h = img.height();
        if (w <= 0 || h <= 0 || uint64_t(w) * uint64_t(h) > (uint64_t(1) << 22)) std::abort();
        // A bitmap is opaque: every pixel has full alpha, or is clear where black is.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint32_t p = img.row(y)[x];
                if (p >> 24 != 0xFF && !(how.transparent && p == 0)) {
                    std::fprintf(stderr, "bmp_fuzz: pixel %d,%d is 0x%08X\n", x, y, unsigned(p));
                    std::abort();
                }
            }
    }
    return 0;
}
