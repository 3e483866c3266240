// Recipes of the instruments module's electrical gauges (instruments/electrical.cpp): the
// generator and battery switches in one picture.
#include "assets/art/art.h"

namespace tarn_art {
namespace instruments {

namespace {

// "altbat": three switches in one picture (left generator, right generator, battery);
// frame = 4 x left + 2 x right + battery.
void recipe_altbat(const Context& c) {
    cairo_t* cr = c.cr;
    plate(cr, c.w, c.h, false);
    const char* names[3] = {"ALT L", "ALT R", "BAT"};
    const bool on[3] = {(c.frame & 4) != 0, (c.frame & 2) != 0, (c.frame & 1) != 0};
    for (int i = 0; i < 3; ++i) {
        const double cx = c.w * (i + 0.5) / 3;
        text_fit(cr, cx, 8, names[i], caption_size(8), c.w / 3 - 1, colour("white"));
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

}  // namespace

extern const RecipeEntry kElectricalRecipes[] = {
    {"altbat", recipe_altbat},
    {nullptr, nullptr},
};

}  // namespace instruments
}  // namespace tarn_art
