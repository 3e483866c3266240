// Recipes of the instruments module's throttle quadrant (instruments/throttle_quadrant.cpp):
// the lever knobs, the trim wheel.
#include "assets/art/art.h"

#include <algorithm>
#include <cmath>

namespace tarn_art {
namespace instruments {

namespace {

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

}  // namespace

extern const RecipeEntry kThrottleQuadrantRecipes[] = {
    {"lever", recipe_lever},
    {"wheel", recipe_wheel},
    {nullptr, nullptr},
};

}  // namespace instruments
}  // namespace tarn_art
