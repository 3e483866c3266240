// Panels. Sections: sizes | the panel | drawing | lint | commands
#include "host/draw/panel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "host/core/errors.h"
#include "host/draw/snapshot.h"

namespace tarn {

/* ---- sizes ------------------------------------------------------------------------ */

namespace {

constexpr double kMissingSize = 50.0;   // panel units of a missing gauge without a size
constexpr int kMaxPicture = 16384;      // pixels a side
constexpr double kMaxPixels = 64e6;     // pixels in all (256 MiB a picture)
constexpr int kSheetGap = 16;           // pixels between windows on a sheet
constexpr int kTitleHeight = 24;        // a window's title above it on a sheet
constexpr unsigned kSheetColour = 0x202224;
constexpr unsigned kWindowColour = 0x3A3D40;  // a window without picture or colour
constexpr double kEpsilon = 1e-9;

// A background picture's file, found as Windows finds it (any case, either separator).
std::string picture_path(const PanelConfig& cfg, const std::string& file) {
    std::string p = file;
    std::replace(p.begin(), p.end(), '\\', '/');
    if (!p.empty() && p[0] == '/') return find_path_nocase("/", p.substr(1));
    return find_path_nocase(cfg.folder, p);
}

// A virtual cockpit's texture pixels per panel unit, across and down (1 for a window).
std::pair<double, double> texture_factor(const PanelWindow& w) {
    if (!w.virtual_cockpit || !w.pixel_size || !w.size_w) return {1.0, 1.0};
    const double fx = w.pixel_size->first / *w.size_w;
    return {fx, w.size_h ? w.pixel_size->second / *w.size_h : fx};
}

// What a gauge line that the host does not make is drawn as, in words.
std::string other_kind(const PanelGauge& g) {
    return g.kind == PanelGauge::Kind::kHtml ? "HTML gauge " + g.gauge + " is not run by this host" : "";
}

std::string window_gauge_name(const PanelWindow& w, const PanelGauge& g) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", g.number);
    return w.key + (g.kind == PanelGauge::Kind::kHtml ? ".htmlgauge" : ".gauge") + number;
}

std::string describe(const PanelGauge& g) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", g.number);
    return std::string(g.kind == PanelGauge::Kind::kHtml ? "htmlgauge" : "gauge") + number + " " + g.name();
}

// Window size in units from its size_mm, its picture's pixels and its gauges' extent
// (right and bottom edges), for what size_mm leaves open.
std::pair<double, double> window_units(const PanelWindow& w, int picture_w, int picture_h, double right,
                                       double bottom) {
    const bool picture = picture_w > 0 && picture_h > 0;
    double width, height;
    if (!w.size_w && w.virtual_cockpit && w.pixel_size) {
        width = w.pixel_size->first;
        height = w.pixel_size->second;
    } else if (w.size_w) {
        width = *w.size_w;
        height = w.size_h ? *w.size_h : picture ? width * picture_h / picture_w : bottom;
    } else {
        width = picture ? picture_w : right;
        height = picture ? picture_h : bottom;
    }
    return {std::max(width, 1.0), std::max(height, 1.0)};
}

}  // namespace

std::pair<double, double> gauge_size(const PanelGauge& line, const GAUGEHDR* header, int bitmap_width,
                                     int bitmap_height) {
    if (line.w && line.h) return {*line.w, *line.h};
    if (header == nullptr || bitmap_width <= 0 || bitmap_height <= 0) {
        const double w = line.w ? *line.w : kMissingSize;
        return {w, line.w ? w : kMissingSize};
    }
    const double w = line.w ? *line.w : header->size_x_mm > 0 ? double(header->size_x_mm) : double(bitmap_width);
    return {w, w * bitmap_height / bitmap_width};
}

/* ---- the panel -------------------------------------------------------------------- */

Panel::Panel(PanelHost& host, PanelConfig config) : host_(host), config_(std::move(config)) {
    for (const PanelWindow& w : config_.windows) {
        int pw = 0, ph = 0;
        if (!w.file.empty()) {
            std::string why;
            Image picture = load_picture_file(picture_path(config_, w.file), Decode{}, &why);
            if (picture.empty()) {
                problems_.push_back({config_.path, w.file_line, "background picture: " + why});
            } else {
                pw = picture.width();
                ph = picture.height();
                pictures_[&w] = std::move(picture);
            }
        }
        double right = 1.0, bottom = 1.0;
        const size_t first = gauges_.size();
        std::vector<std::string> unmade;  // why each gauge line made no gauge, "" when it did
        for (const PanelGauge& g : w.gauges) {
            PlacedGauge p;
            p.window = &w;
            p.line = &g;
            p.name = window_gauge_name(w, g);
            if (g.kind != PanelGauge::Kind::kModule) {
                unmade.push_back(other_kind(g) + " (drawn as a labelled box)");
            } else {
                try {
                    p.instance = &host_.create(g.module, g.gauge, g.params ? &*g.params : nullptr);
                    unmade.emplace_back();
                } catch (const HostError& e) {
                    unmade.push_back(std::string(e.what()) + " (drawn as a magenta box)");
                }
            }
            auto [gw, gh] = p.instance ? gauge_size(g, &p.instance->header(), p.instance->width(), p.instance->height())
                                       : gauge_size(g, nullptr, 0, 0);
            p.x = g.x;
            p.y = g.y;
            p.w = gw;
            p.h = gh;
            right = std::max(right, g.x + gw);
            bottom = std::max(bottom, g.y + gh);
            gauges_.push_back(std::move(p));
        }
        const auto [ww, wh] = window_units(w, pw, ph, right, bottom);
        // A virtual cockpit is drawn in its texture's pixels, its gauges placed in them.
        const auto [fx, fy] = texture_factor(w);
        sizes_[&w] = {ww * fx, wh * fy};
        for (size_t i = first; i < gauges_.size(); ++i) {
            PlacedGauge& p = gauges_[i];
            const std::string& why = unmade[i - first];
            if (!why.empty()) problems_.push_back({config_.path, p.line->line, why});
            if (p.w <= 0 || p.h <= 0) {
                p.shown = false;
                problems_.push_back({config_.path, p.line->line, describe(*p.line) + " has no size: not drawn"});
            } else if (p.x >= ww || p.y >= wh || p.x + p.w <= 0 || p.y + p.h <= 0) {
                p.shown = false;
                char text[160];
                std::snprintf(text, sizeof text, " (%g,%g to %g,%g) lies wholly outside [%s] (%g x %g): not drawn",
                              p.x, p.y, p.x + p.w, p.y + p.h, w.key.c_str(), ww, wh);
                problems_.push_back({config_.path, p.line->line, describe(*p.line) + text});
            }
            // A box that is not drawn is not drawn in any colour.
            if (!p.shown && !why.empty())
                problems_[problems_.size() - 2].message = why.substr(0, why.rfind(" (drawn as"));
            p.x *= fx;
            p.w *= fx;
            p.y *= fy;
            p.h *= fy;
        }
    }
    std::stable_sort(problems_.begin(), problems_.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
}

std::vector<Finding> Panel::findings() const {
    std::vector<Finding> out = config_.warnings;
    out.insert(out.end(), problems_.begin(), problems_.end());
    std::stable_sort(out.begin(), out.end(), [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return out;
}

std::pair<double, double> Panel::window_size(const PanelWindow& w) const {
    auto it = sizes_.find(&w);
    return it == sizes_.end() ? std::make_pair(1.0, 1.0) : it->second;
}

const Image& Panel::window_picture(const PanelWindow& w) const {
    auto it = pictures_.find(&w);
    return it == pictures_.end() ? no_picture_ : it->second;
}

std::map<std::string, GaugeInstance*> Panel::names() const {
    std::map<std::string, GaugeInstance*> out;
    for (const PlacedGauge& g : gauges_)
        if (g.instance) out[g.name] = g.instance;
    return out;
}

/* ---- drawing ---------------------------------------------------------------------- */

namespace {

void fill(cairo_t* cr, unsigned rgb, bool night, double x, double y, double w, double h) {
    unsigned r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
    light_rgb(night ? Light::kDim : Light::kDay, r, g, b);
    cairo_set_source_rgb(cr, r / 255.0, g / 255.0, b / 255.0);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
}

}  // namespace

PanelRenderer::PanelRenderer(const Panel& panel, RenderOptions options) : panel_(panel), options_(options) {
    const double s = options_.scale;
    if (!(s >= 0.05 && s <= 16.0)) throw HostError("scale " + std::to_string(s) + " out of range (0.05 to 16)");
    // Where each window goes: one window fills the picture; a sheet puts them in rows.
    std::vector<const PanelWindow*> shown;
    const bool one = options_.window || options_.vcockpit;
    for (const PanelWindow& w : panel_.config().windows)
        if (!one || (options_.window && !w.virtual_cockpit && w.number == *options_.window) ||
            (options_.vcockpit && w.virtual_cockpit && w.number == *options_.vcockpit))
            shown.push_back(&w);
    if (shown.empty()) {
        if (options_.window) throw HostError(panel_.config().path + ": no window " + std::to_string(*options_.window));
        if (options_.vcockpit)
            throw HostError(panel_.config().path + ": no virtual cockpit " + std::to_string(*options_.vcockpit));
        throw HostError(panel_.config().path + ": no windows");
    }
    auto pixels = [&](double units) { return std::max(1.0, std::round(units * s)); };
    double width = 0, height = 0;
    if (one) {
        auto [w, h] = panel_.window_size(*shown[0]);
        windows_.push_back({shown[0], {0, 0, pixels(w), pixels(h)}});
        width = pixels(w);
        height = pixels(h);
    } else {
        // Rows as wide as the widest window, or wider for many windows, so the sheet
        // stays near square.
        double widest = 0, area = 0;
        for (const PanelWindow* w : shown) {
            const auto [wu, hu] = panel_.window_size(*w);
            widest = std::max(widest, pixels(wu));
            area += (pixels(wu) + kSheetGap) * (pixels(hu) + kTitleHeight + kSheetGap);
        }
        widest = std::max(widest, std::sqrt(area));
        double x = kSheetGap, y = kSheetGap, row = 0;
        for (const PanelWindow* w : shown) {
            auto [wu, hu] = panel_.window_size(*w);
            const double pw = pixels(wu), ph = pixels(hu);
            if (x > kSheetGap && x + pw > widest + kSheetGap) {
                x = kSheetGap;
                y += row + kSheetGap;
                row = 0;
            }
            windows_.push_back({w, {x, y + kTitleHeight, pw, ph}});
            x += pw + kSheetGap;
            row = std::max(row, ph + kTitleHeight);
            width = std::max(width, x);
        }
        height = y + row + kSheetGap;
    }
    if (width > kMaxPicture || height > kMaxPicture || width * height > kMaxPixels)
        throw PictureTooLarge("the panel picture would be " + std::to_string(long(width)) + "x" +
                        std::to_string(long(height)) + " pixels (at most " + std::to_string(kMaxPicture) +
                        " a side, 64 million in all): choose a smaller scale");
    base_ = Image(int(width), int(height), false);
    canvas_ = Image(int(width), int(height), false);
    if (base_.empty() || canvas_.empty()) throw HostError("out of memory for the panel picture");
    const auto& placed = panel_.gauges();
    for (size_t i = 0; i < placed.size(); ++i) {
        const PlacedGauge& g = placed[i];
        auto win = std::find_if(windows_.begin(), windows_.end(), [&](auto& p) { return p.first == g.window; });
        if (win == windows_.end() || !g.shown) continue;
        // Each gauge is drawn at its size in the picture, on whole pixels, and copied in.
        Slot slot;
        slot.gauge = i;
        const double x0 = std::round(win->second.x + g.x * s), y0 = std::round(win->second.y + g.y * s);
        const double x1 = std::round(win->second.x + (g.x + g.w) * s), y1 = std::round(win->second.y + (g.y + g.h) * s);
        slot.rect = {x0, y0, std::max(1.0, x1 - x0), std::max(1.0, y1 - y0)};
        if (g.instance && (slot.rect.w > kMaxPicture || slot.rect.h > kMaxPicture))
            throw PictureTooLarge(panel_.config().path + ":" + std::to_string(g.line->line) + ": " + g.line->name() +
                            " would be " + std::to_string(long(slot.rect.w)) + "x" + std::to_string(long(slot.rect.h)) +
                            " pixels: choose a smaller size or scale");
        // What shows of it: the part inside its window.
        const PixelRect& wr = win->second;
        slot.x0 = int(std::max(slot.rect.x, wr.x));
        slot.y0 = int(std::max(slot.rect.y, wr.y));
        slot.x1 = int(std::min(slot.rect.x + slot.rect.w, wr.x + wr.w));
        slot.y1 = int(std::min(slot.rect.y + slot.rect.h, wr.y + wr.h));
        if (slot.x1 <= slot.x0 || slot.y1 <= slot.y0) continue;
        if (g.instance) {
            const Plugin* plugin = &g.instance->plugin();
            auto& images = images_[plugin];
            if (!images) images = std::make_unique<PluginImages>(*plugin);
            slot.renderer = std::make_unique<GaugeRenderer>(*g.instance, *images, int(slot.rect.w), int(slot.rect.h));
            slot.renderer->set_night(options_.night);
        }
        slots_.push_back(std::move(slot));
    }
    cr_ = cairo_create(canvas_.surface());
}

PanelRenderer::~PanelRenderer() {
    if (cr_) cairo_destroy(cr_);
    if (under_) cairo_region_destroy(under_);
    if (covered_) cairo_region_destroy(covered_);
}

void PanelRenderer::set_night(bool night) {
    if (night == options_.night) return;
    options_.night = night;
    for (Slot& s : slots_)
        if (s.renderer) s.renderer->set_night(night);
    first_ = true;
    base_stale_ = true;
}

void PanelRenderer::invalidate() {
    for (Slot& s : slots_)
        if (s.renderer) s.renderer->invalidate();
    first_ = true;
}

std::optional<PixelRect> PanelRenderer::gauge_rect(size_t index) const {
    for (const Slot& s : slots_)
        if (s.gauge == index) return s.rect;
    return std::nullopt;
}

void PanelRenderer::draw_base() {
    cairo_t* cr = cairo_create(base_.surface());
    const bool night = options_.night;
    const bool sheet = !options_.window && !options_.vcockpit;
    if (sheet) fill(cr, kSheetColour, false, 0, 0, base_.width(), base_.height());
    for (const auto& [w, r] : windows_) {
        if (sheet) draw_label(cr, w->title, r.x, r.y - kTitleHeight, r.w, kTitleHeight - 4, 0xC8C8C8);
        const Image& picture = panel_.window_picture(*w);
        if (!picture.empty()) {
            cairo_save(cr);
            cairo_rectangle(cr, r.x, r.y, r.w, r.h);
            cairo_clip(cr);
            cairo_translate(cr, r.x, r.y);
            cairo_scale(cr, r.w / picture.width(), r.h / picture.height());
            cairo_set_source_surface(cr, picture.surface(), 0, 0);
            cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
            cairo_paint(cr);
            cairo_restore(cr);
            if (night) {  // the dimmed panel: about a third of the daylight
                cairo_set_source_rgba(cr, 0, 0, 0, 1.0 - 77.0 / 256.0);
                cairo_rectangle(cr, r.x, r.y, r.w, r.h);
                cairo_fill(cr);
            }
        } else {
            fill(cr, w->background ? *w->background : kWindowColour, night, r.x, r.y, r.w, r.h);
        }
    }
    // Missing gauges: a magenta box with the gauge's name; gauges of other kinds a
    // grey-blue one. Each is clipped to its window, its name shortened to the part shown.
    for (const Slot& s : slots_) {
        if (s.renderer) continue;
        const PixelRect& r = s.rect;
        const PlacedGauge& g = panel_.gauges()[s.gauge];
        cairo_save(cr);
        cairo_rectangle(cr, s.x0, s.y0, s.x1 - s.x0, s.y1 - s.y0);
        cairo_clip(cr);
        fill(cr, g.line->kind == PanelGauge::Kind::kModule ? 0xFF00FF : 0x8090B0, false, r.x, r.y, r.w, r.h);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_set_line_width(cr, 1.0);
        cairo_rectangle(cr, r.x + 0.5, r.y + 0.5, std::max(0.0, r.w - 1), std::max(0.0, r.h - 1));
        cairo_stroke(cr);
        const double shown_h = s.y1 - s.y0, text_h = std::min(16.0, shown_h - 2);
        if (text_h >= 4)
            draw_label(cr, g.line->name(), s.x0 + 2, s.y0 + (shown_h - text_h) / 2, std::max(1.0, s.x1 - s.x0 - 4.0),
                       text_h, 0x101010);
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(base_.surface());
    // Where the panel under a gauge is one colour, the gauge's background is laid over
    // that colour as it is drawn (no copy of the panel under it).
    for (Slot& s : slots_) {
        if (!s.renderer || s.x1 <= s.x0 || s.y1 <= s.y0) continue;
        const uint32_t colour = base_.row(s.y0)[s.x0] & 0xFFFFFFu;
        bool flat = true;
        for (int y = s.y0; y < s.y1 && flat; ++y) {
            const uint32_t* row = base_.row(y);
            for (int x = s.x0; x < s.x1; ++x)
                if ((row[x] & 0xFFFFFFu) != colour) {
                    flat = false;
                    break;
                }
        }
        s.renderer->set_under(flat ? std::optional<uint32_t>(colour) : std::nullopt);
    }
}

namespace {

// Copies the pixels of a box from one picture to another of the same size and format.
void copy_box(const Image& from, Image& to, const cairo_rectangle_int_t& r) {
    if (r.width <= 0 || r.height <= 0) return;
    for (int y = r.y; y < r.y + r.height; ++y)
        std::memcpy(to.row(y) + r.x, from.row(y) + r.x, size_t(r.width) * sizeof(uint32_t));
}

}  // namespace

void PanelRenderer::compose(int x0, int y0, int x1, int y1, bool everywhere) {
    if (x1 <= x0 || y1 <= y0) return;
    // The backgrounds where they show: under gauges that are not opaque, and everywhere
    // when they were drawn anew (elsewhere the picture holds them from before).
    const cairo_rectangle_int_t area{x0, y0, x1 - x0, y1 - y0};
    cairo_region_t* bare = cairo_region_create_rectangle(&area);
    if (!everywhere) cairo_region_intersect(bare, under_);
    cairo_region_subtract(bare, covered_);
    const int pieces = cairo_region_num_rectangles(bare);
    if (pieces > 0) {
        cairo_surface_flush(canvas_.surface());
        for (int i = 0; i < pieces; ++i) {
            cairo_rectangle_int_t r;
            cairo_region_get_rectangle(bare, i, &r);
            copy_box(base_, canvas_, r);
            cairo_surface_mark_dirty_rectangle(canvas_.surface(), r.x, r.y, r.width, r.height);
        }
    }
    cairo_region_destroy(bare);
    // Each gauge meeting the box draws its elements there, straight onto the picture.
    std::vector<PixelBox> only(1);
    for (const Slot& s : slots_) {
        if (!s.renderer) continue;
        const int cx0 = std::max(x0, s.x0), cy0 = std::max(y0, s.y0);
        const int cx1 = std::min(x1, s.x1), cy1 = std::min(y1, s.y1);
        if (cx1 <= cx0 || cy1 <= cy0) continue;
        const int gx = int(s.rect.x), gy = int(s.rect.y);
        only[0] = PixelBox{cx0 - gx, cy0 - gy, cx1 - gx, cy1 - gy};
        cairo_save(cr_);
        cairo_rectangle(cr_, cx0, cy0, cx1 - cx0, cy1 - cy0);
        cairo_clip(cr_);
        cairo_translate(cr_, gx, gy);
        s.renderer->draw_onto(cr_, only);
        cairo_restore(cr_);
    }
}

void PanelRenderer::find_cover() {
    if (under_) cairo_region_destroy(under_);
    if (covered_) cairo_region_destroy(covered_);
    under_ = cairo_region_create();
    covered_ = cairo_region_create();
    for (const Slot& s : slots_) {
        if (s.x1 <= s.x0 || s.y1 <= s.y0) continue;
        const cairo_rectangle_int_t r{s.x0, s.y0, s.x1 - s.x0, s.y1 - s.y0};
        cairo_region_union_rectangle(s.renderer && s.renderer->opaque() ? covered_ : under_, &r);
    }
}

const Image& PanelRenderer::frame() {
    redrawn_ = 0;
    const bool base = base_stale_;
    if (base) draw_base();
    base_stale_ = false;
    // What each gauge shows now, and where the picture is to be drawn anew.
    std::vector<PixelBox> dirty;
    bool cover = first_;
    for (Slot& s : slots_) {
        const bool was_opaque = s.renderer && s.renderer->opaque();
        if (!s.renderer || !s.renderer->take_changes()) continue;
        ++redrawn_;
        if (s.renderer->opaque() != was_opaque) cover = true;
        const int x = int(s.rect.x), y = int(s.rect.y);
        for (const PixelBox& b : s.renderer->redrawn()) {
            const PixelBox p{std::max(s.x0, x + b.x0), std::max(s.y0, y + b.y0), std::min(s.x1, x + b.x1),
                             std::min(s.y1, y + b.y1)};
            if (!first_) add_box(dirty, p);
        }
    }
    if (cover) find_cover();
    if (first_) {
        compose(0, 0, canvas_.width(), canvas_.height(), base);
    } else {
        for (const PixelBox& b : dirty) compose(b.x0, b.y0, b.x1, b.y1, false);
    }
    first_ = false;
    cairo_surface_flush(canvas_.surface());
    return canvas_;
}

/* ---- lint ------------------------------------------------------------------------- */

std::vector<Finding> lint_panel(PanelHost& host, const PanelConfig& config) {
    std::vector<Finding> out = config.warnings;
    std::map<std::string, const PanelWindow*> idents;
    // Overlaps are told for the first kOverlapsTold gauges that overlap an earlier one,
    // each with its first, the rest summed up, so a crowded panel costs time in proportion
    // to its pairs of gauges but findings in proportion to its gauges at most.
    constexpr size_t kOverlapsTold = 100;
    size_t overlapping = 0;
    int untold_line = 0;
    for (const PanelWindow& w : config.windows) {
        if (!w.ident.empty()) {
            auto [it, fresh] = idents.emplace(w.ident, &w);
            if (!fresh)
                out.push_back({config.path, w.ident_line,
                               "ident " + w.ident + " also used by [" + it->second->key + "] (line " +
                                   std::to_string(it->second->ident_line) + ")"});
        }
        int pw = 0, ph = 0;
        if (!w.file.empty()) {
            std::string why;
            Image picture = load_picture_file(picture_path(config, w.file), Decode{}, &why);
            if (picture.empty()) out.push_back({config.path, w.file_line, "background picture: " + why});
            pw = picture.width();
            ph = picture.height();
        }
        struct Box {
            const PanelGauge* g;
            double x0, y0, x1, y1;
        };
        std::vector<Box> boxes;
        double right = 1.0, bottom = 1.0;
        for (const PanelGauge& g : w.gauges) {
            const GAUGEHDR* header = nullptr;
            BitmapInfo info;
            if (g.kind != PanelGauge::Kind::kModule) {
                out.push_back({config.path, g.line, other_kind(g)});
            } else {
                try {
                    Plugin& plugin = host.module(g.module);
                    header = plugin.find(g.gauge);
                    if (header == nullptr) {
                        out.push_back({config.path, g.line,
                                       g.gauge.empty() ? "module " + g.module + " has no gauges"
                                                       : "unknown gauge " + g.name()});
                    } else {
                        const ELEMENT_HEADER* root = header->elements_list ? header->elements_list[0] : nullptr;
                        if (root == nullptr || !plugin.bitmap(root->resource_id, info))
                            out.push_back({config.path, g.line, g.name() + " has no background bitmap"});
                    }
                } catch (const HostError& e) {
                    out.push_back({config.path, g.line, e.what()});
                }
            }
            auto [gw, gh] = gauge_size(g, header, info.width, info.height);
            if (gw <= 0 || gh <= 0) {
                out.push_back({config.path, g.line, describe(g) + " has no size: not drawn"});
                continue;
            }
            boxes.push_back({&g, g.x, g.y, g.x + gw, g.y + gh});
            right = std::max(right, g.x + gw);
            bottom = std::max(bottom, g.y + gh);
        }
        auto [ww, wh] = window_units(w, pw, ph, right, bottom);
        for (size_t i = 0; i < boxes.size(); ++i) {
            const Box& b = boxes[i];
            if (b.x0 < -kEpsilon || b.y0 < -kEpsilon || b.x1 > ww + kEpsilon || b.y1 > wh + kEpsilon) {
                const bool wholly = b.x0 >= ww || b.y0 >= wh || b.x1 <= 0 || b.y1 <= 0;
                char text[200];
                std::snprintf(text, sizeof text, " (%g,%g to %g,%g) %s [%s] (%g x %g)%s", b.x0, b.y0, b.x1, b.y1,
                              wholly ? "lies wholly outside" : "reaches outside", w.key.c_str(), ww, wh,
                              wholly ? ": not drawn" : "");
                out.push_back({config.path, b.g->line, describe(*b.g) + text});
            }
            const Box* first = nullptr;
            size_t others = 0;
            for (size_t j = 0; j < i; ++j) {
                const Box& o = boxes[j];
                if (b.x0 < o.x1 - kEpsilon && o.x0 < b.x1 - kEpsilon && b.y0 < o.y1 - kEpsilon && o.y0 < b.y1 - kEpsilon) {
                    if (first == nullptr) first = &o;
                    else ++others;
                    if (overlapping >= kOverlapsTold) break;  // one is enough to count it
                }
            }
            if (first == nullptr) continue;
            if (++overlapping > kOverlapsTold) {
                if (overlapping == kOverlapsTold + 1) untold_line = b.g->line;
                continue;
            }
            std::string text = describe(*b.g) + " overlaps " + describe(*first->g) + " (line " +
                               std::to_string(first->g->line) + ")";
            if (others > 0) text += " and " + std::to_string(others) + (others == 1 ? " other" : " others");
            out.push_back({config.path, b.g->line, text});
        }
    }
    if (overlapping > kOverlapsTold)
        out.push_back({config.path, untold_line,
                       "and " + std::to_string(overlapping - kOverlapsTold) +
                           " more gauges overlapping others (the first " + std::to_string(kOverlapsTold) +
                           " are listed)"});
    std::stable_sort(out.begin(), out.end(), [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return out;
}

/* ---- commands --------------------------------------------------------------------- */

int render_command(const std::string& gauges_dir, const RenderCommand& command, std::ostream& out,
                   std::ostream& err) {
    int status = 0;
    try {
        PanelHost host(gauges_dir);
        Panel panel(host, load_panel_config(command.config));
        for (const Finding& f : panel.findings()) err << f.text() << "\n";
        if (!panel.problems().empty()) status = 1;
        for (const auto& [token, value] : command.sets) {
            bool ok;
            if (VariableStore::kind_of(token) == VAR_KIND_TEXT) {
                ok = host.vars().set_text(token, value);
            } else {
                char* end = nullptr;
                const double v = std::strtod(value.c_str(), &end);
                if (value.empty() || *end != '\0') {
                    err << "--set " << token << "=" << value << ": token " << token << " holds a number\n";
                    return 2;
                }
                ok = host.vars().set_number(token, v);
            }
            if (!ok) {
                err << "--set " << token << "=" << value << ": cannot set token " << token << "\n";
                return 2;
            }
        }
        if (!command.scripts.empty()) {
            ScenarioRunner runner(gauges_dir, out);
            enable_snapshots(runner);
            const auto names = panel.names();
            for (const std::string& script : command.scripts) runner.run_file_on(host, names, script);
            out << runner.passed() << " passed, " << runner.failed() << " failed\n";
            if (runner.failed() > 0) status = 1;
        }
        host.update_all();
        // A sheet too large at the scale asked (many large textures) is drawn smaller, with
        // a warning, rather than refused.
        RenderOptions options = command.options;
        std::unique_ptr<PanelRenderer> renderer;
        for (;;) {
            try {
                renderer = std::make_unique<PanelRenderer>(panel, options);
                break;
            } catch (const PictureTooLarge& e) {
                if (options.scale / 2 < 0.05) throw;
                options.scale /= 2;
                err << e.what() << ": drawn at scale " << options.scale << " instead\n";
            }
        }
        std::string why;
        if (!write_png(renderer->frame(), command.output, kPngDefault, &why)) {
            err << why << "\n";
            return 2;
        }
    } catch (const PanelConfigError& e) {
        err << e.what() << "\n";
        return 2;
    } catch (const ScenarioError& e) {
        out.flush();
        err << e.what() << "\n";
        return 2;
    } catch (const HostError& e) {
        err << e.what() << "\n";
        return 2;
    }
    return status;
}

int lint_command(const std::string& gauges_dir, const std::string& config, std::ostream& out, std::ostream& err) {
    try {
        PanelHost host(gauges_dir);
        const std::vector<Finding> findings = lint_panel(host, load_panel_config(config));
        for (const Finding& f : findings) out << f.text() << "\n";
        if (!findings.empty()) {
            out << findings.size() << (findings.size() == 1 ? " finding\n" : " findings\n");
            return 1;
        }
        return 0;
    } catch (const PanelConfigError& e) {
        err << e.what() << "\n";
        return 2;
    } catch (const HostError& e) {
        err << e.what() << "\n";
        return 2;
    }
}

}  // namespace tarn
