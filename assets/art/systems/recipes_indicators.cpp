// Recipes of the systems module's indicators (systems/indicators.cpp): the flap indicator.
#include "assets/art/art.h"

#include <algorithm>

namespace tarn_art {
namespace systems {

namespace {

// "flaps [layer=face] WORD...": a flap indicator. The face (layer=face) is the plate with
// its title and one dark window per position, WORD its legend. Each frame of the lamps
// (the default) lights the k-th window and shows a wing section with its flap at that
// setting, on black, which the icon leaves transparent: the frames are drawn bright at
// night, so they carry only what is lit, and the plate beneath dims with the panel.
void recipe_flaps(const Context& c) {
    cairo_t* cr = c.cr;
    const bool face = c.a().str("layer", "lamps") == "face";
    if (face) {
        plate(cr, c.w, c.h, false);
        text_fit(cr, c.w / 2, 9, "FLAPS", 10, c.w - 6, colour("white"));
    }
    const size_t n = c.a().words.size();
    for (size_t i = 0; i < n; ++i) {
        const double y = 28 + (c.h - 40) * i / std::max<size_t>(1, n - 1);
        const bool lit = !face && static_cast<int>(i) == c.frame;
        if (!face && !lit) continue;
        rounded(cr, 30, y - 8, c.w - 34, 16, 3);
        if (lit) set(cr, i + 1 == n ? colour("amber") : colour("green"));
        else cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
        cairo_fill(cr);
        text_fit(cr, 30 + (c.w - 34) / 2.0, y, c.a().words[i], 9, c.w - 38, lit ? RGB{0.05, 0.05, 0.05} : RGB{0.45, 0.45, 0.45});
    }
    if (face) return;
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

}  // namespace

extern const RecipeEntry kIndicatorsRecipes[] = {
    {"flaps", recipe_flaps},
    {nullptr, nullptr},
};

}  // namespace systems
}  // namespace tarn_art
