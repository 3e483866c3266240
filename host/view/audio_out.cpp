// Sections: files | decoding | voices | the sound log | mixing
#include "host/view/audio_out.h"

#include <SDL.h>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "host/core/files.h"
#include "platform/host_control.h"

namespace tarn {

namespace {

constexpr int64_t kWinmmVoice = -1;
// The device's buffer, in frames; the mixing sum holds one buffer.
constexpr int kDeviceFrames = 1024;
constexpr size_t kSumFrames = 4096;

bool is_file(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool is_folder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The entry of `folder` spelt like `part` without regard to case, or "".
std::string entry_ignoring_case(const std::string& folder, const std::string& part) {
    DIR* d = opendir(folder.empty() ? "." : folder.c_str());
    if (d == nullptr) return "";
    std::string found;
    while (const dirent* e = readdir(d)) {
        if (strcasecmp(e->d_name, part.c_str()) == 0) {
            found = e->d_name;
            break;
        }
    }
    closedir(d);
    return found;
}

void sdl_audio_callback(void* self, Uint8* stream, int bytes);

}  // namespace

/* ---- files ------------------------------------------------------------------------- */

std::string find_sound_file(const std::string& folder, const std::string& name) {
    if (name.empty()) return "";
    std::vector<std::string> parts;
    std::string part;
    for (char c : name) {
        if (c == '\\' || c == '/') {
            if (!part.empty() && part != ".") parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty() && part != ".") parts.push_back(part);
    if (parts.empty()) return "";
    const bool absolute = name[0] == '/' || name[0] == '\\';
    std::string path = absolute ? "" : (folder.empty() ? "." : folder);
    for (size_t i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        std::string next = path + "/" + parts[i];
        const bool exists = last ? is_file(next) : is_folder(next);
        if (!exists) {
            const std::string spelt = entry_ignoring_case(absolute && path.empty() ? "/" : path, parts[i]);
            if (spelt.empty()) return "";
            next = path + "/" + spelt;
            if (last ? !is_file(next) : !is_folder(next)) return "";
        }
        path = next;
    }
    return path;
}

/* ---- decoding ---------------------------------------------------------------------- */

AudioOut::AudioOut(AudioOptions options) : options_(std::move(options)), sum_(kSumFrames * kChannels) {
    voices_.reserve(64);
    if (!options_.device) return;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        problem_ = std::string("no audio: ") + SDL_GetError();
        return;
    }
    subsystem_ = true;
    SDL_AudioSpec want{}, have{};
    want.freq = kRate;
    want.format = AUDIO_S16SYS;
    want.channels = kChannels;
    want.samples = kDeviceFrames;
    want.callback = sdl_audio_callback;
    want.userdata = this;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);  // SDL converts to the device's own format
    if (device_ == 0) {
        problem_ = std::string("no audio device: ") + SDL_GetError();
        return;
    }
    SDL_PauseAudioDevice(device_, 0);
}

AudioOut::~AudioOut() {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::shared_ptr<const AudioOut::Clip> AudioOut::decode(const void* data, size_t size) const {
    if (data == nullptr || size == 0 || size > 0x7fffffff) return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(data, int(size));
    if (rw == nullptr) return nullptr;
    SDL_AudioSpec spec{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV_RW(rw, 1, &spec, &buffer, &length) == nullptr) return nullptr;
    SDL_AudioCVT cvt;
    auto clip = std::make_shared<Clip>();
    bool ok = SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16SYS, kChannels, kRate) >= 0;
    if (ok && length > 0) {
        std::vector<Uint8> work(size_t(length) * size_t(cvt.len_mult));
        std::memcpy(work.data(), buffer, length);
        cvt.buf = work.data();
        cvt.len = int(length);
        ok = SDL_ConvertAudio(&cvt) == 0;
        if (ok) {
            clip->samples.resize(size_t(cvt.len_cvt) / sizeof(int16_t));
            std::memcpy(clip->samples.data(), work.data(), clip->samples.size() * sizeof(int16_t));
        }
    }
    SDL_FreeWAV(buffer);
    if (!ok || clip->samples.size() < size_t(kChannels)) return nullptr;
    clip->samples.resize(clip->samples.size() / kChannels * kChannels);
    return clip;
}

std::shared_ptr<const AudioOut::Clip> AudioOut::file_clip(const std::string& name) {
    auto it = files_.find(name);
    if (it != files_.end()) return it->second;
    std::shared_ptr<const Clip> clip;
    const std::string path = find_sound_file(options_.working_folder, name);
    if (!path.empty()) {
        // A regular file only (a FIFO or device named as a sound is skipped, never waited on).
        constexpr size_t kMaxSound = 64 << 20;
        std::string bytes;
        if (read_input_file(path, "sound file", kMaxSound, bytes, nullptr) && !bytes.empty() && bytes.size() <= kMaxSound)
            clip = decode(bytes.data(), bytes.size());
    }
    files_.emplace(name, clip);
    return clip;
}

/* ---- voices ------------------------------------------------------------------------ */

void AudioOut::lock() const {
    if (device_ != 0) SDL_LockAudioDevice(device_);
}

void AudioOut::unlock() const {
    if (device_ != 0) SDL_UnlockAudioDevice(device_);
}

bool AudioOut::sounding(int64_t key) const {
    lock();
    const bool found = std::any_of(voices_.begin(), voices_.end(), [key](const Voice& v) { return v.key == key; });
    unlock();
    return found;
}

void AudioOut::stop(int64_t key) {
    lock();
    voices_.erase(std::remove_if(voices_.begin(), voices_.end(), [key](const Voice& v) { return v.key == key; }),
                  voices_.end());
    unlock();
}

void AudioOut::start(std::shared_ptr<const Clip> clip, int64_t key, bool loop) {
    Voice v;
    v.clip = std::move(clip);
    v.loop = loop;
    v.key = key;
    lock();
    voices_.erase(std::remove_if(voices_.begin(), voices_.end(), [key](const Voice& x) { return x.key == key; }),
                  voices_.end());
    voices_.push_back(std::move(v));
    unlock();
    ++started_;
}

int AudioOut::voices() const {
    lock();
    const int n = int(voices_.size());
    unlock();
    return n;
}

void AudioOut::winmm(const char* name, uint32_t flags) {
    constexpr uint32_t kNoStop = 0x0010, kLoop = 0x0008, kMemory = 0x0004, kResource = 0x00040004;
    if (name == nullptr) {
        stop(kWinmmVoice);
        return;
    }
    if ((flags & kNoStop) && sounding(kWinmmVoice)) return;
    if ((flags & kMemory) || (flags & kResource) == kResource) {
        ++skipped_;
        return;
    }
    std::shared_ptr<const Clip> clip = file_clip(name);
    if (!clip) {
        // Quietly: the sound is not there; the request still ends what played.
        ++skipped_;
        stop(kWinmmVoice);
        return;
    }
    start(std::move(clip), kWinmmVoice, (flags & kLoop) != 0);
}

void AudioOut::wave(uint32_t id, const void* riff, size_t size) {
    if (sounding(int64_t(id))) return;
    auto it = waves_.find(id);
    if (it == waves_.end()) it = waves_.emplace(id, decode(riff, size)).first;
    if (!it->second) {
        ++skipped_;
        return;
    }
    start(it->second, int64_t(id), false);
}

/* ---- the sound log ------------------------------------------------------------------ */

size_t AudioOut::take_sound_log(size_t from) {
    const size_t size = tarn_sound_log_size();
    if (from > size) from = 0;
    for (size_t i = from; i < size; ++i) {
        const char call = tarn_sound_log_call(i);
        const char* text = tarn_sound_log_text(i);
        if (text == nullptr) continue;
        if (call == 'S' || call == 'P') {
            winmm(std::strcmp(text, "stop") == 0 ? nullptr : text, tarn_sound_log_flags(i));
        } else if (call == 'D' && std::strncmp(text, "wave:", 5) == 0) {
            char* end = nullptr;
            const unsigned long id = std::strtoul(text + 5, &end, 10);
            if (end == text + 5 || *end != '\0' || id > 0xffffffffUL) continue;  // "wave:unknown"
            size_t bytes = 0;
            const void* riff = tarn_dsound_wave_resource(DWORD(id), &bytes);
            if (riff != nullptr) wave(uint32_t(id), riff, bytes);
        }
    }
    return size;
}

/* ---- mixing ------------------------------------------------------------------------ */

namespace {

void sdl_audio_callback(void* self, Uint8* stream, int bytes) {
    // SDL holds the device lock while it calls.
    static_cast<AudioOut*>(self)->mix(reinterpret_cast<int16_t*>(stream),
                                      size_t(bytes) / (sizeof(int16_t) * AudioOut::kChannels));
}

}  // namespace

void AudioOut::mix(int16_t* out, size_t frames) {
    // Called on the device's thread with the device lock held, or by hand without a
    // device; SDL's locks are recursive, so a caller holding it may call too.
    lock();
    while (frames > 0) {
        const size_t n = std::min(frames, kSumFrames);
        const size_t samples = n * kChannels;
        std::fill(sum_.begin(), sum_.begin() + samples, 0);
        for (Voice& v : voices_) {
            const std::vector<int16_t>& s = v.clip->samples;
            size_t k = 0;
            while (k < samples && v.at < s.size()) {
                const size_t run = std::min(samples - k, s.size() - v.at);
                for (size_t j = 0; j < run; ++j) sum_[k + j] += s[v.at + j];
                k += run;
                v.at += run;
                if (v.at >= s.size() && v.loop) v.at = 0;
            }
        }
        voices_.erase(std::remove_if(voices_.begin(), voices_.end(),
                                     [](const Voice& v) { return v.at >= v.clip->samples.size(); }),
                      voices_.end());
        for (size_t k = 0; k < samples; ++k) out[k] = int16_t(std::clamp(sum_[k], -32768, 32767));
        out += samples;
        frames -= n;
    }
    unlock();
}

}  // namespace tarn
