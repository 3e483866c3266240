// tarn-art: draws every bitmap resource of a gauge module and writes the module's resource
// directory blob (the same blob as tarn-rc's, with artwork in place of placeholders).
//
//   tarn-art OUTPUT.bin --records DIR --module NAME MANIFEST...
//
// DIR holds NAME.gau, the module's records twin: the same gauge sources linked with
// placeholder bitmaps. tarn-art loads it through the host library, creates every gauge,
// and reads what the artwork must agree with from the gauges themselves:
// - where each bitmap is used (element kind, position, needle pivot), so needles turn
//   about their records' pivots and covers put hub caps on them;
// - each dial mark's direction: for a SCALE line, the needle's own callback and table are
//   driven through the host (the variable set to the mark's value, the gauge updated) and
//   the angle the host would draw is the mark's direction. No scale is typed twice.
//
// Manifest lines (see rc.cpp for the resource part):
//   ID BITMAP W H [FRAMES] RECIPE [ARG...]   RECIPE draws frame k of the bitmap ID+k;
//                                            ARGs are words, "quoted words" or key=value
//   SCALE "GAUGE" K FROM TO MINOR MAJOR LABEL [key=value...]
//       marks of the needle K of GAUGE (elements counted from 1 in drawing order, as the
//       scenario scripts count them) from FROM to TO: a minor tick every MINOR, a major
//       one every MAJOR, a number every LABEL (0: none), in the dial's units. Options:
//       mul=, add=     the variable's value for a dial value v is v * mul + add
//       token=         the variable to set (default: the needle's own source variable)
//       set=T:V        another variable set before measuring (repeatable, comma list)
//       zero=DEG       a needle without table is drawn pointing DEG from 3 o'clock
//       r=             tip radius (default: the needle bitmap's reach from its pivot)
//       div=, dec=     numbers are value / div with dec decimals; first= text of FROM
//       arc=A:B:COLOR  a coloured band from A to B (repeatable); redline=V
//       side=in|out    numbers inside (default) or outside the ticks; font=size
//       with="GAUGE"   another gauge created and updated along (module state it writes)
//       points=V:T=X|V:T=X
//                      a needle whose callback reads module state only: its angle is
//                      measured at those states (two or more, dial value V each) and
//                      the marks lie on the line through them
//   The background recipes "dial" and "panel" draw the SCALE lines of their gauge.
//
// Colours and shapes are the house style: black faces, white marks and numbers, grey
// panel plates, pure black (0,0,0) only where a picture is transparent.
//
// Sections: manifest, records, scale measurement, drawing helpers, recipes, blob, main.
#include "assets/resource_blob.h"
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/core/errors.h"
#include "host/core/host.h"

namespace {

struct ArtError {
    std::string where;
    std::string message;
};

/* ---- manifest ----------------------------------------------------------------------- */

// Words of one line: blanks separate, "double quotes" make one word, '#' outside quotes
// starts a comment.
std::vector<std::string> split_words(const std::string& line, const std::string& where) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        if (i >= line.size() || line[i] == '#') break;
        std::string word;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) {
            if (line[i] == '"') {
                const size_t end = line.find('"', i + 1);
                if (end == std::string::npos) throw ArtError{where, "unterminated quote"};
                word += line.substr(i + 1, end - i - 1);
                i = end + 1;
            } else {
                word += line[i++];
            }
        }
        out.push_back(word);
    }
    return out;
}

bool parse_u32(const std::string& text, uint32_t& value) {
    if (text.empty() || text[0] == '-') return false;
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(text.c_str(), &end, 0);
    if (*end != '\0' || errno != 0 || v > 0xFFFFFFFFull) return false;
    value = static_cast<uint32_t>(v);
    return true;
}

double parse_double(const std::string& text, const std::string& where) {
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(v)) throw ArtError{where, "bad number '" + text + "'"};
    return v;
}

// Positional words and key=value options of a recipe or scale.
struct Args {
    std::vector<std::string> words;
    std::multimap<std::string, std::string> opts;
    std::string where;

    bool has(const std::string& k) const { return opts.count(k) != 0; }
    std::string str(const std::string& k, const std::string& dflt = "") const {
        auto it = opts.find(k);
        return it == opts.end() ? dflt : it->second;
    }
    double num(const std::string& k, double dflt) const {
        auto it = opts.find(k);
        return it == opts.end() ? dflt : parse_double(it->second, where);
    }
    std::vector<std::string> all(const std::string& k) const {
        std::vector<std::string> out;
        for (auto [a, b] = opts.equal_range(k); a != b; ++a) out.push_back(a->second);
        return out;
    }
    std::string word(size_t i, const std::string& dflt = "") const { return i < words.size() ? words[i] : dflt; }
};

Args make_args(const std::vector<std::string>& w, size_t from, const std::string& where) {
    Args a;
    a.where = where;
    for (size_t i = from; i < w.size(); ++i) {
        const size_t eq = w[i].find('=');
        if (eq != std::string::npos && eq > 0 && std::isalpha(static_cast<unsigned char>(w[i][0])))
            a.opts.emplace(w[i].substr(0, eq), w[i].substr(eq + 1));
        else
            a.words.push_back(w[i]);
    }
    return a;
}

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : s) {
        if (c == sep) {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    out.push_back(cur);
    return out;
}

struct BitmapSpec {
    uint32_t id = 0, width = 0, height = 0, frames = 1;
    std::string recipe;
    Args args;
    std::string where;
};

struct ScaleSpec {
    std::string gauge;
    size_t element = 0;  // from 1
    double from = 0, to = 0, minor = 0, major = 0, label = 0;
    Args args;
    std::string where;
};

using tarn_assets::Resource;

struct Manifests {
    std::vector<BitmapSpec> bitmaps;
    std::vector<ScaleSpec> scales;
    std::vector<Resource> waves;
};

void read_manifest(const std::string& path, Manifests& m, std::map<std::pair<uint32_t, std::string>, std::string>& seen) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ArtError{path, "cannot open the manifest"};
    const std::string folder = path.substr(0, path.find_last_of('/') + 1);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string where = path + ":" + std::to_string(number);
        std::vector<std::string> w = split_words(line, where);
        if (w.empty()) continue;
        if (w[0] == "SCALE") {
            if (w.size() < 8) throw ArtError{where, "expected: SCALE \"GAUGE\" K FROM TO MINOR MAJOR LABEL [key=value...]"};
            ScaleSpec s;
            s.where = where;
            s.gauge = w[1];
            uint32_t k = 0;
            if (!parse_u32(w[2], k) || k == 0) throw ArtError{where, "bad element number '" + w[2] + "'"};
            s.element = k;
            s.from = parse_double(w[3], where);
            s.to = parse_double(w[4], where);
            s.minor = parse_double(w[5], where);
            s.major = parse_double(w[6], where);
            s.label = parse_double(w[7], where);
            if (s.minor <= 0 || s.major <= 0 || s.label < 0) throw ArtError{where, "steps must be positive"};
            if ((s.to - s.from) / s.minor > 2000) throw ArtError{where, "too many marks"};
            s.args = make_args(w, 8, where);
            m.scales.push_back(std::move(s));
            continue;
        }
        uint32_t id = 0;
        if (!parse_u32(w[0], id)) throw ArtError{where, "bad resource id '" + w[0] + "'"};
        if (w.size() < 2) throw ArtError{where, "missing resource type"};
        auto claim = [&](uint32_t rid, const std::string& type) {
            auto key = std::make_pair(rid, type);
            if (seen.count(key))
                throw ArtError{where, "resource " + std::to_string(rid) + " " + type + " already given at " + seen[key]};
            seen[key] = where;
        };
        if (w[1] == "BITMAP") {
            BitmapSpec b;
            b.id = id;
            b.where = where;
            size_t next = 4;
            if (w.size() < 4 || !parse_u32(w[2], b.width) || !parse_u32(w[3], b.height))
                throw ArtError{where, "expected: ID BITMAP WIDTH HEIGHT [FRAMES] RECIPE [ARG...]"};
            if (w.size() > 4 && std::isdigit(static_cast<unsigned char>(w[4][0]))) {
                if (!parse_u32(w[4], b.frames)) throw ArtError{where, "bad frame count"};
                next = 5;
            }
            if (b.width == 0 || b.height == 0 || b.width > 4096 || b.height > 4096)
                throw ArtError{where, "bitmap size out of range (1 to 4096 pixels)"};
            if (b.frames == 0 || b.frames > 256) throw ArtError{where, "frame count out of range (1 to 256)"};
            if (w.size() <= next) throw ArtError{where, "bitmap " + std::to_string(id) + " has no drawing recipe"};
            b.recipe = w[next];
            b.args = make_args(w, next + 1, where);
            for (uint32_t k = 0; k < b.frames; ++k) claim(id + k, "BITMAP");
            m.bitmaps.push_back(std::move(b));
        } else if (w[1] == "WAVE") {
            if (w.size() != 3) throw ArtError{where, "expected: ID WAVE FILE"};
            std::ifstream wave(folder + w[2], std::ios::binary);
            if (!wave) throw ArtError{where, "cannot open '" + folder + w[2] + "'"};
            claim(id, "WAVE");
            std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(wave)), std::istreambuf_iterator<char>());
            m.waves.push_back({id, "WAVE", std::move(bytes)});
        } else {
            throw ArtError{where, "unknown resource type '" + w[1] + "' (BITMAP or WAVE)"};
        }
    }
}

/* ---- records ------------------------------------------------------------------------ */

// One element that shows a bitmap, as the records twin declares it.
struct Use {
    std::string gauge;
    size_t index = 0;  // from 0
    int kind = 0;
    double x = 0, y = 0;      // position
    double ox = 0, oy = 0;    // pivot in the bitmap (needles), texture centre (sprites)
    bool has_table = false;
};

struct Records {
    tarn::PanelHost* host = nullptr;
    std::string module;
    std::map<int32_t, std::vector<Use>> uses;            // by resource id (icon frames: first id)
    std::map<std::string, std::vector<Use>> elements;    // by gauge: every element
    std::map<std::string, std::pair<int, int>> sizes;    // gauge size
    std::map<std::string, std::vector<tarn::Box>> mice;  // mouse children's boxes, list order
};

void read_records(Records& r) {
    tarn::Plugin& plugin = r.host->module(r.module);
    for (GAUGEHDR* h : plugin.gauges()) {
        const std::string name = h->gauge_name;
        tarn::GaugeInstance& g = r.host->create(r.module, name, nullptr);
        r.sizes[name] = {g.width(), g.height()};
        for (size_t i = 0; i < g.element_count(); ++i) {
            const tarn::ElementState& s = g.element(i);
            const ELEMENT_HEADER* e = s.element;
            Use u;
            u.gauge = name;
            u.index = i;
            u.kind = static_cast<int>(e->element_type);
            u.x = e->position.x;
            u.y = e->position.y;
            u.ox = e->ofs.x;
            u.oy = e->ofs.y;
            u.has_table = s.has_table;
            r.elements[name].push_back(u);
            if (e->element_type != ELEMENT_TYPE_STRING) r.uses[e->resource_id].push_back(u);
        }
        for (const tarn::MouseChild& c : g.mouse().children()) r.mice[name].push_back(c.box);
        r.host->kill(g);
    }
}

/* ---- scale measurement ---------------------------------------------------------------- */

struct Mark {
    double value;
    double degrees;  // direction from the pivot, clockwise from 3 o'clock
    bool major, labelled;
};

struct Scale {
    const ScaleSpec* spec;
    double px = 0, py = 0;  // pivot on the background, pixel centre
    double reach = 0;       // tip radius
    std::vector<Mark> marks;
    std::function<double(double)> direction;  // any value, for arcs
};

// Variables a measurement set, put back to 0 afterwards.
std::set<uint32_t> g_touched;

void set_pairs(tarn::PanelHost& host, const std::string& list, const std::string& where) {
    if (list.empty()) return;
    for (const std::string& pair : split(list, ',')) {
        const size_t colon = pair.find_first_of(":=");
        if (colon == std::string::npos) throw ArtError{where, "expected TOKEN:VALUE, got '" + pair + "'"};
        uint32_t token = 0;
        if (!parse_u32(pair.substr(0, colon), token)) throw ArtError{where, "bad token in '" + pair + "'"};
        host.vars().set_number(token, parse_double(pair.substr(colon + 1), where));
        g_touched.insert(token);
    }
}

Scale measure(Records& r, const ScaleSpec& s, const std::map<int32_t, const BitmapSpec*>& bitmaps) {
    const std::string& where = s.where;
    auto found = r.elements.find(s.gauge);
    if (found == r.elements.end()) throw ArtError{where, "no gauge \"" + s.gauge + "\" in " + r.module};
    if (s.element > found->second.size()) throw ArtError{where, "\"" + s.gauge + "\" has no element " + std::to_string(s.element)};
    const Use& use = found->second[s.element - 1];
    if (use.kind != ELEMENT_TYPE_NEEDLE) throw ArtError{where, "element " + std::to_string(s.element) + " of \"" + s.gauge + "\" is no needle"};
    tarn::PanelHost& host = *r.host;
    for (const std::string& other : s.args.all("with")) host.create(r.module, other, nullptr);
    const std::string params = s.args.str("params");
    tarn::GaugeInstance& g = host.create(r.module, s.gauge, s.args.has("params") ? &params : nullptr);
    tarn::ElementState& st = g.element(s.element - 1);
    const uint32_t token = s.args.has("token") ? static_cast<uint32_t>(s.args.num("token", 0)) : (st.vars[0] ? st.vars[0]->id : 0);
    const double mul = s.args.num("mul", 1), add = s.args.num("add", 0);
    // A needle without table turns from its bitmap as drawn: up-pointing needles start at
    // -90 degrees from 3 o'clock.
    double zero = 0;
    if (!st.has_table) {
        auto b = bitmaps.find(st.element->resource_id);
        const bool up = b != bitmaps.end() && b->second->recipe == "needle" && b->second->args.word(0) == "up";
        zero = s.args.num("zero", up ? -90.0 : 0.0);
    }
    for (const std::string& list : s.args.all("set")) set_pairs(host, list, where);
    uint32_t now = 1000;
    auto settle = [&]() {
        for (auto& inst : host.instances()) {
            inst->update(now);
            now += 100000;
        }
        for (auto& inst : host.instances()) {
            inst->update(now);
            now += 100000;
        }
    };
    auto angle_at = [&](double v) {
        if (token == 0) throw ArtError{where, "the needle has no source variable: give token= or points="};
        host.vars().set_number(token, v * mul + add);
        g_touched.insert(token);
        settle();
        return zero + st.angle;
    };
    Scale out;
    out.spec = &s;
    out.px = use.x + 0.5;
    out.py = use.y + 0.5;
    if (s.args.has("points")) {
        // Angles measured at module states; the marks on the line through them.
        std::vector<std::pair<double, double>> pts;
        for (const std::string& p : split(s.args.str("points"), '|')) {
            const size_t colon = p.find(':');
            if (colon == std::string::npos) throw ArtError{where, "expected V:TOKEN=X,... in points=, got '" + p + "'"};
            set_pairs(host, p.substr(colon + 1), where);
            settle();
            pts.push_back({parse_double(p.substr(0, colon), where), zero + st.angle});
        }
        if (pts.size() < 2 || pts.front().first == pts.back().first) throw ArtError{where, "points= needs two different values"};
        const double slope = (pts.back().second - pts.front().second) / (pts.back().first - pts.front().first);
        for (const auto& p : pts)
            if (std::fabs(pts.front().second + slope * (p.first - pts.front().first) - p.second) > 0.01)
                throw ArtError{where, "the needle is not linear in points="};
        const double v0 = pts.front().first, a0 = pts.front().second;
        out.direction = [=](double v) { return a0 + slope * (v - v0); };
    } else {
        std::map<double, double> cache;
        out.direction = [&host, angle_at, cache](double v) mutable {
            (void)host;
            auto it = cache.find(v);
            if (it != cache.end()) return it->second;
            const double a = angle_at(v);
            cache[v] = a;
            return a;
        };
    }
    const double eps = s.minor * 1e-6;
    for (double v = s.from; v <= s.to + eps; v += s.minor) {
        const double vv = std::fabs(v) < eps ? 0.0 : v;
        auto multiple = [&](double step) {
            if (step <= 0) return false;
            const double q = (vv - s.from) / step;
            return std::fabs(q - std::round(q)) < 1e-6;
        };
        out.marks.push_back({vv, out.direction(vv), multiple(s.major), multiple(s.label)});
    }
    // The tip radius: the needle bitmap's reach from its pivot.
    double reach = s.args.num("r", 0);
    if (reach <= 0) {
        auto b = bitmaps.find(g.element(s.element - 1).element->resource_id);
        if (b == bitmaps.end()) throw ArtError{where, "the needle's bitmap is not in the manifests"};
        const BitmapSpec& n = *b->second;
        const std::string dir = n.args.word(0, "right");
        reach = dir == "up" ? use.oy : (n.width - 1 - use.ox);
    }
    out.reach = reach;
    // Measure once more per arc edge while the instance is alive.
    for (const std::string& arc : s.args.all("arc")) {
        auto parts = split(arc, ':');
        if (parts.size() != 3) throw ArtError{where, "expected arc=FROM:TO:COLOR"};
        const double a = parse_double(parts[0], where), b = parse_double(parts[1], where);
        for (int k = 0; k <= 24; ++k) out.direction(a + (b - a) * k / 24.0);
    }
    if (s.args.has("redline")) out.direction(s.args.num("redline", 0));
    if (!s.args.has("points")) {
        // Freeze the measured angles: the instance goes away now.
        std::map<double, double> frozen;
        for (const Mark& m : out.marks) frozen[m.value] = m.degrees;
        for (const std::string& arc : s.args.all("arc")) {
            auto parts = split(arc, ':');
            const double a = parse_double(parts[0], where), b = parse_double(parts[1], where);
            for (int k = 0; k <= 24; ++k) frozen[a + (b - a) * k / 24.0] = out.direction(a + (b - a) * k / 24.0);
        }
        if (s.args.has("redline")) frozen[s.args.num("redline", 0)] = out.direction(s.args.num("redline", 0));
        out.direction = [frozen, where](double v) {
            auto it = frozen.lower_bound(v - 1e-9);
            if (it == frozen.end() || std::fabs(it->first - v) > 1e-6) throw ArtError{where, "no angle measured for a value"};
            return it->second;
        };
    }
    while (!host.instances().empty()) host.kill(*host.instances().back());
    for (uint32_t t : g_touched) host.vars().set_number(t, 0);
    g_touched.clear();
    return out;
}

/* ---- drawing helpers ------------------------------------------------------------------- */

struct RGB {
    double r, g, b;
};

RGB colour(const std::string& name) {
    static const std::map<std::string, RGB> named = {
        {"white", {0.95, 0.95, 0.93}}, {"red", {0.92, 0.12, 0.10}},   {"green", {0.15, 0.80, 0.25}},
        {"yellow", {0.98, 0.82, 0.10}}, {"amber", {1.0, 0.62, 0.05}}, {"blue", {0.25, 0.55, 1.0}},
        {"cyan", {0.3, 0.85, 0.95}},    {"orange", {1.0, 0.5, 0.1}},  {"black", {0.07, 0.07, 0.07}},
        {"grey", {0.55, 0.56, 0.58}},
    };
    auto it = named.find(name);
    if (it == named.end()) return {0.95, 0.95, 0.93};
    return it->second;
}

void set(cairo_t* cr, RGB c, double k = 1.0) { cairo_set_source_rgb(cr, c.r * k, c.g * k, c.b * k); }

// Fills the current path with a gradient (which it takes over) from `from` to `to`.
void fill_shaded(cairo_t* cr, cairo_pattern_t* gradient, RGB from, RGB to) {
    cairo_pattern_add_color_stop_rgb(gradient, 0, from.r, from.g, from.b);
    cairo_pattern_add_color_stop_rgb(gradient, 1, to.r, to.g, to.b);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
}

constexpr double kPi = 3.14159265358979323846;
double rad(double deg) { return deg * kPi / 180.0; }

void font(cairo_t* cr, double size, bool bold = true) {
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

// Text centred on (x, y).
void text_at(cairo_t* cr, double x, double y, const std::string& s, double size, RGB c, bool bold = true) {
    font(cr, size, bold);
    cairo_text_extents_t te;
    cairo_text_extents(cr, s.c_str(), &te);
    set(cr, c);
    cairo_move_to(cr, x - te.width / 2 - te.x_bearing, y - te.height / 2 - te.y_bearing);
    cairo_show_text(cr, s.c_str());
}

// Text of at most `width` pixels, centred on (x, y).
void text_fit(cairo_t* cr, double x, double y, const std::string& s, double size, double width, RGB c) {
    font(cr, size);
    cairo_text_extents_t te;
    cairo_text_extents(cr, s.c_str(), &te);
    if (te.width > width && te.width > 0) size *= width / te.width;
    text_at(cr, x, y, s, size, c);
}

void rounded(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, rad(-90), 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, rad(90));
    cairo_arc(cr, x + r, y + h - r, r, rad(90), rad(180));
    cairo_arc(cr, x + r, y + r, r, rad(180), rad(270));
    cairo_close_path(cr);
}

void screw(cairo_t* cr, double x, double y, double r) {
    cairo_arc(cr, x, y, r, 0, 2 * kPi);
    fill_shaded(cr, cairo_pattern_create_radial(x - r / 3, y - r / 3, 0, x, y, r), {0.75, 0.75, 0.74}, {0.32, 0.32, 0.32});
    cairo_set_source_rgb(cr, 0.15, 0.15, 0.15);
    cairo_set_line_width(cr, std::max(1.0, r / 4));
    cairo_move_to(cr, x - r * 0.7, y + r * 0.2);
    cairo_line_to(cr, x + r * 0.7, y - r * 0.2);
    cairo_stroke(cr);
}

// A panel plate: matt dark grey, lighter top edge, darker bottom edge, screws in the
// corners when there is room.
void plate(cairo_t* cr, double w, double h, bool screws = true) {
    cairo_rectangle(cr, 0, 0, w, h);
    fill_shaded(cr, cairo_pattern_create_linear(0, 0, 0, h), {0.27, 0.28, 0.30}, {0.20, 0.21, 0.22});
    cairo_set_line_width(cr, 1);
    cairo_set_source_rgb(cr, 0.40, 0.41, 0.43);
    cairo_move_to(cr, 0.5, h - 0.5);
    cairo_line_to(cr, 0.5, 0.5);
    cairo_line_to(cr, w - 0.5, 0.5);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.12, 0.12, 0.13);
    cairo_move_to(cr, w - 0.5, 0.5);
    cairo_line_to(cr, w - 0.5, h - 0.5);
    cairo_line_to(cr, 0.5, h - 0.5);
    cairo_stroke(cr);
    if (screws && w >= 60 && h >= 60) {
        const double r = 3.5, m = 7;
        screw(cr, m, m, r);
        screw(cr, w - m, m, r);
        screw(cr, m, h - m, r);
        screw(cr, w - m, h - m, r);
    }
}

// A round instrument's bezel: a dark metal ring, a black face inside.
void bezel(cairo_t* cr, double cx, double cy, double R, double ring) {
    cairo_arc(cr, cx, cy, R, 0, 2 * kPi);
    fill_shaded(cr, cairo_pattern_create_linear(cx - R, cy - R, cx + R, cy + R), {0.42, 0.43, 0.45}, {0.12, 0.12, 0.13});
    cairo_arc(cr, cx, cy, R - ring, 0, 2 * kPi);
    cairo_set_source_rgb(cr, 0.08, 0.08, 0.085);
    cairo_fill(cr);
}

// A hole in a panel for a switch or a lamp.
void recess(cairo_t* cr, double x, double y, double w, double h) {
    rounded(cr, x - 1, y - 1, w + 2, h + 2, 3);
    cairo_set_source_rgb(cr, 0.13, 0.13, 0.14);
    cairo_fill(cr);
}

// A display window for a text element: black glass with a thin frame.
void lcd_window(cairo_t* cr, double x, double y, double w, double h) {
    rounded(cr, x - 3, y - 3, w + 6, h + 6, 3);
    cairo_set_source_rgb(cr, 0.45, 0.46, 0.48);
    cairo_fill(cr);
    cairo_rectangle(cr, x - 1, y - 1, w + 2, h + 2);
    cairo_set_source_rgb(cr, 0.06, 0.07, 0.06);
    cairo_fill(cr);
}

// The canvas of one frame; transparent pixels become pure black in the bitmap.
struct Canvas {
    cairo_surface_t* surface;
    cairo_t* cr;
    int w, h;
    Canvas(int width, int height) : w(width), h(height) {
        surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        cr = cairo_create(surface);
    }
    ~Canvas() {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
};

using tarn_assets::put_dib_header;

// A 24-bit bottom-up DIB of the canvas: pixels less than half covered are pure black
// (transparent), the others are never pure black.
std::vector<unsigned char> to_dib(Canvas& c) {
    cairo_surface_flush(c.surface);
    std::vector<unsigned char> out;
    const uint32_t stride = (c.w * 3 + 3) & ~3u;
    put_dib_header(out, c.w, c.h);
    const unsigned char* data = cairo_image_surface_get_data(c.surface);
    const int src_stride = cairo_image_surface_get_stride(c.surface);
    for (int row = 0; row < c.h; ++row) {
        const int y = c.h - 1 - row;
        const uint32_t* px = reinterpret_cast<const uint32_t*>(data + y * src_stride);
        for (int x = 0; x < c.w; ++x) {
            const uint32_t p = px[x];
            const unsigned a = p >> 24;
            unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            if (a < 128) {
                r = g = b = 0;
            } else {
                // Un-premultiply, and keep opaque pixels off the transparent colour.
                r = std::min(255u, r * 255 / a);
                g = std::min(255u, g * 255 / a);
                b = std::min(255u, b * 255 / a);
                if (r + g + b < 3) r = g = b = 1;
            }
            out.push_back(static_cast<unsigned char>(b));
            out.push_back(static_cast<unsigned char>(g));
            out.push_back(static_cast<unsigned char>(r));
        }
        for (uint32_t pad = c.w * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

/* ---- recipes ----------------------------------------------------------------------------- */

struct Context {
    Records& records;
    const BitmapSpec& spec;
    const std::vector<Use>& uses;  // elements showing this bitmap (may be empty for masks)
    const std::map<std::string, std::vector<Scale>>& scales;  // by gauge
    int frame;
    cairo_t* cr;
    double w, h;
    const Args& a() const { return spec.args; }
    // The pivot of a needle that uses this bitmap.
    bool pivot(double& x, double& y) const {
        for (const Use& u : uses)
            if (u.kind == ELEMENT_TYPE_NEEDLE || u.kind == ELEMENT_TYPE_SPRITE) {
                x = u.ox + 0.5;
                y = u.oy + 0.5;
                return true;
            }
        return false;
    }
    std::string gauge() const {
        if (spec.args.has("gauge")) return spec.args.str("gauge");
        return uses.empty() ? std::string() : uses.front().gauge;
    }
};

// The marks, numbers and arcs of one scale.
void draw_scale(cairo_t* cr, const Scale& s) {
    const Args& a = s.spec->args;
    const double L = s.reach;
    const RGB white = colour(a.str("color", "white"));
    const double fsize = a.num("font", std::max(8.0, std::min(16.0, L * 0.2)));
    for (const std::string& arc : a.all("arc")) {
        auto parts = split(arc, ':');
        const double from = std::stod(parts[0]), to = std::stod(parts[1]);
        set(cr, colour(parts[2]));
        cairo_set_line_width(cr, std::max(3.0, L * 0.06));
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        const double rr = L + 0.5;
        for (int k = 0; k < 24; ++k) {
            const double a0 = rad(s.direction(from + (to - from) * k / 24.0));
            const double a1 = rad(s.direction(from + (to - from) * (k + 1) / 24.0));
            cairo_new_path(cr);
            if (a1 >= a0) cairo_arc(cr, s.px, s.py, rr, a0, a1);
            else cairo_arc_negative(cr, s.px, s.py, rr, a0, a1);
            cairo_stroke(cr);
        }
    }
    if (a.has("wings")) {
        // Marks for the wing tips of a symbol whose nose the table turns: at right angles
        // to each mark's direction, just beyond the tips.
        set(cr, white);
        cairo_set_line_width(cr, 3);
        for (const Mark& m : s.marks)
            for (double side : {-90.0, 90.0}) {
                const double t = rad(m.degrees + side);
                cairo_move_to(cr, s.px + (L + 3) * std::cos(t), s.py + (L + 3) * std::sin(t));
                cairo_line_to(cr, s.px + (L + 14) * std::cos(t), s.py + (L + 14) * std::sin(t));
                cairo_stroke(cr);
            }
        return;
    }
    for (const Mark& m : s.marks) {
        const double t = rad(m.degrees);
        const double r0 = m.major ? L - std::max(7.0, L * 0.14) : L - std::max(4.0, L * 0.07);
        const double r1 = L + std::max(2.0, L * 0.04);
        set(cr, white);
        cairo_set_line_width(cr, m.major ? std::max(1.6, L * 0.028) : std::max(1.0, L * 0.014));
        cairo_move_to(cr, s.px + r0 * std::cos(t), s.py + r0 * std::sin(t));
        cairo_line_to(cr, s.px + r1 * std::cos(t), s.py + r1 * std::sin(t));
        cairo_stroke(cr);
        if (m.labelled && s.spec->label > 0) {
            const double div = a.num("div", 1);
            const int dec = static_cast<int>(a.num("dec", 0));
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.*f", dec, m.value / div);
            std::string txt = buf;
            if (txt == "-0") txt = "0";
            if (a.has("first") && std::fabs(m.value - s.spec->from) < 1e-9) txt = a.str("first");
            const double lr = a.str("side") == "out" ? r1 + fsize * 0.8 : r0 - fsize * 0.8;
            text_at(cr, s.px + lr * std::cos(t), s.py + lr * std::sin(t), txt, fsize, white);
        }
    }
    if (a.has("redline")) {
        const double t = rad(s.direction(a.num("redline", 0)));
        set(cr, colour("red"));
        cairo_set_line_width(cr, std::max(2.5, L * 0.04));
        cairo_move_to(cr, s.px + (L - L * 0.16) * std::cos(t), s.py + (L - L * 0.16) * std::sin(t));
        cairo_line_to(cr, s.px + (L + 3) * std::cos(t), s.py + (L + 3) * std::sin(t));
        cairo_stroke(cr);
    }
}

// Labels given as label=X,Y,SIZE,TEXT[,COLOR] (repeatable).
void draw_labels(const Context& c) {
    for (const std::string& l : c.a().all("label")) {
        auto p = split(l, ',');
        if (p.size() < 4) throw ArtError{c.spec.where, "expected label=X,Y,SIZE,TEXT[,COLOR]"};
        text_at(c.cr, std::stod(p[0]), std::stod(p[1]), p[3], std::stod(p[2]), colour(p.size() > 4 ? p[4] : "white"));
    }
    for (const std::string& l : c.a().all("box")) {
        auto p = split(l, ',');
        if (p.size() < 4) throw ArtError{c.spec.where, "expected box=X,Y,W,H"};
        cairo_set_source_rgb(c.cr, 0.8, 0.8, 0.78);
        cairo_set_line_width(c.cr, 1);
        rounded(c.cr, std::stod(p[0]) + 0.5, std::stod(p[1]) + 0.5, std::stod(p[2]), std::stod(p[3]), 3);
        cairo_stroke(c.cr);
    }
}

// Push buttons on the gauge's mouse boxes that show no element: caps=A,B,C names them in
// mouse-list order.
void draw_buttons(const Context& c, const std::string& gauge) {
    if (!c.a().has("caps")) return;
    auto caps = split(c.a().str("caps"), ',');
    auto mice = c.records.mice.find(gauge);
    if (mice == c.records.mice.end()) return;
    size_t k = 0;
    for (const tarn::Box& m : mice->second) {
        if (k >= caps.size()) break;
        const std::string cap = caps[k++];
        if (cap == "-") continue;
        const double x = m.x0, y = m.y0, w = m.x1 - m.x0, h = m.y1 - m.y0;
        rounded(c.cr, x + 1, y + 1, w - 2, h - 2, 3);
        fill_shaded(c.cr, cairo_pattern_create_linear(0, y, 0, y + h), {0.38, 0.39, 0.40}, {0.16, 0.16, 0.17});
        text_fit(c.cr, x + w / 2, y + h / 2, cap, std::min(11.0, h * 0.45), w - 4, colour("white"));
    }
}

// Buttons, then the gauge's scales, then the labels.
void draw_face_items(const Context& c, const std::string& gauge) {
    draw_buttons(c, gauge);
    auto sc = c.scales.find(gauge);
    if (sc != c.scales.end())
        for (const Scale& s : sc->second) draw_scale(c.cr, s);
    draw_labels(c);
}

// "dial": a round instrument: transparent corners, bezel, black face, the gauge's scales.
void recipe_dial(const Context& c) {
    const std::string gauge = c.gauge();
    double cx = c.w / 2, cy = c.h / 2;
    if (c.a().has("centre")) {
        auto p = split(c.a().str("centre"), ',');
        cx = std::stod(p.at(0));
        cy = std::stod(p.at(1));
    }
    const double R = c.a().num("radius", std::min({cx, cy, c.w - cx, c.h - cy}) - 0.5);
    bezel(c.cr, cx, cy, R, c.a().num("ring", std::max(4.0, R * 0.07)));
    for (const std::string& d : c.a().all("dots")) {
        // Deviation dots: five across through (x, y), SPACING apart.
        auto p = split(d, ',');
        const double x = std::stod(p.at(0)), y = std::stod(p.at(1)), sp = std::stod(p.at(2));
        cairo_set_source_rgb(c.cr, 0.95, 0.95, 0.95);
        cairo_set_line_width(c.cr, 1.2);
        for (int k = -2; k <= 2; ++k) {
            if (k == 0) continue;
            cairo_arc(c.cr, x + k * sp, y, 2.5, 0, 2 * kPi);
            cairo_stroke(c.cr);
        }
        cairo_arc(c.cr, x, y, 4.5, 0, 2 * kPi);
        cairo_stroke(c.cr);
    }
    draw_face_items(c, gauge);
    for (const std::string& t : c.a().all("window")) {
        auto p = split(t, ',');
        lcd_window(c.cr, std::stod(p.at(0)), std::stod(p.at(1)), std::stod(p.at(2)), std::stod(p.at(3)));
    }
}

// "panel": a plate; the gauge's scales on black dial discs; display windows.
void recipe_panel(const Context& c) {
    const std::string gauge = c.gauge();
    plate(c.cr, c.w, c.h, !c.a().has("noscrews"));
    auto sc = c.scales.find(gauge);
    if (sc != c.scales.end() && !c.a().has("nodiscs")) {
        // One disc per pivot, large enough for its scales.
        std::map<std::pair<double, double>, double> discs;
        for (const Scale& s : sc->second) {
            double& r = discs[{s.px, s.py}];
            r = std::max(r, s.reach + c.a().num("margin", 8));
        }
        for (auto& [p, r] : discs) {
            cairo_arc(c.cr, p.first, p.second, r + 3, 0, 2 * kPi);
            cairo_set_source_rgb(c.cr, 0.36, 0.37, 0.39);
            cairo_fill(c.cr);
        }
        for (auto& [p, r] : discs) {
            cairo_arc(c.cr, p.first, p.second, r, 0, 2 * kPi);
            cairo_set_source_rgb(c.cr, 0.08, 0.08, 0.085);
            cairo_fill(c.cr);
        }
    }
    for (const std::string& t : c.a().all("window")) {
        auto p = split(t, ',');
        lcd_window(c.cr, std::stod(p.at(0)), std::stod(p.at(1)), std::stod(p.at(2)), std::stod(p.at(3)));
    }
    for (const std::string& t : c.a().all("hole")) {
        auto p = split(t, ',');
        recess(c.cr, std::stod(p.at(0)), std::stod(p.at(1)), std::stod(p.at(2)), std::stod(p.at(3)));
    }
    draw_face_items(c, gauge);
}

// "needle [right|up] [COLOR] [hub=R] [tail=LEN] [width=W]": a needle from its pivot to the
// bitmap's edge, on transparent ground.
void recipe_needle(const Context& c) {
    double px = 0, py = 0;
    if (!c.pivot(px, py)) throw ArtError{c.spec.where, "no needle of the records uses this bitmap"};
    const std::string dir = c.a().word(0, "right");
    const RGB col = colour(c.a().word(1, "white"));
    cairo_t* cr = c.cr;
    cairo_save(cr);
    cairo_translate(cr, px, py);
    double len;
    double half;
    if (dir == "up") {
        cairo_rotate(cr, rad(-90));
        len = py - 0.5;
        half = std::min(px, c.w - px);
    } else {
        len = c.w - px - 0.5;
        half = std::min(py, c.h - py);
    }
    const double wid = c.a().num("width", std::max(1.0, half * 0.8));
    const double tail = c.a().num("tail", dir == "up" ? 0 : std::min(px - 0.5, len * 0.25));
    set(cr, col);
    // Tapered to a blunt tip, so that the tip itself shows at every angle.
    const double tip = std::max(0.8, wid * 0.22);
    cairo_move_to(cr, -tail, -wid * 0.6);
    cairo_line_to(cr, len * 0.8, -wid * 0.45);
    cairo_line_to(cr, len, -tip);
    cairo_line_to(cr, len, tip);
    cairo_line_to(cr, len * 0.8, wid * 0.45);
    cairo_line_to(cr, -tail, wid * 0.6);
    cairo_close_path(cr);
    cairo_fill(cr);
    const double hub = c.a().num("hub", 0);
    if (hub > 0) {
        cairo_arc(cr, 0, 0, hub, 0, 2 * kPi);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.21);
        cairo_fill(cr);
        cairo_arc(cr, 0, 0, hub * 0.45, 0, 2 * kPi);
        set(cr, col, 0.8);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

// Hub caps over every needle pivot of the gauges that show this bitmap, and a bezel ring
// when ring=R, panel grey outside the bezel with "corners", a fixed index at the top with
// index=Y: "cover [corners] [hub=R] [ring=R] [centre=X,Y] [index=Y]".
void recipe_cover(const Context& c) {
    std::set<std::pair<double, double>> hubs;
    for (const Use& me : c.uses) {
        for (const Use& u : c.records.elements[me.gauge])
            if (u.kind == ELEMENT_TYPE_NEEDLE && u.ox >= 0 && (u.ox > 0 || u.oy > 0))
                hubs.insert({u.x + 0.5 - me.x, u.y + 0.5 - me.y});
    }
    const double hr = c.a().num("hub", 7);
    if (c.a().has("ring")) {
        double cx = c.w / 2, cy = c.h / 2;
        if (c.a().has("centre")) {
            auto p = split(c.a().str("centre"), ',');
            cx = std::stod(p.at(0));
            cy = std::stod(p.at(1));
        }
        const double R = std::min({cx, cy, c.w - cx, c.h - cy}) - 0.5;
        const double ring = c.a().num("ring", 6);
        cairo_arc(c.cr, cx, cy, R, 0, 2 * kPi);
        cairo_arc_negative(c.cr, cx, cy, R - ring, 2 * kPi, 0);
        fill_shaded(c.cr, cairo_pattern_create_linear(cx - R, cy - R, cx + R, cy + R), {0.45, 0.46, 0.48}, {0.14, 0.14, 0.15});
        // A glint on the glass edge.
        cairo_set_source_rgb(c.cr, 0.75, 0.77, 0.8);
        cairo_set_line_width(c.cr, 1.5);
        cairo_arc(c.cr, cx, cy, R - ring - 2, rad(200), rad(240));
        cairo_stroke(c.cr);
    }
    if (std::find(c.a().words.begin(), c.a().words.end(), "corners") != c.a().words.end()) {
        // Panel grey outside the bezel, over a card that is square.
        double cx = c.w / 2, cy = c.h / 2;
        const double R = std::min(cx, cy) - 0.5;
        cairo_rectangle(c.cr, 0, 0, c.w, c.h);
        cairo_arc_negative(c.cr, cx, cy, R - 2, 2 * kPi, 0);
        cairo_set_source_rgb(c.cr, 0.24, 0.25, 0.26);
        cairo_fill(c.cr);
    }
    if (c.a().has("index")) {
        // A fixed index at the top of the face.
        double cx = c.w / 2;
        const double top = c.a().num("index", 8);
        cairo_move_to(c.cr, cx, top + 9);
        cairo_line_to(c.cr, cx - 5, top);
        cairo_line_to(c.cr, cx + 5, top);
        cairo_close_path(c.cr);
        set(c.cr, colour(c.a().str("indexcolor", "orange")));
        cairo_fill(c.cr);
    }
    if (hr > 0)
        for (auto [x, y] : hubs) {
            if (x < 0 || y < 0 || x > c.w || y > c.h) continue;
            cairo_arc(c.cr, x, y, hr, 0, 2 * kPi);
            fill_shaded(c.cr, cairo_pattern_create_radial(x - hr / 3, y - hr / 3, 0, x, y, hr), {0.45, 0.45, 0.46}, {0.10, 0.10, 0.11});
        }
    draw_labels(c);
}

// A toggle lever seen from the front: a nut and a lever pointing up or down.
void toggle_at(cairo_t* cr, double cx, double cy, double w, double h, bool up) {
    const double nut = std::min(w * 0.48, h * 0.2);
    cairo_arc(cr, cx, cy, nut, 0, 2 * kPi);
    fill_shaded(cr, cairo_pattern_create_radial(cx - nut / 3, cy - nut / 3, 0, cx, cy, nut), {0.85, 0.85, 0.85}, {0.35, 0.35, 0.36});
    const double len = h * 0.5 - 1;
    const double dir = up ? -1 : 1;
    const double tipw = std::min(w * 0.36, nut * 0.85);
    cairo_move_to(cr, cx - nut * 0.35, cy);
    cairo_line_to(cr, cx - tipw, cy + dir * len);
    cairo_line_to(cr, cx + tipw, cy + dir * len);
    cairo_line_to(cr, cx + nut * 0.35, cy);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(cx - tipw, 0, cx + tipw, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.55, 0.56, 0.57);
    cairo_pattern_add_color_stop_rgb(p, 0.4, 0.95, 0.95, 0.95);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.45, 0.45, 0.46);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_arc(cr, cx, cy + dir * len, tipw, 0, 2 * kPi);
    cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
    cairo_fill(cr);
}

// "toggle STATE... [plate] [label=...] [caption=TEXT]": frame k shows the lever in the
// k-th STATE (up or down); with "plate" the picture is a whole gauge, on its own plate.
void recipe_toggle(const Context& c) {
    const std::string state = c.a().word(static_cast<size_t>(c.frame), c.frame == 0 ? "down" : "up");
    const bool with_plate = std::find(c.a().words.begin(), c.a().words.end(), "plate") != c.a().words.end();
    if (with_plate) {
        plate(c.cr, c.w, c.h, false);
        if (c.a().has("caption")) text_fit(c.cr, c.w / 2, 7, c.a().str("caption"), 8, c.w - 4, colour("white"));
        text_at(c.cr, c.w * 0.8, c.h * 0.3, "ON", 7, colour("white"));
        text_at(c.cr, c.w * 0.8, c.h * 0.8, "OFF", 7, colour("white"));
    }
    const double sw = c.a().num("w", with_plate ? c.w * 0.4 : c.w);
    const double sh = c.a().num("h", with_plate ? c.h * 0.62 : c.h);
    const double cx = c.a().num("x", with_plate ? c.w * 0.4 : c.w / 2);
    const double cy = c.a().num("y", with_plate ? c.h * 0.6 : c.h / 2);
    toggle_at(c.cr, cx, cy, sw, sh, state == "up");
    draw_labels(c);
}

// "lamp CAPTION COLOR": frame 0 dark, 1 lit bright, 2 lit dim (two-frame lamps: dark, lit).
void recipe_lamp(const Context& c) {
    const std::string caption = c.a().word(0);
    const RGB col = colour(c.a().word(1, "amber"));
    const double k = c.frame == 0 ? 0.0 : (c.frame == 1 ? 1.0 : 0.45);
    const bool round = c.a().has("round");
    cairo_t* cr = c.cr;
    if (round) {
        const double r = std::min(c.w, c.h) / 2 - 0.5;
        cairo_arc(cr, c.w / 2, c.h / 2, r, 0, 2 * kPi);
        cairo_set_source_rgb(cr, 0.35, 0.35, 0.36);
        cairo_fill(cr);
        cairo_arc(cr, c.w / 2, c.h / 2, r * 0.75, 0, 2 * kPi);
    } else {
        rounded(cr, 0, 0, c.w, c.h, 3);
        cairo_set_source_rgb(cr, 0.30, 0.30, 0.31);
        cairo_fill(cr);
        rounded(cr, 2, 2, c.w - 4, c.h - 4, 2);
    }
    if (k == 0) {
        set(cr, col, 0.16);
        cairo_fill(cr);
    } else {
        fill_shaded(cr, cairo_pattern_create_radial(c.w / 2, c.h / 2, 0, c.w / 2, c.h / 2, std::max(c.w, c.h) * 0.6),
                    {std::min(1.0, col.r * k + 0.25 * k), std::min(1.0, col.g * k + 0.25 * k),
                     std::min(1.0, col.b * k + 0.25 * k)},
                    {col.r * k * 0.75, col.g * k * 0.75, col.b * k * 0.75});
    }
    if (!caption.empty()) {
        const RGB ink = k == 0 ? RGB{col.r * 0.45, col.g * 0.45, col.b * 0.45} : RGB{0.08, 0.06, 0.04};
        text_fit(cr, c.w / 2, c.h / 2, caption, std::min(c.h * 0.5, 16.0), c.w - 8, ink);
    }
}

// "legends COLOR WORD0 WORD1 ...": frame k lights word k (an empty word: the dark lens).
void recipe_legends(const Context& c) {
    const RGB col = colour(c.a().word(0, "green"));
    const std::string word = c.a().word(static_cast<size_t>(c.frame) + 1);
    cairo_t* cr = c.cr;
    rounded(cr, 0, 0, c.w, c.h, 2);
    cairo_set_source_rgb(cr, 0.28, 0.28, 0.29);
    cairo_fill(cr);
    rounded(cr, 1.5, 1.5, c.w - 3, c.h - 3, 2);
    cairo_set_source_rgb(cr, 0.06, 0.07, 0.06);
    cairo_fill(cr);
    if (!word.empty()) text_fit(cr, c.w / 2, c.h / 2, word, c.h * 0.62, c.w - 5, col);
}

// "marker": three lamps O (blue), M (amber), A (white) from the top; frame 0 dark, 1..3
// one of them lit, 4 all three.
void recipe_marker(const Context& c) {
    cairo_t* cr = c.cr;
    plate(cr, c.w, c.h, false);
    const char* letters[3] = {"O", "M", "A"};
    const RGB cols[3] = {colour("blue"), colour("amber"), colour("white")};
    for (int i = 0; i < 3; ++i) {
        const double cy = c.h * (i + 0.5) / 3.0;
        const double r = std::min(c.w / 2 - 1.5, c.h / 6 - 2);
        const bool lit = c.frame == 4 || c.frame == i + 1;
        cairo_arc(cr, c.w / 2, cy, r + 1.5, 0, 2 * kPi);
        cairo_set_source_rgb(cr, 0.5, 0.5, 0.52);
        cairo_fill(cr);
        cairo_arc(cr, c.w / 2, cy, r, 0, 2 * kPi);
        set(cr, cols[i], lit ? 1.0 : 0.22);
        cairo_fill(cr);
        text_at(cr, c.w / 2, cy, letters[i], r * 1.3, lit ? RGB{0.1, 0.1, 0.1} : RGB{0.55, 0.55, 0.55});
    }
}

// "sign LINE...": an illuminated notices sign; frame 0 dark, 1 lit.
void recipe_sign(const Context& c) {
    cairo_t* cr = c.cr;
    rounded(cr, 0, 0, c.w, c.h, 6);
    cairo_set_source_rgb(cr, 0.22, 0.22, 0.23);
    cairo_fill(cr);
    const bool lit = c.frame == 1;
    const size_t n = std::max<size_t>(1, c.a().words.size());
    for (size_t i = 0; i < n; ++i) {
        const double x0 = 6 + (c.w - 12) * i / n, x1 = 6 + (c.w - 12) * (i + 1) / n - 4;
        rounded(cr, x0, 6, x1 - x0, c.h - 12, 4);
        if (lit) cairo_set_source_rgb(cr, 0.98, 0.93, 0.75);
        else cairo_set_source_rgb(cr, 0.12, 0.12, 0.12);
        cairo_fill(cr);
        text_fit(cr, (x0 + x1) / 2, c.h / 2, c.a().word(i), c.h * 0.3, x1 - x0 - 10,
                 lit ? RGB{0.65, 0.1, 0.05} : RGB{0.3, 0.3, 0.3});
    }
}

// A round knob with a pointer at `deg` (clockwise from 12 o'clock).
void knob_at(cairo_t* cr, double cx, double cy, double r, double deg, bool grip = true) {
    if (grip) {
        for (int k = 0; k < 24; ++k) {
            const double t = rad(k * 15.0);
            cairo_arc(cr, cx + r * 0.92 * std::cos(t), cy + r * 0.92 * std::sin(t), r * 0.12, 0, 2 * kPi);
            cairo_set_source_rgb(cr, 0.16, 0.16, 0.17);
            cairo_fill(cr);
        }
    }
    cairo_arc(cr, cx, cy, r * 0.9, 0, 2 * kPi);
    fill_shaded(cr, cairo_pattern_create_radial(cx - r / 3, cy - r / 3, 0, cx, cy, r), {0.42, 0.42, 0.43}, {0.12, 0.12, 0.13});
    const double t = rad(deg - 90);
    cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
    cairo_set_line_width(cr, std::max(1.5, r * 0.15));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, cx + r * 0.2 * std::cos(t), cy + r * 0.2 * std::sin(t));
    cairo_line_to(cr, cx + r * 0.8 * std::cos(t), cy + r * 0.8 * std::sin(t));
    cairo_stroke(cr);
}

// "knob [TEXT]": a knurled knob about the needle pivot (or the centre), marked at the top.
void recipe_knob(const Context& c) {
    double px = c.w / 2, py = c.h / 2;
    c.pivot(px, py);
    const double r = std::min({px, py, c.w - px, c.h - py});
    knob_at(c.cr, px, py, r, 0);
    if (!c.a().word(0).empty()) text_at(c.cr, px, py + r * 0.35, c.a().word(0), r * 0.45, colour("white"));
}

// "selector ANGLE:LABEL ... [plate] [r=] [x=] [y=] [title=]": a rotary selector; frame k
// points at the k-th position's angle (degrees clockwise from 12 o'clock); every
// position's label is printed around it.
void recipe_selector(const Context& c) {
    cairo_t* cr = c.cr;
    if (c.a().has("plate")) plate(cr, c.w, c.h, false);
    const double cx = c.a().num("x", c.w / 2), cy = c.a().num("y", c.h / 2 + (c.a().has("title") ? 4 : 0));
    const double r = c.a().num("r", std::min(c.w, c.h) * 0.22);
    if (c.a().has("title")) text_fit(cr, c.w / 2, 8, c.a().str("title"), 9, c.w - 4, colour("white"));
    double pointer = 0;
    for (size_t i = 0; i < c.a().words.size(); ++i) {
        auto p = split(c.a().words[i], ':');
        const double deg = std::stod(p[0]);
        if (static_cast<int>(i) == c.frame) pointer = deg;
        const double t = rad(deg - 90);
        cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
        cairo_set_line_width(cr, 1.5);
        cairo_move_to(cr, cx + r * 1.05 * std::cos(t), cy + r * 1.05 * std::sin(t));
        cairo_line_to(cr, cx + r * 1.3 * std::cos(t), cy + r * 1.3 * std::sin(t));
        cairo_stroke(cr);
        if (p.size() > 1 && !p[1].empty())
            text_fit(cr, cx + r * 1.75 * std::cos(t), cy + r * 1.65 * std::sin(t), p[1], std::max(7.0, r * 0.45), r * 2.2,
                     colour("white"));
    }
    // A pointer knob: a bar across the knob.
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, rad(pointer));
    rounded(cr, -r * 0.3, -r * 1.05, r * 0.6, r * 2.1, r * 0.25);
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.31);
    cairo_fill(cr);
    cairo_move_to(cr, 0, -r * 0.95);
    cairo_line_to(cr, 0, -r * 0.3);
    cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// "starter LEFT_WORD RIGHT_WORD left|right": a key-shaped knob seen from above in a slot;
// frame 0 centred, frame 1 turned to the given side.
void recipe_starter(const Context& c) {
    cairo_t* cr = c.cr;
    rounded(cr, 0, 0, c.w, c.h, c.h / 2);
    cairo_set_source_rgb(cr, 0.13, 0.13, 0.14);
    cairo_fill(cr);
    const double shift = c.frame == 0 ? 0 : (c.a().word(0) == "left" ? -1 : 1) * (c.w / 2 - c.h / 2 - 1);
    const double cx = c.w / 2 + shift, cy = c.h / 2;
    const double r = c.h / 2 - 1;
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    fill_shaded(cr, cairo_pattern_create_radial(cx - r / 3, cy - r / 3, 0, cx, cy, r), {0.95, 0.35, 0.3}, {0.55, 0.05, 0.05});
    cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, cx, cy - r * 0.8);
    cairo_line_to(cr, cx, cy + r * 0.8);
    cairo_stroke(cr);
}

// "primer": a plunger in its housing, frame 0 released (knob out), frame 1 pressed.
void recipe_primer(const Context& c) {
    cairo_t* cr = c.cr;
    plate(cr, c.w, c.h, false);
    text_fit(cr, c.w / 2, 7, "PRIME", 8, c.w - 4, colour("white"));
    const double cx = c.w / 2;
    const double base = c.h - 10;
    cairo_rectangle(cr, cx - 10, base - 4, 20, 8);
    cairo_set_source_rgb(cr, 0.5, 0.5, 0.52);
    cairo_fill(cr);
    const double top = c.frame == 0 ? 20 : base - 14;
    cairo_rectangle(cr, cx - 2.5, top, 5, base - top);
    cairo_set_source_rgb(cr, 0.75, 0.76, 0.78);
    cairo_fill(cr);
    rounded(cr, cx - 12, top - 8, 24, 12, 5);
    fill_shaded(cr, cairo_pattern_create_linear(0, top - 8, 0, top + 4), {0.35, 0.35, 0.36}, {0.1, 0.1, 0.1});
}

// "flaps WORD...": a flap indicator whose frame k lights the k-th position and shows a
// wing section at that setting.
void recipe_flaps(const Context& c) {
    cairo_t* cr = c.cr;
    plate(cr, c.w, c.h, false);
    text_fit(cr, c.w / 2, 9, "FLAPS", 10, c.w - 6, colour("white"));
    const size_t n = c.a().words.size();
    for (size_t i = 0; i < n; ++i) {
        const double y = 28 + (c.h - 40) * i / std::max<size_t>(1, n - 1);
        const bool lit = static_cast<int>(i) == c.frame;
        rounded(cr, 30, y - 8, c.w - 34, 16, 3);
        if (lit) set(cr, i + 1 == n ? colour("amber") : colour("green"));
        else cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
        cairo_fill(cr);
        text_fit(cr, 30 + (c.w - 34) / 2.0, y, c.a().words[i], 9, c.w - 38, lit ? RGB{0.05, 0.05, 0.05} : RGB{0.45, 0.45, 0.45});
    }
    // The wing section, its flap at the frame's setting.
    const double deflect = n > 1 ? 40.0 * c.frame / (n - 1) : 0;
    cairo_save(cr);
    cairo_translate(cr, 6, c.h / 2);
    cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
    cairo_rectangle(cr, 0, -20, 4, 28);
    cairo_fill(cr);
    cairo_translate(cr, 2, 8);
    cairo_rotate(cr, rad(-90 + 90 - deflect));
    cairo_rectangle(cr, -2, 0, 4, 16);
    set(cr, colour("amber"));
    cairo_fill(cr);
    cairo_restore(cr);
}

// "autorudder": the auto-rudder status window: frame 0 blank, 1 red ???, 2 yellow OFF,
// 3 green ON; transparent around the window. With "background": the unit's face.
void recipe_autorudder(const Context& c) {
    cairo_t* cr = c.cr;
    const double wx = c.w * 0.2, wy = c.h * 0.52, ww = c.w * 0.6, wh = c.h * 0.2;
    if (c.a().word(0) == "background") {
        plate(cr, c.w, c.h, true);
        text_fit(cr, c.w / 2, c.h - 16, "AUTO RUDDER", 13, c.w - 24, colour("white"));
        lcd_window(cr, wx, wy, ww, wh);
        draw_buttons(c, c.gauge());
        draw_labels(c);
        return;
    }
    static const char* words[4] = {"", "???", "OFF", "ON"};
    static const char* cols[4] = {"black", "red", "yellow", "green"};
    if (c.frame == 0) return;
    cairo_rectangle(cr, wx, wy, ww, wh);
    cairo_set_source_rgb(cr, 0.06, 0.06, 0.06);
    cairo_fill(cr);
    text_fit(cr, wx + ww / 2, wy + wh / 2, words[c.frame], wh * 0.7, ww - 8, colour(cols[c.frame]));
}

// "window": a moving image's window: non-black where the strip shows.
void recipe_window(const Context& c) {
    cairo_t* cr = c.cr;
    if (c.a().has("rect")) {
        auto p = split(c.a().str("rect"), ',');
        rounded(cr, std::stod(p.at(0)), std::stod(p.at(1)), std::stod(p.at(2)), std::stod(p.at(3)), 6);
    } else {
        cairo_rectangle(cr, 0, 0, c.w, c.h);
    }
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
}

// "strip FROM STEP DEC": a vertical counter strip, one value per cell of width x
// (height / count), FROM at the top.
void recipe_strip(const Context& c) {
    cairo_t* cr = c.cr;
    const double from = std::stod(c.a().word(0, "0")), step = std::stod(c.a().word(1, "1"));
    const int dec = std::stoi(c.a().word(2, "0"));
    const double cell = c.a().num("cell", 14);
    cairo_rectangle(cr, 0, 0, c.w, c.h);
    cairo_set_source_rgb(cr, 0.92, 0.92, 0.9);
    cairo_fill(cr);
    for (int k = 0; k * cell < c.h; ++k) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.*f", dec, from + step * k);
        text_fit(cr, c.w / 2, k * cell + cell / 2, buf, cell * 0.75, c.w - 3, RGB{0.05, 0.05, 0.05});
    }
}

// "compass_strip PX_PER_DEG": the magnetic compass card seen through its window: headings
// fall to the right (the card is read from behind), the window's centre column shows the
// heading the moving image is set to. Heading at strip column x: (x0 - x) / PX_PER_DEG.
void recipe_compass_strip(const Context& c) {
    cairo_t* cr = c.cr;
    const double ppd = std::stod(c.a().word(0, "2"));
    const double x0 = c.a().num("x0", 800);
    cairo_rectangle(cr, 0, 0, c.w, c.h);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    cairo_fill(cr);
    const double mid = c.h / 2;
    for (int deg = -360; deg <= 720; deg += 5) {
        const double x = x0 - deg * ppd;
        if (x < -20 || x > c.w + 20) continue;
        const int hd = ((deg % 360) + 360) % 360;
        const bool ten = hd % 10 == 0, thirty = hd % 30 == 0;
        cairo_set_source_rgb(cr, 0.95, 0.95, 0.92);
        cairo_set_line_width(cr, ten ? 1.6 : 1);
        cairo_move_to(cr, x, mid + 8);
        cairo_line_to(cr, x, mid + (ten ? 22 : 15));
        cairo_stroke(cr);
        if (thirty) {
            static const std::map<int, std::string> cardinal = {{0, "N"}, {90, "E"}, {180, "S"}, {270, "W"}};
            auto it = cardinal.find(hd);
            const std::string t = it != cardinal.end() ? it->second : std::to_string(hd / 10);
            text_at(cr, x, mid - 6, t, it != cardinal.end() ? 18 : 14, colour("white"));
        }
    }
}

// "rose [numbers] [ring=R] [dots]": a compass rose turning about its centre: ticks every
// 5 degrees, numbers every 30 (N, 3, 6, E, ...), transparent outside and, with "open",
// inside the ring of marks.
void recipe_rose(const Context& c) {
    cairo_t* cr = c.cr;
    const double cx = c.w / 2, cy = c.h / 2;
    const double R = std::min(cx, cy) - 0.5;
    const bool open = c.a().has("open");
    const double band = c.a().num("band", R * 0.32);
    cairo_arc(cr, cx, cy, R, 0, 2 * kPi);
    if (open) cairo_arc_negative(cr, cx, cy, R - band, 2 * kPi, 0);
    cairo_set_source_rgb(cr, 0.09, 0.09, 0.095);
    cairo_fill(cr);
    for (int d = 0; d < 360; d += 5) {
        const double t = rad(d - 90);
        const bool ten = d % 10 == 0;
        cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
        cairo_set_line_width(cr, ten ? 1.4 : 1);
        cairo_move_to(cr, cx + (R - 1) * std::cos(t), cy + (R - 1) * std::sin(t));
        cairo_line_to(cr, cx + (R - (ten ? R * 0.12 : R * 0.07)) * std::cos(t), cy + (R - (ten ? R * 0.12 : R * 0.07)) * std::sin(t));
        cairo_stroke(cr);
    }
    const double fs = c.a().num("font", R * 0.15);
    for (int d = 0; d < 360; d += 30) {
        static const std::map<int, std::string> cardinal = {{0, "N"}, {90, "E"}, {180, "S"}, {270, "W"}};
        auto it = cardinal.find(d);
        const std::string t = it != cardinal.end() ? it->second : std::to_string(d / 10);
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, rad(d));
        text_at(cr, 0, -(R - R * 0.12 - fs * 0.75), t, fs, colour("white"));
        cairo_restore(cr);
    }
}

// "horizon PX_PER_DEG": the attitude card: sky above, ground below, the horizon line and
// a pitch ladder every 5 degrees.
void recipe_horizon(const Context& c) {
    cairo_t* cr = c.cr;
    const double ppd = std::stod(c.a().word(0, "1.4"));
    const double cx = c.w / 2, cy = c.h / 2;
    cairo_rectangle(cr, 0, 0, c.w, cy);
    fill_shaded(cr, cairo_pattern_create_linear(0, 0, 0, cy), {0.10, 0.35, 0.72}, {0.35, 0.62, 0.92});
    cairo_rectangle(cr, 0, cy, c.w, c.h - cy);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, cy, 0, c.h);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.55, 0.35, 0.18);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.32, 0.19, 0.08);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgb(cr, 0.97, 0.97, 0.97);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, 0, cy);
    cairo_line_to(cr, c.w, cy);
    cairo_stroke(cr);
    for (int d = -30; d <= 30; d += 5) {
        if (d == 0) continue;
        const double y = cy - d * ppd;
        const double half = d % 10 == 0 ? 18 : 9;
        cairo_set_line_width(cr, 1.3);
        cairo_move_to(cr, cx - half, y);
        cairo_line_to(cr, cx + half, y);
        cairo_stroke(cr);
        if (d % 10 == 0) {
            text_at(cr, cx - half - 8, y, std::to_string(std::abs(d)), 8, colour("white"));
            text_at(cr, cx + half + 8, y, std::to_string(std::abs(d)), 8, colour("white"));
        }
    }
}

// "bankscale": bank marks at 0, 10, 20, 30, 45, 60 and 90 degrees each side on an arc
// near the edge, transparent elsewhere; the zero mark is a triangle.
void recipe_bankscale(const Context& c) {
    cairo_t* cr = c.cr;
    double cx = c.w / 2, cy = c.h / 2;
    c.pivot(cx, cy);
    const double R = std::min(cx, cy) - c.a().num("inset", 8);
    cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
    for (int d : {-90, -60, -45, -30, -20, -10, 10, 20, 30, 45, 60, 90}) {
        const double t = rad(d - 90);
        const bool big = d % 30 == 0;
        cairo_set_line_width(cr, big ? 2.4 : 1.5);
        cairo_move_to(cr, cx + R * std::cos(t), cy + R * std::sin(t));
        cairo_line_to(cr, cx + (R - (big ? 11 : 7)) * std::cos(t), cy + (R - (big ? 11 : 7)) * std::sin(t));
        cairo_stroke(cr);
    }
    cairo_move_to(cr, cx, cy - R + 10);
    cairo_line_to(cr, cx - 6, cy - R);
    cairo_line_to(cr, cx + 6, cy - R);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// "symbol COLOR": the attitude indicator's miniature aircraft: wings and a centre dot.
void recipe_symbol(const Context& c) {
    cairo_t* cr = c.cr;
    const RGB col = colour(c.a().word(0, "orange"));
    const double cy = c.h / 2;
    set(cr, col);
    cairo_set_line_width(cr, 3.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 2, cy);
    cairo_line_to(cr, c.w * 0.33, cy);
    cairo_line_to(cr, c.w * 0.42, cy + 5);
    cairo_move_to(cr, c.w - 2, cy);
    cairo_line_to(cr, c.w * 0.67, cy);
    cairo_line_to(cr, c.w * 0.58, cy + 5);
    cairo_stroke(cr);
    cairo_arc(cr, c.w / 2, cy, 3, 0, 2 * kPi);
    cairo_fill(cr);
}

// "tcsymbol": the turn coordinator's aircraft from behind, drawn nose right (wings
// upright) about the pivot.
void recipe_tcsymbol(const Context& c) {
    double px = c.w / 2, py = c.h / 2;
    c.pivot(px, py);
    cairo_t* cr = c.cr;
    cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
    // Wings: a bar along the bitmap's height through the pivot.
    rounded(cr, px - 2.5, 1, 5, c.h - 2, 2);
    cairo_fill(cr);
    // Fuselage circle, fin towards the nose.
    cairo_arc(cr, px, py, 6, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_move_to(cr, px, py - 2);
    cairo_line_to(cr, std::min(c.w - 1.0, px + 14), py);
    cairo_line_to(cr, px, py + 2);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// "ball": the inclinometer ball.
void recipe_ball(const Context& c) {
    cairo_t* cr = c.cr;
    const double r = std::min(c.w, c.h) / 2 - 0.5;
    cairo_arc(cr, c.w / 2, c.h / 2, r, 0, 2 * kPi);
    fill_shaded(cr, cairo_pattern_create_radial(c.w / 2 - r / 3, c.h / 2 - r / 3, 0, c.w / 2, c.h / 2, r), {0.5, 0.5, 0.5}, {0.06, 0.06, 0.06});
}

// "tube X Y W H": the inclinometer's glass tube, outline and centre lines only.
void recipe_tube(const Context& c) {
    cairo_t* cr = c.cr;
    const double x = std::stod(c.a().word(0)), y = std::stod(c.a().word(1)), w = std::stod(c.a().word(2)),
                 h = std::stod(c.a().word(3));
    cairo_set_source_rgb(cr, 0.8, 0.82, 0.8);
    cairo_set_line_width(cr, 1.2);
    rounded(cr, x, y, w, h, h / 2);
    cairo_stroke(cr);
    const double mid = x + w / 2;
    for (double dx : {-h / 2 - 1.5, h / 2 + 1.5}) {
        cairo_move_to(cr, mid + dx, y - 1);
        cairo_line_to(cr, mid + dx, y + h + 1);
    }
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
    draw_labels(c);
}

// "flag TEXT COLOR [frames=...]": a warning flag.
// With frames=A|B|..., frame k shows text k instead (an empty text: nothing, the flag
// is out of view).
void recipe_flag(const Context& c) {
    cairo_t* cr = c.cr;
    std::string text = c.a().word(0);
    if (c.a().has("frames")) {
        auto f = split(c.a().str("frames"), '|');
        text = static_cast<size_t>(c.frame) < f.size() ? f[c.frame] : "";
    }
    if (text.empty()) return;  // a frame that shows nothing
    cairo_rectangle(cr, 0, 0, c.w, c.h);
    set(cr, colour(c.a().word(1, "red")));
    cairo_fill(cr);
    text_fit(cr, c.w / 2, c.h / 2, text, c.h * 0.75, c.w - 2, RGB{0.97, 0.97, 0.97});
}

// "frames RECIPE|ARG,...": each frame drawn by its own flag/arrow word, separated by '|':
// e.g. frames "flag:GS:red|none".
void recipe_tofrom(const Context& c) {
    cairo_t* cr = c.cr;
    const std::string what = c.a().word(static_cast<size_t>(c.frame), "none");
    if (what == "none") return;
    if (what == "OFF") {
        for (int k = -c.h; k < c.w; k += 4) {
            cairo_move_to(cr, k, c.h);
            cairo_line_to(cr, k + c.h, 0);
        }
        cairo_set_source_rgb(cr, 0.9, 0.15, 0.1);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        return;
    }
    cairo_rectangle(cr, 0, 0, c.w, c.h);
    cairo_set_source_rgb(cr, 0.08, 0.08, 0.08);
    cairo_fill(cr);
    const bool to = what == "TO";
    cairo_move_to(cr, c.w / 2, to ? 1 : c.h - 1);
    cairo_line_to(cr, 1, to ? c.h - 1 : 1);
    cairo_line_to(cr, c.w - 1, to ? c.h - 1 : 1);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
    cairo_fill(cr);
}

// "bar [COLOR]": a deviation bar, vertical through the sprite's centre.
void recipe_bar(const Context& c) {
    double px = c.w / 2, py = c.h / 2;
    c.pivot(px, py);
    const double len = c.a().num("len", 56);
    rounded(c.cr, px - 2, py - len / 2, 4, len, 1.5);
    set(c.cr, colour(c.a().word(0, "yellow")));
    cairo_fill(c.cr);
}

// "course [COLOR]": the HSI course pointer: an arrow through the pivot with a gap for the
// deviation bar, and the deviation dots across it.
void recipe_course(const Context& c) {
    double px = c.w / 2, py = c.h / 2;
    c.pivot(px, py);
    cairo_t* cr = c.cr;
    const RGB col = colour(c.a().word(0, "yellow"));
    const double gap = c.a().num("gap", 30);
    set(cr, col);
    cairo_rectangle(cr, px - 2, 12, 4, py - gap - 12);
    cairo_rectangle(cr, px - 2, py + gap, 4, c.h - 2 - py - gap);
    cairo_fill(cr);
    cairo_move_to(cr, px, 0.5);
    cairo_line_to(cr, px - 7, 14);
    cairo_line_to(cr, px + 7, 14);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
    for (double dx : {-36.0, -18.0, 18.0, 36.0}) {
        cairo_arc(cr, px + dx, py, 2.5, 0, 2 * kPi);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }
}

// "bug [COLOR]": a heading bug at the top of its bitmap.
void recipe_bug(const Context& c) {
    cairo_t* cr = c.cr;
    const RGB col = colour(c.a().word(0, "orange"));
    set(cr, col);
    cairo_move_to(cr, 0.5, 0.5);
    cairo_line_to(cr, c.w * 0.3, 0.5);
    cairo_line_to(cr, c.w / 2, 6);
    cairo_line_to(cr, c.w * 0.7, 0.5);
    cairo_line_to(cr, c.w - 0.5, 0.5);
    cairo_line_to(cr, c.w - 0.5, 8);
    cairo_line_to(cr, 0.5, 8);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// "arrow [up|left|right] [COLOR]": a small solid triangle filling the bitmap, pointing
// that way (the TO/FROM pointer, glideslope pointers).
void recipe_arrow(const Context& c) {
    cairo_t* cr = c.cr;
    const std::string d = c.a().word(0, "up");
    set(cr, colour(c.a().word(1, "white")));
    if (d == "up") {
        cairo_move_to(cr, c.w / 2, 0.5);
        cairo_line_to(cr, 1, std::min(c.h * 0.4, 12.0));
        cairo_line_to(cr, c.w - 1, std::min(c.h * 0.4, 12.0));
    } else if (d == "right") {
        cairo_move_to(cr, c.w - 0.5, c.h / 2);
        cairo_line_to(cr, 0.5, 0.5);
        cairo_line_to(cr, 0.5, c.h - 0.5);
    } else {
        cairo_move_to(cr, 0.5, c.h / 2);
        cairo_line_to(cr, c.w - 0.5, 0.5);
        cairo_line_to(cr, c.w - 0.5, c.h - 0.5);
    }
    cairo_close_path(cr);
    cairo_fill(cr);
}

// "lever COLOR [LETTER]": a throttle-quadrant lever knob.
void recipe_lever(const Context& c) {
    cairo_t* cr = c.cr;
    const RGB col = colour(c.a().word(0, "black"));
    rounded(cr, 0.5, 0.5, c.w - 1, c.h - 1, 4);
    fill_shaded(cr, cairo_pattern_create_linear(0, 0, 0, c.h),
                {std::min(1.0, col.r + 0.35), std::min(1.0, col.g + 0.35), std::min(1.0, col.b + 0.35)},
                {col.r * 0.6, col.g * 0.6, col.b * 0.6});
    if (!c.a().word(1).empty()) text_at(cr, c.w / 2, c.h / 2, c.a().word(1), c.h * 0.55, RGB{0.95, 0.95, 0.95});
}

// "wheel": the trim wheel edge-on; frame k turns its ridges by k / frames of a pitch.
void recipe_wheel(const Context& c) {
    cairo_t* cr = c.cr;
    rounded(cr, 0.5, 0.5, c.w - 1, c.h - 1, 4);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, c.w, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.08, 0.08, 0.08);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 0.32, 0.32, 0.33);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.08, 0.08, 0.08);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    const double pitch = 9;
    const double shift = pitch * c.frame / static_cast<double>(c.spec.frames);
    cairo_set_source_rgb(cr, 0.04, 0.04, 0.04);
    cairo_set_line_width(cr, 2);
    for (double y = 3 + shift; y < c.h - 3; y += pitch) {
        cairo_move_to(cr, 2, y);
        cairo_line_to(cr, c.w - 2, y);
    }
    cairo_stroke(cr);
    // A white stripe that shows the turning.
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
    const double sy = 10 + std::fmod(shift * 3, c.h - 20);
    cairo_rectangle(cr, 3, sy, c.w - 6, 3);
    cairo_fill(cr);
}

// "altbat": three switches in one picture (left generator, right generator, battery);
// frame = 4 x left + 2 x right + battery.
void recipe_altbat(const Context& c) {
    cairo_t* cr = c.cr;
    plate(cr, c.w, c.h, false);
    const char* names[3] = {"ALT L", "ALT R", "BAT"};
    const bool on[3] = {(c.frame & 4) != 0, (c.frame & 2) != 0, (c.frame & 1) != 0};
    for (int i = 0; i < 3; ++i) {
        const double cx = c.w * (i + 0.5) / 3;
        text_fit(cr, cx, 8, names[i], 8, c.w / 3 - 2, colour("white"));
        rounded(cr, cx - 10, 18, 20, c.h - 28, 3);
        cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
        cairo_fill(cr);
        // A rocker: the lit half shows which end is pressed.
        const double top = 20, bot = c.h - 12;
        const double mid = (top + bot) / 2;
        rounded(cr, cx - 8, on[i] ? top : mid, 16, mid - top, 2);
        cairo_set_source_rgb(cr, on[i] ? 0.9 : 0.45, on[i] ? 0.15 : 0.45, on[i] ? 0.1 : 0.46);
        cairo_fill(cr);
        rounded(cr, cx - 8, on[i] ? mid : top, 16, mid - top, 2);
        cairo_set_source_rgb(cr, 0.25, 0.25, 0.26);
        cairo_fill(cr);
    }
}

// "placard": an engraved plate for the registration text.
void recipe_placard(const Context& c) {
    cairo_t* cr = c.cr;
    rounded(cr, 0.5, 0.5, c.w - 1, c.h - 1, 4);
    fill_shaded(cr, cairo_pattern_create_linear(0, 0, c.w, c.h), {0.78, 0.78, 0.76}, {0.52, 0.52, 0.5});
    screw(cr, 6, c.h / 2, 2.5);
    screw(cr, c.w - 6, c.h / 2, 2.5);
}

// "transparent": nothing drawn (a frame that hides its element).
void recipe_transparent(const Context&) {}

using Recipe = void (*)(const Context&);
const std::map<std::string, Recipe>& recipes() {
    static const std::map<std::string, Recipe> table = {
        {"dial", recipe_dial},         {"panel", recipe_panel},       {"needle", recipe_needle},
        {"cover", recipe_cover},       {"toggle", recipe_toggle},     {"lamp", recipe_lamp},
        {"legends", recipe_legends},   {"marker", recipe_marker},     {"sign", recipe_sign},
        {"knob", recipe_knob},         {"selector", recipe_selector}, {"starter", recipe_starter},
        {"primer", recipe_primer},     {"flaps", recipe_flaps},       {"autorudder", recipe_autorudder},
        {"window", recipe_window},     {"strip", recipe_strip},       {"compass_strip", recipe_compass_strip},
        {"rose", recipe_rose},         {"horizon", recipe_horizon},   {"bankscale", recipe_bankscale},
        {"symbol", recipe_symbol},     {"tcsymbol", recipe_tcsymbol}, {"ball", recipe_ball},
        {"tube", recipe_tube},         {"flag", recipe_flag},         {"tofrom", recipe_tofrom},
        {"bar", recipe_bar},           {"course", recipe_course},     {"bug", recipe_bug},
        {"arrow", recipe_arrow},       {"lever", recipe_lever},       {"wheel", recipe_wheel},
        {"altbat", recipe_altbat},     {"placard", recipe_placard},   {"transparent", recipe_transparent},
    };
    return table;
}

/* ---- blob ------------------------------------------------------------------------------ */

using tarn_assets::make_blob;

}  // namespace

/* ---- main ---------------------------------------------------------------------------------- */

int main(int argc, char** argv) {
    // At the end the font machinery's caches go, so that leak checkers see nothing left.
    struct FontCaches {
        ~FontCaches() {
            cairo_debug_reset_static_data();
            FcFini();
        }
    } font_caches;
    std::string output, records_dir, module;
    std::vector<std::string> manifests;
    std::string png_dir;  // --png DIR: also write every frame as a PNG (for looking at)
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--records" && i + 1 < argc) records_dir = argv[++i];
        else if (a == "--module" && i + 1 < argc) module = argv[++i];
        else if (a == "--png" && i + 1 < argc) png_dir = argv[++i];
        else if (output.empty()) output = a;
        else manifests.push_back(a);
    }
    if (output.empty() || records_dir.empty() || module.empty() || manifests.empty()) {
        std::cerr << "usage: tarn-art OUTPUT.bin --records DIR --module NAME [--png DIR] MANIFEST...\n";
        return 2;
    }
    try {
        Manifests m;
        std::map<std::pair<uint32_t, std::string>, std::string> seen;
        for (const std::string& path : manifests) read_manifest(path, m, seen);
        std::map<int32_t, const BitmapSpec*> by_id;
        for (const BitmapSpec& b : m.bitmaps) by_id[static_cast<int32_t>(b.id)] = &b;

        tarn::PanelHost host(records_dir);
        Records records;
        records.host = &host;
        records.module = module;
        read_records(records);

        // Every bitmap an element shows is drawn here, at the size it is listed with.
        for (const auto& [id, uses] : records.uses) {
            if (by_id.count(id)) continue;
            bool frame = false;
            for (const BitmapSpec& b : m.bitmaps)
                if (static_cast<uint32_t>(id) > b.id && static_cast<uint32_t>(id) < b.id + b.frames) frame = true;
            if (!frame)
                throw ArtError{manifests.front(), "bitmap " + std::to_string(id) + " of \"" + uses.front().gauge + "\" has no manifest line"};
        }

        std::map<std::string, std::vector<Scale>> scales;
        for (const ScaleSpec& s : m.scales) scales[s.gauge].push_back(measure(records, s, by_id));

        std::vector<Resource> resources;
        const std::vector<Use> no_uses;
        for (const BitmapSpec& b : m.bitmaps) {
            auto rec = recipes().find(b.recipe);
            if (rec == recipes().end()) throw ArtError{b.where, "unknown drawing recipe '" + b.recipe + "'"};
            auto u = records.uses.find(static_cast<int32_t>(b.id));
            for (uint32_t k = 0; k < b.frames; ++k) {
                Canvas canvas(static_cast<int>(b.width), static_cast<int>(b.height));
                Context ctx{records, b, u == records.uses.end() ? no_uses : u->second, scales, static_cast<int>(k), canvas.cr,
                            static_cast<double>(b.width), static_cast<double>(b.height)};
                try {
                    rec->second(ctx);
                } catch (const std::exception& e) {
                    throw ArtError{b.where, std::string("cannot draw: ") + e.what()};
                }
                if (cairo_status(canvas.cr) != CAIRO_STATUS_SUCCESS)
                    throw ArtError{b.where, std::string("cairo: ") + cairo_status_to_string(cairo_status(canvas.cr))};
                if (!png_dir.empty())
                    cairo_surface_write_to_png(canvas.surface, (png_dir + "/" + std::to_string(b.id + k) + ".png").c_str());
                resources.push_back({b.id + k, "BITMAP", to_dib(canvas)});
            }
        }
        for (Resource& w : m.waves) resources.push_back(std::move(w));

        std::vector<unsigned char> blob = make_blob(resources);
        const std::string temp = output + ".tmp";
        {
            std::ofstream out(temp, std::ios::binary);
            out.write(reinterpret_cast<const char*>(blob.data()), static_cast<std::streamsize>(blob.size()));
            if (!out) {
                std::cerr << output << ": cannot write\n";
                return 2;
            }
        }
        if (std::rename(temp.c_str(), output.c_str()) != 0) {
            std::cerr << output << ": cannot write\n";
            return 2;
        }
    } catch (const ArtError& e) {
        std::cerr << e.where << ": " << e.message << "\n";
        return 2;
    } catch (const tarn::HostError& e) {
        std::cerr << records_dir << "/" << module << ".gau: " << e.what() << "\n";
        return 2;
    }
    return 0;
}
