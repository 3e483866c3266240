// Fuzz target: WAVE resources through the instrument module's sound layer. The input is
// the resource's bytes, held in a block of exactly its size (a read past it is a heap
// overflow that AddressSanitizer reports). Loading either gives a buffer, which is played,
// queried and released, or fails silently; either way no memory file, global block or
// sound buffer may be left behind.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "instruments/sound.h"
#include "platform/host_control.h"

namespace {

void put32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

void expect_none_left(const char* what, size_t count) {
    if (count != 0) {
        std::fprintf(stderr, "wave_fuzz: %zu %s left behind\n", count, what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20) return 0;
    tarn_platform_reset();
    sound_enabled = 1;
    LPDIRECTSOUND device = nullptr;
    if (!sound_create_device(find_host_window(), &device)) std::abort();

    // The module's resource directory: one WAVE resource, id 77, the input, stored last.
    const size_t header = 28;
    std::unique_ptr<unsigned char[]> blob(new unsigned char[header + size]);
    std::memcpy(blob.get(), "TRES", 4);
    put32(blob.get() + 4, 1);
    put32(blob.get() + 8, 77);
    std::memset(blob.get() + 12, 0, 8);
    std::memcpy(blob.get() + 12, "WAVE", 4);
    put32(blob.get() + 20, uint32_t(header));
    put32(blob.get() + 24, uint32_t(size));
    if (size) std::memcpy(blob.get() + header, data, size);
    HMODULE module = tarn_platform_register_module(blob.get(), header + size);
    if (module == nullptr) std::abort();

    LPDIRECTSOUNDBUFFER buffer = nullptr;
    const DWORD length = sound_load_wave(&device, &buffer, 77, module);
    if ((length == 0) != (buffer == nullptr)) std::abort();
    if (buffer != nullptr) {
        sound_set_volume(&buffer, -500);
        sound_play(&buffer, 0);
        tarn_platform_advance_time(10);
        sound_is_playing(&buffer);
        sound_release_buffer(&buffer);
    }
    sound_release_device(&device);
    tarn_platform_unregister_module(module);
    expect_none_left("memory files", tarn_platform_open_mmio_files());
    expect_none_left("global blocks", tarn_platform_global_blocks());
    expect_none_left("sound buffers", tarn_dsound_buffers());
    return 0;
}
