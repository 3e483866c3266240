// Panel configuration files. Sections: words and numbers | text | lines | keys | the file | names
#include "host/core/panel_config.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "host/core/files.h"
#include "host/core/utf8.h"

namespace tarn {

/* ---- words and numbers ------------------------------------------------------------ */

namespace {

constexpr double kMaxUnits = 1e6;
constexpr int kLastGauge = 999;      // gauge00 to gauge999
constexpr size_t kMaxName = 255;     // longer names are cut off, quoting only their start

std::string trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace((unsigned char)s[a])) ++a;
    while (b > a && std::isspace((unsigned char)s[b - 1])) --b;
    return s.substr(a, b - a);
}

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower((unsigned char)c));
    return s;
}

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t at = s.find(sep, start);
        out.push_back(trim(s.substr(start, at == std::string::npos ? std::string::npos : at - start)));
        if (at == std::string::npos) return out;
        start = at + 1;
    }
}

// Numbers separated by commas or by blanks ("16 16 16").
std::vector<std::string> numbers_of(const std::string& s) {
    if (s.find(',') != std::string::npos) return split(s, ',');
    std::vector<std::string> out;
    std::istringstream in(s);
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

// A value quoted in a message, only its start when long.
std::string quoted(const std::string& s) {
    std::string out(1, '\'');
    out.append(s, 0, 40);
    out.append(s.size() > 40 ? "...'" : "'");
    return out;
}

struct Reader {
    const std::string& path;
    std::vector<Finding>& findings;
    int line = 0;

    // Per window: the finding of its first gauge line past gauge999, and how many follow.
    mutable std::map<const PanelWindow*, std::pair<size_t, int>> past_last;

    void note(const std::string& message) const { findings.push_back({path, line, message}); }

    // A number as a simulator reads it: its leading digits (a finding when more follows),
    // nothing (and a finding) without any.
    std::optional<double> number(const std::string& text, const char* what) const {
        if (text.empty()) {
            note(std::string("missing ") + what);
            return std::nullopt;
        }
        char* end = nullptr;
        const double v = std::strtod(text.c_str(), &end);
        if (end == text.c_str() || !std::isfinite(v) || std::fabs(v) > kMaxUnits) {
            note(std::string("bad ") + what + " " + quoted(text) + " (a number): ignored");
            return std::nullopt;
        }
        if (*end != '\0') {
            char shown[32];
            std::snprintf(shown, sizeof shown, "%g", v);
            note(std::string("bad ") + what + " " + quoted(text) + " (a number): read as " + shown);
        }
        return v;
    }
    std::optional<double> positive(const std::string& text, const char* what) const {
        const std::optional<double> v = number(text, what);
        if (v && *v <= 0) {
            note(std::string("bad ") + what + " " + quoted(text) + " (a number above 0): ignored");
            return std::nullopt;
        }
        return v;
    }
    std::optional<long> integer(const std::string& text, const char* what, long lo, long hi) const {
        const std::optional<double> v = number(text, what);
        if (!v) return std::nullopt;
        if (*v != std::floor(*v) || *v < double(lo) || *v > double(hi)) {
            note(std::string("bad ") + what + " " + quoted(text) + " (a whole number from " + std::to_string(lo) +
                 " to " + std::to_string(hi) + "): ignored");
            return std::nullopt;
        }
        return long(*v);
    }
};

// "NAME" followed by decimal digits only: the number (at most 999999999), or -1.
long numbered(const std::string& key, const std::string& name) {
    if (key.size() <= name.size() || key.size() > name.size() + 9 || key.compare(0, name.size(), name) != 0)
        return -1;
    long n = 0;
    for (size_t i = name.size(); i < key.size(); ++i) {
        if (!std::isdigit((unsigned char)key[i])) return -1;
        n = n * 10 + (key[i] - '0');
    }
    return n;
}

}  // namespace

/* ---- text ------------------------------------------------------------------------- */

namespace {

// The length of the UTF-8 sequence at s[i], or 0 when it is not one.
size_t utf8_length(const std::string& s, size_t i) {
    const unsigned char c = (unsigned char)s[i];
    size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (n == 0 || i + n > s.size() || (n == 2 && c < 0xC2) || (n == 4 && c > 0xF4)) return 0;
    for (size_t k = 1; k < n; ++k)
        if (((unsigned char)s[i + k] & 0xC0) != 0x80) return 0;
    if (n == 3 && c == 0xE0 && (unsigned char)s[i + 1] < 0xA0) return 0;   // overlong
    if (n == 3 && c == 0xED && (unsigned char)s[i + 1] >= 0xA0) return 0;  // surrogates
    if (n == 4 && c == 0xF0 && (unsigned char)s[i + 1] < 0x90) return 0;
    if (n == 4 && c == 0xF4 && (unsigned char)s[i + 1] >= 0x90) return 0;
    return n;
}

// Windows-1252's characters at 0x80 to 0x9F (0 where it has none).
constexpr uint16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

std::string panel_text_to_utf8(const std::string& text) {
    bool utf8 = true;
    for (size_t i = 0; i < text.size() && utf8;) {
        const size_t n = utf8_length(text, i);
        utf8 = n > 0;
        i += n;
    }
    if (utf8) return text;
    std::string out;
    for (char ch : text) {
        const unsigned char c = (unsigned char)ch;
        const uint32_t code = c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : c;
        append_utf8(out, code != 0 ? code : 0xFFFD);
    }
    return out;
}

/* ---- keys ------------------------------------------------------------------------- */

namespace {

void read_gauge(const Reader& r, PanelWindow& w, PanelGauge::Kind kind, long number, const std::string& value) {
    const bool html = kind == PanelGauge::Kind::kHtml;
    const char* key = html ? "htmlgauge" : "gauge";
    if (number > kLastGauge) {
        // The first such line of a window is told, the rest counted (summed up at the end).
        auto [it, first] = r.past_last.try_emplace(&w, r.findings.size(), 0);
        if (first)
            r.note(std::string(key) + std::to_string(number) + ": a number past " + key + std::to_string(kLastGauge) +
                   ": ignored");
        else
            ++it->second.second;
        return;
    }
    for (const PanelGauge& other : w.gauges)
        if (other.kind == kind && other.number == number) {
            r.note(std::string(key) + " number " + std::to_string(number) + " given twice (first at line " +
                   std::to_string(other.line) + "): ignored");
            return;
        }
    PanelGauge g;
    g.kind = kind;
    g.number = int(number);
    g.line = r.line;
    const std::vector<std::string> f = split(value, ',');
    if (f[0].empty()) {
        r.note("a gauge line without a gauge name: ignored");
        return;
    }
    if (html) {
        g.gauge = f[0];
    } else {
        const size_t bang = f[0].find('!');
        if (bang != std::string::npos && (bang == 0 || bang + 1 == f[0].size())) {
            r.note("expected MODULE!GAUGE, x, y[, w[, h]][, parameters], got " + quoted(value) + ": ignored");
            return;
        }
        g.module = trim(f[0].substr(0, bang));
        if (bang != std::string::npos) g.gauge = trim(f[0].substr(bang + 1));
    }
    for (const std::string* name : {&g.module, &g.gauge})
        if (name->size() > kMaxName) {
            r.note(std::string(name == &g.module ? "a module" : "a gauge") + " name of " +
                   std::to_string(name->size()) + " characters (" + quoted(*name) + "): at most " +
                   std::to_string(kMaxName) + ": ignored");
            return;
        }
    if (f.size() < 3) {
        r.note("gauge " + g.name() + " without its position (MODULE!GAUGE, x, y): placed at 0,0");
    } else {
        g.x = r.number(f[1], "x").value_or(0);
        g.y = r.number(f[2], "y").value_or(0);
    }
    // A size of 0 is kept (a gauge that is made but never drawn); below 0 is no size.
    auto size = [&](const std::string& text, const char* what) -> std::optional<double> {
        if (text.empty()) return std::nullopt;
        std::optional<double> v = r.number(text, what);
        if (v && *v < 0) {
            r.note(std::string("bad ") + what + " " + quoted(text) + " (a number from 0): ignored");
            return std::nullopt;
        }
        return v;
    };
    if (f.size() > 3) g.w = size(f[3], "width");
    if (f.size() > 4) {
        if (std::optional<double> h = size(f[4], "height"); h && !g.w) {
            r.note("a height without a width: ignored");
        } else {
            g.h = h;
        }
    }
    if (f.size() > 5) {
        // The rest of the line, commas included, is the parameter string.
        size_t at = 0;
        for (int k = 0; k < 5; ++k) at = value.find(',', at) + 1;
        g.params = trim(value.substr(at));
    }
    w.gauges.push_back(std::move(g));
}

// A pair of numbers (x,y); one number stands for both.
std::optional<std::pair<double, double>> read_pair(const Reader& r, const std::string& value, const char* what) {
    const std::vector<std::string> parts = numbers_of(value);
    if (parts.empty() || parts.size() > 2) {
        r.note(std::string("bad ") + what + " " + quoted(value) + " (x,y): ignored");
        return std::nullopt;
    }
    const std::optional<double> a = r.number(parts[0], what);
    const std::optional<double> b = parts.size() == 2 ? r.number(parts[1], what) : a;
    if (!a || !b) return std::nullopt;
    return std::make_pair(*a, *b);
}

void read_window_key(const Reader& r, PanelWindow& w, const std::string& key, const std::string& value,
                     std::vector<std::pair<long, std::pair<std::string, int>>>& variants) {
    if (long n = numbered(key, "gauge"); n >= 0) {
        read_gauge(r, w, PanelGauge::Kind::kModule, n, value);
    } else if (long h = numbered(key, "htmlgauge"); h >= 0) {
        read_gauge(r, w, PanelGauge::Kind::kHtml, h, value);
    } else if (key == "file" || numbered(key, "file_") >= 0) {
        if (value.empty()) {
            r.note("empty file name: ignored");
        } else if (key == "file") {
            w.file = value;
            w.file_line = r.line;
        } else {
            variants.push_back({numbered(key, "file_"), {value, r.line}});
        }
    } else if (key == "size_mm") {
        const std::vector<std::string> parts = numbers_of(value);
        if (parts.empty() || parts.size() > 2) {
            r.note("bad size_mm " + quoted(value) + " (a width, or width,height): ignored");
            return;
        }
        w.size_w = r.positive(parts[0], "size_mm width");
        if (w.size_w && parts.size() == 2) w.size_h = r.positive(parts[1], "size_mm height");
    } else if (key == "pixel_size" && w.virtual_cockpit) {
        const std::vector<std::string> parts = numbers_of(value);
        std::optional<long> pw, ph;
        if (parts.size() == 2) {
            pw = r.integer(parts[0], "pixel_size width", 0, 16384);
            ph = r.integer(parts[1], "pixel_size height", 0, 16384);
        } else {
            r.note("bad pixel_size " + quoted(value) + " (width,height): ignored");
        }
        if (pw && ph && *pw > 0 && *ph > 0) w.pixel_size = std::make_pair(int(*pw), int(*ph));
    } else if (key == "texture" && w.virtual_cockpit) {
        w.texture = panel_text_to_utf8(value);
    } else if (key == "position") {
        w.position = int(r.integer(value, "position", 0, 8).value_or(0));
    } else if (key == "visible") {
        const std::string v = lower(value);
        if (v == "true" || v == "yes") {
            w.visible = true;
        } else if (v == "false" || v == "no") {
            w.visible = false;
        } else if (std::optional<long> n = r.integer(value, "visible", 0, 1)) {
            w.visible = *n == 1;
        }
    } else if (key == "ident") {
        if (value.empty()) {
            r.note("empty ident: ignored");
            return;
        }
        w.ident = value;
        w.ident_line = r.line;
    } else if (key == "window_pos") {
        w.window_pos = read_pair(r, value, "window_pos");
    } else if (key == "window_size") {
        w.window_size = read_pair(r, value, "window_size");
    } else if (key == "background_color") {
        const std::vector<std::string> parts = numbers_of(value);
        if (parts.size() < 3) {
            r.note("bad background_color " + quoted(value) + " (r,g,b): ignored");
            return;
        }
        if (parts.size() > 3) r.note("background_color " + quoted(value) + ": only r,g,b are used");
        unsigned rgb = 0;
        for (size_t i = 0; i < 3; ++i) {
            const std::optional<long> c = r.integer(parts[i], "colour channel", 0, 255);
            if (!c) return;
            rgb = rgb << 8 | unsigned(*c);
        }
        w.background = rgb;
    } else {
        r.note("key '" + key + "' is not used by this host");
    }
}

// The text as lines: CR LF, LF and CR alone end a line.
std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        out.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) out.push_back(text.substr(start));
    return out;
}

// The line without its comment ("//" or ";" anywhere) and surrounding blanks.
std::string content(const std::string& raw) {
    size_t cut = raw.size();
    const size_t slashes = raw.find("//");
    const size_t semicolon = raw.find(';');
    if (slashes != std::string::npos) cut = std::min(cut, slashes);
    if (semicolon != std::string::npos) cut = std::min(cut, semicolon);
    return trim(raw.substr(0, cut));
}

}  // namespace

/* ---- the file --------------------------------------------------------------------- */

const PanelWindow* PanelConfig::window(int number) const {
    for (const PanelWindow& w : windows)
        if (!w.virtual_cockpit && w.number == number) return &w;
    return nullptr;
}

const PanelWindow* PanelConfig::vcockpit(int number) const {
    for (const PanelWindow& w : windows)
        if (w.virtual_cockpit && w.number == number) return &w;
    return nullptr;
}

PanelConfig parse_panel_config(const std::string& whole, const std::string& path) {
    PanelConfig cfg;
    cfg.path = path;
    const size_t slash = path.find_last_of('/');
    cfg.folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    // A UTF-8 byte-order mark before the text, and a DOS end-of-file mark (Ctrl-Z) as its
    // last byte; one anywhere else is a control byte.
    std::string text = whole.compare(0, 3, "\xEF\xBB\xBF") == 0 ? whole.substr(3) : whole;
    while (!text.empty() && text.back() == '\x1A') text.pop_back();
    // A NUL or a control character other than tab, carriage return, line feed and form feed:
    // not a text file.
    const auto bad = std::find_if(text.begin(), text.end(), [](char ch) {
        const unsigned char c = (unsigned char)ch;
        return (c < 0x20 && c != '\t' && c != '\r' && c != '\n' && c != '\f') || c == 0x7F;
    });
    if (bad != text.end()) {
        const std::vector<std::string> before = lines_of(std::string(text.begin(), bad) + "x");
        char what[32] = "a NUL byte";
        if (*bad != 0) std::snprintf(what, sizeof what, "a control byte 0x%02X", unsigned((unsigned char)*bad));
        throw PanelConfigError({path, int(before.size()), std::string("the file is not text (") + what + ")"});
    }
    Reader r{path, cfg.warnings};
    enum class Section { kNone, kTitles, kWindow, kOther, kIgnored } section = Section::kNone;
    std::map<std::string, int> sections;      // lower-case name -> line
    std::map<std::string, int> keys;          // keys of the current section -> line
    std::map<long, std::pair<std::string, int>> titles;  // window number -> title, line
    std::map<std::pair<bool, long>, PanelWindow> windows;  // (virtual cockpit, number)
    std::map<const PanelWindow*, std::vector<std::pair<long, std::pair<std::string, int>>>> variants;
    PanelWindow* window = nullptr;
    bool told_before = false;
    std::string alias;
    const std::vector<std::string> lines = lines_of(text);
    for (const std::string& raw : lines) {
        ++r.line;
        const std::string line = content(raw);
        if (line.empty()) continue;
        if (line.front() == '[') {
            std::string name;
            if (line.back() != ']') {
                r.note("a section name without its closing ']'");
                name = trim(line.substr(1));
            } else {
                name = trim(line.substr(1, line.size() - 2));
            }
            const std::string key = lower(name);
            keys.clear();
            window = nullptr;
            const long wn = numbered(key, "window"), vn = numbered(key, "vcockpit");
            if (auto seen = sections.find(key); seen != sections.end()) {
                r.note("section [" + name + "] given twice (first at line " + std::to_string(seen->second) +
                       "): its lines are ignored");
                section = Section::kIgnored;
                continue;
            }
            sections[key] = r.line;
            if (key == "window titles") {
                section = Section::kTitles;
            } else if (wn >= 0 || vn >= 0) {
                const std::pair<bool, long> id{vn >= 0, vn >= 0 ? vn : wn};
                if (auto it = windows.find(id); it != windows.end()) {
                    r.note(std::string(id.first ? "virtual cockpit" : "window") + " number " +
                           std::to_string(id.second) + " given twice (first at line " + std::to_string(it->second.line) +
                           "): its lines are ignored");
                    section = Section::kIgnored;
                    continue;
                }
                section = Section::kWindow;
                window = &windows[id];
                window->virtual_cockpit = id.first;
                window->number = int(id.second);
                window->line = r.line;
                window->key = name;
            } else {
                section = Section::kOther;
                r.note("section [" + name + "] is not used by this host");
            }
            continue;
        }
        if (section == Section::kNone) {
            if (!told_before) r.note("text before the first [SECTION]: ignored");
            told_before = true;
            continue;
        }
        if (section == Section::kIgnored) continue;
        const size_t eq = line.find('=');
        if (section == Section::kOther) {
            // [fltsim] alias=FOLDER\panel: the panel of another aircraft stands for this one.
            if (eq != std::string::npos && lower(trim(line.substr(0, eq))) == "alias" && alias.empty())
                alias = trim(line.substr(eq + 1));
            continue;
        }
        if (eq == std::string::npos) {
            r.note("expected KEY=VALUE or [SECTION], got " + quoted(line) + ": ignored");
            continue;
        }
        const std::string key = lower(trim(line.substr(0, eq)));
        const std::string value = trim(line.substr(eq + 1));
        if (key.empty()) {
            r.note("a value without its key: ignored");
            continue;
        }
        if (auto seen = keys.find(key); seen != keys.end()) {
            r.note("key '" + key + "' given twice in this section (first at line " + std::to_string(seen->second) +
                   "): the first is kept");
            continue;
        }
        keys[key] = r.line;
        if (section == Section::kTitles) {
            const long n = numbered(key, "window");
            if (n < 0) {
                r.note("key '" + key + "' is not used by this host");
            } else if (titles.count(n)) {
                r.note("title of window " + std::to_string(n) + " given twice (first at line " +
                       std::to_string(titles[n].second) + "): the first is kept");
            } else {
                titles[n] = {panel_text_to_utf8(value), r.line};
            }
        } else {
            read_window_key(r, *window, key, value, variants[window]);
        }
    }
    if (windows.empty()) {
        // Nothing to show: an empty or cut-off file, or not a panel file at all.
        throw PanelConfigError({path, std::max(r.line, 1),
                                text.empty()     ? "the panel file is empty"
                                : alias.empty() ? "the panel file has no [WindowNN] or [VCockpitNN] section"
                                                 : "the panel file has no [WindowNN] or [VCockpitNN] section: it "
                                                   "stands for another aircraft's (alias=" + alias +
                                                       "); give that panel file"});
    }
    for (const auto& [w, past] : r.past_last)
        if (past.second > 0)
            cfg.warnings[past.first].message +=
                " (and " + std::to_string(past.second) + " more gauge lines past it in [" + w->key + "])";
    for (auto& [n, title] : titles) {
        auto it = windows.find({false, n});
        if (it == windows.end()) {
            cfg.warnings.push_back({path, title.second, "title of a window without a section: " + title.first});
            continue;
        }
        it->second.title = title.first;
    }
    for (auto& [id, w] : windows) {
        // Without file=, the variant for the widest screen.
        const auto& v = variants[&w];
        if (w.file.empty() && !v.empty()) {
            const auto widest = std::max_element(v.begin(), v.end(), [](auto& a, auto& b) { return a.first < b.first; });
            w.file = widest->second.first;
            w.file_line = widest->second.second;
        }
        if (w.virtual_cockpit && !w.texture.empty()) w.title = w.texture;
        if (w.title.empty()) w.title = w.key;
        if (!w.size_w && w.file.empty() && !w.pixel_size)
            cfg.warnings.push_back({path, w.line, "[" + w.key + "] has neither size_mm= nor file=: sized by its gauges"});
        std::stable_sort(w.gauges.begin(), w.gauges.end(), [](const PanelGauge& a, const PanelGauge& b) {
            return a.kind != b.kind ? a.kind < b.kind : a.number < b.number;
        });
        cfg.windows.push_back(std::move(w));
    }
    std::stable_sort(cfg.warnings.begin(), cfg.warnings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return cfg;
}

PanelConfig load_panel_config(const std::string& path) {
    constexpr size_t kMax = 16 << 20;
    std::string text, why;
    if (!read_input_file(path, "panel file", kMax, text, &why)) throw PanelConfigError({path, 0, why});
    if (text.size() > kMax) {
        // Named by the line in which the limit falls.
        const int line = int(std::count(text.begin(), text.begin() + kMax, '\n')) + 1;
        throw PanelConfigError({path, line, "the panel file is larger than 16 MiB"});
    }
    return parse_panel_config(text, path);
}

/* ---- names ------------------------------------------------------------------------ */

std::string find_path_nocase(const std::string& base, const std::string& relative) {
    namespace fs = std::filesystem;
    std::string rel = relative;
    std::replace(rel.begin(), rel.end(), '\\', '/');
    fs::path found = base.empty() ? fs::path(".") : fs::path(base);
    fs::path written = base.empty() ? fs::path() : fs::path(base);
    bool lost = false;
    for (const std::string& part : split(rel, '/')) {
        if (part.empty()) continue;
        written /= part;
        if (lost) continue;
        std::error_code ec;
        if (part == "." || part == ".." || fs::exists(found / part, ec)) {
            found /= part;
            continue;
        }
        lost = true;
        for (fs::directory_iterator it(found, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (lower(name) == lower(part)) {
                found /= name;
                lost = false;
                break;
            }
        }
    }
    if (lost) return written.string();
    std::string out = found.string();
    return base.empty() && out.compare(0, 2, "./") == 0 ? out.substr(2) : out;
}

}  // namespace tarn
