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

namespace {

// The band painted into the top `h` rows of `cr`, `w` wide.
void paint_banner(cairo_t* cr, int w, int h, const std::string& text) {
    cairo_set_source_rgb(cr, 0.75, 0.05, 0.05);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_fill(cr);
    // In the host's own label face (its fonts are released at exit, as leak checkers want).
    draw_label(cr, text, 0, h * 0.1, w, h * 0.8, 0xFFFFFF);
}

}  // namespace

void draw_banner(Image& image, const std::string& text) {
    if (image.empty() || text.empty()) return;
    cairo_surface_flush(image.surface());
    cairo_t* cr = cairo_create(image.surface());
    paint_banner(cr, image.width(), banner_height(image.width(), image.height()), text);
    cairo_destroy(cr);
    cairo_surface_mark_dirty(image.surface());
}

Image make_banner(int width, int height, const std::string& text) {
    if (width <= 0 || height <= 0 || text.empty()) return Image();
    Image strip(width, banner_height(width, height), false);
    cairo_t* cr = cairo_create(strip.surface());
    paint_banner(cr, strip.width(), strip.height(), text);
    cairo_destroy(cr);
    cairo_surface_flush(strip.surface());
    return strip;
}

}  // namespace tarn
