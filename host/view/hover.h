// What the pointer is over, as one line for a window's title: the gauge (MODULE!GAUGE),
// where the panel file places it (window and line), its parameters, and what the help id
// under the pointer names; or a missing gauge's name and why it is missing.
//
//   hover_text({.gauge = "TARN2_Instruments!Tachometer", .window = "Window00",
//               .file = "panel.cfg", .line = 33, .params = "2", .help_id = 0xAB68})
//   // TARN2_Instruments!Tachometer (Window00, panel.cfg:33, parameters "2"), help 43880 (0xAB68)
#ifndef TARN_HOST_VIEW_HOVER_H
#define TARN_HOST_VIEW_HOVER_H

#include <optional>
#include <string>

namespace tarn {

struct HoverInfo {
    std::string gauge;                  // MODULE!GAUGE
    std::string window;                 // the panel file's section, "Window00"
    std::string file;                   // the panel file, as given
    int line = 0;                       // the gauge's line in it
    std::optional<std::string> params;  // the line's parameter string, when it has one
    int help_id = 0;                    // 0: none under the pointer
    std::string help_text;              // what the help id names, "" when unknown
    std::string missing;                // why the gauge is missing ("" when it is there)
};

std::string hover_text(const HoverInfo& info);

// The host's text for a help id of the panel's gauges, or "" when it has none.
std::string help_id_text(int help_id);

}  // namespace tarn

#endif
