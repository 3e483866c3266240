// What of a gauge never moves, drawn once.
#include "host/draw/static_layer.h"

#include <algorithm>
#include <cmath>

#include "host/draw/blit.h"

namespace tarn {

namespace {

constexpr double kFar = 30000.0;  // elements placed beyond this are not drawn (as in render.cpp)
constexpr int kSpare = 2;         // pixels of reach added for filtering and rounding

// Picture pixels within reach of what has been drawn so far.
class Reach {
public:
    Reach(int w, int h) : w_(w), h_(h), in_(size_t(w) * size_t(h), 0) {}
    bool at(int x, int y) const { return in_[size_t(y) * size_t(w_) + size_t(x)] != 0; }
    void set(int x, int y) { in_[size_t(y) * size_t(w_) + size_t(x)] = 1; }
    void all() { std::fill(in_.begin(), in_.end(), 1); }
    // A box in picture pixels (not whole numbers), grown by the spare pixels.
    void box(double x0, double y0, double x1, double y1) {
        if (!(x1 >= x0 && y1 >= y0)) return all();  // (NaN: take everything)
        const int a = clamp(std::floor(x0) - kSpare, w_), b = clamp(std::floor(y0) - kSpare, h_);
        const int c = clamp(std::ceil(x1) + kSpare, w_), d = clamp(std::ceil(y1) + kSpare, h_);
        for (int y = b; y < d; ++y)
            for (int x = a; x < c; ++x) set(x, y);
    }
    // A disc about (cx, cy) in picture pixels, grown by the spare pixels.
    void disc(double cx, double cy, double r) {
        if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(r)) return all();
        r += kSpare;
        const int b = clamp(std::floor(cy - r), h_), d = clamp(std::ceil(cy + r) + 1, h_);
        for (int y = b; y < d; ++y) {
            const double dy = std::max(std::abs(y + 0.5 - cy) - 0.5, 0.0);  // nearest point of the row
            if (dy > r) continue;
            const double half = std::sqrt(r * r - dy * dy) + 0.5;
            const int a = clamp(std::floor(cx - half), w_), c = clamp(std::ceil(cx + half), w_);
            for (int x = a; x < c; ++x) set(x, y);
        }
    }

private:
    static int clamp(double v, int hi) { return v < 0 ? 0 : v > hi ? hi : int(v); }
    int w_, h_;
    std::vector<uint8_t> in_;
};

Decode decode_of(const ELEMENT_HEADER* e, bool night) {
    return Decode{(e->image_flags & IMAGE_USE_TRANSPARENCY) != 0, light_for(e->image_flags, night)};
}

// A bitmap's part that is not clear, as a box in gauge pixels with its top-left at (x, y).
struct Placed {
    ImageSource::Piece piece;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    explicit operator bool() const { return piece.image != nullptr; }
};

Placed placed(ImageSource& images, int32_t id, Decode how, const GaugeView& view, double x, double y) {
    Placed p;
    const Image* original = images.bitmap(id, how);
    if (original == nullptr) return p;
    p.piece = images.piece(id, how, view.sx, view.sy);
    if (p.piece.image == nullptr) return p;
    const double kx = double(p.piece.width) / original->width(), ky = double(p.piece.height) / original->height();
    p.x0 = x + p.piece.x / kx;
    p.y0 = y + p.piece.y / ky;
    p.x1 = p.x0 + p.piece.image->width() / kx;
    p.y1 = p.y0 + p.piece.image->height() / ky;
    return p;
}

// Marks what element `e` can ever reach.
void reach_of(Reach& reach, const ELEMENT_HEADER* e, ImageSource& images, const GaugeView& view) {
    const Decode how = decode_of(e, view.night);
    const double x = e->position.x, y = e->position.y, sx = view.sx, sy = view.sy;
    auto gauge_box = [&](double x0, double y0, double x1, double y1) { reach.box(x0 * sx, y0 * sy, x1 * sx, y1 * sy); };
    switch (e->element_type) {
    case ELEMENT_TYPE_STATIC_IMAGE:
        if (Placed p = placed(images, e->resource_id, how, view, x, y)) gauge_box(p.x0 - 1, p.y0 - 1, p.x1 + 1, p.y1 + 1);
        return;
    case ELEMENT_TYPE_ICON: {
        const auto* icon = reinterpret_cast<const ELEMENT_ICON*>(e);
        if (icon->picture_count == 0 || icon->picture_count > 256) return reach.all();
        for (UINT32 k = 0; k < icon->picture_count; ++k)
            if (Placed p = placed(images, e->resource_id + int32_t(k), how, view, x, y))
                gauge_box(p.x0 - 1, p.y0 - 1, p.x1 + 1, p.y1 + 1);
        return;
    }
    case ELEMENT_TYPE_NEEDLE: {
        Placed p = placed(images, e->resource_id, how, view, -e->ofs.x - 0.5, -e->ofs.y - 0.5);
        if (!p) return;
        double r = 0;
        for (double cx : {p.x0, p.x1})
            for (double cy : {p.y0, p.y1}) r = std::max(r, std::hypot(cx, cy));
        reach.disc((x + 0.5) * sx, (y + 0.5) * sy, r * std::max(sx, sy));
        return;
    }
    case ELEMENT_TYPE_MOVING_IMAGE: {
        const Image* window = images.bitmap(e->resource_id + 1, Decode{true, Light::kDay});
        gauge_box(x, y, window ? x + window->width() : view.width, window ? y + window->height() : view.height);
        return;
    }
    case ELEMENT_TYPE_STRING: {
        const auto* t = reinterpret_cast<const ELEMENT_STRING*>(e);
        gauge_box(x, y, x + std::max(0.0, double(t->img_size.x)), y + std::max(0.0, double(t->img_size.y)));
        return;
    }
    default: return reach.all();  // sliders and sprites travel without bound
    }
}

}  // namespace

const Image* StaticLayer::part(size_t i, int* x, int* y) const {
    if (i >= parts_.size() || parts_[i].image.empty()) return nullptr;
    *x = parts_[i].x;
    *y = parts_[i].y;
    return &parts_[i].image;
}

bool StaticLayer::prepare(const GaugeInstance& g, const std::vector<DrawnState>& drawn, ImageSource& images,
                          const GaugeView& view, Cover cover, std::optional<uint32_t> under) {
    if (!(cover == Cover::kOpaque || (cover == Cover::kWhole && under))) {
        clear();
        return false;
    }
    Key key;
    key.width = int(std::lround(view.width * view.sx));
    key.height = int(std::lround(view.height * view.sy));
    key.night = view.night;
    key.cover = cover;
    key.under = cover == Cover::kWhole ? under : std::nullopt;
    key.shown.resize(drawn.size());
    for (size_t i = 0; i < drawn.size(); ++i)
        key.shown[i] = g.element(i).element->element_type == ELEMENT_TYPE_STATIC_IMAGE && drawn[i].visible;
    if (key_ && *key_ == key) return true;
    key_.reset();
    parts_.clear();
    parts_.resize(drawn.size());
    picture_ = Image(key.width, key.height, false);
    if (picture_.empty()) return false;
    // The background, as drawing it in place would give.
    cairo_t* cr = cairo_create(picture_.surface());
    if (key.under) {
        const uint32_t c = *key.under;
        cairo_set_source_rgb(cr, (c >> 16 & 0xFF) / 255.0, (c >> 8 & 0xFF) / 255.0, (c & 0xFF) / 255.0);
        cairo_paint(cr);
    }
    cairo_scale(cr, view.sx, view.sy);
    draw_element(cr, g.element(0), drawn[0], images, view);
    cairo_destroy(cr);
    cairo_surface_flush(picture_.surface());
    // Each later static image shown, drawn alone as it would be drawn in place: what
    // nothing before it reaches goes into the layer, the rest into its part.
    Reach reach(key.width, key.height);
    Image alone(key.width, key.height, true);
    for (size_t i = 1; i < drawn.size(); ++i) {
        const ELEMENT_HEADER* e = g.element(i).element;
        if (std::abs(e->position.x) > kFar || std::abs(e->position.y) > kFar || std::abs(e->ofs.x) > kFar ||
            std::abs(e->ofs.y) > kFar)
            continue;  // never drawn
        if (!key.shown[i] || alone.empty()) {
            reach_of(reach, e, images, view);
            continue;
        }
        parts_[i].merged = true;
        const PixelBox box = element_box(g.element(i), drawn[i], images, view);
        if (box.empty()) continue;  // nothing to draw
        for (int y = box.y0; y < box.y1; ++y) std::fill(alone.row(y) + box.x0, alone.row(y) + box.x1, 0u);
        cairo_surface_mark_dirty(alone.surface());
        cairo_t* c = cairo_create(alone.surface());
        cairo_scale(c, view.sx, view.sy);
        draw_element(c, g.element(i), drawn[i], images, view);
        cairo_destroy(c);
        cairo_surface_flush(alone.surface());
        // The part within reach, cut to the box of its pixels.
        int x0 = box.x1, y0 = box.y1, x1 = -1, y1 = -1;
        for (int y = box.y0; y < box.y1; ++y) {
            const uint32_t* from = alone.row(y);
            uint32_t* to = picture_.row(y);
            for (int x = box.x0; x < box.x1; ++x) {
                if (from[x] == 0) continue;
                if (reach.at(x, y)) {
                    x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
                } else {
                    to[x] = over_pixel(from[x], to[x]);
                }
            }
        }
        if (x1 >= 0) {
            Part& part = parts_[i];
            part.image = Image(x1 - x0 + 1, y1 - y0 + 1, true);
            part.x = x0;
            part.y = y0;
            for (int y = y0; y <= y1; ++y) {
                const uint32_t* from = alone.row(y);
                uint32_t* to = part.image.row(y - y0);
                for (int x = x0; x <= x1; ++x) to[x - x0] = reach.at(x, y) ? from[x] : 0;
            }
            cairo_surface_mark_dirty(part.image.surface());
        }
        // What it covers is within reach of what comes after it.
        for (int y = box.y0; y < box.y1; ++y) {
            const uint32_t* from = alone.row(y);
            for (int x = box.x0; x < box.x1; ++x)
                if (from[x] != 0) reach.set(x, y);
        }
    }
    cairo_surface_mark_dirty(picture_.surface());
    key_ = std::move(key);
    return true;
}

}  // namespace tarn
