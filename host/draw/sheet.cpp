// The contact sheet. Sections: the values | layout | drawing | the command
#include "host/draw/sheet.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "host/core/errors.h"
#include "host/draw/render.h"
#include "platform/host_control.h"

namespace tarn {

/* ---- the values ------------------------------------------------------------------- */

namespace {

// The ladder of values each variable is tried at, ascending.
std::vector<double> ladder() {
    static const double steps[] = {1, 1.5, 2, 2.5, 3, 4, 5, 6, 7.5, 8};
    std::vector<double> up;
    for (double decade = 1e-3; decade < 1e6; decade *= 10)
        for (double s : steps) up.push_back(s * decade);
    up.push_back(1e6);
    std::vector<double> out;
    for (auto it = up.rbegin(); it != up.rend(); ++it) out.push_back(-*it);
    out.push_back(0.0);
    out.insert(out.end(), up.begin(), up.end());
    return out;
}

// One value axis of one element that reads a variable.
struct Reader {
    size_t element;
    int axis;
};

// What the reader shows, as one number: a needle's direction, an icon's frame (no number
// when it draws none), a slider's or sprite's shift in pixels or turn in degrees, a
// moving image's value held to its limits.
double measure(const GaugeInstance& g, const Reader& r) {
    const ElementState& s = g.element(r.element);
    const double v = s.value[r.axis];
    switch (s.element->element_type) {
    case ELEMENT_TYPE_NEEDLE: return s.target;
    case ELEMENT_TYPE_ICON: return s.frame < 0 ? NAN : s.frame;
    case ELEMENT_TYPE_SLIDER: {
        const auto* e = reinterpret_cast<const ELEMENT_SLIDER*>(s.element);
        return v * (r.axis == 0 ? e->scale_x : e->scale_y);
    }
    case ELEMENT_TYPE_SPRITE: {
        const auto* e = reinterpret_cast<const ELEMENT_SPRITE*>(s.element);
        return v * (r.axis == 0 ? e->scale_x : r.axis == 1 ? e->scale_y : e->scale_0);
    }
    case ELEMENT_TYPE_MOVING_IMAGE: {
        const auto* e = reinterpret_cast<const ELEMENT_MOVING_IMAGE*>(s.element);
        const double lo = r.axis == 0 ? e->min_x : e->min_y, hi = r.axis == 0 ? e->max_x : e->max_y;
        return std::clamp(v, std::fmin(lo, hi), std::fmax(lo, hi));
    }
    default: return v;
    }
}

// How far a measure without an end is taken from where value 0 puts it: a quarter turn
// of a needle, an eighth of a sprite's turn, a quarter of the gauge's smaller side.
double open_span(const GaugeInstance& g, const Reader& r) {
    const ElementState& s = g.element(r.element);
    if (s.element->element_type == ELEMENT_TYPE_NEEDLE) return 90.0;
    if (s.element->element_type == ELEMENT_TYPE_SPRITE && r.axis == 2) return 45.0;
    return std::max(4, std::min(g.width(), g.height()) / 4);
}

// Needles are given time to reach their place: the clock runs on two minutes at a time
// (the slowest needle turns a few degrees a second), at most ten times.
constexpr uint32_t kSettleMs = 120000;

void settle(GaugeInstance& g) {
    for (int i = 0; i < 10; ++i) {
        tarn_platform_advance_time(kSettleMs);
        g.update(tarn_platform_time());
        bool placed = true;
        for (size_t e = 0; e < g.element_count(); ++e) {
            const ElementState& s = g.element(e);
            if (s.element->element_type == ELEMENT_TYPE_NEEDLE && s.angle != s.target) placed = false;
        }
        if (placed) break;
    }
}

bool same(double a, double b) { return std::abs(a - b) <= 1e-6 * std::max(1.0, std::abs(a) + std::abs(b)); }

// One variable tried over the ladder, measured on its readers.
class Trial {
public:
    Trial(VariableStore& vars, GaugeInstance& g, uint32_t token, const std::vector<Reader>& readers)
        : vars_(vars), g_(g), token_(token), values_(ladder_values()), zero_(values_.size() / 2) {
        std::vector<std::vector<double>> m(readers.size(), std::vector<double>(values_.size()));
        for (size_t j = 0; j < values_.size(); ++j)
            for (size_t r = 0; r < readers.size(); ++r) m[r][j] = at(values_[j], readers[r]);
        // The reader that moves most: the most changes of measure along the ladder.
        size_t most = 0;
        for (size_t r = 0; r < readers.size(); ++r) {
            size_t changes = 0;
            for (size_t j = 1; j < values_.size(); ++j)
                if (!same_or_none(m[r][j], m[r][j - 1])) ++changes;
            if (changes > most) {
                most = changes;
                lead_ = r;
            }
        }
        if (most == 0) return;
        reader_ = readers[lead_];
        x_ = std::move(m[lead_]);
        moves_ = true;
    }

    bool moves() const { return moves_; }

    // The low and high ends and mid-range, as the header comment of sheet.h tells.
    SheetValues values(double span) {
        SheetValues sv;
        sv.moves = true;
        const size_t n = values_.size();
        const bool open_up = !same_or_none(x_[n - 1], x_[n - 2]) && std::isfinite(x_[n - 1]);
        const bool open_down = !same_or_none(x_[0], x_[1]) && std::isfinite(x_[0]);
        double lo = INFINITY, hi = -INFINITY;
        for (double v : x_)
            if (std::isfinite(v)) {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        double low, high;
        if (open_up && open_down) {
            const double rest = x_[zero_];
            low = solve(rest + std::copysign(span, x_[0] - rest), 0, zero_);
            high = solve(rest + std::copysign(span, x_[n - 1] - rest), zero_, n - 1);
        } else {
            // The value nearest 0 giving the least and the greatest measure; a side that
            // goes on for ever while the other has an end ends at 0.
            size_t jl = nearest(lo), jh = nearest(hi);
            if (open_up || open_down) {
                const double far = x_[open_up ? n - 1 : 0];  // the measure at the open side's end
                if (same(x_[jl], far)) jl = zero_;
                if (same(x_[jh], far)) jh = zero_;
            }
            low = values_[jl];
            high = values_[jh];
        }
        sv.low = low;
        sv.high = high;
        const double ml = at(low, reader_), mh = at(high, reader_);
        const size_t a = index_of(std::min(low, high)), b = index_of(std::max(low, high));
        sv.mid = std::isfinite(ml) && std::isfinite(mh) ? solve((ml + mh) / 2, a, b) : values_[zero_];
        // Halving leaves a crumb where the answer is 0.
        if (std::abs(sv.mid) < 1e-9) sv.mid = 0.0;
        return sv;
    }
    const Reader& lead() const { return reader_; }

private:
    static const std::vector<double>& ladder_values() {
        static const std::vector<double> values = ladder();
        return values;
    }
    static bool same_or_none(double a, double b) {
        if (std::isnan(a) || std::isnan(b)) return std::isnan(a) == std::isnan(b);
        return same(a, b);
    }
    double at(double v, const Reader& r) {
        vars_.set_number(token_, v);
        g_.update(tarn_platform_time());
        return measure(g_, r);
    }
    // The ladder index of a value on or just below it.
    size_t index_of(double v) const {
        size_t j = 0;
        while (j + 1 < values_.size() && values_[j + 1] <= v) ++j;
        return j;
    }
    // The ladder index nearest 0 whose measure is `want`.
    size_t nearest(double want) const {
        size_t best = zero_;
        double best_v = INFINITY;
        for (size_t j = 0; j < values_.size(); ++j)
            if (std::isfinite(x_[j]) && same(x_[j], want) && std::abs(values_[j]) < best_v) {
                best_v = std::abs(values_[j]);
                best = j;
            }
        return best;
    }
    // A value between ladder indices a and b giving the measure `want`: halved between
    // the two ladder values around it nearest 0, or the ladder value closest to it.
    double solve(double want, size_t a, size_t b) {
        double best = values_[a], closest = INFINITY;
        for (size_t j = a; j <= b; ++j)
            if (std::isfinite(x_[j]) && std::abs(x_[j] - want) < closest) {
                closest = std::abs(x_[j] - want);
                best = values_[j];
            }
        double best_abs = INFINITY;
        size_t segment = b;
        for (size_t j = a; j < b; ++j) {
            if (!std::isfinite(x_[j]) || !std::isfinite(x_[j + 1]) || same(x_[j], x_[j + 1])) continue;
            if ((x_[j] - want) * (x_[j + 1] - want) > 0) continue;
            const double d = std::min(std::abs(values_[j]), std::abs(values_[j + 1]));
            if (d < best_abs) {
                best_abs = d;
                segment = j;
            }
        }
        if (segment == b) return best;
        double u = values_[segment], w = values_[segment + 1];
        const bool rising = x_[segment + 1] > x_[segment];
        for (int i = 0; i < 40; ++i) {
            const double c = (u + w) / 2;
            const double mc = at(c, reader_);
            if (!std::isfinite(mc)) break;
            if ((mc < want) == rising) u = c;
            else w = c;
        }
        // A measure in steps (an icon's frames) changes between u and w: the side that
        // shows the step wanted.
        double found = (u + w) / 2, miss = std::abs(at(found, reader_) - want);
        for (double edge : {u, w})
            if (const double m = std::abs(at(edge, reader_) - want); m < miss) {
                miss = m;
                found = edge;
            }
        return found;
    }

    VariableStore& vars_;
    GaugeInstance& g_;
    uint32_t token_;
    const std::vector<double>& values_;
    size_t zero_;
    size_t lead_ = 0;
    Reader reader_{0, 0};
    std::vector<double> x_;
    bool moves_ = false;
};

}  // namespace

std::map<uint32_t, SheetValues> sheet_values(PanelHost& host, GaugeInstance& g) {
    // The numeric variables the elements read, and who reads each (texts are not measured).
    std::map<uint32_t, std::vector<Reader>> readers;
    for (size_t i = 0; i < g.element_count(); ++i) {
        const ElementState& s = g.element(i);
        const bool text = s.element->element_type == ELEMENT_TYPE_STRING;
        for (int k = 0; k < 3; ++k) {
            const MODULE_VAR* v = s.vars[k];
            if (v == nullptr || v->id == 0 || VariableStore::kind_of(v->id) == VAR_KIND_TEXT) continue;
            auto& list = readers[v->id];
            if (!text && k < s.axes) list.push_back({i, k});
        }
    }
    std::map<uint32_t, SheetValues> out;
    VariableStore& vars = host.vars();
    // The needles settle at rest first, so that no time passes while values are tried.
    settle(g);
    for (const auto& [token, list] : readers) {
        const double kept = vars.number(token);
        SheetValues sv{0.5, 0.0, 1.0, false};
        Trial trial(vars, g, token, list);
        if (trial.moves()) sv = trial.values(open_span(g, trial.lead()));
        vars.set_number(token, kept);
        out[token] = sv;
    }
    g.update(tarn_platform_time());
    return out;
}

/* ---- layout ----------------------------------------------------------------------- */

namespace {

constexpr double kCellWidth = 240, kCellHeight = 160;  // pixels at scale 1
constexpr double kLeast = 0.5;  // the least a gauge is shrunk to
constexpr double kCaptionWidth = 320, kHeaderHeight = 48, kGap = 10, kMargin = 12;
constexpr int kMaxSide = 16384;
constexpr unsigned kSheetColour = 0x34373A, kCellColour = 0x24262A, kTextColour = 0xE0E0E0,
                   kDimTextColour = 0x9AA0A6;

const char* const kStateNames[kSheetStates] = {"at rest", "mid-range", "low end", "high end"};

// A line of text in a box, in the host's sans face.
void caption(cairo_t* cr, const std::string& text, double x, double y, double w, double h, unsigned rgb,
             bool centred, int weight = 400) {
    ELEMENT_STRING t{};
    t.header.position = {int(std::lround(x)), int(std::lround(y))};
    t.header.image_flags = IMAGE_USE_TRANSPARENCY;
    t.img_size = {int(std::lround(w)), int(std::lround(h))};
    t.fg_color = (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
    std::strcpy(t.font_face, "Arial");
    t.font_weight = weight;
    t.draw_text_flags = DT_SINGLELINE | DT_VCENTER | (centred ? DT_CENTER : 0) | 0x800;
    draw_text(cr, t, text, false);
}

void fill(cairo_t* cr, unsigned rgb, double x, double y, double w, double h) {
    cairo_set_source_rgb(cr, (rgb >> 16 & 0xFF) / 255.0, (rgb >> 8 & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
}

// A gauge's picture size in the sheet.
std::pair<int, int> picture_size(const GaugeInstance& g, double scale) {
    const double w = std::max(1, g.width()), h = std::max(1, g.height());
    const double fit = std::min(kCellWidth / w, kCellHeight / h);
    const double f = std::max(fit, std::min(kLeast, kCellWidth / w)) * scale;
    return {std::max(1, int(std::lround(w * f))), std::max(1, int(std::lround(h * f)))};
}

std::string token_list(const std::map<uint32_t, SheetValues>& values) {
    constexpr size_t kShown = 8;  // what a caption line holds
    std::string s;
    size_t n = 0;
    for (const auto& [token, v] : values) {
        if (n++ == kShown) break;
        if (!s.empty()) s += ", ";
        s += std::to_string(token);
    }
    if (values.size() > kShown) s += " and " + std::to_string(values.size() - kShown) + " more";
    return s.empty() ? "no variables" : (values.size() == 1 ? "variable " : "variables ") + s;
}

}  // namespace

/* ---- drawing ---------------------------------------------------------------------- */

Sheet draw_sheet(PanelHost& host, const SheetOptions& options) {
    const double s = options.scale;
    if (!(s >= 0.25 && s <= 4.0)) throw HostError("sheet: scale " + std::to_string(s) + " out of range (0.25 to 4)");
    const std::vector<std::string> modules = host.module_names();
    if (modules.empty()) throw HostError("no gauge modules (*.gau) found");
    // Every gauge made, and updated once: at rest.
    std::vector<GaugeInstance*> gauges;
    for (const std::string& name : modules) {
        Plugin& m = host.module(name);
        for (GAUGEHDR* h : m.gauges()) gauges.push_back(&host.create(name, h->gauge_name, nullptr));
    }
    host.update_all();

    std::vector<bool> nights;
    if (options.light != SheetLight::kNight) nights.push_back(false);
    if (options.light != SheetLight::kDay) nights.push_back(true);
    const int columns = kSheetStates * int(nights.size());
    auto px = [&](double v) { return int(std::lround(v * s)); };

    Sheet sheet;
    sheet.cell_width = px(kCellWidth);
    for (int c = 0; c < columns; ++c)
        sheet.columns.push_back(px(kMargin + kCaptionWidth) + c * (sheet.cell_width + px(kGap)));
    int y = px(kMargin + kHeaderHeight);
    std::vector<std::pair<int, int>> sizes;
    for (GaugeInstance* g : gauges) {
        sizes.push_back(picture_size(*g, s));
        SheetRow row;
        row.name = g->full_name();
        row.y = y;
        row.height = std::max(px(kCellHeight), sizes.back().second);
        y += row.height + px(kGap);
        sheet.rows.push_back(std::move(row));
    }
    const int width = sheet.columns.back() + sheet.cell_width + px(kMargin);
    const int height = y - px(kGap) + px(kMargin);
    if (width > kMaxSide || height > kMaxSide)
        throw HostError("sheet: a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                        " pixels is too large (at most " + std::to_string(kMaxSide) +
                        " a side): use a smaller --scale");
    sheet.image = Image(width, height, false);
    if (sheet.image.empty()) throw HostError("sheet: no memory for the picture");
    cairo_t* cr = cairo_create(sheet.image.surface());
    fill(cr, kSheetColour, 0, 0, width, height);

    // Column titles: the light above the states when both are shown.
    for (int c = 0; c < columns; ++c) {
        const bool night = nights[size_t(c / kSheetStates)];
        const double x = sheet.columns[size_t(c)];
        if (c % kSheetStates == 0)
            caption(cr, night ? "by night" : "by day", x, px(kMargin),
                    kSheetStates * (sheet.cell_width + px(kGap)) - px(kGap), px(20), kTextColour, true, 700);
        caption(cr, kStateNames[c % kSheetStates], x, px(kMargin + 24), sheet.cell_width, px(18), kTextColour, true);
    }

    std::map<const Plugin*, std::unique_ptr<PluginImages>> images;
    for (size_t i = 0; i < gauges.size(); ++i) {
        GaugeInstance& g = *gauges[i];
        SheetRow& row = sheet.rows[i];
        auto& source = images[&g.plugin()];
        if (!source) source = std::make_unique<PluginImages>(g.plugin());
        const auto [pw, ph] = sizes[i];
        // Each state: the rest state as made; then the values found, the variables set,
        // the gauge settled, drawn.
        std::map<uint32_t, double> kept;
        for (int state = 0; state < kSheetStates; ++state) {
            if (state != int(SheetState::kRest)) {
                if (state == int(SheetState::kMid)) {
                    row.values = sheet_values(host, g);
                    for (const auto& [token, v] : row.values) kept[token] = host.vars().number(token);
                }
                for (const auto& [token, v] : row.values) {
                    const double value = state == int(SheetState::kMid)   ? v.mid
                                         : state == int(SheetState::kLow) ? v.low
                                                                          : v.high;
                    host.vars().set_number(token, value);
                }
                settle(g);
            }
            for (size_t n = 0; n < nights.size(); ++n) {
                const int c = int(n) * kSheetStates + state;
                const double x = sheet.columns[size_t(c)];
                fill(cr, kCellColour, x, row.y, sheet.cell_width, row.height);
                Image picture = render_gauge(g, *source, nights[n], pw, ph);
                cairo_set_source_surface(cr, picture.surface(), x + (sheet.cell_width - pw) / 2,
                                         row.y + (row.height - ph) / 2);
                cairo_paint(cr);
            }
        }
        for (const auto& [token, v] : kept) host.vars().set_number(token, v);
        // The caption: the gauge's name, its own size and the variables set.
        const double cx = px(kMargin), cw = px(kCaptionWidth - kGap);
        const double mid = row.y + row.height / 2.0;
        caption(cr, row.name, cx, mid - px(22), cw, px(17), kTextColour, false, 700);
        caption(cr, std::to_string(g.width()) + " x " + std::to_string(g.height()) + " pixels", cx, mid - px(2), cw,
                px(14), kDimTextColour, false);
        caption(cr, token_list(row.values), cx, mid + px(14), cw, px(14), kDimTextColour, false);
    }
    cairo_destroy(cr);
    cairo_surface_flush(sheet.image.surface());
    return sheet;
}

/* ---- the command ------------------------------------------------------------------ */

int sheet_command(const std::string& gauges_dir, const SheetCommand& command, std::ostream& out,
                  std::ostream& err) {
    std::error_code ec;
    if (std::filesystem::is_directory(command.output, ec)) {
        err << "sheet: -o names a folder, not a PNG file: " << command.output << "\n";
        return 2;
    }
    try {
        PanelHost host(gauges_dir);
        const Sheet sheet = draw_sheet(host, command.options);
        std::string why;
        if (!write_png(sheet.image, command.output, kPngFast, &why)) {
            err << "sheet: " << why << "\n";
            return 2;
        }
        out << command.output << ": " << sheet.rows.size() << " gauges, " << sheet.image.width() << " x "
            << sheet.image.height() << " pixels\n";
    } catch (const HostError& e) {
        err << gauges_dir << ": " << e.what() << "\n";
        return 2;
    }
    return 0;
}

}  // namespace tarn
