// tarn_soak: every gauge of both modules driven for a long stretch of host time.
//
//   tarn_soak [--hours H] [--seed N] [--gauges DIR] [--panel FILE] [--samples N]
//
// One instance of each of the 52 gauges (with its parameter string from the panel file
// where the panel places it) is updated at 18 updates a second of host time for H hours
// (24 by default: about 1.6 million updates). Meanwhile:
//   - variables get random values: ordinary ones, 0, NaN, infinities, huge and tiny ones,
//     negative ones, the 32-bit limits; the text variable gets random text;
//   - failures start and end at random;
//   - every mouse region of every gauge is clicked, held and dragged at random (edges
//     included), and clicks also land anywhere on and off the gauges;
//   - the millisecond clock starts so that it wraps past 2^32 halfway through;
//   - gauges are killed and installed again.
// The key-event and sound logs, which keep everything by design, are emptied as a panel
// that reads them would. The resident memory is sampled N times (16 by default); after
// the first quarter it must stay flat (grow by less than 8 MiB and 10 %), or the run fails.
// Exit status: 0 clean, 1 memory grew, 2 bad arguments or a gauge the host refused.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "host/core/errors.h"
#include "host/core/host.h"
#include "host/core/panel_config.h"
#include "platform/host_control.h"

// Under AddressSanitizer: a small quarantine of freed memory (the default holds back
// 256 MiB), so that the resident size shows the program's own use. Unused elsewhere.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=4"; }

namespace {

struct Options {
    double hours = 24;
    uint64_t seed = 1;
    std::string gauges = TARN_GAUGES_DIR;
    std::string panel = TARN_SOURCE_DIR "/panel/panel.cfg";
    int samples = 16;
};

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) return false;
        const std::string v = argv[++i];
        char* end = nullptr;
        if (a == "--hours") {
            o.hours = std::strtod(v.c_str(), &end);
            if (*end != '\0' || !(o.hours > 0 && o.hours <= 24 * 30)) return false;
        } else if (a == "--seed") {
            o.seed = std::strtoull(v.c_str(), &end, 10);
            if (*end != '\0') return false;
        } else if (a == "--samples") {
            o.samples = int(std::strtol(v.c_str(), &end, 10));
            if (*end != '\0' || o.samples < 4 || o.samples > 1000) return false;
        } else if (a == "--gauges") {
            o.gauges = v;
        } else if (a == "--panel") {
            o.panel = v;
        } else {
            return false;
        }
    }
    return true;
}

// Resident memory in bytes.
size_t resident_bytes() {
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (f == nullptr) return 0;
    unsigned long size = 0, resident = 0;
    const int n = std::fscanf(f, "%lu %lu", &size, &resident);
    std::fclose(f);
    return n == 2 ? size_t(resident) * size_t(sysconf(_SC_PAGESIZE)) : 0;
}

// One gauge to keep on the panel: what to make it from.
struct Slot {
    std::string module, gauge;
    std::optional<std::string> params;
    tarn::GaugeInstance* instance = nullptr;
};

class Soak {
public:
    Soak(const Options& o) : o_(o), rng_(o.seed), host_(o.gauges) {}

    int run();

private:
    double any_value();
    std::string any_text();
    void set_variables();
    void mouse();
    void make(Slot& s);

    const Options& o_;
    std::mt19937_64 rng_;
    tarn::PanelHost host_;
    std::vector<Slot> slots_;
    std::vector<uint32_t> tokens_;  // the gauges' own source variables
    uint64_t clicks_ = 0, holds_ = 0, drags_ = 0, reinstalls_ = 0, failures_ = 0;

    uint32_t below(uint32_t n) { return uint32_t(rng_() % n); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
};

double Soak::any_value() {
    switch (below(16)) {
    case 0: return 0.0;
    case 1: return std::numeric_limits<double>::quiet_NaN();
    case 2: return std::numeric_limits<double>::infinity();
    case 3: return -std::numeric_limits<double>::infinity();
    case 4: return (chance(0.5) ? 1 : -1) * std::ldexp(1.0, int(below(2000)) - 1000);  // huge and tiny
    case 5: return std::numeric_limits<double>::max() * (chance(0.5) ? 1 : -1);
    case 6: return std::numeric_limits<double>::denorm_min();
    case 7: return double(chance(0.5) ? INT32_MAX : INT32_MIN) + (double(below(5)) - 2);
    case 8: return double(UINT32_MAX) + (double(below(5)) - 2);
    case 9: return double(below(2)); // switches
    case 10: return -std::uniform_real_distribution<double>(0, 1e4)(rng_);
    default: return std::uniform_real_distribution<double>(-100, 3000)(rng_);  // ordinary readings
    }
}

std::string Soak::any_text() {
    std::string s(below(chance(0.1) ? 2000 : 12), ' ');
    for (char& c : s) c = char(1 + below(255));
    return s;
}

void Soak::set_variables() {
    // A few of the gauges' own variables and a few of any token, each update.
    for (int k = 0; k < 6; ++k) {
        const uint32_t token = k < 4 && !tokens_.empty() ? tokens_[below(uint32_t(tokens_.size()))] : 1 + below(1000);
        if (tarn::VariableStore::kind_of(token) == VAR_KIND_TEXT) host_.vars().set_text(token, any_text());
        else host_.vars().set_number(token, any_value());
    }
}

void Soak::mouse() {
    Slot& s = slots_[below(uint32_t(slots_.size()))];
    tarn::GaugeInstance& g = *s.instance;
    const auto& children = g.mouse().children();
    int x = 0, y = 0;
    if (children.empty() || chance(0.1)) {
        // Anywhere on or off the gauge.
        x = int(below(uint32_t(g.width() + 40))) - 20;
        y = int(below(uint32_t(g.height() + 40))) - 20;
    } else {
        const tarn::Box& b = children[below(uint32_t(children.size()))].hit;
        const int w = std::max(1, b.x1 - b.x0), h = std::max(1, b.y1 - b.y0);
        // Edges (first and last pixel, and one outside) as often as the inside.
        switch (below(4)) {
        case 0: x = b.x0; y = b.y0; break;
        case 1: x = b.x1 - 1; y = b.y1 - 1; break;
        case 2: x = b.x1; y = b.y0 + int(below(uint32_t(h))); break;
        default: x = b.x0 + int(below(uint32_t(w))); y = b.y0 + int(below(uint32_t(h))); break;
        }
    }
    switch (below(3)) {
    case 0:
        host_.press(g, x, y);
        host_.release(g);
        ++clicks_;
        break;
    case 1: {
        host_.press(g, x, y);
        for (uint32_t k = below(30); k > 0; --k) host_.repeat(g);
        host_.release(g);
        ++holds_;
        break;
    }
    default: {
        host_.press(g, x, y);
        const int steps = 1 + int(below(8));
        const int dx = int(below(200)) - 100, dy = int(below(200)) - 100;
        for (int k = 1; k <= steps; ++k) host_.move(g, x + dx * k / steps, y + dy * k / steps);
        host_.release(g);
        ++drags_;
        break;
    }
    }
}

void Soak::make(Slot& s) {
    s.instance = &host_.create(s.module, s.gauge, s.params ? &*s.params : nullptr);
    for (size_t i = 0; i < s.instance->element_count(); ++i)
        for (MODULE_VAR* v : s.instance->element(i).vars)
            if (v != nullptr && v->id != 0 && std::find(tokens_.begin(), tokens_.end(), v->id) == tokens_.end())
                tokens_.push_back(v->id);
}

int Soak::run() {
    // Parameter strings from the panel file, by gauge (its first placement).
    std::map<std::string, std::optional<std::string>> params;
    try {
        for (const tarn::PanelWindow& w : tarn::load_panel_config(o_.panel).windows)
            for (const tarn::PanelGauge& g : w.gauges) params.try_emplace(g.name(), g.params);
    } catch (const tarn::PanelConfigError& e) {
        std::cerr << "tarn_soak: " << e.what() << " (gauges get no parameter strings)\n";
    }
    for (const std::string& module : {std::string("TARN"), std::string("TARN2_Instruments")})
        for (GAUGEHDR* g : host_.module(module).gauges()) {
            Slot s{module, g->gauge_name, {}, nullptr};
            if (auto it = params.find(s.module + "!" + s.gauge); it != params.end()) s.params = it->second;
            slots_.push_back(s);
        }
    for (Slot& s : slots_) make(s);

    const uint64_t updates = uint64_t(std::llround(o_.hours * 3600.0 * 18.0));
    // The clock wraps halfway through: it starts half the run's span below 2^32.
    const uint64_t span_ms = updates * 1000 / 18;
    tarn_platform_set_time(DWORD((uint64_t(1) << 32) - span_ms / 2));
    const DWORD start_clock = timeGetTime();
    bool wrapped = false;
    uint64_t elapsed_ms = 0;

    std::printf("soak: %zu gauges, %llu updates (%.2f h of host time at 18/s), seed %llu\n", slots_.size(),
                (unsigned long long)updates, o_.hours, (unsigned long long)o_.seed);
    std::printf("%10s %12s %10s %12s\n", "host h", "updates", "RSS MiB", "wall s");
    const auto wall_start = std::chrono::steady_clock::now();
    std::vector<size_t> rss;
    auto sample = [&](uint64_t done) {
        rss.push_back(resident_bytes());
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
        std::printf("%10.2f %12llu %10.1f %12.1f\n", double(elapsed_ms) / 3.6e6, (unsigned long long)done,
                    double(rss.back()) / 1048576.0, wall);
        std::fflush(stdout);
    };
    sample(0);
    const uint64_t sample_every = std::max<uint64_t>(1, updates / uint64_t(o_.samples));
    for (uint64_t n = 1; n <= updates; ++n) {
        // 18 updates a second: 55 or 56 ms apart, 1000 ms in every 18.
        const DWORD step = DWORD(n * 1000 / 18 - (n - 1) * 1000 / 18);
        const DWORD before = timeGetTime();
        tarn_platform_advance_time(step);
        if (timeGetTime() < before) wrapped = true;
        elapsed_ms += step;

        set_variables();
        if (chance(0.01)) {
            const uint32_t key = 1 + below(63);
            if (chance(0.5)) host_.failures().fail(key);
            else host_.failures().repair(key);
            ++failures_;
        }
        if (chance(0.3)) mouse();
        if (chance(1.0 / 2000)) {
            Slot& s = slots_[below(uint32_t(slots_.size()))];
            host_.kill(*s.instance);
            make(s);
            ++reinstalls_;
        }
        host_.update_all();
        if (n % 1024 == 0) {
            host_.clear_key_events();
            tarn_sound_log_clear();
        }
        if (n % sample_every == 0 || n == updates) sample(n);
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
    std::printf("soak: %llu updates in %.1f s wall (%.1f us each); clock %u -> %u (%s); %llu clicks, %llu holds, "
                "%llu drags, %llu failure changes, %llu reinstalls\n",
                (unsigned long long)updates, wall, wall * 1e6 / double(updates), start_clock, timeGetTime(),
                wrapped ? "wrapped" : "did not wrap", (unsigned long long)clicks_, (unsigned long long)holds_,
                (unsigned long long)drags_, (unsigned long long)failures_, (unsigned long long)reinstalls_);
    // Flat: from the end of the first quarter (warm caches, the sanitizer's quarantine
    // filled) to the end.
    const size_t base = rss[rss.size() / 4], last = rss.back();
    const double grown = double(last) - double(base);
    std::printf("soak: RSS %.1f MiB at start, %.1f MiB after the first quarter, %.1f MiB at the end\n",
                double(rss.front()) / 1048576.0, double(base) / 1048576.0, double(last) / 1048576.0);
    if (!wrapped && updates * 1000 / 18 >= 2) {
        std::printf("soak: FAILED: the clock did not wrap\n");
        return 1;
    }
    if (grown > 8.0 * 1048576.0 && grown > 0.10 * double(base)) {
        std::printf("soak: FAILED: resident memory grew by %.1f MiB\n", grown / 1048576.0);
        return 1;
    }
    std::printf("soak: passed\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) {
        std::cerr << "usage: tarn_soak [--hours H] [--seed N] [--gauges DIR] [--panel FILE] [--samples N]\n";
        return 2;
    }
    try {
        Soak soak(o);
        return soak.run();
    } catch (const tarn::HostError& e) {
        std::cerr << "tarn_soak: " << e.what() << "\n";
        return 2;
    }
}
