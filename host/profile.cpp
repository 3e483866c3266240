// Flight profiles. Sections: channels | reading a profile | values | the default flight.
#include "host/profile.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host/errors.h"
#include "host/scenario.h"
#include "host/variables.h"

namespace tarn {

/* ---- channels ----------------------------------------------------------------------- */

const ChannelInfo kChannels[int(Channel::count)] = {
    {"airspeed", false}, {"altitude", false},    {"ground", false},       {"pitch", false},       {"bank", false},
    {"heading", false},  {"loc", false},         {"gs", false},           {"nav_valid", true},    {"gs_valid", true},
    {"tofrom", true},    {"dme", false},         {"marker", true},        {"flaps", true},        {"oat", false},
    {"qnh", false},      {"gps_distance", false}, {"gps_bearing", false}, {"vor2", false},        {"vor2_tofrom", true},
    {"adf", false},      {"door", true},
};

/* ---- reading a profile -------------------------------------------------------------- */

namespace {

constexpr double kMaxTime = 1e7;  // seconds: about 115 days
constexpr size_t kMaxText = 16u << 20;

struct Reader {
    const std::string& name;
    int line = 0;
    [[noreturn]] void fail(const std::string& message) const {
        throw HostError(name + ":" + std::to_string(line) + ": " + message);
    }
    double number(const std::string& t, const char* what) const {
        char* end = nullptr;
        const double v = std::strtod(t.c_str(), &end);
        if (t.empty() || *end != '\0' || !std::isfinite(v)) fail(std::string("expected ") + what + ", got '" + t + "'");
        return v;
    }
    uint32_t whole(const std::string& t, double lo, double hi, const char* what) const {
        double v;
        if (t.size() > 2 && (t.rfind("0x", 0) == 0 || t.rfind("0X", 0) == 0)) {
            char* end = nullptr;
            v = double(std::strtoull(t.c_str() + 2, &end, 16));
            if (*end != '\0' || t.size() > 10) fail(std::string("expected ") + what + ", got '" + t + "'");
        } else {
            v = number(t, what);
        }
        if (v != std::floor(v) || v < lo || v > hi)
            fail(std::string("expected ") + what + " (a whole number from " + std::to_string(int64_t(lo)) + " to " +
                 std::to_string(int64_t(hi)) + "), got '" + t + "'");
        return uint32_t(v);
    }
    // Seconds, or minutes:seconds.
    double time(const std::string& t) const {
        const size_t colon = t.find(':');
        double v;
        if (colon == std::string::npos) {
            v = number(t, "a time (seconds or M:SS)");
        } else {
            const double m = number(t.substr(0, colon), "a time (seconds or M:SS)");
            const double s = number(t.substr(colon + 1), "a time (seconds or M:SS)");
            if (m != std::floor(m) || s < 0 || s >= 60) fail("expected a time M:SS, got '" + t + "'");
            v = m * 60 + s;
        }
        if (v < 0 || v > kMaxTime) fail("a time from 0 to " + std::to_string(int64_t(kMaxTime)) + " s, got '" + t + "'");
        return v;
    }
};

int channel_of(const std::string& name) {
    for (int i = 0; i < int(Channel::count); ++i)
        if (name == kChannels[i].name) return i;
    return -1;
}

std::string channel_names() {
    std::string s;
    for (const ChannelInfo& c : kChannels) s += (s.empty() ? "" : ", ") + std::string(c.name);
    return s;
}

}  // namespace

Profile parse_profile(const std::string& text, const std::string& name) {
    Profile p;
    p.name = name;
    Reader r{name};
    if (text.size() > kMaxText) r.fail("the profile is larger than 16 MiB");
    std::istringstream lines(text);
    std::string line;
    double last = 0;
    bool has_length = false;
    while (std::getline(lines, line)) {
        ++r.line;
        if (line.find('\0') != std::string::npos) r.fail("the profile is not text (a NUL byte)");
        std::vector<Word> w;
        try {
            w = split_words(line);
        } catch (const std::invalid_argument& e) {
            r.fail(e.what());
        }
        if (w.empty()) continue;
        if (w[0].text == "length" && !w[0].quoted) {
            if (w.size() != 2) r.fail("usage: length TIME");
            if (has_length) r.fail("the length is given twice");
            p.length_s = r.time(w[1].text);
            has_length = true;
            continue;
        }
        if (w[0].quoted) r.fail("expected a time, got a quoted word");
        const double t = r.time(w[0].text);
        if (t < last) r.fail("time " + w[0].text + " is before the line above's");
        last = t;
        if (w.size() < 2) r.fail("expected NAME=VALUE, event or set after the time");
        const std::string& what = w[1].text;
        if (what == "event" && !w[1].quoted) {
            if (w.size() < 3 || w.size() > 4) r.fail("usage: TIME event ID [VALUE]");
            ProfileAction a;
            a.t = t;
            a.line = r.line;
            a.kind = ProfileAction::event;
            a.id = r.whole(w[2].text, 0, 4294967295.0, "an event id");
            a.value = w.size() == 4 ? r.whole(w[3].text, 0, 4294967295.0, "an event value") : 0;
            p.actions.push_back(a);
        } else if (what == "set" && !w[1].quoted) {
            if (w.size() != 4) r.fail("usage: TIME set TOKEN VALUE | TIME set TOKEN \"TEXT\"");
            ProfileAction a;
            a.t = t;
            a.line = r.line;
            a.id = r.whole(w[2].text, 1, 4294967295.0, "a token id");
            const bool text_token = VariableStore::kind_of(a.id) == VAR_KIND_TEXT;
            if (w[3].quoted != text_token)
                r.fail("token " + w[2].text + (text_token ? " holds text: quote it" : " holds a number"));
            if (text_token) {
                a.kind = ProfileAction::set_text;
                a.text = w[3].text;
            } else {
                a.kind = ProfileAction::set_number;
                a.number = r.number(w[3].text, "a number");
            }
            p.actions.push_back(a);
        } else {
            for (size_t i = 1; i < w.size(); ++i) {
                const std::string& kv = w[i].text;
                const size_t eq = kv.find('=');
                if (w[i].quoted || eq == std::string::npos)
                    r.fail("expected NAME=VALUE, event or set, got '" + kv + "'");
                const int c = channel_of(kv.substr(0, eq));
                if (c < 0) r.fail("unknown channel '" + kv.substr(0, eq) + "' (" + channel_names() + ")");
                std::vector<Keyframe>& k = p.channels[c];
                const double v = r.number(kv.substr(eq + 1), "a number");
                if (!k.empty() && k.back().t == t) k.back().value = v;  // the later one holds
                else k.push_back({t, v});
            }
        }
    }
    if (!has_length) p.length_s = last;
    else if (p.length_s < last) {
        r.line = 0;
        r.fail("the length (" + std::to_string(p.length_s) + " s) ends before the last entry (" + std::to_string(last) + " s)");
    }
    return p;
}

Profile load_profile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw HostError(path + ": cannot open the profile");
    std::string text(kMaxText + 1, '\0');
    in.read(text.data(), std::streamsize(text.size()));
    text.resize(size_t(in.gcount()));
    return parse_profile(text, path);
}

/* ---- values ------------------------------------------------------------------------- */

namespace {

// The keyframes around t: i is the first with time > t (0 .. size).
size_t after(const std::vector<Keyframe>& k, double t) {
    size_t lo = 0, hi = k.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (k[mid].t <= t) lo = mid + 1;
        else hi = mid;
    }
    return lo;
}

}  // namespace

bool Profile::value(Channel c, double t, double& out) const {
    const std::vector<Keyframe>& k = channels[int(c)];
    if (k.empty()) return false;
    const size_t i = after(k, t);
    if (i == 0) out = k.front().value;
    else if (i == k.size() || kChannels[int(c)].step) out = k[i - 1].value;
    else {
        const Keyframe& a = k[i - 1];
        const Keyframe& b = k[i];
        out = a.value + (b.value - a.value) * (t - a.t) / (b.t - a.t);
    }
    return true;
}

double Profile::slope(Channel c, double t) const {
    const std::vector<Keyframe>& k = channels[int(c)];
    if (kChannels[int(c)].step) return 0;
    const size_t i = after(k, t);
    if (i == 0 || i == k.size()) return 0;
    return (k[i].value - k[i - 1].value) / (k[i].t - k[i - 1].t);
}

/* ---- the default flight ------------------------------------------------------------- */

const std::string& default_profile_text() {
    static const std::string text = R"(# The default flight of the twin: about ten and a half minutes from cold and dark to
# shut-down. Field elevation 500 ft, runway 27; a right-hand circuit at 3200 ft, an
# approach on the localizer and glideslope, decision height 200 ft.

length 10:40

# ---- cold and dark: parked facing south ----------------------------------------------
0 airspeed=0 altitude=500 ground=500 pitch=0 bank=0 heading=180 flaps=0 oat=12
0 dme=-1 marker=0 loc=0 gs=0 nav_valid=0 gs_valid=0 tofrom=0 vor2=0 vor2_tofrom=1
0 gps_distance=0.6 gps_bearing=300 adf=120 door=0
0 set 557 34200               # 09:30 local
0 set 839 "RW27"
0 set 855 180
0 set 107 180
0 set 45 270                  # the localizer course
0 set 854 270
0 set 54 90
0 set 109 3200                # autopilot altitude preset
0 set 120 1000

# ---- start-up ----------------------------------------------------------------------------
2 event 66241                 # battery master
4 event 66340                 # fuel pumps
4 event 66341
5 event 65560                 # beacon
5 event 66379                 # navigation lights
6 event 65919 16384           # mixtures rich
6 event 65920 16384
6 event 65923 16384           # propellers full forward
6 event 65924 16384
6 event 65820 3000            # throttles cracked
6 event 65821 3000
8 event 65927                 # engine 1: both magnetos
10 event 66300                # engine 1 starter
22 event 65933                # engine 2: both magnetos
24 event 66301                # engine 2 starter
36 event 66363                # generators
36 event 66364
38 event 66293                # avionics master
40 dme=-1
40.5 dme=0.6
42 event 66046                # heading gyro aligned with the compass
44 set 615 60.96              # decision height 200 ft

# ---- taxi to runway 27 -------------------------------------------------------------------
50 airspeed=0
50 event 65820 5000
50 event 65821 5000
58 airspeed=12
62 heading=180
77 heading=270
85 flaps=0.3
85 event 65858                # pitot heat
85 event 65751                # landing lights
85 event 66240
85 set 855 270
85 set 107 270
92 airspeed=12
92 event 65820 3000
92 event 65821 3000
95 dme=0.9
98 airspeed=0

# ---- take-off and climb --------------------------------------------------------------------
105 airspeed=0 dme=0.9
105 event 65820 16384
105 event 65821 16384
122 airspeed=85 pitch=0
123 altitude=500 dme=0.5
125 pitch=8
135 altitude=700 airspeed=105 flaps=0
140 event 65820 14500         # climb power
140 event 65821 14500
140 event 65923 14500
140 event 65924 14500
145 event 65580               # autopilot, heading hold
145 event 65798
160 set 855 90
160 set 107 90
163 bank=0
165 heading=270 dme=1.6
168 bank=20
222 bank=20
225 heading=450 dme=2.0
227 bank=0
250 pitch=7 airspeed=110
257 altitude=3200 dme=0.9
257 event 65799               # altitude hold
257 event 65820 11500         # cruise power
257 event 65821 11500
257 event 65923 12500
257 event 65924 12500
257 event 65919 13500
257 event 65920 13500
258 pitch=2

# ---- downwind, base ------------------------------------------------------------------------
270 airspeed=145
275 set 855 180
275 set 107 180
278 bank=0
280 heading=450
282 bank=20
298 bank=20
300 heading=540 dme=2.6
302 bank=0
310 nav_valid=0 gs_valid=0 tofrom=0
311 nav_valid=1 gs_valid=1 tofrom=1 loc=1 gs=-1
315 event 65724               # approach hold
320 set 855 270
320 set 107 270
320 airspeed=145
320 event 65820 7000
320 event 65821 7000
323 bank=0
325 heading=540
327 bank=20
330 dme=3.6
345 loc=1
353 bank=20
355 heading=630
357 bank=0
360 dme=4.4

# ---- final approach --------------------------------------------------------------------------
365 loc=0 airspeed=110 flaps=0.3
370 gs=-1 pitch=2
380 gs=0 altitude=3200 pitch=-2
380 event 65799               # altitude hold off: the glideslope has it
450 flaps=1
466 marker=1
474 marker=0
480 airspeed=95
548 marker=2
550 event 65724               # autopilot off at the decision height
550 event 65798
550 event 65580
553 marker=0
556 marker=3
559 marker=0
560 altitude=560 airspeed=80 pitch=-2

# ---- flare, landing, roll-out --------------------------------------------------------------
566 pitch=3
572 altitude=500 airspeed=72 pitch=3 dme=0.3
572 event 65820 0
572 event 65821 0
576 pitch=0
584 flaps=0
584 event 65751               # landing lights off
584 event 66240
584 event 65858               # pitot heat off
595 airspeed=15
605 airspeed=10
612 airspeed=0 dme=0.5

# ---- shut-down --------------------------------------------------------------------------------
615 event 66293               # avionics off
615 event 66363               # generators off
615 event 66364
618 event 65919 0             # mixtures to cut-off
618 event 65920 0
625 event 65930               # magnetos off
625 event 65936
627 event 66340               # fuel pumps off
627 event 66341
627 event 65560               # beacon, navigation lights off
627 event 66379
630 event 66241               # battery master off
)";
    return text;
}

Profile default_profile() { return parse_profile(default_profile_text(), "default flight"); }

}  // namespace tarn
