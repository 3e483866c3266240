// Recipes of the instruments module's registration placard (instruments/registration.cpp).
#include "assets/art/art.h"

namespace tarn_art {
namespace instruments {

namespace {

// "placard": an engraved plate for the registration text.
void recipe_placard(const Context& c) {
    cairo_t* cr = c.cr;
    rounded(cr, 0.5, 0.5, c.w - 1, c.h - 1, 4);
    fill_shaded(cr, cairo_pattern_create_linear(0, 0, c.w, c.h), {0.78, 0.78, 0.76}, {0.52, 0.52, 0.5});
    screw(cr, 6, c.h / 2, 2.5);
    screw(cr, c.w - 6, c.h / 2, 2.5);
}

}  // namespace

extern const RecipeEntry kRegistrationRecipes[] = {
    {"placard", recipe_placard},
    {nullptr, nullptr},
};

}  // namespace instruments
}  // namespace tarn_art
