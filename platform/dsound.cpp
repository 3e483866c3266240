// DirectSound, backed by the host: devices and secondary buffers that keep their data,
// format, volume and play state. A played buffer counts as playing for its data's
// duration in host-clock time (timeGetTime); every play goes into the sound log as
// "wave:ID", ID being the loaded module's WAVE resource whose "data" chunk the buffer
// holds. Each operation can be made to fail on demand (tarn_dsound_set_failure).
//
// Sections: faults | objects | device | buffer | entry points
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/host_control.h"
#include "platform/internal.h"

namespace {

/* ---- faults ------------------------------------------------------------------------ */

enum Operation { kCreate, kCooperative, kBuffer, kLock, kPlay, kStatus, kVolume, kOperationCount };
const char* const kOperationNames[kOperationCount] = {"create", "cooperative", "buffer", "lock",
                                                      "play",   "status",      "volume"};
bool g_fail[kOperationCount] = {};

/* ---- objects ------------------------------------------------------------------------ */

class Device;
class Buffer;
// Every live object, so that a fresh host (and the end of the process) can free what a
// module left behind once its sound was off.
std::vector<Device*> g_devices;
std::vector<Buffer*> g_buffers;
void free_all();
struct FreeAtExit {
    ~FreeAtExit() { free_all(); }
} g_free_at_exit;

uint32_t read_u32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The "data" chunk of a RIFF WAVE file, found with every chunk bounded by the file.
bool wave_data(const unsigned char* file, DWORD size, const unsigned char** data, DWORD* length) {
    if (size < 12 || std::memcmp(file, "RIFF", 4) != 0 || std::memcmp(file + 8, "WAVE", 4) != 0) return false;
    const uint64_t end = std::min<uint64_t>(size, 8 + uint64_t(read_u32(file + 4)));
    uint64_t at = 12;
    while (at + 8 <= end) {
        const uint32_t n = read_u32(file + at + 4);
        if (at + 8 + n > end) return false;
        if (std::memcmp(file + at, "data", 4) == 0) {
            *data = file + at + 8;
            *length = n;
            return true;
        }
        at += 8 + uint64_t(n) + (n & 1);
    }
    return false;
}

struct Match {
    const unsigned char* bytes;
    size_t size;
    DWORD id;
    bool found;
};

bool match_wave(DWORD id, const unsigned char* file, DWORD size, void* context) {
    auto* m = static_cast<Match*>(context);
    const unsigned char* data = nullptr;
    DWORD length = 0;
    if (!wave_data(file, size, &data, &length) || length != m->size) return false;
    if (length > 0 && std::memcmp(data, m->bytes, length) != 0) return false;
    m->id = id;
    m->found = true;
    return true;
}

class Buffer final : public IDirectSoundBuffer {
public:
    Buffer(Device* device, const WAVEFORMATEX& format, DWORD flags, DWORD bytes)
        : device_(device), format_(format), flags_(flags), data_(bytes) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(const IID&, void** object) override {
        if (object) *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetVolume(LPLONG volume) override {
        if (volume == nullptr) return DSERR_INVALIDPARAM;
        if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
        *volume = volume_;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) override {
        if (status == nullptr) return DSERR_INVALIDPARAM;
        if (g_fail[kStatus]) return DSERR_GENERIC;
        settle();
        *status = playing_ ? DSBSTATUS_PLAYING | (looping_ ? DSBSTATUS_LOOPING : 0) : 0;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID* part1, LPDWORD bytes1, LPVOID* part2, LPDWORD bytes2,
                 DWORD flags) override {
        if (part1 == nullptr || bytes1 == nullptr) return DSERR_INVALIDPARAM;
        *part1 = nullptr;
        *bytes1 = 0;
        if (part2) *part2 = nullptr;
        if (bytes2) *bytes2 = 0;
        if (g_fail[kLock]) return DSERR_GENERIC;
        if (device_ == nullptr) return DSERR_BUFFERLOST;
        if (locked_) return DSERR_INVALIDCALL;
        const DWORD size = DWORD(data_.size());
        if (flags & DSBLOCK_ENTIREBUFFER) {
            offset = 0;
            bytes = size;
        } else if (flags & DSBLOCK_FROMWRITECURSOR) {
            offset = position_;
        }
        if (bytes == 0 || bytes > size || offset >= size) return DSERR_INVALIDPARAM;
        // A region that runs past the end goes on from the start, in the second part.
        const DWORD first = std::min(bytes, size - offset);
        *part1 = data_.data() + offset;
        *bytes1 = first;
        if (part2 && bytes2 && first < bytes) {
            *part2 = data_.data();
            *bytes2 = bytes - first;
        }
        locked_ = true;
        lock_offset_ = offset;
        lock_bytes_ = (part2 && bytes2) ? bytes : first;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Play(DWORD reserved, DWORD priority, DWORD flags) override {
        if (reserved != 0 || priority != 0) return DSERR_INVALIDPARAM;
        if (g_fail[kPlay]) return DSERR_GENERIC;
        if (device_ == nullptr) return DSERR_BUFFERLOST;
        settle();
        looping_ = (flags & DSBPLAY_LOOPING) != 0;
        if (!playing_) {
            playing_ = true;
            started_ms_ = tarn_platform_time();
            started_at_ = position_;
        }
        const std::string text = wave_id_ < 0 ? "wave:unknown" : "wave:" + std::to_string(wave_id_);
        tarn_sound_log_add(text.c_str(), flags, 'D');
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD position) override {
        if (device_ == nullptr) return DSERR_BUFFERLOST;
        if (position >= data_.size()) return DSERR_INVALIDPARAM;
        position_ = position;
        if (playing_) {
            started_ms_ = tarn_platform_time();
            started_at_ = position;
        }
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE SetVolume(LONG volume) override {
        if (g_fail[kVolume]) return DSERR_GENERIC;
        if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
        if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
        volume_ = volume;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Stop() override {
        settle();
        if (playing_) position_ = played_to();
        playing_ = false;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Unlock(LPVOID part1, DWORD bytes1, LPVOID part2, DWORD bytes2) override {
        if (!locked_ || part1 != data_.data() + lock_offset_ || uint64_t(bytes1) + bytes2 > lock_bytes_ ||
            (part2 != nullptr && part2 != data_.data()))
            return DSERR_INVALIDPARAM;
        locked_ = false;
        identify();
        return DS_OK;
    }

    // The rest of the interface, which the modules do not call: what a buffer without
    // pan or frequency control answers.
    HRESULT STDMETHODCALLTYPE GetCaps(LPDSBCAPS) override { return DSERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD play, LPDWORD write) override {
        if (device_ == nullptr) return DSERR_BUFFERLOST;
        settle();
        const DWORD at = playing_ ? played_to() : position_;
        if (play) *play = at;
        if (write) *write = at;
        return DS_OK;
    }
    HRESULT STDMETHODCALLTYPE GetFormat(LPWAVEFORMATEX format, DWORD size, LPDWORD written) override {
        if (format == nullptr) {
            if (written == nullptr) return DSERR_INVALIDPARAM;
            *written = sizeof format_;
            return DS_OK;
        }
        if (size < sizeof format_) return DSERR_INVALIDPARAM;
        std::memcpy(format, &format_, sizeof format_);
        if (written) *written = sizeof format_;
        return DS_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPan(LPLONG) override { return DSERR_CONTROLUNAVAIL; }
    HRESULT STDMETHODCALLTYPE GetFrequency(LPDWORD) override { return DSERR_CONTROLUNAVAIL; }
    HRESULT STDMETHODCALLTYPE Initialize(IDirectSound*, LPCDSBUFFERDESC) override { return DSERR_ALREADYINITIALIZED; }
    HRESULT STDMETHODCALLTYPE SetFormat(LPCWAVEFORMATEX) override { return DSERR_INVALIDCALL; }  // secondary buffer
    HRESULT STDMETHODCALLTYPE SetPan(LONG) override { return DSERR_CONTROLUNAVAIL; }
    HRESULT STDMETHODCALLTYPE SetFrequency(DWORD) override { return DSERR_CONTROLUNAVAIL; }
    HRESULT STDMETHODCALLTYPE Restore() override { return device_ == nullptr ? DSERR_BUFFERLOST : DS_OK; }

    void lose_device() { device_ = nullptr; }
    Device* device() const { return device_; }

private:
    // Milliseconds that `bytes` of data take to play, rounded up.
    uint64_t play_ms(uint64_t bytes) const {
        const uint64_t rate = format_.nAvgBytesPerSec;
        return (bytes * 1000 + rate - 1) / rate;
    }
    DWORD played_to() const {
        const uint64_t elapsed = DWORD(tarn_platform_time() - started_ms_);
        const uint64_t bytes = elapsed * format_.nAvgBytesPerSec / 1000;
        const uint64_t size = data_.size();
        return DWORD(looping_ ? (started_at_ + bytes) % size : std::min<uint64_t>(started_at_ + bytes, size - 1));
    }
    // A sound played once ends after its data's duration and starts from the beginning
    // the next time.
    void settle() {
        if (!playing_ || looping_) return;
        const DWORD elapsed = DWORD(tarn_platform_time() - started_ms_);
        if (elapsed >= play_ms(data_.size() - started_at_)) {
            playing_ = false;
            position_ = 0;
        }
    }
    // Which loaded WAVE resource's data the buffer now holds.
    void identify() {
        Match m{data_.data(), data_.size(), 0, false};
        tarn_platform::each_resource("WAVE", match_wave, &m);
        wave_id_ = m.found ? long(m.id) : -1;
    }

    ULONG references_ = 1;
    Device* device_;
    WAVEFORMATEX format_;
    DWORD flags_;
    std::vector<unsigned char> data_;
    LONG volume_ = 0;
    DWORD position_ = 0;
    bool locked_ = false;
    DWORD lock_offset_ = 0, lock_bytes_ = 0;
    bool playing_ = false, looping_ = false;
    DWORD started_ms_ = 0, started_at_ = 0;
    long wave_id_ = -1;
};

/* ---- device ------------------------------------------------------------------------- */

bool format_ok(const WAVEFORMATEX& f) {
    return f.wFormatTag == WAVE_FORMAT_PCM && (f.nChannels == 1 || f.nChannels == 2) &&
           (f.wBitsPerSample == 8 || f.wBitsPerSample == 16) && f.nSamplesPerSec >= 100 &&
           f.nSamplesPerSec <= 200000 && f.nBlockAlign == f.nChannels * f.wBitsPerSample / 8 &&
           f.nAvgBytesPerSec == f.nSamplesPerSec * f.nBlockAlign;
}

class Device final : public IDirectSound {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(const IID&, void** object) override {
        if (object) *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC d, IDirectSoundBuffer** buffer, IUnknown* outer) override {
        if (buffer == nullptr) return DSERR_INVALIDPARAM;
        *buffer = nullptr;
        if (outer != nullptr) return DSERR_NOAGGREGATION;
        if (g_fail[kBuffer]) return DSERR_GENERIC;
        if (level_ == 0) return DSERR_PRIOLEVELNEEDED;
        if (d == nullptr || d->dwSize != sizeof(DSBUFFERDESC) || d->lpwfxFormat == nullptr) return DSERR_INVALIDPARAM;
        if (d->dwFlags & DSBCAPS_PRIMARYBUFFER) return DSERR_UNSUPPORTED;
        if (d->dwBufferBytes < DSBSIZE_MIN || d->dwBufferBytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
        WAVEFORMATEX format;
        std::memcpy(&format, d->lpwfxFormat, sizeof format);
        if (!format_ok(format)) return DSERR_BADFORMAT;
        Buffer* b = nullptr;
        try {
            b = new Buffer(this, format, d->dwFlags, d->dwBufferBytes);
            g_buffers.push_back(b);
        } catch (const std::bad_alloc&) {
            delete b;
            return DSERR_OUTOFMEMORY;
        }
        *buffer = b;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD level) override {
        if (g_fail[kCooperative]) return DSERR_GENERIC;
        if (window == nullptr || window != tarn_platform_host_window()) return DSERR_INVALIDPARAM;
        if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
        level_ = level;
        return DS_OK;
    }

    // The rest of the interface, which the modules do not call.
    HRESULT STDMETHODCALLTYPE GetCaps(LPDSCAPS) override { return DSERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE DuplicateSoundBuffer(IDirectSoundBuffer*, IDirectSoundBuffer** copy) override {
        if (copy) *copy = nullptr;
        return DSERR_UNSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE Compact() override { return level_ >= DSSCL_PRIORITY ? DS_OK : DSERR_PRIOLEVELNEEDED; }
    HRESULT STDMETHODCALLTYPE GetSpeakerConfig(LPDWORD config) override {
        if (config == nullptr) return DSERR_INVALIDPARAM;
        *config = speaker_config_;
        return DS_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSpeakerConfig(DWORD config) override {
        speaker_config_ = config;
        return DS_OK;
    }
    HRESULT STDMETHODCALLTYPE Initialize(LPCGUID) override { return DSERR_ALREADYINITIALIZED; }

private:
    ULONG references_ = 1;
    DWORD level_ = 0;
    DWORD speaker_config_ = 0;
};

template <class T>
void forget(std::vector<T*>& list, T* object) {
    list.erase(std::remove(list.begin(), list.end(), object), list.end());
}

ULONG STDMETHODCALLTYPE Buffer::Release() {
    if (--references_ > 0) return references_;
    forget(g_buffers, this);
    delete this;
    return 0;
}

// A device that goes takes its buffers' sound with it: they stay objects until
// released, but are lost.
ULONG STDMETHODCALLTYPE Device::Release() {
    if (--references_ > 0) return references_;
    for (Buffer* b : g_buffers)
        if (b->device() == this) b->lose_device();
    forget(g_devices, this);
    delete this;
    return 0;
}

}  // namespace

/* ---- entry points --------------------------------------------------------------------- */

namespace {

void free_all() {
    for (Buffer* b : g_buffers) delete b;
    for (Device* d : g_devices) delete d;
    g_buffers.clear();
    g_devices.clear();
}

}  // namespace

namespace tarn_platform {

void reset_dsound() {
    free_all();
    std::fill(std::begin(g_fail), std::end(g_fail), false);
}

}  // namespace tarn_platform

extern "C" {

HRESULT WINAPI TARN_FAKE(DirectSoundCreate)(LPCGUID device, LPDIRECTSOUND* sound, LPUNKNOWN outer) {
    if (sound == nullptr) return DSERR_INVALIDPARAM;
    *sound = nullptr;
    if (outer != nullptr) return DSERR_NOAGGREGATION;
    if (device != nullptr || g_fail[kCreate]) return DSERR_NODRIVER;  // only the default device is here
    Device* d = new (std::nothrow) Device;
    if (d == nullptr) return DSERR_OUTOFMEMORY;
    try {
        g_devices.push_back(d);
    } catch (const std::bad_alloc&) {
        delete d;
        return DSERR_OUTOFMEMORY;
    }
    *sound = d;
    return DS_OK;
}

BOOL tarn_dsound_set_failure(const char* operation, BOOL fail) {
    if (operation == nullptr) return FALSE;
    for (int k = 0; k < kOperationCount; ++k) {
        if (std::strcmp(operation, kOperationNames[k]) == 0) {
            g_fail[k] = fail != FALSE;
            return TRUE;
        }
    }
    return FALSE;
}

const void* tarn_dsound_wave_resource(DWORD id, size_t* size) {
    struct Find {
        DWORD id;
        const unsigned char* data;
        DWORD size;
    } f{id, nullptr, 0};
    tarn_platform::each_resource(
        "WAVE",
        [](DWORD at, const unsigned char* data, DWORD bytes, void* context) {
            auto* f = static_cast<Find*>(context);
            if (at != f->id) return false;
            f->data = data;
            f->size = bytes;
            return true;
        },
        &f);
    if (size) *size = f.data ? f.size : 0;
    return f.data;
}

size_t tarn_dsound_devices(void) { return g_devices.size(); }
size_t tarn_dsound_buffers(void) { return g_buffers.size(); }

}  // extern "C"
