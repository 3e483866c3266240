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

std::string picture_path(const PanelConfig& cfg, const std::string& file) {
    std::string p = file;
    std::replace(p.begin(), p.end(), '\\', '/');
    return !p.empty() && p[0] == '/' ? p : cfg.folder + p;
}

std::string window_gauge_name(const PanelWindow& w, const PanelGauge& g) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", g.number);
    return w.key + ".gauge" + number;
}

std::string describe(const PanelGauge& g) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", g.number);
    return std::string("gauge") + number + " " + g.name();
}

// Window size in units from its size_mm, its picture's pixels and its gauges' extent
// (right and bottom edges), for what size_mm leaves open.
std::pair<double, double> window_units(const PanelWindow& w, int picture_w, int picture_h, double right,
                                       double bottom) {
    const bool picture = picture_w > 0 && picture_h > 0;
    double width, height;
    if (w.size_w) {
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
                pictures_[w.number] = std::move(picture);
            }
        }
        double right = 1.0, bottom = 1.0;
        for (const PanelGauge& g : w.gauges) {
            PlacedGauge p;
            p.window = &w;
            p.line = &g;
            p.name = window_gauge_name(w, g);
            try {
                p.instance = &host_.create(g.module, g.gauge, g.params ? &*g.params : nullptr);
            } catch (const HostError& e) {
                problems_.push_back({config_.path, g.line, std::string(e.what()) + " (drawn as a magenta box)"});
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
        sizes_[w.number] = window_units(w, pw, ph, right, bottom);
    }
}

std::pair<double, double> Panel::window_size(const PanelWindow& w) const {
    auto it = sizes_.find(w.number);
    return it == sizes_.end() ? std::make_pair(1.0, 1.0) : it->second;
}

const Image& Panel::window_picture(const PanelWindow& w) const {
    auto it = pictures_.find(w.number);
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

// A line of text in a box, in the host's own sans face.
void label(cairo_t* cr, const std::string& text, double x, double y, double w, double h, unsigned rgb) {
    ELEMENT_STRING t{};
    t.header.position = {int(std::lround(x)), int(std::lround(y))};
    t.header.image_flags = IMAGE_USE_TRANSPARENCY;
    t.img_size = {int(std::lround(w)), int(std::lround(h))};
    t.fg_color = (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
    std::strcpy(t.font_face, "Arial");
    t.font_weight = 400;
    t.draw_text_flags = DT_SINGLELINE | DT_VCENTER | DT_CENTER | 0x800;
    draw_text(cr, t, text, false);
}

}  // namespace

PanelRenderer::PanelRenderer(const Panel& panel, RenderOptions options) : panel_(panel), options_(options) {
    const double s = options_.scale;
    if (!(s >= 0.05 && s <= 16.0)) throw HostError("scale " + std::to_string(s) + " out of range (0.05 to 16)");
    // Where each window goes: one window fills the picture; a sheet puts them in rows.
    std::vector<const PanelWindow*> shown;
    for (const PanelWindow& w : panel_.config().windows)
        if (!options_.window || w.number == *options_.window) shown.push_back(&w);
    if (shown.empty()) {
        if (options_.window) throw HostError(panel_.config().path + ": no window " + std::to_string(*options_.window));
        throw HostError(panel_.config().path + ": no windows");
    }
    auto pixels = [&](double units) { return std::max(1.0, std::round(units * s)); };
    double width = 0, height = 0;
    if (options_.window) {
        auto [w, h] = panel_.window_size(*shown[0]);
        windows_.push_back({shown[0], {0, 0, pixels(w), pixels(h)}});
        width = pixels(w);
        height = pixels(h);
    } else {
        double widest = 0;
        for (const PanelWindow* w : shown) widest = std::max(widest, pixels(panel_.window_size(*w).first));
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
        throw HostError("the panel picture would be " + std::to_string(long(width)) + "x" +
                        std::to_string(long(height)) + " pixels (at most " + std::to_string(kMaxPicture) +
                        " a side, 64 million in all): choose a smaller scale");
    base_ = Image(int(width), int(height), false);
    canvas_ = Image(int(width), int(height), false);
    if (base_.empty() || canvas_.empty()) throw HostError("out of memory for the panel picture");
    const auto& placed = panel_.gauges();
    for (size_t i = 0; i < placed.size(); ++i) {
        const PlacedGauge& g = placed[i];
        auto win = std::find_if(windows_.begin(), windows_.end(), [&](auto& p) { return p.first == g.window; });
        if (win == windows_.end()) continue;
        // Each gauge is drawn at its size in the picture, on whole pixels, and copied in.
        Slot slot;
        slot.gauge = i;
        const double x0 = std::round(win->second.x + g.x * s), y0 = std::round(win->second.y + g.y * s);
        const double x1 = std::round(win->second.x + (g.x + g.w) * s), y1 = std::round(win->second.y + (g.y + g.h) * s);
        slot.rect = {x0, y0, std::max(1.0, x1 - x0), std::max(1.0, y1 - y0)};
        if (slot.rect.w > kMaxPicture || slot.rect.h > kMaxPicture)
            throw HostError(panel_.config().path + ":" + std::to_string(g.line->line) + ": " + g.line->name() +
                            " would be " + std::to_string(long(slot.rect.w)) + "x" + std::to_string(long(slot.rect.h)) +
                            " pixels: choose a smaller size or scale");
        slot.x0 = std::max(0, int(slot.rect.x));
        slot.y0 = std::max(0, int(slot.rect.y));
        slot.x1 = std::min(int(width), int(slot.rect.x + slot.rect.w));
        slot.y1 = std::min(int(height), int(slot.rect.y + slot.rect.h));
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
    if (!options_.window) fill(cr, kSheetColour, false, 0, 0, base_.width(), base_.height());
    for (const auto& [w, r] : windows_) {
        if (!options_.window) label(cr, w->title, r.x, r.y - kTitleHeight, r.w, kTitleHeight - 4, 0xC8C8C8);
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
    // Missing gauges: a magenta box with the gauge's name.
    for (const Slot& s : slots_) {
        if (s.renderer) continue;
        const PixelRect& r = s.rect;
        fill(cr, 0xFF00FF, false, r.x, r.y, r.w, r.h);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_set_line_width(cr, 1.0);
        cairo_rectangle(cr, r.x + 0.5, r.y + 0.5, std::max(0.0, r.w - 1), std::max(0.0, r.h - 1));
        cairo_stroke(cr);
        const PlacedGauge& g = panel_.gauges()[s.gauge];
        cairo_save(cr);
        cairo_rectangle(cr, r.x, r.y, r.w, r.h);
        cairo_clip(cr);
        label(cr, g.line->name(), r.x + 2, r.y + r.h / 2 - 8, std::max(1.0, r.w - 4), 16, 0x101010);
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
            try {
                Plugin& plugin = host.module(g.module);
                header = plugin.find(g.gauge);
                if (header == nullptr) {
                    out.push_back({config.path, g.line, "unknown gauge " + g.name()});
                } else {
                    const ELEMENT_HEADER* root = header->elements_list ? header->elements_list[0] : nullptr;
                    if (root == nullptr || !plugin.bitmap(root->resource_id, info))
                        out.push_back({config.path, g.line, g.name() + " has no background bitmap"});
                }
            } catch (const HostError& e) {
                out.push_back({config.path, g.line, e.what()});
            }
            auto [gw, gh] = gauge_size(g, header, info.width, info.height);
            boxes.push_back({&g, g.x, g.y, g.x + gw, g.y + gh});
            right = std::max(right, g.x + gw);
            bottom = std::max(bottom, g.y + gh);
        }
        auto [ww, wh] = window_units(w, pw, ph, right, bottom);
        for (size_t i = 0; i < boxes.size(); ++i) {
            const Box& b = boxes[i];
            if (b.x0 < -kEpsilon || b.y0 < -kEpsilon || b.x1 > ww + kEpsilon || b.y1 > wh + kEpsilon) {
                char text[160];
                std::snprintf(text, sizeof text, " (%g,%g to %g,%g) reaches outside [%s] (%g x %g)", b.x0, b.y0, b.x1,
                              b.y1, w.key.c_str(), ww, wh);
                out.push_back({config.path, b.g->line, describe(*b.g) + text});
            }
            for (size_t j = 0; j < i; ++j) {
                const Box& o = boxes[j];
                if (b.x0 < o.x1 - kEpsilon && o.x0 < b.x1 - kEpsilon && b.y0 < o.y1 - kEpsilon && o.y0 < b.y1 - kEpsilon)
                    out.push_back({config.path, b.g->line,
                                   describe(*b.g) + " overlaps " + describe(*o.g) + " (line " +
                                       std::to_string(o.g->line) + ")"});
            }
        }
    }
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
        for (const Finding& f : panel.problems()) err << f.text() << "\n";
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
        PanelRenderer renderer(panel, command.options);
        std::string why;
        if (!write_png(renderer.frame(), command.output, kPngDefault, &why)) {
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
