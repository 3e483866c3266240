// tarn-art: draws every bitmap resource of a gauge module and writes the module's resource
// directory blob (the same blob as tarn-rc's, with artwork in place of placeholders).
//
//   tarn-art OUTPUT.bin --records DIR --module NAME MANIFEST...
//
// DIR holds NAME.gau, the module's records twin: the same gauge sources linked with
// placeholder bitmaps. tarn-art loads it through the host library, creates every gauge,
// and reads what the artwork must agree with from the gauges themselves:
// - where each bitmap is used (element kind, position, needle pivot), so needles turn
//   about their records' pivots and covers put hub caps on them;
// - each dial mark's direction: for a SCALE line, the needle's own callback and table are
//   driven through the host (the variable set to the mark's value, the gauge updated) and
//   the angle the host would draw is the mark's direction. No scale is typed twice.
//
// Manifest lines (see rc.cpp for the resource part):
//   ID BITMAP W H [FRAMES] RECIPE [ARG...]   RECIPE draws frame k of the bitmap ID+k;
//                                            ARGs are words, "quoted words" or key=value
//   SCALE "GAUGE" K FROM TO MINOR MAJOR LABEL [key=value...]
//       marks of the needle K of GAUGE (elements counted from 1 in drawing order, as the
//       scenario scripts count them) from FROM to TO: a minor tick every MINOR, a major
//       one every MAJOR, a number every LABEL (0: none), in the dial's units. Options:
//       mul=, add=     the variable's value for a dial value v is v * mul + add
//       token=         the variable to set (default: the needle's own source variable)
//       set=T:V        another variable set before measuring (repeatable, comma list)
//       zero=DEG       a needle without table is drawn pointing DEG from 3 o'clock
//       r=             tip radius (default: the needle bitmap's reach from its pivot)
//       div=, dec=     numbers are value / div with dec decimals; first= text of FROM
//       arc=A:B:COLOR  a coloured band from A to B (repeatable); redline=V
//       side=in|out    numbers inside (default) or outside the ticks; font=size
//       inset=PX       numbers' centres PX inside the ticks (default 0.8 of the font size)
//       skip=V,V       no number at these values (where two ranges meet, one number)
//       gap=A:B        no ticks from A to B (a window through the ring); abs=1 unsigned numbers
//       with="GAUGE"   another gauge created and updated along (module state it writes)
//       points=V:T=X|V:T=X
//                      a needle whose callback reads module state only: its angle is
//                      measured at those states (two or more, dial value V each) and
//                      the marks lie on the line through them
//   The background recipes "dial" and "panel" draw the SCALE lines of their gauge.
//
// The layout check: the drawing primitives record every text's ink box, every scale mark,
// every number and each needle at rest (at 0, or at its first scale's first value) per
// frame, and tarn-art refuses a face where two texts (a window counts as one) come closer
// than a quarter of the smaller one's height, a text covers a mark of another scale, a
// caption lies under a needle at rest, or a text leaves the bitmap or a dial's circle
// (button caps excepted). Each fault is one line on standard error:
//   MANIFEST:LINE: bitmap ID (RECIPE): "TEXT" overlaps "TEXT2"
// and tarn-art exits with status 3 without writing the blob, so the build stops. Faces
// still to be laid out are listed in kStillToLayOut: their faults are warnings.
// Exit status: 0 done, 2 bad input (a manifest's FILE:LINE named), 3 layout faults.
// With TARN_ART_LAYOUT=ID in the environment, the items recorded for bitmap ID are printed
// (kind, text, box or stroke, scale), for laying a face out.
//
// Colours and shapes are the house style: black faces, white marks and numbers, grey
// panel plates, pure black (0,0,0) only where a picture is transparent.
//
// The sources: this file (manifest, canvas, recipe table, blob, main); art.h, the shared
// declarations; draw.cpp, the records, the scale measurement, the drawing primitives; the
// recipes, recipes_common.cpp (several gauge groups) and one file per gauge group,
// systems/recipes_GROUP.cpp and instruments/recipes_GROUP.cpp, each with its list.
//
// Sections: manifest, canvas, recipes, blob, main.
#include "assets/art/art.h"
#include "assets/resource_blob.h"
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/core/errors.h"
#include "host/core/host.h"
#include "host/core/panel_config.h"

namespace tarn_art {

/* ---- manifest ---------------------------------------------------------------------- */

namespace {

// Words of one line: blanks separate, "double quotes" make one word, '#' outside quotes
// starts a comment.
std::vector<std::string> split_words(const std::string& line, const std::string& where) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        if (i >= line.size() || line[i] == '#') break;
        std::string word;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) {
            if (line[i] == '"') {
                const size_t end = line.find('"', i + 1);
                if (end == std::string::npos) throw ArtError{where, "unterminated quote"};
                word += line.substr(i + 1, end - i - 1);
                i = end + 1;
            } else {
                word += line[i++];
            }
        }
        out.push_back(word);
    }
    return out;
}

}  // namespace

bool parse_u32(const std::string& text, uint32_t& value) {
    if (text.empty() || text[0] == '-') return false;
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(text.c_str(), &end, 0);
    if (*end != '\0' || errno != 0 || v > 0xFFFFFFFFull) return false;
    value = static_cast<uint32_t>(v);
    return true;
}

double parse_double(const std::string& text, const std::string& where) {
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(v)) throw ArtError{where, "bad number '" + text + "'"};
    return v;
}

namespace {

Args make_args(const std::vector<std::string>& w, size_t from, const std::string& where) {
    Args a;
    a.where = where;
    for (size_t i = from; i < w.size(); ++i) {
        const size_t eq = w[i].find('=');
        if (eq != std::string::npos && eq > 0 && std::isalpha(static_cast<unsigned char>(w[i][0])))
            a.opts.emplace(w[i].substr(0, eq), w[i].substr(eq + 1));
        else
            a.words.push_back(w[i]);
    }
    return a;
}

}  // namespace

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : s) {
        if (c == sep) {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    out.push_back(cur);
    return out;
}

namespace {

using tarn_assets::Resource;

struct Manifests {
    std::vector<BitmapSpec> bitmaps;
    std::vector<ScaleSpec> scales;
    std::vector<Resource> waves;
};

void read_manifest(const std::string& path, Manifests& m, std::map<std::pair<uint32_t, std::string>, std::string>& seen) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ArtError{path, "cannot open the manifest"};
    const std::string folder = path.substr(0, path.find_last_of('/') + 1);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string where = path + ":" + std::to_string(number);
        std::vector<std::string> w = split_words(line, where);
        if (w.empty()) continue;
        if (w[0] == "SCALE") {
            if (w.size() < 8) throw ArtError{where, "expected: SCALE \"GAUGE\" K FROM TO MINOR MAJOR LABEL [key=value...]"};
            ScaleSpec s;
            s.where = where;
            s.gauge = w[1];
            uint32_t k = 0;
            if (!parse_u32(w[2], k) || k == 0) throw ArtError{where, "bad element number '" + w[2] + "'"};
            s.element = k;
            s.from = parse_double(w[3], where);
            s.to = parse_double(w[4], where);
            s.minor = parse_double(w[5], where);
            s.major = parse_double(w[6], where);
            s.label = parse_double(w[7], where);
            if (s.minor <= 0 || s.major <= 0 || s.label < 0) throw ArtError{where, "steps must be positive"};
            if ((s.to - s.from) / s.minor > 2000) throw ArtError{where, "too many marks"};
            s.args = make_args(w, 8, where);
            m.scales.push_back(std::move(s));
            continue;
        }
        uint32_t id = 0;
        if (!parse_u32(w[0], id)) throw ArtError{where, "bad resource id '" + w[0] + "'"};
        if (w.size() < 2) throw ArtError{where, "missing resource type"};
        auto claim = [&](uint32_t rid, const std::string& type) {
            auto key = std::make_pair(rid, type);
            if (seen.count(key))
                throw ArtError{where, "resource " + std::to_string(rid) + " " + type + " already given at " + seen[key]};
            seen[key] = where;
        };
        if (w[1] == "BITMAP") {
            BitmapSpec b;
            b.id = id;
            b.where = where;
            size_t next = 4;
            if (w.size() < 4 || !parse_u32(w[2], b.width) || !parse_u32(w[3], b.height))
                throw ArtError{where, "expected: ID BITMAP WIDTH HEIGHT [FRAMES] RECIPE [ARG...]"};
            if (w.size() > 4 && std::isdigit(static_cast<unsigned char>(w[4][0]))) {
                if (!parse_u32(w[4], b.frames)) throw ArtError{where, "bad frame count"};
                next = 5;
            }
            if (b.width == 0 || b.height == 0 || b.width > 4096 || b.height > 4096)
                throw ArtError{where, "bitmap size out of range (1 to 4096 pixels)"};
            if (b.frames == 0 || b.frames > 256) throw ArtError{where, "frame count out of range (1 to 256)"};
            if (w.size() <= next) throw ArtError{where, "bitmap " + std::to_string(id) + " has no drawing recipe"};
            b.recipe = w[next];
            b.args = make_args(w, next + 1, where);
            for (uint32_t k = 0; k < b.frames; ++k) claim(id + k, "BITMAP");
            m.bitmaps.push_back(std::move(b));
        } else if (w[1] == "WAVE") {
            if (w.size() != 3) throw ArtError{where, "expected: ID WAVE FILE"};
            std::ifstream wave(folder + w[2], std::ios::binary);
            if (!wave) throw ArtError{where, "cannot open '" + folder + w[2] + "'"};
            claim(id, "WAVE");
            std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(wave)), std::istreambuf_iterator<char>());
            m.waves.push_back({id, "WAVE", std::move(bytes)});
        } else {
            throw ArtError{where, "unknown resource type '" + w[1] + "' (BITMAP or WAVE)"};
        }
    }
}

/* ---- canvas ------------------------------------------------------------------------ */

// The canvas of one frame; transparent pixels become pure black in the bitmap.
struct Canvas {
    cairo_surface_t* surface;
    cairo_t* cr;
    int w, h;
    Canvas(int width, int height) : w(width), h(height) {
        surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        cr = cairo_create(surface);
    }
    ~Canvas() {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
};

using tarn_assets::put_dib_header;

// A 24-bit bottom-up DIB of the canvas: pixels less than half covered are pure black
// (transparent), the others are never pure black.
std::vector<unsigned char> to_dib(Canvas& c) {
    cairo_surface_flush(c.surface);
    std::vector<unsigned char> out;
    const uint32_t stride = (c.w * 3 + 3) & ~3u;
    put_dib_header(out, c.w, c.h);
    const unsigned char* data = cairo_image_surface_get_data(c.surface);
    const int src_stride = cairo_image_surface_get_stride(c.surface);
    for (int row = 0; row < c.h; ++row) {
        const int y = c.h - 1 - row;
        const uint32_t* px = reinterpret_cast<const uint32_t*>(data + y * src_stride);
        for (int x = 0; x < c.w; ++x) {
            const uint32_t p = px[x];
            const unsigned a = p >> 24;
            unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            if (a < 128) {
                r = g = b = 0;
            } else {
                // Un-premultiply, and keep opaque pixels off the transparent colour.
                r = std::min(255u, r * 255 / a);
                g = std::min(255u, g * 255 / a);
                b = std::min(255u, b * 255 / a);
                if (r + g + b < 3) r = g = b = 1;
            }
            out.push_back(static_cast<unsigned char>(b));
            out.push_back(static_cast<unsigned char>(g));
            out.push_back(static_cast<unsigned char>(r));
        }
        for (uint32_t pad = c.w * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

/* ---- recipes ----------------------------------------------------------------------- */

// Every recipe by name, from the lists of the recipe files.
const std::map<std::string, Recipe>& recipes() {
    static const std::map<std::string, Recipe> table = [] {
        static const RecipeEntry* const lists[] = {
            kCommonRecipes,
            systems::kCabinRecipes,
            systems::kIndicatorsRecipes,
            systems::kMagnetosRecipes,
            instruments::kElectricalRecipes,
            instruments::kGyrosRecipes,
            instruments::kNavigationRecipes,
            instruments::kPitotStaticRecipes,
            instruments::kRegistrationRecipes,
            instruments::kThrottleQuadrantRecipes,
        };
        std::map<std::string, Recipe> t;
        for (const RecipeEntry* list : lists)
            for (const RecipeEntry* e = list; e->name; ++e)
                if (!t.emplace(e->name, e->draw).second) throw ArtError{"tarn-art", std::string("recipe '") + e->name + "' is listed twice"};
        return t;
    }();
    return table;
}

/* ---- layout check ------------------------------------------------------------------ */

// Faces still to be laid out: their layout faults are reported as warnings, not failures.
// Module and bitmap id; a face leaves this list when it passes the check. Every face of
// both modules passes now: the list is empty, and any fault fails the build.
const std::set<std::pair<std::string, uint32_t>> kStillToLayOut = {
};

/* ---- blob -------------------------------------------------------------------------- */

using tarn_assets::make_blob;

}  // namespace
}  // namespace tarn_art

using namespace tarn_art;

/* ---- main ---------------------------------------------------------------------------------- */

int main(int argc, char** argv) {
    // At the end the font machinery's caches go, so that leak checkers see nothing left.
    struct FontCaches {
        ~FontCaches() {
            cairo_debug_reset_static_data();
            FcFini();
        }
    } font_caches;
    std::string output, records_dir, module;
    std::vector<std::string> manifests;
    std::string png_dir;  // --png DIR: also write every frame as a PNG (for looking at)
    std::string panel_file;  // --panel FILE: the default panel, where caption sizes are checked
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--records" && i + 1 < argc) records_dir = argv[++i];
        else if (a == "--module" && i + 1 < argc) module = argv[++i];
        else if (a == "--png" && i + 1 < argc) png_dir = argv[++i];
        else if (a == "--panel" && i + 1 < argc) panel_file = argv[++i];
        else if (output.empty()) output = a;
        else manifests.push_back(a);
    }
    if (output.empty() || records_dir.empty() || module.empty() || manifests.empty()) {
        std::cerr << "usage: tarn-art OUTPUT.bin --records DIR --module NAME [--png DIR] [--panel FILE] MANIFEST...\n";
        return 2;
    }
    try {
        Manifests m;
        std::map<std::pair<uint32_t, std::string>, std::string> seen;
        for (const std::string& path : manifests) read_manifest(path, m, seen);
        std::map<int32_t, const BitmapSpec*> by_id;
        for (const BitmapSpec& b : m.bitmaps) by_id[static_cast<int32_t>(b.id)] = &b;

        tarn::PanelHost host(records_dir);
        Records records;
        records.host = &host;
        records.module = module;
        read_records(records);

        // Every bitmap an element shows is drawn here, at the size it is listed with.
        for (const auto& [id, uses] : records.uses) {
            if (by_id.count(id)) continue;
            bool frame = false;
            for (const BitmapSpec& b : m.bitmaps)
                if (static_cast<uint32_t>(id) > b.id && static_cast<uint32_t>(id) < b.id + b.frames) frame = true;
            if (!frame)
                throw ArtError{manifests.front(), "bitmap " + std::to_string(id) + " of \"" + uses.front().gauge + "\" has no manifest line"};
        }

        // How large the default panel shows each gauge at scale 1: the smallest of its
        // placements, its width given or its size_x_mm, over its background's width.
        std::map<std::string, double> shown;
        if (!panel_file.empty()) {
            const tarn::PanelConfig panel = tarn::load_panel_config(panel_file);
            tarn::Plugin& plugin = host.module(module);
            for (const tarn::PanelWindow& w : panel.windows)
                for (const tarn::PanelGauge& g : w.gauges) {
                    if (g.module != module || !records.sizes.count(g.gauge)) continue;
                    double width = 0;
                    for (GAUGEHDR* h : plugin.gauges())
                        if (g.gauge == h->gauge_name) width = g.w ? *g.w : h->size_x_mm;
                    const double f = width / records.sizes[g.gauge].first;
                    auto it = shown.find(g.gauge);
                    if (it == shown.end() || f < it->second) shown[g.gauge] = f;
                }
        }
        auto shown_for = [&](const std::vector<Use>& uses) {
            double f = 0;
            for (const Use& u : uses)
                if (auto it = shown.find(u.gauge); it != shown.end()) f = f == 0 ? it->second : std::min(f, it->second);
            return f;
        };

        std::map<std::string, std::vector<Scale>> scales;
        for (const ScaleSpec& s : m.scales) scales[s.gauge].push_back(measure(records, s, by_id));

        std::vector<Resource> resources;
        const std::vector<Use> no_uses;
        int layout_faults = 0;
        for (const BitmapSpec& b : m.bitmaps) {
            auto rec = recipes().find(b.recipe);
            if (rec == recipes().end()) throw ArtError{b.where, "unknown drawing recipe '" + b.recipe + "'"};
            auto u = records.uses.find(static_cast<int32_t>(b.id));
            for (uint32_t k = 0; k < b.frames; ++k) {
                Canvas canvas(static_cast<int>(b.width), static_cast<int>(b.height));
                Context ctx{records, b, u == records.uses.end() ? no_uses : u->second, scales, static_cast<int>(k), canvas.cr,
                            static_cast<double>(b.width), static_cast<double>(b.height)};
                layout() = Layout{};
                layout().w = b.width;
                layout().h = b.height;
                layout().shown = shown_for(ctx.uses);
                try {
                    rec->second(ctx);
                } catch (const std::exception& e) {
                    throw ArtError{b.where, std::string("cannot draw: ") + e.what()};
                }
                if (cairo_status(canvas.cr) != CAIRO_STATUS_SUCCESS)
                    throw ArtError{b.where, std::string("cairo: ") + cairo_status_to_string(cairo_status(canvas.cr))};
                if (const char* dump = std::getenv("TARN_ART_LAYOUT"); dump && std::to_string(b.id + k) == dump)
                    for (const LayoutItem& it : layout().items)
                        std::cerr << "layout " << it.kind << " '" << it.text << "' " << it.x0 << "," << it.y0 << " " << it.x1 << ","
                                  << it.y1 << " group " << it.group << "\n";
                {
                    const bool listed = kStillToLayOut.count({module, b.id}) != 0;
                    for (const std::string& f : check_layout(layout())) {
                        std::cerr << b.where << ": " << (listed ? "warning: " : "") << "bitmap " << b.id + k << " (" << b.recipe
                                  << "): " << f << "\n";
                        if (!listed) ++layout_faults;
                    }
                }
                if (!png_dir.empty())
                    cairo_surface_write_to_png(canvas.surface, (png_dir + "/" + std::to_string(b.id + k) + ".png").c_str());
                resources.push_back({b.id + k, "BITMAP", to_dib(canvas)});
            }
        }
        for (Resource& w : m.waves) resources.push_back(std::move(w));
        if (layout_faults > 0) {
            // No blob: the build stops until the faces are mended.
            std::cerr << "tarn-art: " << layout_faults << " layout fault" << (layout_faults == 1 ? "" : "s") << " in " << module
                      << "'s artwork\n";
            return 3;
        }

        std::vector<unsigned char> blob = make_blob(resources);
        const std::string temp = output + ".tmp";
        {
            std::ofstream out(temp, std::ios::binary);
            out.write(reinterpret_cast<const char*>(blob.data()), static_cast<std::streamsize>(blob.size()));
            if (!out) {
                std::cerr << output << ": cannot write\n";
                return 2;
            }
        }
        if (std::rename(temp.c_str(), output.c_str()) != 0) {
            std::cerr << output << ": cannot write\n";
            return 2;
        }
    } catch (const ArtError& e) {
        std::cerr << e.where << ": " << e.message << "\n";
        return 2;
    } catch (const tarn::HostError& e) {
        std::cerr << records_dir << "/" << module << ".gau: " << e.what() << "\n";
        return 2;
    }
    return 0;
}
