// A contact sheet: every gauge of every module in the gauges folder on one picture, a row
// per gauge (modules in name order, gauges in module order), each drawn at rest, mid-range,
// at its low end and at its high end, by day, by night or both side by side.
//
//   tarn::PanelHost host("build/gauges");
//   tarn::Sheet sheet = tarn::draw_sheet(host, {.scale = 1.0, .light = tarn::SheetLight::kBoth});
//   write_png(sheet.image, "sheet.png", kPngDefault, &why);
//
// The states: "at rest" is a fresh instance after its first update, with every variable
// as a new host holds it (cold and dark). For the others, every numeric variable the
// gauge's elements read (their source variables) is set at once. Each variable is tried
// on its own over a ladder of values from -1e6 to 1e6 (0, then 1, 1.5, 2, 2.5, 3, 4, 5,
// 6, 7.5, 8 in each decade, both signs); what it moves is measured on the first element
// reading it that moves most: a needle's direction, an icon's frame, a slider's, moving
// image's or sprite's value. The low end is the value nearest 0 that gives that
// element's least measure, the high end the one that gives its greatest, mid-range the
// value half way between the two in measure (found by halving between two ladder values
// around it). A measure that still grows at the ladder's end (a hand that turns on for
// ever, a card) has no end there: that end is where it has turned or moved a third of
// the way from its rest to the ladder's end, so a hand shows a turn away from its rest.
// Variables no element moves with (read by texts alone, say) are set to 0 and 1 at the
// ends and 0.5 in between. Needles are given time to reach their place before drawing.
//
// Sizes: each gauge is drawn to fit a cell of 240 x 160 pixels at scale 1, keeping its
// aspect, but never at less than half its own size (a tall gauge makes its row
// taller).
#ifndef TARN_HOST_SHEET_H
#define TARN_HOST_SHEET_H

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "host/core/host.h"
#include "host/draw/bitmap.h"

namespace tarn {

enum class SheetLight { kDay, kNight, kBoth };

struct SheetOptions {
    double scale = 1.0;  // 0.25 to 4
    SheetLight light = SheetLight::kDay;
};

// The states a gauge is drawn in, in column order.
enum class SheetState { kRest, kMid, kLow, kHigh };
constexpr int kSheetStates = 4;

// The values one variable is given in the mid-range, low and high states.
struct SheetValues {
    double mid = 0, low = 0, high = 0;
    bool moves = false;  // some element reading it moves with it
};

// What each numeric variable an instance's elements read is set to, by token. Tries the
// values on the instance (updating it), then puts the variables back as they were.
std::map<uint32_t, SheetValues> sheet_values(PanelHost& host, GaugeInstance& gauge);

struct SheetRow {
    std::string name;  // "MODULE!GAUGE"
    int y = 0, height = 0;
    std::map<uint32_t, SheetValues> values;
};

struct Sheet {
    Image image;
    std::vector<SheetRow> rows;
    // Where the columns lie: left edges and the width of each cell.
    std::vector<int> columns;
    int cell_width = 0;
};

// Draws the sheet of every module in the host's gauges folder. Throws HostError: no
// modules, a gauge that cannot be made, a scale out of range, a picture too large.
Sheet draw_sheet(PanelHost& host, const SheetOptions& options);

struct SheetCommand {
    std::string output;
    SheetOptions options;
};
// Exit status: 0 written, 2 bad input (a gauges folder without modules, an output that
// cannot be written, a folder given as the output).
int sheet_command(const std::string& gauges_dir, const SheetCommand& command, std::ostream& out,
                  std::ostream& err);

}  // namespace tarn

#endif
