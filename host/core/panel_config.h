// Panel configuration files ("panel.cfg" of the simulator family): the panel's windows
// and the gauges placed on them.
//
//   PanelConfig cfg = load_panel_config("panel/panel.cfg");   // throws PanelConfigError
//   for (const PanelWindow& w : cfg.windows)
//       for (const PanelGauge& g : w.gauges) place(g.module, g.gauge, g.x, g.y, g.params);
//
// The format, as read here:
//   [Window Titles]
//   Window00=Main Panel                    // a title per window (UTF-8 or Windows-1252)
//   [Window00]
//   file=panel_background.bmp              ; background picture (.bmp or .png), optional
//   file_1024=panel_background_1024.bmp    ; a variant for a screen width, used when there is no file=
//   size_mm=2400,1300                      ; width, or width and height, in panel units
//   position=7  visible=1  ident=MAIN_PANEL  window_pos=0,0.5  window_size=1,0.5
//   background_color=40,42,44              ; r,g,b (commas or blanks) when there is no file
//   gauge00=TARN!Engines, 10, 20           ; no size: the gauge's size_x_mm wide,
//   gauge01=TARN!Flaps, 400, 20, 69        ;   its background's aspect
//   gauge02=TARN2_Instruments!Tachometer, 500, 20, 300, 300, 2   ; parameters after h
//   gauge03=TARN2_Instruments!Tachometer, 800, 20, , , 2         ; (w and h may be empty)
//   gauge04=avionics\radios!Com, 0, 0     ; a module in a folder of the gauges folder
//   gauge05=Clock, 0, 0                    ; a bare module name: the module's first gauge
//   gauge06=Logic!Start, 0,0,0,0           ; zero size: made, never drawn
//   htmlgauge00=Glass/PFD/pfd.html, 0,0,1024,768   ; another kind of gauge: a labelled box
//   [VCockpit01]                           ; a virtual cockpit's texture
//   size_mm=1024,768  pixel_size=1024,768  texture=PFD_Screen  background_color=0,0,0
//   gauge00=...                            ; placed in size_mm units, drawn in its pixels
// Positions and sizes are in size_mm units from the window's top-left. Keys and section
// names are case-insensitive; "//" and ";" start a comment anywhere on a line. Gauges
// are drawn in the order of their numbers (gaps allowed, gauge00 to gauge999). Lines may
// end in CR LF, LF or CR alone; a UTF-8 byte-order mark and a trailing Ctrl-Z are skipped.
//
// A simulator loads a panel file whatever it holds, so this reader does too: a line or
// value it cannot use is a Finding ("FILE:LINE: message", in PanelConfig::warnings) and
// the value is taken as a simulator takes it, or left at its default. A key or section
// given twice keeps its first (as the Windows profile reader does); a bad number reads
// its leading digits (0 without any). Keys and sections that this host does not use are
// findings too. Only a file that is no panel file at all throws PanelConfigError: not
// text (a NUL or control byte), empty, without any window or virtual cockpit, over
// 16 MiB, or one that cannot be opened.
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
    enum class Kind { kModule, kHtml };
    Kind kind = Kind::kModule;   // gaugeNN (a module's gauge) or htmlgaugeNN (drawn as a box)
    int number = 0;              // NN of gaugeNN
    int line = 0;
    std::string module, gauge;   // MODULE!GAUGE; gauge "" for a bare module name (its first
                                 // gauge); an HTML gauge's path is its gauge, module ""
    double x = 0, y = 0;         // top-left, panel units
    std::optional<double> w, h;  // size, panel units
    std::optional<std::string> params;  // parameter string (none when the line has none)
    std::string name() const { return kind == Kind::kHtml || gauge.empty() ? module + gauge : module + "!" + gauge; }
};

struct PanelWindow {
    bool virtual_cockpit = false;  // [VCockpitNN] rather than [WindowNN]
    int number = 0;              // NN of [WindowNN]
    int line = 0;                // the section's line
    std::string key;             // "Window00", as spelt in the section name
    std::string title;           // UTF-8; a virtual cockpit's is its texture name
    std::string file;            // background picture, relative to the file's folder
    int file_line = 0;
    std::optional<double> size_w, size_h;  // size_mm
    int position = 0;
    bool visible = true;
    std::string ident;
    int ident_line = 0;
    std::optional<std::pair<double, double>> window_pos, window_size;
    std::optional<unsigned> background;   // 0xRRGGBB
    std::optional<std::pair<int, int>> pixel_size;  // a virtual cockpit's texture, pixels
    std::string texture;
    std::vector<PanelGauge> gauges;       // by number
};

struct PanelConfig {
    std::string path;            // as given
    std::string folder;          // where relative file names start ("" or ending in '/')
    std::vector<PanelWindow> windows;  // [WindowNN] by number, then [VCockpitNN] by number
    std::vector<Finding> warnings;     // what this host cannot use or does not use, by line
    const PanelWindow* window(int number) const;     // a [WindowNN]
    const PanelWindow* vcockpit(int number) const;   // a [VCockpitNN]
};

PanelConfig parse_panel_config(const std::string& text, const std::string& path);
PanelConfig load_panel_config(const std::string& path);

// Text in UTF-8 (kept) or Windows-1252 (converted), as UTF-8.
std::string panel_text_to_utf8(const std::string& text);

// A file named relative to a folder as Windows finds it: '\\' and '/' both separate, and
// each part matches a name in its folder without regard to case (an exact match first).
// The path found, or base/relative as written when a part has no match.
std::string find_path_nocase(const std::string& base, const std::string& relative);

}  // namespace tarn

#endif
