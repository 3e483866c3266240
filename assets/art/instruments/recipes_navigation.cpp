// Recipes of the instruments module's navigation instruments (instruments/navigation.cpp):
// the TO/FROM and OFF flags.
#include "assets/art/art.h"

namespace tarn_art {
namespace instruments {

namespace {

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

}  // namespace

extern const RecipeEntry kNavigationRecipes[] = {
    {"tofrom", recipe_tofrom},
    {nullptr, nullptr},
};

}  // namespace instruments
}  // namespace tarn_art
