// Recipes used by the manifests of several gauge groups, in both modules: dials, panels,
// needles, covers, toggles, lamps, legends, knobs, selectors, windows, roses, flags,
// arrows, and the transparent frame.
//
// Sections (in this order): dial, panel, needle, cover, toggle, lamp, legends, knob,
// selector, window, rose, flag, arrow, transparent; the list at the end.
#include "assets/art/art.h"

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <set>

namespace tarn_art {

namespace {

// "dial [hub=R]": a round instrument: transparent corners, bezel, black face, the gauge's scales.
// Where the needles of the gauges showing this bitmap turn, in the bitmap's pixels.
std::set<std::pair<double, double>> needle_pivots(const Context& c) {
    std::set<std::pair<double, double>> hubs;
    for (const Use& me : c.uses) {
        for (const Use& u : c.records.elements[me.gauge])
            if (u.kind == ELEMENT_TYPE_NEEDLE && u.ox >= 0 && (u.ox > 0 || u.oy > 0))
                hubs.insert({u.x + 0.5 - me.x, u.y + 0.5 - me.y});
    }
    return hubs;
}

// A round boss of radius r at (x, y), when it lies on the bitmap.
void draw_hub(const Context& c, double x, double y, double r) {
    if (x < 0 || y < 0 || x > c.w || y > c.h) return;
    cairo_arc(c.cr, x, y, r, 0, 2 * kPi);
    fill_shaded(c.cr, cairo_pattern_create_radial(x - r / 3, y - r / 3, 0, x, y, r), {0.45, 0.45, 0.46}, {0.10, 0.10, 0.11});
}

void recipe_dial(const Context& c) {
    const std::string gauge = c.gauge();
    double cx = c.w / 2, cy = c.h / 2;
    if (c.a().has("centre")) {
        auto p = split(c.a().str("centre"), ',');
        cx = std::stod(p.at(0));
        cy = std::stod(p.at(1));
    }
    const double R = c.a().num("radius", std::min({cx, cy, c.w - cx, c.h - cy}) - 0.5);
    const double ring = c.a().num("ring", std::max(4.0, R * 0.07));
    bezel(c.cr, cx, cy, R, ring);
    Layout& l = layout();
    l.round = true;
    l.cx = cx;
    l.cy = cy;
    l.r = R - ring;
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
    if (c.a().str("bezel") == "dark") {
        // A black bezel, for a face lit at night by the panel lighting: only its marks
        // should glow, not a metal ring.
        const double rw = c.a().num("ring", std::max(4.0, R * 0.07));
        cairo_arc(c.cr, cx, cy, R, 0, 2 * kPi);
        cairo_arc_negative(c.cr, cx, cy, R - rw, 2 * kPi, 0);
        fill_shaded(c.cr, cairo_pattern_create_linear(cx - R, cy - R, cx + R, cy + R), {0.13, 0.13, 0.14}, {0.04, 0.04, 0.045});
    }
    draw_face_items(c, gauge);
    for (const std::string& t : c.a().all("window")) {
        auto p = split(t, ',');
        lcd_window(c.cr, std::stod(p.at(0)), std::stod(p.at(1)), std::stod(p.at(2)), std::stod(p.at(3)));
    }
    // hub=R: a boss under each needle's pivot, for needles too thin to carry their own hub.
    if (c.a().has("hub"))
        for (auto [x, y] : needle_pivots(c)) draw_hub(c, x, y, c.a().num("hub", 6));
}

// "panel [plate=dark]": a plate; the gauge's scales on black dial discs; display windows.
// A dark plate (black, no screws, dark disc rims) is for a plate lit at night by the panel
// lighting, where only its marks and legends should glow.
void recipe_panel(const Context& c) {
    const std::string gauge = c.gauge();
    const bool dark = c.a().str("plate") == "dark";
    if (dark) {
        cairo_rectangle(c.cr, 0, 0, c.w, c.h);
        fill_shaded(c.cr, cairo_pattern_create_linear(0, 0, 0, c.h), {0.09, 0.09, 0.10}, {0.05, 0.05, 0.055});
    } else {
        plate(c.cr, c.w, c.h, !c.a().has("noscrews"));
    }
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
            if (dark) cairo_set_source_rgb(c.cr, 0.17, 0.17, 0.18);
            else cairo_set_source_rgb(c.cr, 0.36, 0.37, 0.39);
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
    // Blanking plates (box=X,Y,W,H): a raised cover with two screws, where equipment the
    // aircraft may carry is not fitted (holes drawn next cut through them).
    for (const std::string& t : c.a().all("box")) {
        auto p = split(t, ',');
        if (p.size() < 4) throw ArtError{c.spec.where, "expected box=X,Y,W,H"};
        const double x = std::stod(p[0]), y = std::stod(p[1]), w = std::stod(p[2]), h = std::stod(p[3]);
        rounded(c.cr, x + 1, y + 1, w, h, 3);
        cairo_set_source_rgba(c.cr, 0, 0, 0, 0.45);
        cairo_fill(c.cr);
        rounded(c.cr, x, y, w, h, 3);
        fill_shaded(c.cr, cairo_pattern_create_linear(0, y, 0, y + h), {0.36, 0.37, 0.39}, {0.25, 0.26, 0.27});
        rounded(c.cr, x + 0.5, y + 0.5, w - 1, h - 1, 3);
        cairo_set_source_rgba(c.cr, 1, 1, 1, 0.18);
        cairo_set_line_width(c.cr, 1);
        cairo_stroke(c.cr);
        screw(c.cr, x + 7, y + h / 2, 3);
        screw(c.cr, x + w - 7, y + h / 2, 3);
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
    // The needle's body (0.9 x width) must show at least kMinNeedlePx wide.
    if (const double shown = layout().shown; shown > 0 && wid * 0.9 * shown < kMinNeedlePx - 0.05) {
        char px[32];
        std::snprintf(px, sizeof px, "%.1f", wid * 0.9 * shown);
        layout().faults.push_back(std::string("the needle is ") + px + " px wide at scale 1 on the panel (at least 2)");
    }
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
// index=Y: "cover [corners] [noglint] [hub=R] [ring=R] [centre=X,Y] [index=Y]".
void recipe_cover(const Context& c) {
    const std::set<std::pair<double, double>> hubs = needle_pivots(c);
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
        // A glint on the glass edge (not over a bank scale: "noglint").
        if (std::find(c.a().words.begin(), c.a().words.end(), "noglint") == c.a().words.end()) {
            cairo_set_source_rgb(c.cr, 0.75, 0.77, 0.8);
            cairo_set_line_width(c.cr, 1.5);
            cairo_arc(c.cr, cx, cy, R - ring - 2, rad(200), rad(240));
            cairo_stroke(c.cr);
        }
    }
    if (std::find(c.a().words.begin(), c.a().words.end(), "corners") != c.a().words.end()) {
        // Panel colour outside the bezel, over a card that is square and moves: the
        // corners must hide it, so they are opaque and exactly the colour of the panel
        // the gauge sits on (58,62,66), lest the gauge show as a square. Dimmed at night
        // by the same factor as the panel, they still match it.
        double cx = c.w / 2, cy = c.h / 2;
        const double R = std::min(cx, cy) - 0.5;
        cairo_rectangle(c.cr, 0, 0, c.w, c.h);
        cairo_arc_negative(c.cr, cx, cy, R - 2, 2 * kPi, 0);
        cairo_set_source_rgb(c.cr, 58 / 255.0, 62 / 255.0, 66 / 255.0);
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
        for (auto [x, y] : hubs) draw_hub(c, x, y, hr);
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
        if (c.a().has("caption")) text_fit(c.cr, c.w / 2, 7, c.a().str("caption"), caption_size(8), c.w - 4, colour("white"));
        text_at(c.cr, c.w * 0.8, c.h * 0.3, "ON", caption_size(7), colour("white"));
        text_at(c.cr, c.w * 0.8, c.h * 0.8, "OFF", caption_size(7), colour("white"));
    }
    const double sw = c.a().num("w", with_plate ? c.w * 0.4 : c.w);
    const double sh = c.a().num("h", with_plate ? c.h * 0.62 : c.h);
    const double cx = c.a().num("x", with_plate ? c.w * 0.4 : c.w / 2);
    const double cy = c.a().num("y", with_plate ? c.h * 0.6 : c.h / 2);
    toggle_at(c.cr, cx, cy, sw, sh, state == "up");
    draw_labels(c);
}

// "lamp CAPTION COLOR": frame 0 dark, 1 lit bright, 2 lit dim (two-frame lamps: dark, lit).
// CAPTION "-": a plain lens (a lamp too small for a legend, captioned on its face).
void recipe_lamp(const Context& c) {
    const std::string caption = c.a().word(0) == "-" ? std::string() : c.a().word(0);
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
        text_fit(cr, c.w / 2, c.h / 2, caption, caption_size(std::min(c.h * 0.5, 16.0)), c.w - 4, ink);
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
    if (!c.a().word(0).empty()) text_at(c.cr, px, py + r * 0.35, c.a().word(0), caption_size(r * 0.45), colour("white"));
}

// "selector ANGLE:LABEL ... [plate] [r=] [lr=] [x=] [y=] [title=] [titlesize=]": a rotary selector; frame k
// points at the k-th position's angle (degrees clockwise from 12 o'clock); every
// position's label is printed around it.
void recipe_selector(const Context& c) {
    cairo_t* cr = c.cr;
    if (c.a().has("plate")) plate(cr, c.w, c.h, false);
    const double cx = c.a().num("x", c.w / 2), cy = c.a().num("y", c.h / 2 + (c.a().has("title") ? 4 : 0));
    const double r = c.a().num("r", std::min(c.w, c.h) * 0.22);
    if (c.a().has("title")) text_fit(cr, c.w / 2, 8, c.a().str("title"), caption_size(c.a().num("titlesize", 9)), c.w - 4, colour("white"));
    const double lr = c.a().num("lr", 1.75);  // labels' distance from the centre, in knob radii
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
            text_fit(cr, cx + r * lr * std::cos(t), cy + r * lr * 0.94 * std::sin(t), p[1], caption_size(std::max(7.0, r * 0.45)), r * 3.2,
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

// "transparent": nothing drawn (a frame that hides its element).
void recipe_transparent(const Context&) {}

}  // namespace

extern const RecipeEntry kCommonRecipes[] = {
    {"dial", recipe_dial},
    {"panel", recipe_panel},
    {"needle", recipe_needle},
    {"cover", recipe_cover},
    {"toggle", recipe_toggle},
    {"lamp", recipe_lamp},
    {"legends", recipe_legends},
    {"knob", recipe_knob},
    {"selector", recipe_selector},
    {"window", recipe_window},
    {"rose", recipe_rose},
    {"flag", recipe_flag},
    {"arrow", recipe_arrow},
    {"transparent", recipe_transparent},
    {nullptr, nullptr},
};

}  // namespace tarn_art
