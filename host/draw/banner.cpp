// The banner over a panel picture.
#include "host/draw/banner.h"

#include <algorithm>

namespace tarn {

Image copy_image(const Image& image) {
    if (image.empty()) return Image();
    Image copy(image.width(), image.height(), image.has_alpha());
    cairo_t* cr = cairo_create(copy.surface());
    cairo_set_source_surface(cr, image.surface(), 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    return copy;
}

int banner_height(int width, int height) { return std::clamp(std::min(width / 30, height / 6), 8, 48); }

void draw_banner(Image& image, const std::string& text) {
    if (image.empty() || text.empty()) return;
    const int w = image.width(), h = banner_height(image.width(), image.height());
    cairo_surface_flush(image.surface());
    cairo_t* cr = cairo_create(image.surface());
    cairo_set_source_rgb(cr, 0.75, 0.05, 0.05);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_fill(cr);
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, h * 0.7);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_move_to(cr, (w - e.width) / 2 - e.x_bearing, (h - e.height) / 2 - e.y_bearing);
    cairo_show_text(cr, text.c_str());
    cairo_destroy(cr);
    cairo_surface_mark_dirty(image.surface());
}

}  // namespace tarn
