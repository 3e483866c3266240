// Recipes of the instruments module's gyro instruments (instruments/gyros.cpp): the
// magnetic compass card, the attitude card, bank scale and aircraft symbol, the turn
// coordinator's symbol, ball and tube, the HSI's deviation bar, course pointer and bug.
//
// Sections (in this order): compass_strip, horizon, bankscale, symbol, tcsymbol, ball,
// tube, bar, course, bug; the list at the end.
#include "assets/art/art.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace tarn_art {
namespace instruments {

namespace {

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

// "horizon PX_PER_DEG": the attitude card: sky above, ground below, the horizon line and
// a pitch ladder every 5 degrees.
// Sky above row `horizon`, ground below, over the whole w x h.
void sky_and_ground(cairo_t* cr, double w, double h, double horizon) {
    cairo_rectangle(cr, 0, 0, w, horizon);
    fill_shaded(cr, cairo_pattern_create_linear(0, 0, 0, horizon), {0.10, 0.35, 0.72}, {0.35, 0.62, 0.92});
    cairo_rectangle(cr, 0, horizon, w, h - horizon);
    fill_shaded(cr, cairo_pattern_create_linear(0, horizon, 0, h), {0.55, 0.35, 0.18}, {0.32, 0.19, 0.08});
}

void recipe_horizon(const Context& c) {
    cairo_t* cr = c.cr;
    const double ppd = std::stod(c.a().word(0, "1.4"));
    const double cx = c.w / 2, cy = c.h / 2;
    // disc=R: the card is a disc of radius R (transparent outside), so that the bank scale
    // drawn under it shows around it.
    if (c.a().has("disc")) {
        cairo_arc(cr, cx, cy, c.a().num("disc", cx), 0, 2 * kPi);
        cairo_clip(cr);
    }
    sky_and_ground(cr, c.w, c.h, cy);
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

// "bankscale [sky]": bank marks at 0, 10, 20, 30, 45, 60 and 90 degrees each side on an
// arc near the edge, transparent elsewhere; the zero mark is a triangle. With "sky" the
// disc inside the marks is sky above and ground below, so that a horizon card smaller than
// the face, or one moved far by pitch, never shows the case behind it.
void recipe_bankscale(const Context& c) {
    cairo_t* cr = c.cr;
    double cx = c.w / 2, cy = c.h / 2;
    c.pivot(cx, cy);
    const double R = std::min(cx, cy) - c.a().num("inset", 8);
    if (std::find(c.a().words.begin(), c.a().words.end(), "sky") != c.a().words.end()) {
        cairo_save(cr);
        cairo_arc(cr, cx, cy, R + 3, 0, 2 * kPi);
        cairo_clip(cr);
        sky_and_ground(cr, c.w, c.h, cy);
        cairo_restore(cr);
        cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
    }
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

// "symbol COLOR": the attitude indicator's miniature aircraft: level wings along the
// bitmap's top rows, their inner ends bent down, and a centre dot. The slider places the
// bitmap's top row on the horizon card's centre row, so at pitch 0 and symbol position 0
// the wings lie on the horizon line.
void recipe_symbol(const Context& c) {
    cairo_t* cr = c.cr;
    const RGB col = colour(c.a().word(0, "orange"));
    const double wing = 3, wy = wing / 2;  // wing stroke, its centre row
    set(cr, col);
    cairo_set_line_width(cr, wing);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, 2, wy);
    cairo_line_to(cr, c.w * 0.33, wy);
    cairo_line_to(cr, c.w * 0.42, wy + 6);
    cairo_move_to(cr, c.w - 2, wy);
    cairo_line_to(cr, c.w * 0.67, wy);
    cairo_line_to(cr, c.w * 0.58, wy + 6);
    cairo_stroke(cr);
    cairo_arc(cr, c.w / 2, 2.5, 2.5, 0, 2 * kPi);
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

}  // namespace

extern const RecipeEntry kGyrosRecipes[] = {
    {"compass_strip", recipe_compass_strip},
    {"horizon", recipe_horizon},
    {"bankscale", recipe_bankscale},
    {"symbol", recipe_symbol},
    {"tcsymbol", recipe_tcsymbol},
    {"ball", recipe_ball},
    {"tube", recipe_tube},
    {"bar", recipe_bar},
    {"course", recipe_course},
    {"bug", recipe_bug},
    {nullptr, nullptr},
};

}  // namespace instruments
}  // namespace tarn_art
