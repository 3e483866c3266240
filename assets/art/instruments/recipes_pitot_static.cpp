// Recipes of the instruments module's pitot-static instruments
// (instruments/pitot_static.cpp): the counter strip.
#include "assets/art/art.h"

#include <cstdio>
#include <string>

namespace tarn_art {
namespace instruments {

namespace {

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

}  // namespace

extern const RecipeEntry kPitotStaticRecipes[] = {
    {"strip", recipe_strip},
    {nullptr, nullptr},
};

}  // namespace instruments
}  // namespace tarn_art
