// Panel configuration files. Sections: words and numbers | lines | keys | the file
#include "host/core/panel_config.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "host/core/files.h"

namespace tarn {

/* ---- words and numbers ------------------------------------------------------------ */

namespace {

constexpr double kMaxUnits = 1e6;

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

struct Reader {
    const std::string& path;
    int line = 0;

    [[noreturn]] void fail(const std::string& message) const { throw PanelConfigError({path, line, message}); }

    double number(const std::string& text, const char* what) const {
        if (text.empty()) fail(std::string("missing ") + what);
        char* end = nullptr;
        const double v = std::strtod(text.c_str(), &end);
        if (end == text.c_str() || *end != '\0' || !std::isfinite(v) || std::fabs(v) > kMaxUnits)
            fail(std::string("bad ") + what + " '" + text + "' (a number)");
        return v;
    }
    double positive(const std::string& text, const char* what) const {
        const double v = number(text, what);
        if (v <= 0) fail(std::string("bad ") + what + " '" + text + "' (a number above 0)");
        return v;
    }
    long integer(const std::string& text, const char* what, long lo, long hi) const {
        const double v = number(text, what);
        if (v != std::floor(v) || v < double(lo) || v > double(hi))
            fail(std::string("bad ") + what + " '" + text + "' (a whole number from " + std::to_string(lo) + " to " +
                 std::to_string(hi) + ")");
        return long(v);
    }
    std::pair<double, double> pair(const std::string& text, const char* what) const {
        const std::vector<std::string> parts = split(text, ',');
        if (parts.size() != 2) fail(std::string("bad ") + what + " '" + text + "' (two numbers: x,y)");
        return {number(parts[0], what), number(parts[1], what)};
    }
};

// "NAME" followed by decimal digits only: the number, or -1.
int numbered(const std::string& key, const std::string& name) {
    if (key.size() <= name.size() || key.size() > name.size() + 4 || key.compare(0, name.size(), name) != 0) return -1;
    int n = 0;
    for (size_t i = name.size(); i < key.size(); ++i) {
        if (!std::isdigit((unsigned char)key[i])) return -1;
        n = n * 10 + (key[i] - '0');
    }
    return n;
}

/* ---- lines ------------------------------------------------------------------------ */

// The line without its comment ("//" or ";" anywhere) and surrounding blanks.
std::string content(const std::string& raw) {
    size_t cut = raw.size();
    const size_t slashes = raw.find("//");
    const size_t semicolon = raw.find(';');
    if (slashes != std::string::npos) cut = std::min(cut, slashes);
    if (semicolon != std::string::npos) cut = std::min(cut, semicolon);
    return trim(raw.substr(0, cut));
}

/* ---- keys ------------------------------------------------------------------------- */

void read_gauge(const Reader& r, PanelWindow& w, int number, const std::string& value) {
    for (const PanelGauge& other : w.gauges)
        if (other.number == number)
            r.fail("gauge number " + std::to_string(number) + " given twice (first at line " +
                   std::to_string(other.line) + ")");
    PanelGauge g;
    g.number = number;
    g.line = r.line;
    const std::vector<std::string> f = split(value, ',');
    const size_t bang = f[0].find('!');
    if (bang == std::string::npos || bang == 0 || bang + 1 == f[0].size())
        r.fail("expected MODULE!GAUGE, x, y[, w[, h]][, parameters], got '" + value + "'");
    g.module = trim(f[0].substr(0, bang));
    g.gauge = trim(f[0].substr(bang + 1));
    // Longer names are refused here, quoting only their start, so a message stays readable.
    constexpr size_t kMaxName = 255;
    for (const std::string* name : {&g.module, &g.gauge})
        if (name->size() > kMaxName)
            r.fail(std::string(name == &g.module ? "a module" : "a gauge") + " name of " + std::to_string(name->size()) +
                   " characters ('" + name->substr(0, 40) + "...'): at most " + std::to_string(kMaxName));
    if (f.size() < 3) r.fail("gauge " + g.name() + " without its position (MODULE!GAUGE, x, y)");
    g.x = r.number(f[1], "x");
    g.y = r.number(f[2], "y");
    if (f.size() > 3 && !f[3].empty()) g.w = r.positive(f[3], "width");
    if (f.size() > 4 && !f[4].empty()) {
        if (!g.w) r.fail("a height without a width");
        g.h = r.positive(f[4], "height");
    }
    if (f.size() > 5) {
        // The rest of the line, commas included, is the parameter string.
        size_t at = 0;
        for (int k = 0; k < 5; ++k) at = value.find(',', at) + 1;
        g.params = trim(value.substr(at));
    }
    w.gauges.push_back(std::move(g));
}

void read_window_key(const Reader& r, PanelWindow& w, const std::string& key, const std::string& value,
                     std::vector<Finding>& warnings) {
    if (int n = numbered(key, "gauge"); n >= 0) {
        read_gauge(r, w, n, value);
    } else if (key == "file") {
        if (value.empty()) r.fail("empty file name");
        w.file = value;
        w.file_line = r.line;
    } else if (key == "size_mm") {
        const std::vector<std::string> parts = split(value, ',');
        if (parts.size() > 2) r.fail("bad size_mm '" + value + "' (a width, or width,height)");
        w.size_w = r.positive(parts[0], "size_mm width");
        if (parts.size() == 2) w.size_h = r.positive(parts[1], "size_mm height");
    } else if (key == "position") {
        w.position = int(r.integer(value, "position", 0, 8));
    } else if (key == "visible") {
        w.visible = r.integer(value, "visible", 0, 1) == 1;
    } else if (key == "ident") {
        if (value.empty()) r.fail("empty ident");
        w.ident = value;
        w.ident_line = r.line;
    } else if (key == "window_pos") {
        w.window_pos = r.pair(value, "window_pos");
    } else if (key == "window_size") {
        w.window_size = r.pair(value, "window_size");
    } else if (key == "background_color") {
        const std::vector<std::string> parts = split(value, ',');
        if (parts.size() != 3) r.fail("bad background_color '" + value + "' (r,g,b)");
        unsigned rgb = 0;
        for (const std::string& p : parts) rgb = rgb << 8 | unsigned(r.integer(p, "colour channel", 0, 255));
        w.background = rgb;
    } else {
        warnings.push_back({r.path, r.line, "key '" + key + "' is not used by this host"});
    }
}

}  // namespace

/* ---- the file --------------------------------------------------------------------- */

const PanelWindow* PanelConfig::window(int number) const {
    for (const PanelWindow& w : windows)
        if (w.number == number) return &w;
    return nullptr;
}

PanelConfig parse_panel_config(const std::string& text, const std::string& path) {
    PanelConfig cfg;
    cfg.path = path;
    const size_t slash = path.find_last_of('/');
    cfg.folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    Reader r{path};
    // A NUL or a control character other than tab, carriage return, line feed and form feed:
    // not a text file.
    const auto bad = std::find_if(text.begin(), text.end(), [](char ch) {
        const unsigned char c = (unsigned char)ch;
        return (c < 0x20 && c != '\t' && c != '\r' && c != '\n' && c != '\f') || c == 0x7F;
    });
    if (bad != text.end()) {
        r.line = int(std::count(text.begin(), bad, '\n')) + 1;
        char what[32] = "a NUL byte";
        if (*bad != 0) std::snprintf(what, sizeof what, "a control byte 0x%02X", unsigned((unsigned char)*bad));
        r.fail(std::string("the file is not text (") + what + ")");
    }
    enum class Section { kNone, kTitles, kWindow, kOther } section = Section::kNone;
    std::map<std::string, int> sections;      // lower-case name -> line
    std::map<std::string, int> keys;          // keys of the current section -> line
    std::map<int, std::pair<std::string, int>> titles;  // window number -> title, line
    std::map<int, PanelWindow> windows;
    PanelWindow* window = nullptr;
    std::istringstream lines(text);
    std::string raw;
    while (std::getline(lines, raw)) {
        ++r.line;
        const std::string line = content(raw);
        if (line.empty()) continue;
        if (line.front() == '[') {
            if (line.back() != ']') r.fail("a section name without its closing ']'");
            const std::string name = trim(line.substr(1, line.size() - 2));
            const std::string key = lower(name);
            if (auto seen = sections.find(key); seen != sections.end())
                r.fail("section [" + name + "] given twice (first at line " + std::to_string(seen->second) + ")");
            sections[key] = r.line;
            keys.clear();
            window = nullptr;
            if (key == "window titles") {
                section = Section::kTitles;
            } else if (int n = numbered(key, "window"); n >= 0) {
                if (windows.count(n))
                    r.fail("window number " + std::to_string(n) + " given twice (first at line " +
                           std::to_string(windows[n].line) + ")");
                section = Section::kWindow;
                window = &windows[n];
                window->number = n;
                window->line = r.line;
                window->key = name;
            } else {
                section = Section::kOther;
                cfg.warnings.push_back({path, r.line, "section [" + name + "] is not used by this host"});
            }
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos) r.fail("expected KEY=VALUE or [SECTION], got '" + line + "'");
        const std::string key = lower(trim(line.substr(0, eq)));
        const std::string value = trim(line.substr(eq + 1));
        if (key.empty()) r.fail("a value without its key");
        if (section == Section::kNone) r.fail("key '" + key + "' before any [SECTION]");
        if (section == Section::kOther) continue;
        if (auto seen = keys.find(key); seen != keys.end())
            r.fail("key '" + key + "' given twice in this section (first at line " + std::to_string(seen->second) + ")");
        keys[key] = r.line;
        if (section == Section::kTitles) {
            const int n = numbered(key, "window");
            if (n < 0) {
                cfg.warnings.push_back({path, r.line, "key '" + key + "' is not used by this host"});
                continue;
            }
            if (titles.count(n))
                r.fail("title of window " + std::to_string(n) + " given twice (first at line " +
                       std::to_string(titles[n].second) + ")");
            titles[n] = {value, r.line};
        } else {
            read_window_key(r, *window, key, value, cfg.warnings);
        }
    }
    if (windows.empty()) {
        // Nothing to show: an empty or cut-off file, or not a panel file at all.
        r.line = std::max(r.line, 1);
        r.fail(text.empty() ? "the panel file is empty" : "the panel file has no [WindowNN] section");
    }
    for (auto& [n, title] : titles) {
        auto it = windows.find(n);
        if (it == windows.end()) {
            cfg.warnings.push_back({path, title.second, "title of a window without a section: " + title.first});
            continue;
        }
        it->second.title = title.first;
    }
    for (auto& [n, w] : windows) {
        if (w.title.empty()) w.title = w.key;
        if (!w.size_w && w.file.empty()) {
            r.line = w.line;
            r.fail("window [" + w.key + "] has neither size_mm= nor file=, so it has no size");
        }
        std::stable_sort(w.gauges.begin(), w.gauges.end(),
                         [](const PanelGauge& a, const PanelGauge& b) { return a.number < b.number; });
        cfg.windows.push_back(std::move(w));
    }
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

}  // namespace tarn
