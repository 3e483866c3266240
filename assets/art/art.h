// tarn-art's shared declarations: the manifest's words and lines, the records twin's
// elements, measured scales, the drawing primitives and the recipe context, and the recipe
// lists the driver (main.cpp) looks recipes up in. See main.cpp for what tarn-art does.
//
// Sections: manifest, records and scale measurement, drawing primitives, recipes.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/core/host.h"

namespace tarn_art {

struct ArtError {
    std::string where;
    std::string message;
};

/* ---- manifest ---------------------------------------------------------------------- */

// Defined in main.cpp.
bool parse_u32(const std::string& text, uint32_t& value);
double parse_double(const std::string& text, const std::string& where);
std::vector<std::string> split(const std::string& s, char sep);

// Positional words and key=value options of a recipe or scale.
struct Args {
    std::vector<std::string> words;
    std::multimap<std::string, std::string> opts;
    std::string where;

    bool has(const std::string& k) const { return opts.count(k) != 0; }
    std::string str(const std::string& k, const std::string& dflt = "") const {
        auto it = opts.find(k);
        return it == opts.end() ? dflt : it->second;
    }
    double num(const std::string& k, double dflt) const {
        auto it = opts.find(k);
        return it == opts.end() ? dflt : parse_double(it->second, where);
    }
    std::vector<std::string> all(const std::string& k) const {
        std::vector<std::string> out;
        for (auto [a, b] = opts.equal_range(k); a != b; ++a) out.push_back(a->second);
        return out;
    }
    std::string word(size_t i, const std::string& dflt = "") const { return i < words.size() ? words[i] : dflt; }
};

struct BitmapSpec {
    uint32_t id = 0, width = 0, height = 0, frames = 1;
    std::string recipe;
    Args args;
    std::string where;
};

struct ScaleSpec {
    std::string gauge;
    size_t element = 0;  // from 1
    double from = 0, to = 0, minor = 0, major = 0, label = 0;
    Args args;
    std::string where;
};

/* ---- records and scale measurement ------------------------------------------------- */

// One element that shows a bitmap, as the records twin declares it.
struct Use {
    std::string gauge;
    size_t index = 0;  // from 0
    int kind = 0;
    double x = 0, y = 0;      // position
    double ox = 0, oy = 0;    // pivot in the bitmap (needles), texture centre (sprites)
    bool has_table = false;
};

struct Records {
    tarn::PanelHost* host = nullptr;
    std::string module;
    std::map<int32_t, std::vector<Use>> uses;            // by resource id (icon frames: first id)
    std::map<std::string, std::vector<Use>> elements;    // by gauge: every element
    std::map<std::string, std::pair<int, int>> sizes;    // gauge size
    std::map<std::string, std::vector<tarn::Box>> mice;  // mouse children's boxes, list order
};

struct Mark {
    double value;
    double degrees;  // direction from the pivot, clockwise from 3 o'clock
    bool major, labelled;
};

struct Scale {
    const ScaleSpec* spec;
    double px = 0, py = 0;  // pivot on the background, pixel centre
    double reach = 0;       // tip radius
    std::vector<Mark> marks;
    std::function<double(double)> direction;  // any value, for arcs
};

// Defined in draw.cpp.
void read_records(Records& r);
Scale measure(Records& r, const ScaleSpec& s, const std::map<int32_t, const BitmapSpec*>& bitmaps);

/* ---- drawing primitives ------------------------------------------------------------ */

struct RGB {
    double r, g, b;
};

constexpr double kPi = 3.14159265358979323846;

// Defined in draw.cpp.
RGB colour(const std::string& name);
void set(cairo_t* cr, RGB c, double k = 1.0);
void fill_shaded(cairo_t* cr, cairo_pattern_t* gradient, RGB from, RGB to);
double rad(double deg);
void font(cairo_t* cr, double size, bool bold = true);
void text_at(cairo_t* cr, double x, double y, const std::string& s, double size, RGB c, bool bold = true);
void text_fit(cairo_t* cr, double x, double y, const std::string& s, double size, double width, RGB c);
// A caption's font size: `size`, or more where the default panel shows the bitmap so small
// that `size` would come out under kMinCaptionPx.
double caption_size(double size);
void rounded(cairo_t* cr, double x, double y, double w, double h, double r);
void screw(cairo_t* cr, double x, double y, double r);
void plate(cairo_t* cr, double w, double h, bool screws = true);
void bezel(cairo_t* cr, double cx, double cy, double R, double ring);
void recess(cairo_t* cr, double x, double y, double w, double h);
void lcd_window(cairo_t* cr, double x, double y, double w, double h);

/* ---- layout check ------------------------------------------------------------------ */

// What a frame's drawing put where, in bitmap pixels, for the layout check: every text's
// ink box, every scale mark as a stroke, every numeral, and the needle at rest. The
// primitives record into layout() as they draw; the driver clears it before each frame.
struct LayoutItem {
    enum Kind { kText, kNumeral, kMark, kRest };
    Kind kind = kText;
    std::string text;                    // texts and numerals; a mark's value
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // box (texts, numerals) or stroke ends (marks, rest)
    double width = 0;                    // a stroke's width
    int group = -1;                      // the scale a numeral, mark or rest belongs to
    bool on_case = false;                // a button's cap: on the case, not held to the dial's circle
    double size = 0;                     // a text's font size, pixels of the bitmap
};

struct Layout {
    std::vector<LayoutItem> items;
    double w = 0, h = 0;
    bool round = false;  // a round face: texts stay inside the circle (cx, cy, r)
    double cx = 0, cy = 0, r = 0;
    int scales = 0;      // scales drawn so far (their group numbers)
    std::vector<std::pair<double, double>> rests;  // pivots whose needle at rest is recorded
    // Pixels of the panel per pixel of the bitmap where the default panel shows it at scale
    // 1 (0: not on the default panel, sizes unchecked); captions must come out at least
    // kMinCaptionPx high there.
    double shown = 0;
    std::vector<std::string> faults;  // found by the recipes themselves (a needle too thin)
};

constexpr double kMinNeedlePx = 2;

constexpr double kMinCaptionPx = 9;

// Defined in draw.cpp.
Layout& layout();
// The faults of the frame just drawn, one line each ("TEXT" overlaps "TEXT2", ...).
std::vector<std::string> check_layout(const Layout& l);

/* ---- recipes ----------------------------------------------------------------------- */

struct Context {
    Records& records;
    const BitmapSpec& spec;
    const std::vector<Use>& uses;  // elements showing this bitmap (may be empty for masks)
    const std::map<std::string, std::vector<Scale>>& scales;  // by gauge
    int frame;
    cairo_t* cr;
    double w, h;
    const Args& a() const { return spec.args; }
    // The pivot of a needle that uses this bitmap.
    bool pivot(double& x, double& y) const {
        for (const Use& u : uses)
            if (u.kind == ELEMENT_TYPE_NEEDLE || u.kind == ELEMENT_TYPE_SPRITE) {
                x = u.ox + 0.5;
                y = u.oy + 0.5;
                return true;
            }
        return false;
    }
    std::string gauge() const {
        if (spec.args.has("gauge")) return spec.args.str("gauge");
        return uses.empty() ? std::string() : uses.front().gauge;
    }
};

// Faces, defined in draw.cpp.
void draw_scale(cairo_t* cr, const Scale& s);
void draw_labels(const Context& c);
void draw_buttons(const Context& c, const std::string& gauge);
void draw_face_items(const Context& c, const std::string& gauge);

using Recipe = void (*)(const Context&);

// One recipe of a list: the word a manifest line names it by. A list ends with an entry
// whose name is null.
struct RecipeEntry {
    const char* name;
    Recipe draw;
};

// The lists the driver looks recipes up in: one per file, the recipes of one gauge group
// (recipes_GROUP.cpp), or of several (recipes_common.cpp).
extern const RecipeEntry kCommonRecipes[];
namespace systems {
extern const RecipeEntry kCabinRecipes[];
extern const RecipeEntry kIndicatorsRecipes[];
extern const RecipeEntry kMagnetosRecipes[];
}  // namespace systems
namespace instruments {
extern const RecipeEntry kElectricalRecipes[];
extern const RecipeEntry kGyrosRecipes[];
extern const RecipeEntry kNavigationRecipes[];
extern const RecipeEntry kPitotStaticRecipes[];
extern const RecipeEntry kRegistrationRecipes[];
extern const RecipeEntry kThrottleQuadrantRecipes[];
}  // namespace instruments

}  // namespace tarn_art
