// tarn-art's shared part: reading the records twin, measuring every SCALE line through the
// host, the drawing primitives every recipe uses (colours, text, plates, bezels), and the
// faces' common items (scales, labels, push buttons).
//
// Sections: records, scale measurement, drawing primitives, faces.
#include "assets/art/art.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

namespace tarn_art {

/* ---- records ----------------------------------------------------------------------- */

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

/* ---- scale measurement ------------------------------------------------------------- */

namespace {

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

}  // namespace

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

/* ---- drawing primitives ------------------------------------------------------------ */

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

void set(cairo_t* cr, RGB c, double k) { cairo_set_source_rgb(cr, c.r * k, c.g * k, c.b * k); }

// Fills the current path with a gradient (which it takes over) from `from` to `to`.
void fill_shaded(cairo_t* cr, cairo_pattern_t* gradient, RGB from, RGB to) {
    cairo_pattern_add_color_stop_rgb(gradient, 0, from.r, from.g, from.b);
    cairo_pattern_add_color_stop_rgb(gradient, 1, to.r, to.g, to.b);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
}

double rad(double deg) { return deg * kPi / 180.0; }

void font(cairo_t* cr, double size, bool bold) {
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

/* ---- layout check ------------------------------------------------------------------ */

Layout& layout() {
    static Layout current;
    return current;
}

namespace {

// The kind the next texts are recorded as (numerals while a scale prints its numbers).
LayoutItem::Kind g_text_kind = LayoutItem::kText;
int g_group = -1;
bool g_on_case = false;

// The device-space bounding box of a user-space rectangle.
void device_box(cairo_t* cr, double x0, double y0, double x1, double y1, LayoutItem& it) {
    double xs[4] = {x0, x1, x0, x1}, ys[4] = {y0, y0, y1, y1};
    for (int k = 0; k < 4; ++k) cairo_user_to_device(cr, &xs[k], &ys[k]);
    it.x0 = *std::min_element(xs, xs + 4);
    it.x1 = *std::max_element(xs, xs + 4);
    it.y0 = *std::min_element(ys, ys + 4);
    it.y1 = *std::max_element(ys, ys + 4);
}

void record_stroke(cairo_t* cr, LayoutItem::Kind kind, const std::string& what, double ax, double ay, double bx, double by,
                   double width) {
    LayoutItem it;
    it.kind = kind;
    it.text = what;
    cairo_user_to_device(cr, &ax, &ay);
    cairo_user_to_device(cr, &bx, &by);
    it.x0 = ax;
    it.y0 = ay;
    it.x1 = bx;
    it.y1 = by;
    it.width = width;
    it.group = g_group;
    layout().items.push_back(it);
}

struct Box {
    double x0, y0, x1, y1;
};

// Boxes touch without overlapping when they share less than this (antialiased edges).
constexpr double kSlack = 0.5;

// Two texts keep apart by a quarter of the smaller one's height (at least a pixel), so
// that they read as two at a glance.
bool boxes_overlap(const Box& a, const Box& b) {
    const double gap = std::max(1.0, 0.25 * std::min(a.y1 - a.y0, b.y1 - b.y0)) - kSlack;
    return a.x0 - gap < b.x1 && b.x0 - gap < a.x1 && a.y0 - gap < b.y1 && b.y0 - gap < a.y1;
}

// Whether a stroke from (ax, ay) to (bx, by), `width` wide, crosses a box: the box grown
// by half the width against the segment (Liang-Barsky clipping).
bool stroke_crosses(const Box& box, double ax, double ay, double bx, double by, double width) {
    const double g = width / 2 - kSlack;
    const double x0 = box.x0 - g, y0 = box.y0 - g, x1 = box.x1 + g, y1 = box.y1 + g;
    double t0 = 0, t1 = 1;
    const double dx = bx - ax, dy = by - ay;
    const double p[4] = {-dx, dx, -dy, dy}, q[4] = {ax - x0, x1 - ax, ay - y0, y1 - ay};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) return false;
        } else {
            const double t = q[k] / p[k];
            if (p[k] < 0) t0 = std::max(t0, t);
            else t1 = std::min(t1, t);
        }
    }
    return t0 < t1;
}

std::string quoted(const LayoutItem& it) {
    return (it.kind == LayoutItem::kNumeral ? "numeral \"" : "\"") + it.text + "\"";
}

}  // namespace

std::vector<std::string> check_layout(const Layout& l) {
    std::vector<std::string> out = l.faults;
    std::vector<const LayoutItem*> texts, strokes;
    for (const LayoutItem& it : l.items)
        (it.kind == LayoutItem::kText || it.kind == LayoutItem::kNumeral ? texts : strokes).push_back(&it);
    auto box = [](const LayoutItem* it) { return Box{it->x0, it->y0, it->x1, it->y1}; };
    for (size_t i = 0; i < texts.size(); ++i) {
        const LayoutItem& a = *texts[i];
        const Box ba = box(&a);
        if (a.kind == LayoutItem::kText && a.text != "window" && l.shown > 0 && a.size * l.shown < kMinCaptionPx - 0.05) {
            char px[32];
            std::snprintf(px, sizeof px, "%.1f", a.size * l.shown);
            out.push_back(quoted(a) + " is " + px + " px high at scale 1 on the panel (captions: at least 9)");
        }
        // On the face: inside the bitmap, and inside the dial's circle on a round face.
        if (ba.x0 < -kSlack || ba.y0 < -kSlack || ba.x1 > l.w + kSlack || ba.y1 > l.h + kSlack) {
            if (a.kind != LayoutItem::kText || a.text != "window") out.push_back(quoted(a) + " leaves the bitmap");
        } else if (l.round && !a.on_case) {
            const double xs[2] = {ba.x0, ba.x1}, ys[2] = {ba.y0, ba.y1};
            bool outside = false;
            for (double x : xs)
                for (double y : ys) outside = outside || std::hypot(x - l.cx, y - l.cy) > l.r + kSlack;
            if (outside) out.push_back(quoted(a) + " leaves the dial's face");
        }
        for (size_t j = i + 1; j < texts.size(); ++j)
            if (!(a.kind == LayoutItem::kText && a.text == "window" && texts[j]->kind == LayoutItem::kText && texts[j]->text == "window") &&
                boxes_overlap(ba, box(texts[j]))) out.push_back(quoted(a) + " overlaps " + quoted(*texts[j]));
        for (const LayoutItem* s : strokes) {
            // A numeral sits by its own scale's marks and under its needle; captions sit
            // clear of every mark and of every needle at rest.
            if (a.kind == LayoutItem::kNumeral && s->group == a.group) continue;
            if (a.kind == LayoutItem::kNumeral && s->kind == LayoutItem::kRest) continue;
            if (!stroke_crosses(ba, s->x0, s->y0, s->x1, s->y1, s->width)) continue;
            if (s->kind == LayoutItem::kRest) out.push_back(quoted(a) + " lies under the needle at rest (" + s->text + ")");
            else out.push_back(quoted(a) + " covers the mark at " + s->text);
        }
    }
    return out;
}

// Text centred on (x, y).
void text_at(cairo_t* cr, double x, double y, const std::string& s, double size, RGB c, bool bold) {
    font(cr, size, bold);
    cairo_text_extents_t te;
    cairo_text_extents(cr, s.c_str(), &te);
    set(cr, c);
    const double left = x - te.width / 2, top = y - te.height / 2;
    cairo_move_to(cr, left - te.x_bearing, top - te.y_bearing);
    cairo_show_text(cr, s.c_str());
    if (te.width > 0 && te.height > 0) {
        LayoutItem it;
        it.kind = g_text_kind;
        it.text = s;
        it.group = g_group;
        it.on_case = g_on_case;
        double dx = size, dy = 0;
        cairo_user_to_device_distance(cr, &dx, &dy);
        it.size = std::hypot(dx, dy);
        device_box(cr, left, top, left + te.width, top + te.height, it);
        layout().items.push_back(it);
    }
}

double caption_size(double size) {
    const double shown = layout().shown;
    return shown > 0 ? std::max(size, kMinCaptionPx / shown + 0.05) : size;
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
void plate(cairo_t* cr, double w, double h, bool screws) {
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
    // Recorded as a text: nothing printed may lie under it.
    LayoutItem it;
    it.text = "window";
    device_box(cr, x - 3, y - 3, x + w + 3, y + h + 3, it);
    layout().items.push_back(it);
    rounded(cr, x - 3, y - 3, w + 6, h + 6, 3);
    cairo_set_source_rgb(cr, 0.45, 0.46, 0.48);
    cairo_fill(cr);
    cairo_rectangle(cr, x - 1, y - 1, w + 2, h + 2);
    cairo_set_source_rgb(cr, 0.06, 0.07, 0.06);
    cairo_fill(cr);
}

/* ---- faces ------------------------------------------------------------------------- */

// The marks, numbers and arcs of one scale.
void draw_scale(cairo_t* cr, const Scale& s) {
    const Args& a = s.spec->args;
    const double L = s.reach;
    const RGB white = colour(a.str("color", "white"));
    const double fsize = a.num("font", std::max(8.0, std::min(16.0, L * 0.2)));
    g_group = layout().scales++;
    struct GroupEnd {
        ~GroupEnd() { g_group = -1; }
    } group_end;
    char what[48];
    auto value_text = [&](double v) {
        std::snprintf(what, sizeof what, "%g", v);
        return std::string(what);
    };
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
    // skip=V,V: values whose number is left out (where two ranges meet, one number does).
    // gap=A:B: no marks from A to B (a window through the ring). abs=1: numbers unsigned.
    // inset=PX: numbers' centres PX inside the marks (default 0.8 of the font size).
    std::vector<double> skipped;
    for (const std::string& list : a.all("skip"))
        for (const std::string& v : split(list, ',')) skipped.push_back(parse_double(v, s.spec->where));
    std::vector<std::pair<double, double>> gaps;
    for (const std::string& g : a.all("gap")) {
        auto p = split(g, ':');
        if (p.size() != 2) throw ArtError{s.spec->where, "expected gap=FROM:TO"};
        gaps.push_back({parse_double(p[0], s.spec->where), parse_double(p[1], s.spec->where)});
    }
    const double inset = a.num("inset", fsize * 0.8);
    for (const Mark& m : s.marks) {
        const double t = rad(m.degrees);
        bool in_gap = false;
        for (auto [g0, g1] : gaps) in_gap = in_gap || (m.value >= g0 - 1e-9 && m.value <= g1 + 1e-9);
        const double r0 = m.major ? L - std::max(7.0, L * 0.14) : L - std::max(4.0, L * 0.07);
        const double r1 = L + std::max(2.0, L * 0.04);
        set(cr, white);
        cairo_set_line_width(cr, m.major ? std::max(1.6, L * 0.028) : std::max(1.0, L * 0.014));
        if (!in_gap) {
            cairo_move_to(cr, s.px + r0 * std::cos(t), s.py + r0 * std::sin(t));
            cairo_line_to(cr, s.px + r1 * std::cos(t), s.py + r1 * std::sin(t));
            cairo_stroke(cr);
            record_stroke(cr, LayoutItem::kMark, value_text(m.value), s.px + r0 * std::cos(t), s.py + r0 * std::sin(t),
                          s.px + r1 * std::cos(t), s.py + r1 * std::sin(t), cairo_get_line_width(cr));
        }
        bool skip = false;
        for (double v : skipped) skip = skip || std::fabs(v - m.value) < 1e-9;
        if (m.labelled && s.spec->label > 0 && !skip) {
            const double div = a.num("div", 1);
            const int dec = static_cast<int>(a.num("dec", 0));
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.*f", dec, (a.num("abs", 0) != 0 ? std::fabs(m.value) : m.value) / div);
            std::string txt = buf;
            if (txt == "-0") txt = "0";
            if (a.has("first") && std::fabs(m.value - s.spec->from) < 1e-9) txt = a.str("first");
            const double lr = a.str("side") == "out" ? r1 + fsize * 0.8 : r0 - inset;
            g_text_kind = LayoutItem::kNumeral;
            text_at(cr, s.px + lr * std::cos(t), s.py + lr * std::sin(t), txt, fsize, white);
            g_text_kind = LayoutItem::kText;
        }
    }
    {
        // The needle at rest: at 0 when the scale holds it, else at the scale's first value;
        // once per pivot (a needle's further scales go on from where the first ends).
        const bool first = std::find(layout().rests.begin(), layout().rests.end(), std::make_pair(s.px, s.py)) == layout().rests.end();
        layout().rests.push_back({s.px, s.py});
        const double rest = s.spec->from <= 0 && s.spec->to >= 0 ? 0.0 : s.spec->from;
        double deg = 0;
        bool known = first;
        if (known) {
            try {
                deg = s.direction(rest);
            } catch (const ArtError&) {
                known = false;
            }
        }
        if (known)
            record_stroke(cr, LayoutItem::kRest, value_text(rest), s.px, s.py, s.px + L * std::cos(rad(deg)),
                          s.py + L * std::sin(rad(deg)), 2);
    }
    if (a.has("redline")) {
        const double t = rad(s.direction(a.num("redline", 0)));
        set(cr, colour("red"));
        cairo_set_line_width(cr, std::max(2.5, L * 0.04));
        cairo_move_to(cr, s.px + (L - L * 0.16) * std::cos(t), s.py + (L - L * 0.16) * std::sin(t));
        cairo_line_to(cr, s.px + (L + 3) * std::cos(t), s.py + (L + 3) * std::sin(t));
        cairo_stroke(cr);
        record_stroke(cr, LayoutItem::kMark, "the redline", s.px + (L - L * 0.16) * std::cos(t), s.py + (L - L * 0.16) * std::sin(t),
                      s.px + (L + 3) * std::cos(t), s.py + (L + 3) * std::sin(t), cairo_get_line_width(cr));
    }
}

// Labels given as label=X,Y,SIZE,TEXT[,COLOR] (repeatable).
void draw_labels(const Context& c) {
    for (const std::string& l : c.a().all("label")) {
        auto p = split(l, ',');
        if (p.size() < 4) throw ArtError{c.spec.where, "expected label=X,Y,SIZE,TEXT[,COLOR]"};
        text_at(c.cr, std::stod(p[0]), std::stod(p[1]), p[3], std::stod(p[2]), colour(p.size() > 4 ? p[4] : "white"));
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
        g_on_case = true;
        text_fit(c.cr, x + w / 2, y + h / 2, cap, caption_size(std::min(11.0, h * 0.45)), w - 2, colour("white"));
        g_on_case = false;
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

}  // namespace tarn_art
