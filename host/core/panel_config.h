// Panel configuration files ("panel.cfg" of the simulator family): the panel's windows
// and the gauges placed on them.
//
//   PanelConfig cfg = load_panel_config("panel/panel.cfg");   // throws PanelConfigError
//   for (const PanelWindow& w : cfg.windows)
//       for (const PanelGauge& g : w.gauges) place(g.module, g.gauge, g.x, g.y, g.params);
//
// The format, as read here:
//   [Window Titles]
//   Window00=Main Panel                    // a title per window
//   [Window00]
//   file=panel_background.bmp              ; background picture (.bmp or .png), optional
//   size_mm=2400,1300                      ; width, or width and height, in panel units
//   position=7  visible=1  ident=MAIN_PANEL  window_pos=0,0.5  window_size=1,0.5
//   background_color=40,42,44              ; r,g,b when there is no file
//   gauge00=TARN!Engines, 10, 20           ; no size: the gauge's size_x_mm wide,
//   gauge01=TARN!Flaps, 400, 20, 69        ;   its background's aspect
//   gauge02=TARN2_Instruments!Tachometer, 500, 20, 300, 300, 2   ; parameters after h
//   gauge03=TARN2_Instruments!Tachometer, 800, 20, , , 2         ; (w and h may be empty)
// Positions and sizes are in size_mm units from the window's top-left. Keys and section
// names are case-insensitive; "//" and ";" start a comment anywhere on a line. Gauges
// are drawn in the order of their numbers (gaps allowed).
// Errors (PanelConfigError, "FILE:LINE: message"): bad numbers, a key given twice, a
// section given twice, a line that is neither a section, a key nor a comment, a gauge
// line without MODULE!GAUGE, x and y, a window without a size. Keys and sections that
// this host does not use are kept as warnings (lint reports them).
#ifndef TARN_HOST_PANEL_CONFIG_H
#define TARN_HOST_PANEL_CONFIG_H

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarn {

// Something found in a panel file: FILE:LINE: message.
struct Finding {
    std::string file;
    int line = 0;
    std::string message;
    std::string text() const { return file + ":" + std::to_string(line) + ": " + message; }
};

class PanelConfigError : public std::runtime_error {
public:
    explicit PanelConfigError(const Finding& f) : std::runtime_error(f.text()), finding(f) {}
    Finding finding;
};

struct PanelGauge {
    int number = 0;              // NN of gaugeNN
    int line = 0;
    std::string module, gauge;   // MODULE!GAUGE
    double x = 0, y = 0;         // top-left, panel units
    std::optional<double> w, h;  // size, panel units
    std::optional<std::string> params;  // parameter string (none when the line has none)
    std::string name() const { return module + "!" + gauge; }
};

struct PanelWindow {
    int number = 0;              // NN of [WindowNN]
    int line = 0;                // the section's line
    std::string key;             // "Window00", as spelt in the section name
    std::string title;
    std::string file;            // background picture, relative to the file's folder
    int file_line = 0;
    std::optional<double> size_w, size_h;  // size_mm
    int position = 0;
    bool visible = true;
    std::string ident;
    int ident_line = 0;
    std::optional<std::pair<double, double>> window_pos, window_size;
    std::optional<unsigned> background;   // 0xRRGGBB
    std::vector<PanelGauge> gauges;       // by number
};

struct PanelConfig {
    std::string path;            // as given
    std::string folder;          // where relative file names start ("" or ending in '/')
    std::vector<PanelWindow> windows;  // by number
    std::vector<Finding> warnings;     // keys and sections this host does not use
    const PanelWindow* window(int number) const;
};

PanelConfig parse_panel_config(const std::string& text, const std::string& path);
PanelConfig load_panel_config(const std::string& path);

}  // namespace tarn

#endif
