// Recipes of the systems module's magneto and start gauges (systems/magnetos.cpp): the
// starter knob, the primer.
#include "assets/art/art.h"

namespace tarn_art {
namespace systems {

namespace {

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
    text_fit(cr, c.w / 2, 7, "PRIME", caption_size(8), c.w - 2, colour("white"));
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

}  // namespace

extern const RecipeEntry kMagnetosRecipes[] = {
    {"starter", recipe_starter},
    {"primer", recipe_primer},
    {nullptr, nullptr},
};

}  // namespace systems
}  // namespace tarn_art
