// Reading WAVE resources: the multimedia file functions on memory, and the instrument
// module's sound_load_wave on well-formed and malformed resources. Each resource lies at
// the very end of its memory block, so a read past it is a heap overflow that the
// sanitizer build reports. Also the host-process pieces the sound layer relies on
// (_splitpath, GetModuleFileNameA, FindWindowA) and the host's DirectSound buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "host/core/host.h"
#include "instruments/sound.h"
#include "platform/host_control.h"

namespace {

using Bytes = std::vector<unsigned char>;

void put32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void put16(Bytes& b, uint16_t v) {
    b.push_back(static_cast<unsigned char>(v));
    b.push_back(static_cast<unsigned char>(v >> 8));
}

// A chunk: id, size (the data's unless given), data, and a pad byte for an odd size.
Bytes chunk(const char* id, const Bytes& data, int64_t size = -1, bool pad = true) {
    Bytes b(id, id + 4);
    put32(b, size < 0 ? uint32_t(data.size()) : uint32_t(size));
    b.insert(b.end(), data.begin(), data.end());
    if (pad && data.size() % 2) b.push_back(0);
    return b;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes text(const char* s) { return Bytes(s, s + std::strlen(s)); }

// An 18-byte PCM format record.
Bytes pcm_format(uint16_t bits, uint32_t rate) {
    Bytes f;
    const uint16_t align = bits / 8;
    put16(f, 1);
    put16(f, 1);
    put32(f, rate);
    put32(f, rate * align);
    put16(f, align);
    put16(f, bits);
    put16(f, 0);
    return f;
}

Bytes samples(size_t n, unsigned char first = 1) {
    Bytes s(n);
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<unsigned char>(first + i * 7);
    return s;
}

Bytes riff(const char* form, const Bytes& body) { return chunk("RIFF", text(form) + body); }

Bytes good_wave(size_t data_bytes = 100) {
    return riff("WAVE", chunk("fmt ", pcm_format(8, 11025)) + chunk("data", samples(data_bytes)));
}

/* ---- memory files --------------------------------------------------------------------- */

// An open memory file over a heap block of exactly the file's size.
struct MemoryFile {
    explicit MemoryFile(const Bytes& bytes) : data(new unsigned char[bytes.size()]) {
        std::memcpy(data.get(), bytes.data(), bytes.size());
        MMIOINFO info{};
        info.fccIOProc = FOURCC_MEM;
        info.pchBuffer = reinterpret_cast<HPSTR>(data.get());
        info.cchBuffer = LONG(bytes.size());
        file = mmioOpenA(nullptr, &info, MMIO_READWRITE | MMIO_ALLOCBUF);
    }
    ~MemoryFile() {
        if (file) mmioClose(file, 0);
    }
    std::unique_ptr<unsigned char[]> data;
    HMMIO file = nullptr;
};

TEST(MemoryFiles, WellFormedWaveReadsFormatAndData) {
    MemoryFile f(good_wave(101));  // an odd data size is padded
    ASSERT_NE(f.file, nullptr);
    MMCKINFO form{}, ck{};
    form.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    ASSERT_EQ(mmioDescend(f.file, &form, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR);
    EXPECT_EQ(form.ckid, FOURCC_RIFF);
    EXPECT_EQ(form.dwDataOffset, 8u);
    ck.ckid = mmioFOURCC('f', 'm', 't', ' ');
    ASSERT_EQ(mmioDescend(f.file, &ck, &form, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(ck.cksize, 18u);
    WAVEFORMATEX format{};
    ASSERT_EQ(mmioRead(f.file, reinterpret_cast<HPSTR>(&format), 18), 18);
    EXPECT_EQ(format.nSamplesPerSec, 11025u);
    EXPECT_EQ(format.wBitsPerSample, 8);
    ASSERT_EQ(mmioAscend(f.file, &ck, 0), MMSYSERR_NOERROR);
    ck.ckid = mmioFOURCC('d', 'a', 't', 'a');
    ASSERT_EQ(mmioDescend(f.file, &ck, &form, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    ASSERT_EQ(ck.cksize, 101u);
    char data[101];
    ASSERT_EQ(mmioRead(f.file, data, 101), 101);
    EXPECT_EQ(std::memcmp(data, samples(101).data(), 101), 0);
}

TEST(MemoryFiles, ChunksAreFoundPastOthersInTheirParent) {
    // A "LIST" chunk and an odd-sized chunk before "fmt ": both skipped with their padding.
    MemoryFile f(riff("WAVE", chunk("LIST", text("INFOabcd")) + chunk("junk", samples(3)) +
                                  chunk("fmt ", pcm_format(16, 22050)) + chunk("data", samples(8))));
    MMCKINFO form{}, ck{};
    form.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    ASSERT_EQ(mmioDescend(f.file, &form, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR);
    ck.ckid = mmioFOURCC('d', 'a', 't', 'a');
    ASSERT_EQ(mmioDescend(f.file, &ck, &form, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(ck.cksize, 8u);
    // The file position is in "data" now: "fmt " lies behind and is not found ahead.
    ASSERT_EQ(mmioAscend(f.file, &ck, 0), MMSYSERR_NOERROR);
    ck.ckid = mmioFOURCC('f', 'm', 't', ' ');
    EXPECT_EQ(mmioDescend(f.file, &ck, &form, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
}

TEST(MemoryFiles, MalformedFilesFailCleanly) {
    MMCKINFO form{};
    form.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    {  // no "WAVE" form: a RIFF of another form
        MemoryFile f(riff("AVI ", chunk("fmt ", pcm_format(8, 11025))));
        EXPECT_EQ(mmioDescend(f.file, &form, nullptr, MMIO_FINDRIFF), MMIOERR_CHUNKNOTFOUND);
    }
    {  // no RIFF at all, and a block shorter than a chunk header
        MemoryFile f(text("WAVEfmt"));
        EXPECT_EQ(mmioDescend(f.file, &form, nullptr, MMIO_FINDRIFF), MMIOERR_CHUNKNOTFOUND);
    }
    {  // a RIFF chunk that claims more than the block holds
        MemoryFile f(chunk("RIFF", text("WAVE") + chunk("data", samples(4)), 4000));
        EXPECT_EQ(mmioDescend(f.file, &form, nullptr, MMIO_FINDRIFF), MMIOERR_CHUNKNOTFOUND);
    }
    {  // a "data" chunk that claims more than its RIFF and the block hold
        Bytes wave = riff("WAVE", chunk("fmt ", pcm_format(8, 11025)) + chunk("data", samples(10), 0x7FFFFFF0));
        MemoryFile f(wave);
        MMCKINFO ck{};
        ASSERT_EQ(mmioDescend(f.file, &form, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR);
        ck.ckid = mmioFOURCC('d', 'a', 't', 'a');
        EXPECT_EQ(mmioDescend(f.file, &ck, &form, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    }
    {  // a huge chunk before "data" cannot be skipped into the unknown
        MemoryFile f(riff("WAVE", chunk("junk", samples(4), 0xFFFFFFF0) + chunk("data", samples(4))));
        MMCKINFO ck{};
        ASSERT_EQ(mmioDescend(f.file, &form, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR);
        ck.ckid = mmioFOURCC('d', 'a', 't', 'a');
        EXPECT_EQ(mmioDescend(f.file, &ck, &form, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    }
}

TEST(MemoryFiles, ReadsStopAtTheEndOfTheBlock) {
    MemoryFile f(samples(10));
    char out[32] = {};
    EXPECT_EQ(mmioRead(f.file, out, 6), 6);
    EXPECT_EQ(mmioRead(f.file, out, 20), 4);  // a short read: only what is left
    EXPECT_EQ(mmioRead(f.file, out, 20), 0);
    EXPECT_EQ(mmioRead(f.file, out, -1), -1);
    // Ascending past the end leaves nothing to read, and nothing is read from there.
    MMCKINFO far{};
    far.dwDataOffset = 0xFFFFFF00u;
    far.cksize = 0xFFu;
    EXPECT_EQ(mmioAscend(f.file, &far, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioRead(f.file, out, 20), 0);
}

TEST(MemoryFiles, HandlesAreChecked) {
    tarn_platform_reset();
    MMIOINFO info{};
    info.fccIOProc = mmioFOURCC('D', 'O', 'S', ' ');  // files on disk are not served
    EXPECT_EQ(mmioOpenA(const_cast<LPSTR>("x.wav"), &info, 0), nullptr);
    EXPECT_EQ(info.wErrorRet, UINT(MMIOERR_CANNOTOPEN));
    info.fccIOProc = FOURCC_MEM;  // a memory file needs its memory
    EXPECT_EQ(mmioOpenA(nullptr, &info, 0), nullptr);
    Bytes bytes = good_wave();
    HMMIO stale;
    {
        MemoryFile f(bytes);
        stale = f.file;
        EXPECT_EQ(tarn_platform_open_mmio_files(), 1u);
    }
    EXPECT_EQ(tarn_platform_open_mmio_files(), 0u);
    char out[4];
    MMCKINFO ck{};
    EXPECT_EQ(mmioRead(stale, out, 4), -1);
    EXPECT_EQ(mmioDescend(stale, &ck, nullptr, 0), UINT(MMSYSERR_INVALHANDLE));
    EXPECT_EQ(mmioClose(stale, 0), UINT(MMSYSERR_INVALHANDLE));
}

/* ---- global memory ---------------------------------------------------------------------- */

TEST(GlobalMemory, MovableBlocksLockToTheirAddress) {
    tarn_platform_reset();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 64);
    ASSERT_NE(block, nullptr);
    auto* p = static_cast<unsigned char*>(GlobalLock(block));
    ASSERT_NE(p, nullptr);
    EXPECT_NE(static_cast<void*>(p), block);
    p[63] = 1;
    EXPECT_FALSE(GlobalUnlock(block));  // no lock left
    EXPECT_EQ(GlobalFree(block), nullptr);
    EXPECT_EQ(GlobalFree(block), block);  // already gone
    EXPECT_EQ(GlobalLock(block), nullptr);
    HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);  // a block of no bytes has no address
    EXPECT_EQ(GlobalLock(empty), nullptr);
    GlobalFree(empty);
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_T(1) << 40), nullptr);
    EXPECT_EQ(tarn_platform_global_blocks(), 0u);
}

/* ---- sound_load_wave -------------------------------------------------------------------- */

// A module whose one WAVE resource (id 77) is the given bytes, stored last in an exactly
// sized block; and a device ready for buffers.
class LoadWave : public ::testing::Test {
protected:
    void SetUp() override {
        tarn_platform_reset();
        sound_enabled = 1;
        ASSERT_EQ(sound_create_device(find_host_window(), &device), 1);
    }
    void TearDown() override {
        if (module) tarn_platform_unregister_module(module);
        tarn_platform_reset();
        sound_enabled = 1;
    }
    void install(const Bytes& wave) {
        if (module) tarn_platform_unregister_module(module);
        Bytes dir = text("TRES");
        put32(dir, 1);
        put32(dir, 77);
        const char type[8] = "WAVE";
        dir.insert(dir.end(), type, type + 8);
        put32(dir, 28);
        put32(dir, uint32_t(wave.size()));
        dir.insert(dir.end(), wave.begin(), wave.end());
        blob.reset(new unsigned char[dir.size()]);
        std::memcpy(blob.get(), dir.data(), dir.size());
        module = tarn_platform_register_module(blob.get(), dir.size());
        ASSERT_NE(module, nullptr);
    }
    // Loading fails: nothing is left behind and the whole module goes silent.
    void expect_clean_failure(const Bytes& wave) {
        install(wave);
        buffer = reinterpret_cast<LPDIRECTSOUNDBUFFER>(uintptr_t(1));  // nulled by the load
        EXPECT_EQ(sound_load_wave(&device, &buffer, 77, module), 0u);
        EXPECT_EQ(buffer, nullptr);
        EXPECT_EQ(sound_enabled, 0);
        EXPECT_EQ(tarn_platform_open_mmio_files(), 0u);
        EXPECT_EQ(tarn_platform_global_blocks(), 0u);
        EXPECT_EQ(tarn_dsound_buffers(), 0u);
    }

    std::unique_ptr<unsigned char[]> blob;
    HMODULE module = nullptr;
    LPDIRECTSOUND device = nullptr;
    LPDIRECTSOUNDBUFFER buffer = nullptr;
};

TEST_F(LoadWave, WellFormedWaveGivesItsDataLength) {
    install(good_wave(3828));
    EXPECT_EQ(sound_load_wave(&device, &buffer, 77, module), 3828u);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(sound_enabled, 1);
    EXPECT_EQ(tarn_platform_open_mmio_files(), 0u);
    EXPECT_EQ(tarn_platform_global_blocks(), 0u);
    // The buffer holds the resource's data: its play is logged under the resource's id.
    tarn_sound_log_clear();
    EXPECT_EQ(sound_play(&buffer, 0), 1);
    ASSERT_EQ(tarn_sound_log_size(), 1u);
    EXPECT_STREQ(tarn_sound_log_text(0), "wave:77");
    EXPECT_EQ(tarn_sound_log_call(0), 'D');
    // Only the low 16 bits of the id count.
    LPDIRECTSOUNDBUFFER second = nullptr;
    EXPECT_EQ(sound_load_wave(&device, &second, 0x1004D, module), 3828u);
    sound_release_buffer(&second);
    sound_release_buffer(&buffer);
    EXPECT_EQ(buffer, nullptr);
    sound_release_device(&device);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(tarn_dsound_buffers(), 0u);
    EXPECT_EQ(tarn_dsound_devices(), 0u);
}

TEST_F(LoadWave, NoWaveForm) {
    expect_clean_failure(riff("AVI ", chunk("fmt ", pcm_format(8, 11025)) + chunk("data", samples(8))));
}

TEST_F(LoadWave, NoFormatChunk) { expect_clean_failure(riff("WAVE", chunk("data", samples(8)))); }

TEST_F(LoadWave, NoDataChunk) { expect_clean_failure(riff("WAVE", chunk("fmt ", pcm_format(8, 11025)))); }

TEST_F(LoadWave, ChunkLongerThanTheBlock) {
    // The data chunk claims 4000 bytes; the RIFF and the block end after 8.
    expect_clean_failure(riff("WAVE", chunk("fmt ", pcm_format(8, 11025)) + chunk("data", samples(8), 4000)));
    // The same with a RIFF chunk that agrees with the data chunk.
    sound_enabled = 1;
    expect_clean_failure(
        chunk("RIFF", text("WAVE") + chunk("fmt ", pcm_format(8, 11025)) + chunk("data", samples(8), 4000),
              4 + 26 + 8 + 4000));
}

TEST_F(LoadWave, ShortReadOfTheFormat) {
    // A 16-byte "fmt " chunk at the very end: reading 18 bytes gets 16.
    Bytes format = pcm_format(8, 11025);
    format.resize(16);
    expect_clean_failure(riff("WAVE", chunk("data", samples(8)) + chunk("fmt ", format)));
}

TEST_F(LoadWave, MissingResourceAndRefusedFormats) {
    install(good_wave());
    EXPECT_EQ(sound_load_wave(&device, &buffer, 78, module), 0u);  // no such resource
    EXPECT_EQ(sound_enabled, 0);
    sound_enabled = 1;
    EXPECT_EQ(sound_load_wave(&device, &buffer, 77, nullptr), 0u);  // no such module
    EXPECT_EQ(sound_enabled, 0);
}

TEST_F(LoadWave, FormatThatDirectSoundRefuses) {
    // 12-bit samples: the buffer is refused, the global block still goes.
    Bytes format = pcm_format(8, 11025);
    format[14] = 12;
    expect_clean_failure(riff("WAVE", chunk("fmt ", format) + chunk("data", samples(8))));
}

TEST_F(LoadWave, RefusedLockReleasesTheBuffer) {
    tarn_dsound_set_failure("lock", TRUE);
    expect_clean_failure(good_wave());
}

TEST_F(LoadWave, NothingIsLoadedOnceSoundIsOff) {
    install(good_wave());
    sound_enabled = 0;
    EXPECT_EQ(sound_load_wave(&device, &buffer, 77, module), 0u);
    EXPECT_EQ(tarn_dsound_buffers(), 0u);
    // Releases leave the device as it is, and a null pointer alone.
    sound_release_device(&device);
    EXPECT_NE(device, nullptr);
    sound_enabled = 1;
    LPDIRECTSOUNDBUFFER none = nullptr;
    sound_release_buffer(&none);
    EXPECT_EQ(sound_play(&none, 0), 0);
    EXPECT_EQ(sound_is_playing(&none), 0);
}

TEST_F(LoadWave, PlayingLastsTheDataDurationInHostTime) {
    install(good_wave(1103));  // 8-bit 11025 Hz: 100.05 ms
    ASSERT_EQ(sound_load_wave(&device, &buffer, 77, module), 1103u);
    tarn_platform_set_time(0xFFFFFFC0u);  // across the clock's wrap
    EXPECT_EQ(sound_is_playing(&buffer), 0);
    EXPECT_EQ(sound_play(&buffer, 0), 1);
    EXPECT_EQ(sound_is_playing(&buffer), 1);
    tarn_platform_advance_time(100);
    EXPECT_EQ(sound_is_playing(&buffer), 1);
    tarn_platform_advance_time(1);
    EXPECT_EQ(sound_is_playing(&buffer), 0);
    // Volume changes are kept; out of range they fail, and that silences the module.
    EXPECT_EQ(sound_set_volume(&buffer, -500), 1);
    LONG volume = 0;
    EXPECT_EQ(buffer->GetVolume(&volume), DS_OK);
    EXPECT_EQ(volume, -500);
    EXPECT_EQ(sound_set_volume(&buffer, 1), 0);
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(sound_enabled, 0);
    EXPECT_EQ(tarn_dsound_buffers(), 0u);
}

TEST_F(LoadWave, EachOperationFailsOnDemand) {
    install(good_wave());
    // A refused buffer fails the load.
    tarn_dsound_set_failure("buffer", TRUE);
    EXPECT_EQ(sound_load_wave(&device, &buffer, 77, module), 0u);
    EXPECT_EQ(sound_enabled, 0);
    tarn_dsound_set_failure("buffer", FALSE);
    // A failing play, status query or volume change: 0, the buffer gone, sound off.
    for (const char* op : {"play", "status", "volume"}) {
        sound_enabled = 1;
        ASSERT_EQ(sound_load_wave(&device, &buffer, 77, module), 100u) << op;
        tarn_dsound_set_failure(op, TRUE);
        const std::string name = op;
        const int result = name == "play" ? sound_play(&buffer, 0)
                           : name == "status" ? sound_is_playing(&buffer)
                                              : sound_set_volume(&buffer, -100);
        EXPECT_EQ(result, 0) << op;
        EXPECT_EQ(buffer, nullptr) << op;
        EXPECT_EQ(sound_enabled, 0) << op;
        EXPECT_EQ(tarn_dsound_buffers(), 0u) << op;
        tarn_dsound_set_failure(op, FALSE);
    }
}

TEST_F(LoadWave, BuffersLoopLockAroundAndCheckTheirUnlock) {
    install(good_wave(100));
    ASSERT_EQ(sound_load_wave(&device, &buffer, 77, module), 100u);
    // A looping play lasts until stopped.
    EXPECT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    tarn_platform_advance_time(60000);
    DWORD status = 0;
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, DWORD(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING));
    EXPECT_EQ(buffer->Stop(), DS_OK);
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(buffer->Play(1, 0, 0), DSERR_INVALIDPARAM);
    // A region past the end goes on from the start; the unlock must match the lock.
    LPVOID p1 = nullptr, p2 = nullptr;
    DWORD n1 = 0, n2 = 0;
    ASSERT_EQ(buffer->Lock(90, 20, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(n1, 10u);
    EXPECT_EQ(n2, 10u);
    LPVOID again = nullptr;
    DWORD again_bytes = 0;
    EXPECT_EQ(buffer->Lock(0, 4, &again, &again_bytes, nullptr, nullptr, 0), DSERR_INVALIDCALL);  // already locked
    EXPECT_EQ(buffer->Lock(0, 0, &again, &again_bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DSERR_INVALIDCALL);
    EXPECT_EQ(buffer->Unlock(static_cast<char*>(p1) + 1, n1, p2, n2), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(p1, n1, p2, n2), DS_OK);
    EXPECT_EQ(buffer->Lock(0, 101, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);  // more than it holds
    EXPECT_EQ(buffer->SetVolume(DSBVOLUME_MIN - 1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetCurrentPosition(100), DSERR_INVALIDPARAM);
    // A buffer whose device went is lost, but still an object until released.
    sound_release_device(&device);
    EXPECT_EQ(buffer->Play(0, 0, 0), DSERR_BUFFERLOST);
    sound_release_buffer(&buffer);
    EXPECT_EQ(tarn_dsound_buffers(), 0u);
}

/* ---- the instrument module's own waves --------------------------------------------------- */

// The format record of a module's WAVE resource, read as the sound layer reads it.
bool module_wave_format(HMODULE module, UINT id, WAVEFORMATEX* format) {
    HRSRC r = FindResourceA(module, MAKEINTRESOURCEA(id), "WAVE");
    if (r == nullptr) return false;
    MMIOINFO info{};
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = static_cast<HPSTR>(LockResource(LoadResource(module, r)));
    info.cchBuffer = LONG(SizeofResource(module, r));
    HMMIO file = mmioOpenA(nullptr, &info, MMIO_READWRITE | MMIO_ALLOCBUF);
    MMCKINFO form{}, ck{};
    form.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    ck.ckid = mmioFOURCC('f', 'm', 't', ' ');
    const bool ok = mmioDescend(file, &form, nullptr, MMIO_FINDRIFF) == MMSYSERR_NOERROR &&
                    mmioDescend(file, &ck, &form, MMIO_FINDCHUNK) == MMSYSERR_NOERROR && ck.cksize == 18 &&
                    mmioRead(file, reinterpret_cast<HPSTR>(format), 18) == 18;
    mmioClose(file, 0);
    return ok;
}

TEST(ModuleWaves, ClickAndCalloutsInTheirFormats) {
    tarn::PanelHost host(TARN_GAUGES_DIR);
    const HMODULE module = reinterpret_cast<HMODULE>(uintptr_t(host.module("TARN2_Instruments").resource_handle()));
    sound_enabled = 1;
    LPDIRECTSOUND device = nullptr;
    ASSERT_EQ(sound_create_device(find_host_window(), &device), 1);
    // The switch click: PCM mono 16-bit 22050 Hz, 3828 data bytes.
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    EXPECT_EQ(sound_load_wave(&device, &buffer, 4130, module), 3828u);
    sound_release_buffer(&buffer);
    WAVEFORMATEX f{};
    ASSERT_TRUE(module_wave_format(module, 4130, &f));
    EXPECT_EQ(f.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(f.nChannels, 1);
    EXPECT_EQ(f.wBitsPerSample, 16);
    EXPECT_EQ(f.nSamplesPerSec, 22050u);
    // The callouts: PCM mono 8-bit 11025 Hz, 3273 to 11322 data bytes.
    for (UINT id : {3100u, 3110u, 3120u, 3130u, 3140u, 3150u, 3180u, 3190u, 3200u, 3210u, 3220u, 3230u, 3240u}) {
        const DWORD length = sound_load_wave(&device, &buffer, id, module);
        EXPECT_GE(length, 3273u) << id;
        EXPECT_LE(length, 11322u) << id;
        sound_release_buffer(&buffer);
        ASSERT_TRUE(module_wave_format(module, id, &f)) << id;
        EXPECT_EQ(f.wFormatTag, WAVE_FORMAT_PCM) << id;
        EXPECT_EQ(f.nChannels, 1) << id;
        EXPECT_EQ(f.wBitsPerSample, 8) << id;
        EXPECT_EQ(f.nSamplesPerSec, 11025u) << id;
    }
    EXPECT_EQ(sound_enabled, 1);
    sound_release_device(&device);
    EXPECT_EQ(tarn_dsound_devices(), 0u);
}

/* ---- the host process -------------------------------------------------------------------- */

std::string part(const char* path, int which) {
    char out[4][_MAX_PATH];
    std::memset(out, 'x', sizeof out);
    _splitpath(path, out[0], out[1], out[2], out[3]);
    return out[which];
}

TEST(HostProcess, SplitPathTakesBothSeparators) {
    EXPECT_EQ(part("C:\\Sim\\Panel.exe", 0), "C:");
    EXPECT_EQ(part("C:\\Sim\\Panel.exe", 1), "\\Sim\\");
    EXPECT_EQ(part("C:\\Sim\\Panel.exe", 2), "Panel");
    EXPECT_EQ(part("C:\\Sim\\Panel.exe", 3), ".exe");
    EXPECT_EQ(part("/opt/sim/a.b.exe", 1), "/opt/sim/");
    EXPECT_EQ(part("/opt/sim/a.b.exe", 2), "a.b");  // the last dot starts the extension
    EXPECT_EQ(part("D:/x\\y/name", 2), "name");
    EXPECT_EQ(part("D:/x\\y/name", 3), "");
    EXPECT_EQ(part("dir.d/file", 2), "file");       // a dot in a folder is no extension
    EXPECT_EQ(part("", 2), "");
    EXPECT_EQ(part(nullptr, 1), "");
    // A name longer than its buffer is cut, not overrun.
    const std::string long_name(400, 'n');
    EXPECT_EQ(part(long_name.c_str(), 2).size(), size_t(_MAX_FNAME - 1));
    _splitpath("C:\\a\\b.c", nullptr, nullptr, nullptr, nullptr);
}

TEST(HostProcess, ModuleFileNameIsCutToTheBuffer) {
    tarn_platform_reset();
    tarn_platform_set_host_exe("C:\\Sim\\Panel.exe");
    char path[8];
    std::memset(path, 'x', sizeof path);
    EXPECT_EQ(GetModuleFileNameA(nullptr, path, sizeof path), 8u);
    EXPECT_STREQ(path, "C:\\Sim\\");
    char full[MAX_PATH];
    EXPECT_EQ(GetModuleFileNameA(nullptr, full, MAX_PATH), 16u);
    EXPECT_STREQ(full, "C:\\Sim\\Panel.exe");
    EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(uintptr_t(5)), full, MAX_PATH), 0u);
    tarn_platform_reset();  // back to this program's own path
    ASSERT_GT(GetModuleFileNameA(nullptr, full, MAX_PATH), 0u);
    EXPECT_NE(std::string(full).find("tarn_tests"), std::string::npos);
}

TEST(HostProcess, HostWindowByExecutableName) {
    struct Case {
        const char* exe;
        const char* window_class;
    } cases[] = {
        {"C:\\Sim\\Cockpit.exe", "MSCFSMAIN"},  // first 'C'
        {"D:/games/Sky2.exe", "MSCFSMAIN"},     // fourth '2'
        {"Cab2.exe", "MSCFSMAIN"},              // fourth '2' and first 'C'
        {"Ab22.exe", "MSCFSMAIN"},              // fourth '2' before third '2'
        {"Sk2y.exe", "FS98MAIN"},               // third '2'
        {"C2\\Sk2y.exe", "FS98MAIN"},           // the folder does not count
        {"cockpit.exe", "FS98MAIN"},            // case counts
        {"panel", "FS98MAIN"},
        {"C", "MSCFSMAIN"},                     // shorter than four characters
        {"", "FS98MAIN"},
    };
    for (const Case& c : cases) {
        tarn_platform_reset();
        tarn_platform_set_host_exe(c.exe);
        tarn_platform_set_host_window(c.window_class);
        EXPECT_EQ(find_host_window(), tarn_platform_host_window()) << c.exe;
        EXPECT_NE(find_host_window(), nullptr) << c.exe;
        const bool ms = std::strcmp(c.window_class, "MSCFSMAIN") == 0;
        tarn_platform_set_host_window(ms ? "FS98MAIN" : "MSCFSMAIN");  // the other class
        EXPECT_EQ(find_host_window(), nullptr) << c.exe;
    }
    tarn_platform_reset();
    EXPECT_NE(FindWindowA("fs98main", nullptr), nullptr);  // classes compare without case
    EXPECT_EQ(FindWindowA("FS98MAIN", "another title"), nullptr);
    tarn_platform_set_host_window(nullptr);
    EXPECT_EQ(FindWindowA(nullptr, nullptr), nullptr);
}

TEST(HostProcess, CooperativeLevelNeedsTheHostWindow) {
    tarn_platform_reset();
    sound_enabled = 1;
    LPDIRECTSOUND device = nullptr;
    EXPECT_EQ(sound_create_device(nullptr, &device), 0);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(sound_enabled, 0);
    EXPECT_EQ(tarn_dsound_devices(), 0u);  // the refused device is not left behind
    sound_enabled = 1;
    tarn_dsound_set_failure("create", TRUE);
    EXPECT_EQ(sound_create_device(find_host_window(), &device), 0);
    EXPECT_EQ(sound_enabled, 0);
    tarn_platform_reset();  // faults are cleared
    EXPECT_EQ(sound_create_device(find_host_window(), &device), 1);
    EXPECT_FALSE(tarn_dsound_set_failure("mix", TRUE));
    tarn_platform_reset();  // and left-over objects freed
    EXPECT_EQ(tarn_dsound_devices(), 0u);
    sound_enabled = 1;
}

}  // namespace
