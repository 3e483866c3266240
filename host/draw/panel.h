// A panel: the gauges of a panel configuration made into instances on a host, drawn
// window by window, and the checks and commands built on it.
//
//   PanelHost host(gauges_dir);
//   Panel panel(host, load_panel_config("panel/panel.cfg"));  // one instance per gauge line
//   host.update_all();
//   PanelRenderer r(panel, {.scale = 1.0, .window = 0});
//   write_png(r.frame(), "panel.png", kPngDefault, &why);    // later frames redraw what changed
//
//   std::vector<Finding> f = lint_panel(host, cfg);            // no instances, no drawing
//
// Sizes: a gauge line's w and h are panel units (size_mm units); without them the gauge
// is its header's size_x_mm wide (its background's width when that is 0) and as high as
// its background's aspect gives; with w alone, the aspect gives the height. A window is
// size_mm wide and high; without a height, its picture's aspect gives one, and without a
// picture the lowest gauge's bottom edge. The picture of a window has (size_mm x scale)
// pixels; a gauge is its own picture scaled to its box.
// A gauge the host cannot make (unknown module or gauge, records it cannot use) is a
// missing gauge: a magenta box with its name, 50 x 50 units unless the line sizes it,
// reported with the file and line; a gauge of another kind (HTML) is a grey-blue box.
// Boxes are clipped to their window, labels shortened to fit; a gauge without size or
// wholly outside its window is reported and not drawn. A virtual cockpit ([VCockpitNN])
// is drawn as its texture: pixel_size pixels (at scale 1), its gauges placed in them,
// titled with its texture's name.
#ifndef TARN_HOST_PANEL_H
#define TARN_HOST_PANEL_H

#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "host/draw/bitmap.h"
#include "host/core/errors.h"
#include "host/core/host.h"
#include "host/core/panel_config.h"
#include "host/draw/render.h"

namespace tarn {

struct PlacedGauge {
    const PanelWindow* window = nullptr;
    const PanelGauge* line = nullptr;
    GaugeInstance* instance = nullptr;  // nullptr: missing
    std::string name;                   // for scripts: "Window00.gauge03"
    double x = 0, y = 0, w = 0, h = 0;  // panel units in its window (texture pixels in a
                                        // virtual cockpit)
    bool shown = true;                  // false: no size, or wholly outside its window
};

// A gauge's box size in panel units (see above).
std::pair<double, double> gauge_size(const PanelGauge& line, const GAUGEHDR* header, int bitmap_width,
                                     int bitmap_height);

class Panel {
public:
    Panel(PanelHost& host, PanelConfig config);
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    PanelHost& host() const { return host_; }
    const PanelConfig& config() const { return config_; }
    const std::vector<PlacedGauge>& gauges() const { return gauges_; }
    // Missing gauges, gauges of other kinds, gauges not drawn (no size, wholly outside
    // their window) and background pictures that could not be read, by file and line.
    const std::vector<Finding>& problems() const { return problems_; }
    // The configuration's findings and the problems, by line: what render and view warn of.
    std::vector<Finding> findings() const;
    // A window's size in panel units (a virtual cockpit's in texture pixels), and its
    // background picture (empty without one).
    std::pair<double, double> window_size(const PanelWindow& w) const;
    const Image& window_picture(const PanelWindow& w) const;
    // Script names of the placed gauges that exist.
    std::map<std::string, GaugeInstance*> names() const;

private:
    PanelHost& host_;
    PanelConfig config_;
    std::vector<PlacedGauge> gauges_;
    std::vector<Finding> problems_;
    std::map<const PanelWindow*, std::pair<double, double>> sizes_;
    std::map<const PanelWindow*, Image> pictures_;
    Image no_picture_;
};

struct RenderOptions {
    double scale = 1.0;            // pixels per panel unit
    bool night = false;
    std::optional<int> window;     // one window by number; all windows on one sheet when absent
    std::optional<int> vcockpit;   // or one virtual cockpit by number
};

// Pixel box in the panel picture.
struct PixelRect {
    double x = 0, y = 0, w = 0, h = 0;
};

// A picture (the sheet, a window or a gauge in it) too large to draw at the scale asked.
class PictureTooLarge : public HostError {
public:
    using HostError::HostError;
};

// Draws a panel's windows. It keeps pictures and decoded bitmaps of the panel's modules,
// so it must not outlive the panel or its host.
class PanelRenderer {
public:
    // Throws HostError: no window of that number, a scale out of range; PictureTooLarge: a
    // picture larger than 16384 pixels a side or 64 million in all.
    PanelRenderer(const Panel& panel, RenderOptions options);
    ~PanelRenderer();
    PanelRenderer(const PanelRenderer&) = delete;
    PanelRenderer& operator=(const PanelRenderer&) = delete;

    // The panel as it shows now: the first frame draws everything; later frames redraw
    // only where elements changed, each gauge drawing straight onto the picture.
    const Image& frame();
    // Gauges drawn anew by the last frame.
    int redrawn() const { return redrawn_; }
    void set_night(bool night);
    // The next frame draws everything again.
    void invalidate();
    // Where a placed gauge (index into Panel::gauges) lies in the picture; nullopt when
    // its window is not drawn.
    std::optional<PixelRect> gauge_rect(size_t index) const;

private:
    struct Slot {
        size_t gauge;
        std::unique_ptr<GaugeRenderer> renderer;  // nullptr for a missing gauge
        PixelRect rect;
        int x0, y0, x1, y1;                       // whole pixels it touches
    };
    void draw_base();
    // Puts the backgrounds and gauges together inside a box of the picture: the
    // backgrounds copied where no opaque gauge lies, and every gauge meeting the box
    // drawing its elements there, straight onto the picture.
    void compose(int x0, int y0, int x1, int y1, bool everywhere);
    // Where opaque gauges cover the backgrounds, and where other gauges lie over them.
    void find_cover();

    const Panel& panel_;
    RenderOptions options_;
    std::map<const Plugin*, std::unique_ptr<PluginImages>> images_;
    std::vector<Slot> slots_;
    std::vector<std::pair<const PanelWindow*, PixelRect>> windows_;
    Image base_;    // backgrounds, titles, missing gauges
    Image canvas_;  // base with the gauges drawn onto it
    cairo_t* cr_ = nullptr;
    cairo_region_t* covered_ = nullptr;
    cairo_region_t* under_ = nullptr;
    bool first_ = true;      // everything is drawn at the next frame
    bool base_stale_ = true; // and the backgrounds as well
    int redrawn_ = 0;
};

// Checks a panel file without making instances or drawing: the configuration's findings,
// unknown modules and gauges, gauges of other kinds, unreadable pictures, gauges without
// size, reaching or lying wholly outside their window, overlapping gauges (the first 100
// gauges overlapping an earlier one are listed, the rest counted), idents used twice.
std::vector<Finding> lint_panel(PanelHost& host, const PanelConfig& config);

// The commands of the panel program. Exit status: 0 all well, 1 findings (lint) or
// missing gauges and failed script expectations (render), 2 bad input.
struct RenderCommand {
    std::string config;
    std::string output;
    RenderOptions options;
    std::vector<std::pair<uint32_t, std::string>> sets;  // --set TOKEN=VALUE
    std::vector<std::string> scripts;                    // --script FILE
};
int render_command(const std::string& gauges_dir, const RenderCommand& command, std::ostream& out,
                   std::ostream& err);
int lint_command(const std::string& gauges_dir, const std::string& config, std::ostream& out, std::ostream& err);

}  // namespace tarn

#endif
