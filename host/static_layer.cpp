// What of a gauge never moves, drawn once.
#include "host/static_layer.h"

#include <algorithm>
#include <cmath>

namespace tarn {

namespace {

constexpr double kFar = 30000.0;  // elements placed beyond this are not drawn (as in render.cpp)
constexpr int kSpare = 2;         // pixels of reach added for filtering and rounding

// Premultiplied s over d, with the rounding the drawing library uses.
uint32_t over(uint32_t s, uint32_t d) {
    const uint32_t a = s >> 24;
    if (a == 0xFF) return s;
    const uint32_t ia = 255 - a;
    uint32_t rb = (d & 0x00FF00FFu) * ia + 0x00800080u;
    rb = ((rb + (rb >> 8 & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    uint32_t ag = (d >> 8 & 0x00FF00FFu) * ia + 0x00800080u;
    ag = (ag + (ag >> 8 & 0x00FF00FFu)) & 0xFF00FF00u;
    return s + (rb | ag);
}

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
    // Later static images shown whole-pixel for pixel: what nothing before them reaches
    // goes into the layer, the rest into their parts.
    Reach reach(key.width, key.height);
    for (size_t i = 1; i < drawn.size(); ++i) {
        const ELEMENT_HEADER* e = g.element(i).element;
        if (std::abs(e->position.x) > kFar || std::abs(e->position.y) > kFar || std::abs(e->ofs.x) > kFar ||
            std::abs(e->ofs.y) > kFar)
            continue;  // never drawn
        const bool smooth = (e->image_flags & IMAGE_BILINEAR_COLOR) != 0;
        Placed p;
        double left = 0, top = 0;
        if (key.shown[i]) {
            const double x = smooth ? e->position.x : std::round(e->position.x * view.sx) / view.sx;
            const double y = smooth ? e->position.y : std::round(e->position.y * view.sy) / view.sy;
            p = placed(images, e->resource_id, decode_of(e, view.night), view, x, y);
            if (!p) {
                parts_[i].merged = true;  // a clear bitmap: nothing to draw
                continue;
            }
            // One picture pixel to one resampled bitmap pixel, on whole pixels.
            left = p.x0 * view.sx;
            top = p.y0 * view.sy;
            const double w = (p.x1 - p.x0) * view.sx, h = (p.y1 - p.y0) * view.sy;
            const auto whole = [](double v) { return std::abs(v - std::round(v)) < 1.0 / 1024; };
            if (!(whole(left) && whole(top) && std::abs(w - p.piece.image->width()) < 1.0 / 1024 &&
                  std::abs(h - p.piece.image->height()) < 1.0 / 1024))
                p = Placed();
        }
        if (!p) {
            reach_of(reach, e, images, view);
            continue;
        }
        const Image& piece = *p.piece.image;
        const int X = int(std::lround(left)), Y = int(std::lround(top));
        // The part within reach, cut to the box of its pixels.
        int u0 = piece.width(), v0 = piece.height(), u1 = -1, v1 = -1;
        for (int v = 0; v < piece.height(); ++v) {
            const int py = Y + v;
            if (py < 0 || py >= key.height) continue;
            const uint32_t* from = piece.row(v);
            uint32_t* to = picture_.row(py);
            for (int u = 0; u < piece.width(); ++u) {
                const int px = X + u;
                if (px < 0 || px >= key.width || from[u] == 0) continue;
                if (reach.at(px, py)) {
                    u0 = std::min(u0, u), v0 = std::min(v0, v), u1 = std::max(u1, u), v1 = std::max(v1, v);
                } else {
                    to[px] = over(from[u], to[px]);
                }
            }
        }
        if (u1 >= 0) {
            Part& part = parts_[i];
            part.image = Image(u1 - u0 + 1, v1 - v0 + 1, true);
            part.x = X + u0;
            part.y = Y + v0;
            for (int v = v0; v <= v1; ++v) {
                const uint32_t* from = piece.row(v);
                uint32_t* to = part.image.row(v - v0);
                for (int u = u0; u <= u1; ++u)
                    to[u - u0] = reach.at(X + u, Y + v) ? from[u] : 0;
            }
            cairo_surface_mark_dirty(part.image.surface());
        }
        parts_[i].merged = true;
        // What it covers is within reach of what comes after it.
        for (int v = 0; v < piece.height(); ++v) {
            const int py = Y + v;
            if (py < 0 || py >= key.height) continue;
            const uint32_t* from = piece.row(v);
            for (int u = 0; u < piece.width(); ++u)
                if (from[u] != 0 && X + u >= 0 && X + u < key.width) reach.set(X + u, py);
        }
    }
    cairo_surface_mark_dirty(picture_.surface());
    key_ = std::move(key);
    return true;
}

}  // namespace tarn
