// The banner over a panel picture.
#include "host/draw/banner.h"

#include <algorithm>

#include "host/draw/render.h"

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
    // In the host's own label face (its fonts are released at exit, as leak checkers want).
    draw_label(cr, text, 0, h * 0.1, w, h * 0.8, 0xFFFFFF);
    cairo_destroy(cr);
    cairo_surface_mark_dirty(image.surface());
}

}  // namespace tarn
