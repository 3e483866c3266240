// Drawing gauges. Sections: bitmaps | fonts | drawn state | elements | texts | whole
//           gauges | boxes | gauge renderer | snapshots
#include "host/draw/render.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <cmath>
#include <cstring>
#include <iostream>
#include <map>
#include <mutex>
#include <string_view>

#include "host/core/panel_config.h"
#include "host/core/utf8.h"
#include "host/draw/blit.h"
#include "host/draw/static_layer.h"

namespace tarn {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Places and shifts beyond this many pixels lie far outside any gauge; holding shifts
// there, and not drawing elements placed beyond it, keeps the drawing library's 16.16
// fixed-point arithmetic in range.
constexpr double kFar = 30000.0;
// The tallest line of text drawn (taller boxes are drawn with this height of face).
constexpr double kTallestText = 2048.0;
// The largest picture side made (resampled bitmaps, gauge pictures).
constexpr int kLargestSide = 16384;
constexpr UINT32 kDtRight = 0x00000002u;
constexpr UINT32 kDtNoPrefix = 0x00000800u;

double held(double v) { return v > kFar ? kFar : v < -kFar ? -kFar : v; }

}  // namespace

/* ---- bitmaps ---------------------------------------------------------------------- */

const Image* PluginImages::bitmap(int32_t id, Decode how) {
    const uint64_t key = uint64_t(uint32_t(id)) << 8 | uint64_t(how.transparent) << 4 | uint64_t(how.light);
    auto it = cache_.find(key);
    if (it == cache_.end()) {
        size_t size = 0;
        const void* data = plugin_.resource(uint32_t(id), "BITMAP", &size);
        Image img;
        if (data != nullptr) img = decode_dib(data, size, how, nullptr);
        it = cache_.emplace(key, std::move(img)).first;
    }
    return it->second.empty() ? nullptr : &it->second;
}

Light light_for(FLAGS32 image_flags, bool night) {
    if (!night || (image_flags & IMAGE_USE_BRIGHT)) return Light::kDay;
    return (image_flags & IMAGE_USE_LUMINOUS) ? Light::kLuminous : Light::kDim;
}

/* ---- fonts ------------------------------------------------------------------------ */

namespace {

// One face of a font and the characters it has.
struct Face {
    cairo_font_face_t* face = nullptr;
    FcCharSet* chars = nullptr;  // nullptr: take it as having every character
    bool has(uint32_t c) const { return chars == nullptr || FcCharSetHasChar(chars, c); }
};

// The faces a text element's font is drawn with (the first that has a character draws
// it), and how they fill a text box of height h: the em is em x h high and squeeze x em
// x h wide, the baseline baseline x h below the box's top.
struct Font {
    std::vector<Face> faces;
    double em = 1.0;
    double squeeze = 1.0;
    double baseline = 0.8;
};

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower((unsigned char)a[i]) != std::tolower((unsigned char)b[i])) return false;
    return true;
}

// The fonts found so far, kept for the process; at its end they are released with the
// font machinery's own caches, so that leak checkers see nothing left.
struct Fonts {
    std::mutex lock;
    std::map<std::pair<std::string, int>, Font> fonts;
    ~Fonts() {
        for (auto& [key, font] : fonts)
            for (Face& f : font.faces) {
                cairo_font_face_destroy(f.face);
                if (f.chars) FcCharSetDestroy(f.chars);
            }
        fonts.clear();
        cairo_debug_reset_static_data();
        FcFini();
    }
};

// The installed face fontconfig gives for a family; `exact` tells whether it is that family.
Face find_face(const std::string& family, bool bold, bool* exact) {
    Face f;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    *exact = false;
    if (match == nullptr) {
        f.face = cairo_toy_font_face_create("sans-serif", CAIRO_FONT_SLANT_NORMAL,
                                            bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        return f;
    }
    FcChar8* found = nullptr;
    *exact = FcPatternGetString(match, FC_FAMILY, 0, &found) == FcResultMatch &&
             same_name(reinterpret_cast<const char*>(found), family);
    FcCharSet* chars = nullptr;
    if (FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) == FcResultMatch) f.chars = FcCharSetCopy(chars);
    f.face = cairo_ft_font_face_create_for_pattern(match);
    FcPatternDestroy(match);
    return f;
}

// The font a text element names, found once through fontconfig.
const Font& font_for(std::string_view name, int weight) {
    static Fonts cache;
    std::lock_guard<std::mutex> guard(cache.lock);
    const bool bold = weight >= 600;
    auto key = std::make_pair(std::string(name), bold ? 700 : 400);
    auto it = cache.fonts.find(key);
    if (it != cache.fonts.end()) return it->second;
    // The faces to draw with, in order; the first comes from a Debian package named here.
    std::vector<std::string> families = {std::string(name), "Liberation Sans"};
    const char* package = nullptr;
    const bool seven_segment = same_name(name, "Quartz");
    if (seven_segment) {
        // The seven-segment face lacks a few characters ('/', '^', '+'): the 14-segment one has them.
        families = {"DSEG7 Classic", "DSEG14 Classic", "Liberation Sans"};
        package = "fonts-dseg";
    } else if (same_name(name, "Arial")) {
        families = {"Liberation Sans", "DejaVu Sans"};
        package = "fonts-liberation2";
    }
    Font font;
    for (size_t i = 0; i < families.size(); ++i) {
        bool exact = false;
        font.faces.push_back(find_face(families[i], bold, &exact));
        if (i == 0 && package != nullptr && !exact)
            std::cerr << "font \"" << std::string(name) << "\": " << families[0] << " is not installed (Debian package "
                      << package << "); drawing with what fontconfig gives instead\n";
    }
    // Metrics at size 100, unhinted, for the scale that makes a line fill its box.
    cairo_matrix_t size, identity;
    cairo_matrix_init_scale(&size, 100, 100);
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_scaled_font_t* scaled = cairo_scaled_font_create(font.faces[0].face, &size, &identity, options);
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(scaled, &extents);
    if (cairo_scaled_font_status(scaled) == CAIRO_STATUS_SUCCESS && extents.ascent + extents.descent > 1.0) {
        const double line = (extents.ascent + extents.descent) / 100.0;
        font.em = 1.0 / line;
        font.baseline = extents.ascent / 100.0 / line;
    }
    if (seven_segment) {
        // A display face as a Windows LCD font fills its cell: digits three quarters of the
        // line high, a digit advancing a little over half the line, centred in the cell.
        font.em = 0.75;
        font.squeeze = 0.9;
        font.baseline = 0.875;
    }
    cairo_scaled_font_destroy(scaled);
    cairo_font_options_destroy(options);
    return cache.fonts.emplace(key, std::move(font)).first->second;
}

// The element's text as characters: Windows ANSI bytes (taken as Latin-1), control
// characters as blanks, and the DrawText prefix rule ("&&" is "&", a single "&" is
// dropped).
std::vector<uint32_t> display_text(const std::string& raw, bool prefix) {
    std::vector<uint32_t> out;
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        const unsigned char c = (unsigned char)raw[i];
        if (prefix && c == '&') {
            if (i + 1 < raw.size() && raw[i + 1] == '&') {
                out.push_back('&');
                ++i;
            }
            continue;
        }
        out.push_back(c < 0x20 || c == 0x7F ? uint32_t(' ') : uint32_t(c));
    }
    return out;
}

// Characters in a row that one face draws.
struct Run {
    const Face* face;
    std::string utf8;
    double advance = 0;
};

// Each character in the first face that has it (the last face when none has), in runs of
// one face; their advances set in the context's font size. Returns the whole width.
double lay_out_runs(cairo_t* cr, const Font& font, const std::vector<uint32_t>& shown, std::vector<Run>& runs) {
    runs.clear();
    for (uint32_t c : shown) {
        const Face* face = &font.faces.back();
        for (const Face& f : font.faces)
            if (f.has(c)) {
                face = &f;
                break;
            }
        if (runs.empty() || runs.back().face != face) runs.push_back({face, {}});
        append_utf8(runs.back().utf8, c);
    }
    double width = 0;
    for (Run& r : runs) {
        cairo_set_font_face(cr, r.face->face);
        cairo_text_extents_t ext;
        cairo_text_extents(cr, r.utf8.c_str(), &ext);
        r.advance = ext.x_advance;
        width += r.advance;
    }
    return width;
}

void set_colour(cairo_t* cr, COLORREF colour, Light light) {
    unsigned r = colour & 0xFF, g = colour >> 8 & 0xFF, b = colour >> 16 & 0xFF;
    light_rgb(light, r, g, b);
    cairo_set_source_rgb(cr, r / 255.0, g / 255.0, b / 255.0);
}

}  // namespace

/* ---- drawn state ------------------------------------------------------------------ */

bool DrawnState::take(const ElementState& s) {
    const ELEMENT_HEADER* e = s.element;
    bool changed = false;
    auto set = [&changed](auto& field, auto value) {
        if (!(field == value)) {
            field = value;
            changed = true;
        }
    };
    // A value that is no number keeps the pose drawn before.
    auto pose = [&set](double& field, double value) {
        if (std::isfinite(value)) set(field, held(value));
    };
    set(visible, !s.hidden());
    set(flags, e->image_flags);
    switch (e->element_type) {
    case ELEMENT_TYPE_NEEDLE: pose(a, std::fmod(s.angle, 360.0)); break;
    case ELEMENT_TYPE_ICON: set(frame, s.frame); break;
    case ELEMENT_TYPE_SLIDER: {
        const auto* sl = reinterpret_cast<const ELEMENT_SLIDER*>(e);
        pose(a, s.value[0] * sl->scale_x);
        pose(b, s.value[1] * sl->scale_y);
        break;
    }
    case ELEMENT_TYPE_MOVING_IMAGE: {
        const auto* m = reinterpret_cast<const ELEMENT_MOVING_IMAGE*>(e);
        // How far along its travel, 0 at the minimum, 1 at the maximum.
        auto travel = [](double v, double lo, double hi) {
            if (lo == hi) return 0.0;
            const double low = std::fmin(lo, hi), high = std::fmax(lo, hi);
            const double held_v = v < low ? low : v > high ? high : v;
            return (held_v - lo) / (hi - lo);
        };
        pose(a, travel(s.value[0], m->min_x, m->max_x));
        pose(b, travel(s.value[1], m->min_y, m->max_y));
        break;
    }
    case ELEMENT_TYPE_SPRITE: {
        const auto* sp = reinterpret_cast<const ELEMENT_SPRITE*>(e);
        pose(a, s.value[0] * sp->scale_x);
        pose(b, s.value[1] * sp->scale_y);
        pose(c, std::fmod(s.value[2] * sp->scale_0, 360.0));
        break;
    }
    case ELEMENT_TYPE_STRING: {
        const auto* t = reinterpret_cast<const ELEMENT_STRING*>(e);
        const std::string_view now =
            t->string ? std::string_view(t->string, strnlen(t->string, t->string_size)) : std::string_view();
        if (now != text) {
            text.assign(now);
            changed = true;
        }
        set(fg, t->fg_color);
        set(bg, t->bg_color);
        if (std::memcmp(face, t->font_face, sizeof face) != 0) {
            std::memcpy(face, t->font_face, sizeof face);
            changed = true;
        }
        break;
    }
    default: break;
    }
    return changed;
}

/* ---- elements --------------------------------------------------------------------- */

bool ImageSource::opaque(const Image& image) {
    auto it = opaque_.find(&image);
    if (it != opaque_.end()) return it->second;
    bool solid = !image.has_alpha();
    if (!solid) {
        cairo_surface_flush(image.surface());
        solid = true;
        for (int y = 0; y < image.height() && solid; ++y) {
            const uint32_t* row = image.row(y);
            for (int x = 0; x < image.width(); ++x)
                if (row[x] >> 24 != 0xFF) {
                    solid = false;
                    break;
                }
        }
    }
    opaque_.emplace(&image, solid);
    return solid;
}

ImageSource::Piece ImageSource::piece(int32_t id, Decode how, double sx, double sy) {
    const Image* whole = scaled(id, how, sx, sy);
    if (whole == nullptr) return {};
    const Key key{id, int(how.transparent) << 4 | int(how.light), whole->width(), whole->height()};
    auto it = pieces_.find(key);
    if (it != pieces_.end()) return it->second;
    Piece p{whole, 0, 0, whole->width(), whole->height()};
    if (whole->has_alpha()) {
        // The box of the pixels that are not clear.
        cairo_surface_flush(whole->surface());
        int x0 = whole->width(), y0 = whole->height(), x1 = -1, y1 = -1;
        for (int y = 0; y < whole->height(); ++y) {
            const uint32_t* row = whole->row(y);
            for (int x = 0; x < whole->width(); ++x)
                if (row[x] >> 24) {
                    x0 = std::min(x0, x);
                    x1 = std::max(x1, x);
                    y0 = std::min(y0, y);
                    y1 = std::max(y1, y);
                }
        }
        if (x1 < 0) {
            p.image = nullptr;  // clear throughout: nothing to draw
        } else if (long(x1 - x0 + 1) * (y1 - y0 + 1) * 5 < long(whole->width()) * whole->height() * 4) {
            Image part(x1 - x0 + 1, y1 - y0 + 1, true);
            if (!part.empty()) {
                for (int y = y0; y <= y1; ++y)
                    std::memcpy(part.row(y - y0), whole->row(y) + x0, size_t(x1 - x0 + 1) * 4);
                cairo_surface_mark_dirty(part.surface());
                const Image& kept = parts_.emplace(key, std::move(part)).first->second;
                p = {&kept, x0, y0, whole->width(), whole->height()};
            }
        }
    }
    pieces_.emplace(key, p);
    return p;
}

const Image* ImageSource::scaled(int32_t id, Decode how, double sx, double sy) {
    const Image* original = bitmap(id, how);
    if (original == nullptr || (sx == 1.0 && sy == 1.0)) return original;
    const double sw = std::round(original->width() * sx), sh = std::round(original->height() * sy);
    if (!(sw <= kLargestSide && sh <= kLargestSide)) return nullptr;  // (NaN too)
    const int w = std::max(1, int(sw)), h = std::max(1, int(sh));
    if (w == original->width() && h == original->height()) return original;
    const Key key{id, int(how.transparent) << 4 | int(how.light), w, h};
    auto it = scaled_.find(key);
    if (it != scaled_.end()) return &it->second;
    Image out(w, h, true);
    if (out.empty()) return nullptr;
    cairo_t* cr = cairo_create(out.surface());
    cairo_scale(cr, double(w) / original->width(), double(h) / original->height());
    cairo_set_source_surface(cr, original->surface(), 0, 0);
    // Edges are resampled against themselves, not against transparency outside.
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(out.surface());
    return &scaled_.emplace(key, std::move(out)).first->second;
}

namespace {

// A bitmap ready to draw at the view's scale: the picture and its size in gauge pixels.
// A bitmap ready to draw at the view's scale: its size in gauge pixels, and the part of
// it that is not clear (resampled), with that part's place and size in gauge pixels.
struct Source {
    const Image* image = nullptr;
    double w = 0, h = 0;            // the whole bitmap
    double ox = 0, oy = 0;          // where the part begins
    double pw = 0, ph = 0;          // the part's size
    double kx = 1, ky = 1;          // resampled pixels a gauge pixel
    explicit operator bool() const { return image != nullptr; }
};

Source source_for(ImageSource& images, int32_t id, Decode how, const GaugeView& view) {
    Source src;
    const Image* original = images.bitmap(id, how);
    if (original == nullptr) return src;
    const ImageSource::Piece piece = images.piece(id, how, view.sx, view.sy);
    if (piece.image == nullptr) return src;
    src.image = piece.image;
    src.w = original->width();
    src.h = original->height();
    src.kx = piece.width / src.w;
    src.ky = piece.height / src.h;
    src.ox = piece.x / src.kx;
    src.oy = piece.y / src.ky;
    src.pw = piece.image->width() / src.kx;
    src.ph = piece.image->height() / src.ky;
    return src;
}

// The pattern of a source whose top-left lies at gauge point (x, y) (in the current user
// space), its resampled pixels mapped back onto gauge pixels.
cairo_pattern_t* pattern_for(const Source& src, double x, double y, bool smooth) {
    cairo_pattern_t* p = cairo_pattern_create_for_surface(src.image->surface());
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, src.kx, src.ky);
    cairo_matrix_translate(&m, -(x + src.ox), -(y + src.oy));
    cairo_pattern_set_matrix(p, &m);
    cairo_pattern_set_filter(p, smooth ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_NEAREST);
    return p;
}

// Draws a source with its top-left at gauge point (x, y) in the current user space; a
// source that may be turned (`turned`) by the loops that visit only what it reaches.
void paint_source(cairo_t* cr, const Source& src, double x, double y, bool smooth, bool turned = false) {
    if (turned) {
        cairo_matrix_t m;
        cairo_matrix_init_scale(&m, src.kx, src.ky);
        cairo_matrix_translate(&m, -(x + src.ox), -(y + src.oy));
        if (over_affine(cr, *src.image, m, smooth)) return;
    }
    cairo_pattern_t* p = pattern_for(src, x, y, smooth);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
}

// A gauge point moved to the nearest whole picture pixel (for pictures not drawn smooth).
double snap(double v, double scale) { return std::round(v * scale) / scale; }

// A shift in gauge pixels: whole picture pixels unless the element is drawn smooth.
double shift(double v, double scale, bool smooth) { return smooth ? v : snap(v, scale); }

}  // namespace

void draw_element(cairo_t* cr, const ElementState& s, const DrawnState& d, ImageSource& images, const GaugeView& view) {
    if (!d.visible) return;
    const ELEMENT_HEADER* e = s.element;
    if (std::abs(e->position.x) > kFar || std::abs(e->position.y) > kFar || std::abs(e->ofs.x) > kFar ||
        std::abs(e->ofs.y) > kFar)
        return;
    const Decode how{(e->image_flags & IMAGE_USE_TRANSPARENCY) != 0, light_for(e->image_flags, view.night)};
    const bool smooth = (e->image_flags & IMAGE_BILINEAR_COLOR) != 0;
    const double x = e->position.x, y = e->position.y;
    switch (e->element_type) {
    case ELEMENT_TYPE_STATIC_IMAGE:
    case ELEMENT_TYPE_ICON:
    case ELEMENT_TYPE_SLIDER: {
        int32_t id = e->resource_id;
        double dx = 0, dy = 0;
        if (e->element_type == ELEMENT_TYPE_ICON) {
            if (d.frame < 0) return;
            id += d.frame;
        } else if (e->element_type == ELEMENT_TYPE_SLIDER) {
            dx = d.a;
            dy = d.b;
        }
        const Source src = source_for(images, id, how, view);
        if (!src) return;
        paint_source(cr, src, shift(x + dx, view.sx, smooth), shift(y + dy, view.sy, smooth), smooth);
        break;
    }
    case ELEMENT_TYPE_NEEDLE: {
        const Source src = source_for(images, e->resource_id, how, view);
        if (!src) return;
        cairo_save(cr);
        // The pivot pixel's centre on the background point's centre.
        cairo_translate(cr, x + 0.5, y + 0.5);
        if (d.a != 0.0) cairo_rotate(cr, d.a * kPi / 180.0);
        paint_source(cr, src, -e->ofs.x - 0.5, -e->ofs.y - 0.5, smooth, true);
        cairo_restore(cr);
        break;
    }
    case ELEMENT_TYPE_MOVING_IMAGE: {
        const Source src = source_for(images, e->resource_id, how, view);
        if (!src) return;
        const Source window = source_for(images, e->resource_id + 1, Decode{true, Light::kDay}, view);
        const double ww = window ? window.w : view.width - x;
        const double wh = window ? window.h : view.height - y;
        if (ww <= 0 || wh <= 0) return;
        const double sx = shift(x + d.a * (ww - src.w), view.sx, smooth);
        const double sy = shift(y + d.b * (wh - src.h), view.sy, smooth);
        cairo_save(cr);
        cairo_rectangle(cr, x, y, ww, wh);
        cairo_clip(cr);
        cairo_pattern_t* strip = pattern_for(src, sx, sy, smooth);
        cairo_set_source(cr, strip);
        if (window) {
            cairo_pattern_t* mask = pattern_for(window, x, y, false);
            cairo_mask(cr, mask);
            cairo_pattern_destroy(mask);
        } else {
            cairo_paint(cr);
        }
        cairo_pattern_destroy(strip);
        cairo_restore(cr);
        break;
    }
    case ELEMENT_TYPE_SPRITE: {
        const Source src = source_for(images, e->resource_id, how, view);
        if (!src) return;
        const auto* sp = reinterpret_cast<const ELEMENT_SPRITE*>(e);
        // A texture scale of 0 is drawn as 1, as an icon's zero scale is.
        const double tx = sp->texture_scale_x == 0.0f || !std::isfinite(sp->texture_scale_x) ? 1.0 : sp->texture_scale_x;
        const double ty = sp->texture_scale_y == 0.0f || !std::isfinite(sp->texture_scale_y) ? 1.0 : sp->texture_scale_y;
        cairo_save(cr);
        cairo_translate(cr, x + e->ofs.x, y + e->ofs.y);
        if (d.c != 0.0) cairo_rotate(cr, -d.c * kPi / 180.0);
        cairo_translate(cr, shift(d.a, view.sx, smooth), shift(d.b, view.sy, smooth));
        if (tx != 1.0 || ty != 1.0) cairo_scale(cr, tx, ty);
        paint_source(cr, src, -src.w / 2.0, -src.h / 2.0, smooth, true);
        cairo_restore(cr);
        break;
    }
    case ELEMENT_TYPE_STRING:
        draw_text(cr, *reinterpret_cast<const ELEMENT_STRING*>(e), d.text, view.night);
        break;
    default: break;
    }
}

/* ---- texts ------------------------------------------------------------------------ */

void draw_text(cairo_t* cr, const ELEMENT_STRING& t, const std::string& text, bool night) {
    const double x = t.header.position.x, y = t.header.position.y;
    const double w = std::min(double(t.img_size.x), 2 * kFar), box_h = std::min(double(t.img_size.y), 2 * kFar);
    if (w <= 0 || box_h <= 0 || std::abs(x) > kFar || std::abs(y) > kFar) return;
    // The face's height, held to what can be drawn (the box stays as it is).
    cairo_matrix_t ctm;
    cairo_get_matrix(cr, &ctm);
    const double h = std::min(box_h, kTallestText / std::max(std::hypot(ctm.yy, ctm.xy), 1e-6));
    const bool transparent = (t.header.image_flags & IMAGE_USE_TRANSPARENCY) != 0;
    const Light light = light_for(t.header.image_flags, night);
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, box_h);
    cairo_clip(cr);
    if (!(transparent && t.bg_color == 0)) {
        set_colour(cr, t.bg_color, light);
        cairo_paint(cr);
    }
    const std::vector<uint32_t> shown = display_text(text, !(t.draw_text_flags & kDtNoPrefix));
    if (!shown.empty() && !(transparent && t.fg_color == 0)) {
        const Font& font = font_for(std::string_view(t.font_face, strnlen(t.font_face, sizeof t.font_face)),
                                    t.font_weight);
        cairo_matrix_t size;
        cairo_matrix_init_scale(&size, font.em * font.squeeze * h, font.em * h);
        cairo_set_font_matrix(cr, &size);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_set_font_options(cr, options);
        cairo_font_options_destroy(options);
        std::vector<Run> runs;
        const double width = lay_out_runs(cr, font, shown, runs);
        double tx = x;
        if (t.draw_text_flags & DT_CENTER) tx = x + (w - width) / 2;
        else if (t.draw_text_flags & kDtRight) tx = x + w - width;
        // The line fills the box's height, so top, centre and bottom alignment coincide.
        const double baseline = y + (box_h - h) / 2 + font.baseline * h;
        set_colour(cr, t.fg_color, light);
        for (const Run& r : runs) {
            cairo_set_font_face(cr, r.face->face);
            cairo_move_to(cr, tx, baseline);
            cairo_show_text(cr, r.utf8.c_str());
            tx += r.advance;
        }
    }
    cairo_restore(cr);
}

/* ---- labels ----------------------------------------------------------------------- */

namespace {

}  // namespace

std::string draw_label(cairo_t* cr, const std::string& text, double x, double y, double w, double h, unsigned rgb) {
    if (w <= 0 || h <= 0) return "";
    const Font& font = font_for("Arial", 400);
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_matrix_t size;
    cairo_matrix_init_scale(&size, font.em * font.squeeze * h, font.em * h);
    cairo_set_font_matrix(cr, &size);
    std::vector<uint32_t> chars = utf8_chars(panel_text_to_utf8(text));
    for (uint32_t& c : chars)
        if (c < 0x20 || c == 0x7F) c = ' ';
    // Runs of characters of one face, and their width.
    std::vector<Run> runs;
    double width = lay_out_runs(cr, font, chars, runs);
    // Too wide: the start of it, then an ellipsis (halving the cut, then one at a time).
    if (width > w && !chars.empty()) {
        size_t keep = chars.size();
        std::vector<uint32_t> cut;
        while (keep > 0) {
            keep = keep > 16 ? keep / 2 + keep / 4 : keep - 1;
            cut.assign(chars.begin(), chars.begin() + long(keep));
            cut.push_back(0x2026);
            width = lay_out_runs(cr, font, cut, runs);
            if (width <= w) break;
        }
        if (keep < chars.size()) {
            // Grow back one character at a time while it still fits.
            for (size_t more = keep + 1; more < chars.size(); ++more) {
                std::vector<uint32_t> next(chars.begin(), chars.begin() + long(more));
                next.push_back(0x2026);
                std::vector<Run> next_runs;
                const double next_width = lay_out_runs(cr, font, next, next_runs);
                if (next_width > w) break;
                runs = std::move(next_runs);
                width = next_width;
            }
        }
    }
    double tx = x + std::max(0.0, (w - width) / 2);
    const double baseline = y + font.baseline * h;
    std::string drawn;
    cairo_set_source_rgb(cr, (rgb >> 16 & 0xFF) / 255.0, (rgb >> 8 & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
    for (const Run& r : runs) {
        cairo_set_font_face(cr, r.face->face);
        cairo_move_to(cr, tx, baseline);
        cairo_show_text(cr, r.utf8.c_str());
        tx += r.advance;
        drawn += r.utf8;
    }
    cairo_restore(cr);
    return drawn;
}

/* ---- whole gauges ----------------------------------------------------------------- */

namespace {

bool meets(const PixelBox& a, const PixelBox& b) { return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1; }

// How the gauge's background, as it shows in `root_drawn`, covers a picture of the
// view's size.
Cover cover_of(const GaugeInstance& g, const DrawnState& root_drawn, ImageSource& images, const GaugeView& view) {
    const ELEMENT_HEADER* root = g.element(0).element;
    if (root->element_type != ELEMENT_TYPE_STATIC_IMAGE || root->position.x != 0 || root->position.y != 0 ||
        !root_drawn.visible)
        return Cover::kNone;
    const Decode how{(root->image_flags & IMAGE_USE_TRANSPARENCY) != 0, light_for(root->image_flags, view.night)};
    const Image* background = images.scaled(root->resource_id, how, view.sx, view.sy);
    if (background == nullptr || background->width() != int(std::lround(view.width * view.sx)) ||
        background->height() != int(std::lround(view.height * view.sy)))
        return Cover::kNone;
    return images.opaque(*background) ? Cover::kOpaque : Cover::kWhole;
}

// Draws the gauge; with `only`, just the elements whose boxes meet those boxes (the
// context clipped to them). On a clear picture (`onto` false) the background replaces
// what was there, and where it is transparent nothing is; onto what lies under the gauge
// (`onto` true) everything is laid over it, an opaque background being copied. With a
// static layer, the layer is copied in place of the background, and the static images
// merged into it draw only their parts within reach of what lies under them.
void draw_all(cairo_t* cr, const GaugeInstance& g, const std::vector<DrawnState>& drawn, ImageSource& images,
              const GaugeView& view, Cover cover, bool onto, const StaticLayer* layer = nullptr,
              const std::vector<PixelBox>* boxes = nullptr, const std::vector<PixelBox>* only = nullptr) {
    // A picture drawn pixel for pixel at (x, y) of the gauge's picture.
    cairo_matrix_t origin;  // the gauge's picture pixels, unscaled
    cairo_get_matrix(cr, &origin);
    cairo_matrix_init_translate(&origin, origin.x0, origin.y0);
    auto paint_pixels = [cr, &origin](const Image& picture, int x, int y) {
        cairo_save(cr);
        cairo_set_matrix(cr, &origin);
        if (copy_opaque(cr, picture, x, y)) {
            cairo_restore(cr);
            return;
        }
        cairo_set_source_surface(cr, picture.surface(), x, y);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
    };
    cairo_scale(cr, view.sx, view.sy);
    if (layer != nullptr) {
        // (The layer has no alpha: laid over, it replaces what was there, as a plain copy.)
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        paint_pixels(layer->picture(), 0, 0);
    } else {
        const bool opaque = cover == Cover::kOpaque;
        if (opaque || !onto) cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        if (!opaque && !onto) {
            cairo_set_source_rgba(cr, 0, 0, 0, 0);
            cairo_paint(cr);
        }
        draw_element(cr, g.element(0), drawn[0], images, view);
    }
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    for (size_t i = 1; i < g.element_count(); ++i) {
        if (only) {
            bool needed = false;
            for (const PixelBox& b : *only) needed = needed || meets((*boxes)[i], b);
            if (!needed) continue;
        }
        if (layer != nullptr && layer->merged(i)) {
            int x = 0, y = 0;
            if (const Image* part = layer->part(i, &x, &y)) paint_pixels(*part, x, y);
            continue;
        }
        draw_element(cr, g.element(i), drawn[i], images, view);
    }
}

GaugeView view_of(const GaugeInstance& g, int width, int height, bool night) {
    GaugeView v;
    v.width = std::max(1, g.width());
    v.height = std::max(1, g.height());
    v.sx = width > 0 ? double(width) / v.width : 1.0;
    v.sy = height > 0 ? double(height) / v.height : 1.0;
    v.night = night;
    return v;
}

}  // namespace

/* ---- boxes ------------------------------------------------------------------------ */

namespace {

// Bounds of points in gauge pixels, grown to the picture pixels they touch plus one for
// the filters, and held to the picture.
struct Bounds {
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    void add(double x, double y) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
    }
    PixelBox pixels(const GaugeView& view, int width, int height) const {
        if (!(x1 >= x0 && y1 >= y0)) return {};
        PixelBox b;
        b.x0 = int(std::max(0.0, std::floor(x0 * view.sx) - 1));
        b.y0 = int(std::max(0.0, std::floor(y0 * view.sy) - 1));
        b.x1 = int(std::min(double(width), std::ceil(x1 * view.sx) + 1));
        b.y1 = int(std::min(double(height), std::ceil(y1 * view.sy) + 1));
        return b.empty() ? PixelBox{} : b;
    }
};

// The corners of a w x h picture at (x, y), under the context's current transform,
// in gauge pixels (the transform being rotation and translation only, applied here).
void add_corners(Bounds& b, const cairo_matrix_t& m, double x, double y, double w, double h) {
    for (double cx : {x, x + w})
        for (double cy : {y, y + h}) {
            double px = cx, py = cy;
            cairo_matrix_transform_point(&m, &px, &py);
            b.add(px, py);
        }
}

}  // namespace

PixelBox element_box(const ElementState& s, const DrawnState& d, ImageSource& images, const GaugeView& view) {
    if (!d.visible) return {};
    const ELEMENT_HEADER* e = s.element;
    if (std::abs(e->position.x) > kFar || std::abs(e->position.y) > kFar || std::abs(e->ofs.x) > kFar ||
        std::abs(e->ofs.y) > kFar)
        return {};
    const Decode how{(e->image_flags & IMAGE_USE_TRANSPARENCY) != 0, light_for(e->image_flags, view.night)};
    const bool smooth = (e->image_flags & IMAGE_BILINEAR_COLOR) != 0;
    const double x = e->position.x, y = e->position.y;
    const int width = int(std::lround(view.width * view.sx)), height = int(std::lround(view.height * view.sy));
    Bounds b;
    cairo_matrix_t m;
    switch (e->element_type) {
    case ELEMENT_TYPE_STATIC_IMAGE:
    case ELEMENT_TYPE_ICON:
    case ELEMENT_TYPE_SLIDER: {
        if (e->element_type == ELEMENT_TYPE_ICON && d.frame < 0) return {};
        const int32_t id = e->resource_id + (e->element_type == ELEMENT_TYPE_ICON ? d.frame : 0);
        const Source src = source_for(images, id, how, view);
        if (!src) return {};
        const bool slider = e->element_type == ELEMENT_TYPE_SLIDER;
        const double dx = slider ? d.a : 0, dy = slider ? d.b : 0;
        const double left = shift(x + dx, view.sx, smooth) + src.ox, top = shift(y + dy, view.sy, smooth) + src.oy;
        b.add(left, top);
        b.add(left + src.pw, top + src.ph);
        break;
    }
    case ELEMENT_TYPE_NEEDLE: {
        const Source src = source_for(images, e->resource_id, how, view);
        if (!src) return {};
        cairo_matrix_init_translate(&m, x + 0.5, y + 0.5);
        cairo_matrix_rotate(&m, d.a * kPi / 180.0);
        add_corners(b, m, -e->ofs.x - 0.5 + src.ox, -e->ofs.y - 0.5 + src.oy, src.pw, src.ph);
        break;
    }
    case ELEMENT_TYPE_MOVING_IMAGE: {
        if (images.bitmap(e->resource_id, how) == nullptr) return {};
        const Image* window = images.bitmap(e->resource_id + 1, Decode{true, Light::kDay});
        b.add(x, y);
        b.add(window ? x + window->width() : view.width, window ? y + window->height() : view.height);
        break;
    }
    case ELEMENT_TYPE_SPRITE: {
        const Source src = source_for(images, e->resource_id, how, view);
        if (!src) return {};
        const auto* sp = reinterpret_cast<const ELEMENT_SPRITE*>(e);
        const double tx = sp->texture_scale_x == 0.0f || !std::isfinite(sp->texture_scale_x) ? 1.0 : sp->texture_scale_x;
        const double ty = sp->texture_scale_y == 0.0f || !std::isfinite(sp->texture_scale_y) ? 1.0 : sp->texture_scale_y;
        cairo_matrix_init_translate(&m, x + e->ofs.x, y + e->ofs.y);
        cairo_matrix_rotate(&m, -d.c * kPi / 180.0);
        cairo_matrix_translate(&m, shift(d.a, view.sx, smooth), shift(d.b, view.sy, smooth));
        cairo_matrix_scale(&m, tx, ty);
        add_corners(b, m, -src.w / 2.0 + src.ox, -src.h / 2.0 + src.oy, src.pw, src.ph);
        break;
    }
    case ELEMENT_TYPE_STRING: {
        const auto* t = reinterpret_cast<const ELEMENT_STRING*>(e);
        if (t->img_size.x <= 0 || t->img_size.y <= 0) return {};
        b.add(x, y);
        b.add(x + t->img_size.x, y + t->img_size.y);
        break;
    }
    default: return {};
    }
    return b.pixels(view, width, height);
}

/* ---- gauge renderer --------------------------------------------------------------- */

void add_box(std::vector<PixelBox>& boxes, PixelBox b) {
    if (b.empty()) return;
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t i = 0; i < boxes.size(); ++i) {
            const PixelBox& o = boxes[i];
            if (b.x0 <= o.x1 && o.x0 <= b.x1 && b.y0 <= o.y1 && o.y0 <= b.y1) {
                b = {std::min(b.x0, o.x0), std::min(b.y0, o.y0), std::max(b.x1, o.x1), std::max(b.y1, o.y1)};
                boxes.erase(boxes.begin() + long(i));
                merged = true;
                break;
            }
        }
    }
    boxes.push_back(b);
}

GaugeRenderer::GaugeRenderer(const GaugeInstance& gauge, ImageSource& images, int width, int height)
    : gauge_(gauge), images_(images), layer_(std::make_unique<StaticLayer>()), width_(width), height_(height) {}

GaugeRenderer::~GaugeRenderer() = default;

void GaugeRenderer::set_under(std::optional<uint32_t> colour) {
    if (colour != under_) stale_ = true;
    under_ = colour;
}

void GaugeRenderer::set_night(bool night) {
    if (night != night_) stale_ = true;
    night_ = night;
}

bool GaugeRenderer::take_changes() {
    const bool changed = take();
    // The static layer follows what the gauge shows now, once a frame.
    const GaugeView view = view_of(gauge_, width_, height_, night_);
    layer_ready_ = layered_ && layer_->prepare(gauge_, drawn_, images_, view, cover_, under_);
    return changed;
}

bool GaugeRenderer::take() {
    constexpr size_t kMaxBoxes = 8;
    const GaugeView view = view_of(gauge_, width_, height_, night_);
    const int w = width_ > 0 ? width_ : view.width, h = height_ > 0 ? height_ : view.height;
    if (w != picture_width_ || h != picture_height_) {
        picture_width_ = w;
        picture_height_ = h;
        stale_ = true;
    }
    if (drawn_.size() != gauge_.element_count()) {
        drawn_.assign(gauge_.element_count(), DrawnState());
        boxes_.assign(gauge_.element_count(), PixelBox());
        stale_ = true;
    }
    dirty_.clear();
    bool all = stale_;
    for (size_t i = 0; i < drawn_.size(); ++i) {
        if (!drawn_[i].take(gauge_.element(i)) && !stale_) continue;
        const PixelBox now = element_box(gauge_.element(i), drawn_[i], images_, view);
        if (!all) {
            add_box(dirty_, boxes_[i]);
            add_box(dirty_, now);
        }
        boxes_[i] = now;
    }
    long area = 0;
    for (const PixelBox& b : dirty_) area += b.area();
    // Many boxes, or most of the picture: the whole picture is drawn again.
    if (dirty_.size() > kMaxBoxes || area * 2 > long(w) * h) all = true;
    if (all) dirty_.assign(1, PixelBox{0, 0, w, h});
    cover_ = cover_of(gauge_, drawn_[0], images_, view);
    // Onto a panel of one colour, a background covering the gauge is laid over it in one copy.
    opaque_ = cover_ == Cover::kOpaque || (cover_ == Cover::kWhole && under_.has_value());
    stale_ = false;
    whole_ = all;
    return !dirty_.empty();
}

void GaugeRenderer::draw_onto(cairo_t* cr, const std::vector<PixelBox>& only) {
    if (drawn_.size() != gauge_.element_count()) return;  // (no changes taken yet)
    const GaugeView view = view_of(gauge_, width_, height_, night_);
    draw_all(cr, gauge_, drawn_, images_, view, cover_, true, layer_ready_ ? layer_.get() : nullptr, &boxes_, &only);
}

bool GaugeRenderer::refresh() {
    if (image_.empty()) stale_ = true;
    if (!take()) return false;
    opaque_ = cover_ == Cover::kOpaque;  // (a picture of its own has nothing under it)
    if (image_.empty() || image_.width() != picture_width_ || image_.height() != picture_height_) {
        image_ = Image(picture_width_, picture_height_, true);
        dirty_.assign(1, PixelBox{0, 0, picture_width_, picture_height_});
        whole_ = true;
    }
    if (image_.empty()) {
        dirty_.clear();
        return false;
    }
    const GaugeView view = view_of(gauge_, width_, height_, night_);
    cairo_t* cr = cairo_create(image_.surface());
    if (!whole_) {
        for (const PixelBox& b : dirty_) cairo_rectangle(cr, b.x0, b.y0, b.x1 - b.x0, b.y1 - b.y0);
        cairo_clip(cr);
    }
    draw_all(cr, gauge_, drawn_, images_, view, cover_, false, nullptr, &boxes_, whole_ ? nullptr : &dirty_);
    cairo_destroy(cr);
    cairo_surface_flush(image_.surface());
    return true;
}

Image render_gauge(const GaugeInstance& gauge, ImageSource& images, bool night, int width, int height) {
    const GaugeView view = view_of(gauge, width, height, night);
    Image out(width > 0 ? width : view.width, height > 0 ? height : view.height, true);
    if (out.empty()) return out;
    std::vector<DrawnState> drawn(gauge.element_count());
    for (size_t i = 0; i < drawn.size(); ++i) drawn[i].take(gauge.element(i));
    cairo_t* cr = cairo_create(out.surface());
    draw_all(cr, gauge, drawn, images, view, cover_of(gauge, drawn[0], images, view), false);
    cairo_destroy(cr);
    cairo_surface_flush(out.surface());
    return out;
}

/* ---- snapshots -------------------------------------------------------------------- */

Image snapshot_gauge(const GaugeInstance& gauge, bool night) {
    PluginImages images(gauge.plugin());
    return render_gauge(gauge, images, night);
}

Image snapshot_gauges(const std::vector<std::unique_ptr<GaugeInstance>>& instances, bool night) {
    constexpr int kGap = 8, kRow = 1600, kMaxSide = 16384;
    // Rows of gauges left to right, a new row where the next would pass kRow pixels.
    struct At {
        const GaugeInstance* g;
        int x, y;
    };
    std::vector<At> at;
    int x = kGap, y = kGap, row = 0, width = kGap;
    for (const auto& g : instances) {
        const int w = std::max(1, g->width()), h = std::max(1, g->height());
        if (x > kGap && x + w > kRow) {
            x = kGap;
            y += row + kGap;
            row = 0;
        }
        at.push_back({g.get(), x, y});
        x += w + kGap;
        row = std::max(row, h);
        width = std::max(width, x);
    }
    const int height = std::min(kMaxSide, y + row + kGap);
    Image sheet(std::min(kMaxSide, width), std::max(height, kGap * 2), false);
    if (sheet.empty()) return sheet;
    cairo_t* cr = cairo_create(sheet.surface());
    cairo_set_source_rgb(cr, 0x20 / 255.0, 0x22 / 255.0, 0x24 / 255.0);
    cairo_paint(cr);
    std::map<const Plugin*, std::unique_ptr<PluginImages>> images;
    for (const At& a : at) {
        auto& source = images[&a.g->plugin()];
        if (!source) source = std::make_unique<PluginImages>(a.g->plugin());
        Image picture = render_gauge(*a.g, *source, night);
        cairo_set_source_surface(cr, picture.surface(), a.x, a.y);
        cairo_paint(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(sheet.surface());
    return sheet;
}

}  // namespace tarn
