// Flight profiles. Sections: channels | reading a profile | values | the default flight.
#include "host/core/profile.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/scenario.h"
#include "host/core/variables.h"

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
    std::string text, why;
    if (!read_input_file(path, "profile", kMaxText, text, &why)) throw HostError(path + ": " + why);
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
    // profiles/default_flight.txt, built in at build time (default_flight.inc).
    static const std::string text =
#include "default_flight.inc"
        ;
    return text;
}

Profile default_profile() { return parse_profile(default_profile_text(), "default flight"); }

}  // namespace tarn
