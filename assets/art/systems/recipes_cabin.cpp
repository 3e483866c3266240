// Recipes of the systems module's cabin gauges (systems/cabin.cpp): the marker lamps, the
// notices sign, the auto-rudder unit.
#include "assets/art/art.h"

#include <algorithm>

namespace tarn_art {
namespace systems {

namespace {

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

}  // namespace

extern const RecipeEntry kCabinRecipes[] = {
    {"marker", recipe_marker},
    {"sign", recipe_sign},
    {"autorudder", recipe_autorudder},
    {nullptr, nullptr},
};

}  // namespace systems
}  // namespace tarn_art
