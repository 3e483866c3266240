// The scenario runner. Sections: words and numbers | the script state | commands |
// expectations | running a script.
#include "host/core/scenario.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>

#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/host.h"
#include "host/core/simulation.h"
#include "platform/host_control.h"

namespace tarn {

/* ---- words and numbers ------------------------------------------------------------ */

// A '#' that begins a word starts a comment; inside a word it is part of it (NAME#K).
std::vector<Word> split_words(const std::string& line) {
    std::vector<Word> words;
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            size_t end = line.find('"', i + 1);
            if (end == std::string::npos) throw std::invalid_argument("unterminated quoted word");
            words.push_back({line.substr(i + 1, end - i - 1), true});
            i = end + 1;
        } else {
            size_t end = i;
            while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r' &&
                   line[end] != '"')
                ++end;
            words.push_back({line.substr(i, end - i), false});
            i = end;
        }
    }
    return words;
}

namespace {

struct Bad {
    std::string message;
};

// Decimal, 0x-hex or floating; "nan" and "inf" too.
double parse_number(const Word& w) {
    const std::string& t = w.text;
    if (w.quoted || t.empty()) throw Bad{"expected a number, got '" + t + "'"};
    char* end = nullptr;
    double v;
    if (t.size() > 2 && (t.rfind("0x", 0) == 0 || t.rfind("0X", 0) == 0)) {
        errno = 0;
        unsigned long long u = std::strtoull(t.c_str(), &end, 16);
        if (errno != 0) throw Bad{"number out of range: '" + t + "'"};
        v = double(u);
    } else if (t.size() > 3 && (t.rfind("-0x", 0) == 0 || t.rfind("-0X", 0) == 0)) {
        errno = 0;
        unsigned long long u = std::strtoull(t.c_str() + 1, &end, 16);
        if (errno != 0) throw Bad{"number out of range: '" + t + "'"};
        v = -double(u);
    } else {
        v = std::strtod(t.c_str(), &end);
    }
    if (end == nullptr || *end != '\0') throw Bad{"expected a number, got '" + t + "'"};
    return v;
}

int64_t parse_integer(const Word& w, int64_t lo, int64_t hi, const char* what) {
    double v = parse_number(w);
    if (!(v == std::floor(v)) || v < double(lo) || v > double(hi))
        throw Bad{std::string("expected ") + what + " (a whole number from " + std::to_string(lo) + " to " +
                  std::to_string(hi) + "), got '" + w.text + "'"};
    return int64_t(v);
}

// Names longer than this are refused before they reach the host, and only their start is
// quoted, so that a message stays one readable line.
constexpr size_t kMaxName = 255;

void check_length(const std::string& text, const char* what) {
    if (text.size() > kMaxName)
        throw Bad{std::string(what) + " of " + std::to_string(text.size()) + " characters ('" + text.substr(0, 40) +
                  "...'): at most " + std::to_string(kMaxName)};
}

std::string format(double v) {
    std::ostringstream s;
    s.precision(10);
    s << v;
    return s.str();
}

// A value within the tolerance; NaN matches NaN and an infinity the same infinity.
bool close_enough(double got, double want, double tol) {
    if (std::isnan(want) || std::isnan(got)) return std::isnan(want) && std::isnan(got);
    if (std::isinf(want) || std::isinf(got)) return got == want;
    return std::fabs(got - want) <= tol;
}

/* ---- the script state --------------------------------------------------------------- */

class Script {
public:
    Script(const std::string& gauges_dir, const std::string& file, std::ostream& out, int& passed, int& failed)
        : own_host_(std::make_unique<PanelHost>(gauges_dir)), host_(*own_host_), file_(file), out_(out),
          passed_(passed), failed_(failed) {
        host_.set_key_event_processing(false);  // a plain variable table until `sim on`
    }
    // On a host that already runs, with instances already named (a panel's gauges).
    Script(PanelHost& host, const std::map<std::string, GaugeInstance*>& names, const std::string& file,
           std::ostream& out, int& passed, int& failed)
        : host_(host), file_(file), out_(out), passed_(passed), failed_(failed), names_(names), borrowed_(names) {}

    void run_line(int line, const std::vector<Word>& w);
    void set_snapshot_writer(const SnapshotWriter& writer) { snapshot_ = writer; }

private:
    GaugeInstance& instance(const Word& w);
    std::pair<GaugeInstance*, size_t> element(const std::string& ref);
    void check(bool ok, const std::string& expected, const std::string& got);
    void expect(const std::vector<Word>& w);
    void expect_element(const std::vector<Word>& w);
    void arity(const std::vector<Word>& w, size_t lo, size_t hi, const char* usage);

    std::unique_ptr<PanelHost> own_host_;
    PanelHost& host_;
    std::string file_;
    std::ostream& out_;
    int& passed_;
    int& failed_;
    int line_ = 0;
    std::map<std::string, GaugeInstance*> names_;
    std::map<std::string, GaugeInstance*> borrowed_;  // named by the caller: not the script's to kill
    SnapshotWriter snapshot_;                          // empty: this build does not draw
    size_t next_event_ = 0;
    size_t next_sound_ = 0;
    std::unique_ptr<Simulation> sim_;  // the built-in aircraft, made by `sim on` or `profile`
    bool sim_on_ = false;              // it moves with `update ... every MS`
};

void Script::arity(const std::vector<Word>& w, size_t lo, size_t hi, const char* usage) {
    if (w.size() < lo || w.size() > hi) throw Bad{std::string("usage: ") + usage};
}

GaugeInstance& Script::instance(const Word& w) {
    auto it = names_.find(w.text);
    if (it == names_.end()) throw Bad{"unknown instance '" + w.text + "'"};
    return *it->second;
}

std::pair<GaugeInstance*, size_t> Script::element(const std::string& ref) {
    const size_t hash = ref.find('#');
    if (hash == std::string::npos) throw Bad{"expected NAME#K, got '" + ref + "'"};
    GaugeInstance& g = instance({ref.substr(0, hash), false});
    const int64_t k = parse_integer({ref.substr(hash + 1), false}, 1, 1000000, "an element number");
    if (size_t(k) > g.element_count())
        throw Bad{"instance '" + ref.substr(0, hash) + "' has " + std::to_string(g.element_count()) +
                  " elements, not " + std::to_string(k)};
    return {&g, size_t(k - 1)};
}

void Script::check(bool ok, const std::string& expected, const std::string& got) {
    if (ok) {
        ++passed_;
    } else {
        ++failed_;
        out_ << file_ << ":" << line_ << ": expected " << expected << ", got " << got << "\n";
    }
}

/* ---- commands ----------------------------------------------------------------------- */

void Script::run_line(int line, const std::vector<Word>& w) {
    line_ = line;
    const std::string& cmd = w[0].text;
    if (w[0].quoted) throw Bad{"expected a command, got a quoted word"};
    if (cmd == "gauge") {
        arity(w, 3, 4, "gauge NAME MODULE!GAUGE [\"PARAMS\"]");
        const std::string& name = w[1].text;
        check_length(name, "an instance name");
        check_length(w[2].text, "a gauge name");
        if (name.empty() || name.find('#') != std::string::npos) throw Bad{"bad instance name '" + name + "'"};
        if (names_.count(name)) throw Bad{"instance '" + name + "' already exists"};
        const size_t bang = w[2].text.find('!');
        if (bang == std::string::npos || bang == 0 || bang + 1 == w[2].text.size())
            throw Bad{"expected MODULE!GAUGE, got '" + w[2].text + "'"};
        std::string params;
        if (w.size() == 4) params = w[3].text;
        GaugeInstance& g = host_.create(w[2].text.substr(0, bang), w[2].text.substr(bang + 1), w.size() == 4 ? &params : nullptr);
        names_[name] = &g;
    } else if (cmd == "set") {
        arity(w, 3, 3, "set TOKEN VALUE | set TOKEN \"TEXT\"");
        const uint32_t token = uint32_t(parse_integer(w[1], 1, 0xFFFFFFFFll, "a token id"));
        const bool ok = w[2].quoted ? host_.vars().set_text(token, w[2].text)
                                    : host_.vars().set_number(token, parse_number(w[2]));
        if (!ok) throw Bad{"token " + std::to_string(token) + (w[2].quoted ? " holds a number, not text" : " holds text, not a number")};
    } else if (cmd == "fail" || cmd == "repair") {
        arity(w, 2, 2, "fail KEY | repair KEY");
        const uint32_t key = uint32_t(parse_integer(w[1], 1, 63, "a failure key"));
        if (cmd == "fail") host_.failures().fail(key);
        else host_.failures().repair(key);
    } else if (cmd == "clock") {
        arity(w, 2, 2, "clock MS");
        tarn_platform_set_time(DWORD(parse_integer(w[1], 0, 0xFFFFFFFFll, "milliseconds")));
    } else if (cmd == "wait") {
        arity(w, 2, 2, "wait MS");
        tarn_platform_advance_time(DWORD(parse_integer(w[1], 0, 0xFFFFFFFFll, "milliseconds")));
    } else if (cmd == "update") {
        int64_t n = 1, every = -1;
        size_t i = 1;
        if (i < w.size() && w[i].text != "every") n = parse_integer(w[i++], 0, 100000000, "an update count");
        if (i < w.size()) {
            if (w[i].text != "every" || i + 2 != w.size()) throw Bad{"usage: update [N] [every MS]"};
            every = parse_integer(w[i + 1], 0, 0xFFFFFFFFll, "milliseconds");
        }
        for (int64_t k = 0; k < n; ++k) {
            if (every >= 0) {
                tarn_platform_advance_time(DWORD(every));
                if (sim_on_) sim_->step(uint32_t(every));
            }
            host_.update_all();
        }
    } else if (cmd == "click" || cmd == "hold") {
        const bool hold = cmd == "hold";
        arity(w, hold ? 5 : 4, hold ? 5 : 4, hold ? "hold NAME X Y N" : "click NAME X Y");
        GaugeInstance& g = instance(w[1]);
        const int x = int(parse_integer(w[2], -100000, 100000, "a pixel"));
        const int y = int(parse_integer(w[3], -100000, 100000, "a pixel"));
        const int64_t repeats = hold ? parse_integer(w[4], 0, 100000000, "a repeat count") : 0;
        host_.press(g, x, y);
        for (int64_t k = 0; k < repeats; ++k) host_.repeat(g);
        host_.release(g);
    } else if (cmd == "drag") {
        arity(w, 6, 7, "drag NAME X Y X2 Y2 [STEPS]");
        GaugeInstance& g = instance(w[1]);
        int p[4];
        for (int k = 0; k < 4; ++k) p[k] = int(parse_integer(w[2 + k], -100000, 100000, "a pixel"));
        const int64_t steps = w.size() == 7 ? parse_integer(w[6], 1, 100000, "a step count") : 1;
        host_.press(g, p[0], p[1]);
        for (int64_t k = 1; k <= steps; ++k) {
            const double f = double(k) / double(steps);
            host_.move(g, int(std::lround(p[0] + (p[2] - p[0]) * f)), int(std::lround(p[1] + (p[3] - p[1]) * f)));
        }
        host_.release(g);
    } else if (cmd == "kill") {
        arity(w, 2, 2, "kill NAME");
        GaugeInstance& g = instance(w[1]);
        if (borrowed_.count(w[1].text)) throw Bad{"instance '" + w[1].text + "' belongs to the panel; it cannot be killed"};
        names_.erase(w[1].text);
        host_.kill(g);
    } else if (cmd == "clear") {
        arity(w, 1, 1, "clear");
        next_event_ = host_.key_events().size();
        next_sound_ = tarn_sound_log_size();
    } else if (cmd == "host-exe") {
        arity(w, 2, 2, "host-exe \"PATH\"");
        tarn_platform_set_host_exe(w[1].text.c_str());
    } else if (cmd == "window") {
        arity(w, 2, 2, "window \"CLASS\" | window none");
        tarn_platform_set_host_window(w[1].text == "none" && !w[1].quoted ? nullptr : w[1].text.c_str());
    } else if (cmd == "sound-fail" || cmd == "sound-ok") {
        arity(w, 2, 2, "sound-fail OP | sound-ok OP (create, cooperative, buffer, lock, play, status, volume)");
        if (!tarn_dsound_set_failure(w[1].text.c_str(), cmd == "sound-fail"))
            throw Bad{"unknown sound operation '" + w[1].text +
                      "' (create, cooperative, buffer, lock, play, status, volume)"};
    } else if (cmd == "expect") {
        expect(w);
    } else if (cmd == "snapshot") {
        // The picture of one instance at its own size, or of every instance in a row.
        arity(w, 2, 3, "snapshot FILE [NAME]");
        const GaugeInstance* one = w.size() == 3 ? &instance(w[2]) : nullptr;
        if (!snapshot_) throw Bad{"snapshot: not available in this build"};
        const std::string why = snapshot_(w[1].text, host_, one);
        if (!why.empty()) throw Bad{why};
    } else if (cmd == "sim") {
        // The built-in aircraft, cold and dark when first made, and the host's key-event
        // processing; `sim on` alone runs the model without a profile.
        arity(w, 2, 2, "sim on | sim off");
        if (w[1].text != "on" && w[1].text != "off") throw Bad{"usage: sim on | sim off"};
        sim_on_ = w[1].text == "on";
        host_.set_key_event_processing(sim_on_);
        if (sim_on_ && !sim_) {
            sim_ = std::make_unique<Simulation>(host_);
            sim_->set_profile_enabled(false);
        }
    } else if (cmd == "profile") {
        // A profile file (relative to the script's folder), or the built-in default flight;
        // it flies from its start while the aircraft runs.
        arity(w, 2, 2, "profile FILE | profile default");
        if (!sim_) sim_ = std::make_unique<Simulation>(host_);
        if (w[1].text == "default" && !w[1].quoted) {
            sim_->load_default_profile();
        } else {
            std::filesystem::path path(w[1].text);
            if (path.is_relative()) path = std::filesystem::path(file_).parent_path() / path;
            sim_->load_profile(path.string());
        }
        sim_->set_profile_enabled(true);
    } else if (cmd == "echo") {
        for (size_t i = 1; i < w.size(); ++i) out_ << (i > 1 ? " " : "") << w[i].text;
        out_ << "\n";
    } else {
        throw Bad{"unknown command '" + cmd + "'"};
    }
}

/* ---- expectations ------------------------------------------------------------------- */

void Script::expect(const std::vector<Word>& w) {
    if (w.size() < 2) throw Bad{"usage: expect WHAT ..."};
    const std::string& what = w[1].text;
    const auto& events = host_.key_events();
    if (what == "event") {
        arity(w, 4, 4, "expect event ID VALUE");
        const UINT32 id = UINT32(parse_integer(w[2], 0, 0xFFFFFFFFll, "an event id"));
        const UINT32 value = UINT32(parse_integer(w[3], INT32_MIN, 0xFFFFFFFFll, "an event value"));
        const std::string expected = "event " + std::to_string(id) + " " + std::to_string(value);
        if (next_event_ >= events.size()) {
            check(false, expected, "no event");
        } else {
            const KeyEvent e = events[next_event_++];
            check(e.id == id && e.value == value, expected,
                  "event " + std::to_string(e.id) + " " + std::to_string(e.value));
        }
    } else if (what == "no-event") {
        arity(w, 2, 2, "expect no-event");
        std::string got = "no event";
        if (next_event_ < events.size())
            got = "event " + std::to_string(events[next_event_].id) + " " + std::to_string(events[next_event_].value);
        check(next_event_ >= events.size(), "no event", got);
    } else if (what == "sound") {
        arity(w, 3, 3, "expect sound \"TEXT\"");
        if (next_sound_ >= tarn_sound_log_size()) {
            check(false, "sound \"" + w[2].text + "\"", "no sound");
        } else {
            const std::string got = tarn_sound_log_text(next_sound_++);
            check(got == w[2].text, "sound \"" + w[2].text + "\"", "sound \"" + got + "\"");
        }
    } else if (what == "no-sound") {
        arity(w, 2, 2, "expect no-sound");
        std::string got = "no sound";
        if (next_sound_ < tarn_sound_log_size()) got = std::string("sound \"") + tarn_sound_log_text(next_sound_) + "\"";
        check(next_sound_ >= tarn_sound_log_size(), "no sound", got);
    } else if (what == "var") {
        arity(w, 4, 5, "expect var TOKEN VALUE [TOL]");
        const uint32_t token = uint32_t(parse_integer(w[2], 1, 0xFFFFFFFFll, "a token id"));
        const std::string expected = "var " + std::to_string(token) + " " + w[3].text;
        if (w[3].quoted) {
            const std::string got = host_.vars().text(token);
            check(got == w[3].text, expected, "\"" + got + "\"");
        } else {
            const double v = parse_number(w[3]);
            const double tol = w.size() == 5 ? parse_number(w[4]) : 1e-6;
            const double got = host_.vars().number(token);
            check(close_enough(got, v, tol), expected, format(got));
        }
    } else if (what.find('#') != std::string::npos) {
        expect_element(w);
    } else {
        throw Bad{"unknown expectation '" + what + "'"};
    }
}

void Script::expect_element(const std::vector<Word>& w) {
    auto [g, index] = element(w[1].text);
    if (w.size() < 3) throw Bad{"usage: expect NAME#K value|x|y|rotation|angle|frame|text|color|font|hidden|shown ..."};
    const ElementState& s = g->element(index);
    const uint32_t type = s.element->element_type;
    const std::string& what = w[2].text;
    const std::string subject = w[1].text + " ";
    auto axis_of = [&](const std::string& name) -> int {
        const bool axes = type == ELEMENT_TYPE_SLIDER || type == ELEMENT_TYPE_MOVING_IMAGE || type == ELEMENT_TYPE_SPRITE;
        if (name == "value") {
            if (axes) throw Bad{w[1].text + " has axes: use x, y or rotation"};
            if (type == ELEMENT_TYPE_STATIC_IMAGE) throw Bad{w[1].text + " is a static image and has no value"};
            return 0;
        }
        if (!axes) throw Bad{w[1].text + " has no " + name + " axis: use value"};
        if (name == "x") return 0;
        if (name == "y") return 1;
        if (type != ELEMENT_TYPE_SPRITE) throw Bad{w[1].text + " has no rotation axis"};
        return 2;
    };
    if (what == "value" || what == "x" || what == "y" || what == "rotation") {
        arity(w, 4, 5, "expect NAME#K value V [TOL]");
        const int axis = axis_of(what);
        const double v = parse_number(w[3]);
        const double tol = w.size() == 5 ? parse_number(w[4]) : 1e-6;
        const double got = s.value[axis];
        check(close_enough(got, v, tol), subject + what + " " + w[3].text,
              format(got));
    } else if (what == "angle") {
        arity(w, 4, 5, "expect NAME#K angle V [TOL]");
        if (type != ELEMENT_TYPE_NEEDLE) throw Bad{w[1].text + " is not a needle"};
        const double v = parse_number(w[3]);
        const double tol = w.size() == 5 ? parse_number(w[4]) : 0.01;
        double diff = std::fmod(std::fabs(s.angle - v), 360.0);
        if (diff > 180.0) diff = 360.0 - diff;
        check(diff <= tol, subject + "angle " + w[3].text, format(s.angle));
    } else if (what == "frame") {
        arity(w, 4, 4, "expect NAME#K frame F|none");
        if (type != ELEMENT_TYPE_ICON) throw Bad{w[1].text + " is not an icon"};
        const int frame = s.failed_hidden || (s.element->image_flags & IMAGE_HIDDEN) ? -1 : s.frame;
        const int want = w[3].text == "none" ? -1 : int(parse_integer(w[3], 0, 100000, "a frame"));
        check(frame == want, subject + "frame " + w[3].text, frame < 0 ? "none" : std::to_string(frame));
    } else if (what == "text") {
        arity(w, 4, 4, "expect NAME#K text \"TEXT\"");
        if (type != ELEMENT_TYPE_STRING) throw Bad{w[1].text + " is not a text"};
        const std::string got = g->text(index);
        check(got == w[3].text, subject + "text \"" + w[3].text + "\"", "\"" + got + "\"");
    } else if (what == "color" || what == "font") {
        arity(w, 4, 4, what == "color" ? "expect NAME#K color 0x00BBGGRR" : "expect NAME#K font \"FACE\"");
        if (type != ELEMENT_TYPE_STRING) throw Bad{w[1].text + " is not a text"};
        const auto* t = reinterpret_cast<const ELEMENT_STRING*>(s.element);
        if (what == "color") {
            const int64_t want = parse_integer(w[3], 0, 0xFFFFFFFFll, "a colour");
            std::ostringstream got;
            got << "0x" << std::hex << std::uppercase << t->fg_color;
            check(t->fg_color == COLORREF(want), subject + "color " + w[3].text, got.str());
        } else {
            const std::string got(t->font_face, strnlen(t->font_face, sizeof t->font_face));
            check(got == w[3].text, subject + "font \"" + w[3].text + "\"", "\"" + got + "\"");
        }
    } else if (what == "hidden" || what == "shown") {
        arity(w, 3, 3, "expect NAME#K hidden|shown");
        const bool hidden = s.hidden();
        check(hidden == (what == "hidden"), subject + what, hidden ? "hidden" : "shown");
    } else {
        throw Bad{"unknown element expectation '" + what + "'"};
    }
}

}  // namespace

/* ---- running a script --------------------------------------------------------------- */

namespace {

std::string read_script(const std::string& path) {
    constexpr size_t kMaxScript = 16 << 20;
    std::string text, why;
    if (!read_input_file(path, "script", kMaxScript, text, &why)) throw ScenarioError(path, 0, why);
    if (text.size() > kMaxScript) {
        // Named by the line in which the limit falls.
        const int line = int(std::count(text.begin(), text.begin() + kMaxScript, '\n')) + 1;
        throw ScenarioError(path, line, "the script is larger than 16 MiB");
    }
    return text;
}

// The first byte that no text has: a NUL or a control character other than tab, carriage
// return and line feed; -1 when there is none.
int control_byte(const std::string& line) {
    for (unsigned char c : line)
        if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F) return c;
    return -1;
}

void run_script(Script& script, const std::string& name, const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    int commands = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (const int c = control_byte(line); c >= 0) {
            char what[32] = "a NUL byte";
            if (c != 0) std::snprintf(what, sizeof what, "a control byte 0x%02X", unsigned(c));
            throw ScenarioError(name, number, std::string("the script is not text (") + what + ")");
        }
        std::vector<Word> words;
        try {
            words = split_words(line);
        } catch (const std::invalid_argument& e) {
            throw ScenarioError(name, number, e.what());
        }
        if (words.empty()) continue;
        ++commands;
        try {
            script.run_line(number, words);
        } catch (const Bad& b) {
            throw ScenarioError(name, number, b.message);
        } catch (const HostError& e) {
            throw ScenarioError(name, number, e.what());
        }
    }
    // A script that checks nothing cannot fail: an empty file is a mistake, not a pass.
    if (commands == 0)
        throw ScenarioError(name, number == 0 ? 1 : number,
                            text.empty() ? "the script is empty" : "the script has no commands (only blanks and comments)");
}

}  // namespace

ScenarioRunner::ScenarioRunner(std::string gauges_dir, std::ostream& out) : gauges_dir_(std::move(gauges_dir)), out_(out) {}

void ScenarioRunner::run_file(const std::string& path) { run_text(path, read_script(path)); }

void ScenarioRunner::run_text(const std::string& name, const std::string& text) {
    Script script(gauges_dir_, name, out_, passed_, failed_);
    script.set_snapshot_writer(snapshot_);
    run_script(script, name, text);
}

void ScenarioRunner::run_file_on(PanelHost& host, const std::map<std::string, GaugeInstance*>& names,
                                 const std::string& path) {
    const std::string text = read_script(path);
    Script script(host, names, path, out_, passed_, failed_);
    script.set_snapshot_writer(snapshot_);
    run_script(script, path, text);
}

}  // namespace tarn
