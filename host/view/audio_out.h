// The panel's sounds made audible: the systems module's WinMM requests (files of the host's
// "sound" folder) and the instrument module's DirectSound plays (its WAVE resources),
// mixed into one SDL audio device.
//
//   AudioOut audio({.working_folder = "."});      // the "sound" folder lies in it
//   size_t seen = 0;
//   host.update_all();
//   seen = audio.take_sound_log(seen);           // plays what the gauges asked for since
//
// WinMM requests (sndPlaySoundA, PlaySoundA) share one voice, as on Windows: a new request
// replaces the sound that plays, a request with no name ("stop") ends it, SND_NOSTOP
// leaves a playing sound alone, SND_LOOP repeats until the next request. A name is a path
// relative to the working folder, '\' separating folders; a name that differs from the
// file only in case finds it. A file that is missing or not a WAVE file is skipped
// quietly; requests for memory images or resources (SND_MEMORY, SND_RESOURCE) have no
// file and are skipped too.
// DirectSound plays ("wave:ID") each have a voice per WAVE resource: a play while that
// resource still sounds goes on with it, as a playing buffer does.
// Without an audio device (none on the machine, SDL_AUDIODRIVER=dummy, or `device` off)
// everything works the same and mix() gives the samples: sound is on a device only when
// device_open().
#ifndef TARN_HOST_AUDIO_OUT_H
#define TARN_HOST_AUDIO_OUT_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tarn {

struct AudioOptions {
    std::string working_folder = ".";  // the host's working folder
    bool device = true;                 // open an SDL audio device (false: mix() by hand)
};

class AudioOut {
public:
    // Samples: 44100 frames a second, two channels, signed 16-bit, interleaved.
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;

    explicit AudioOut(AudioOptions options);
    ~AudioOut();
    AudioOut(const AudioOut&) = delete;
    AudioOut& operator=(const AudioOut&) = delete;

    bool device_open() const { return device_ != 0; }
    // Why there is no device ("" when there is one or none was asked for).
    const std::string& device_problem() const { return problem_; }

    // A WinMM request: `name` as the gauge passed it, or nullptr for a stop request.
    void winmm(const char* name, uint32_t flags);
    // A DirectSound play of the WAVE resource `id` (a RIFF file of `size` bytes).
    void wave(uint32_t id, const void* riff, size_t size);
    // Plays the sound log's entries from index `from` on and returns the index after
    // the last; a log that has been cleared since starts again from its beginning.
    size_t take_sound_log(size_t from);

    // Fills `frames` frames of output with the voices that sound, moving them on.
    void mix(int16_t* out, size_t frames);
    // Voices sounding now (the WinMM voice and each DirectSound one).
    int voices() const;
    // WinMM requests that found no playable file, and sounds started, since the start.
    int skipped() const { return skipped_; }
    int started() const { return started_; }

private:
    struct Clip {
        std::vector<int16_t> samples;  // interleaved, the output's format
    };
    struct Voice {
        std::shared_ptr<const Clip> clip;
        size_t at = 0;        // next sample
        bool loop = false;
        int64_t key = 0;      // -1: the WinMM voice; otherwise the WAVE id
    };
    std::shared_ptr<const Clip> decode(const void* data, size_t size) const;
    std::shared_ptr<const Clip> file_clip(const std::string& name);
    void start(std::shared_ptr<const Clip> clip, int64_t key, bool loop);
    void stop(int64_t key);
    bool sounding(int64_t key) const;
    void lock() const;
    void unlock() const;

    AudioOptions options_;
    uint32_t device_ = 0;
    bool subsystem_ = false;
    std::string problem_;
    std::vector<Voice> voices_;  // touched by the device's thread under the device lock
    std::map<std::string, std::shared_ptr<const Clip>> files_;  // by name; null: skipped
    std::map<uint32_t, std::shared_ptr<const Clip>> waves_;
    std::vector<int32_t> sum_;
    int skipped_ = 0;
    int started_ = 0;
};

// The file that a WinMM sound name means under `folder`: '\' and '/' separate folders, and
// each part is matched without regard to case when no part matches exactly. "" when there
// is no such file.
std::string find_sound_file(const std::string& folder, const std::string& name);

}  // namespace tarn

#endif
