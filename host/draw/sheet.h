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
// gauge's elements read (their source variables, in the units the host keeps them) is
// set at once, to values found for each variable on its own:
// - it is tried over a ladder of values: 0 and, both signs, 1, 1.5, 2, 2.5, 3, 4, 5, 6,
//   7.5 and 8 in each decade from 0.001 to 100000, and 1e6;
// - what it moves is measured on the element reading it that changes most along the
//   ladder: a needle's direction, an icon's frame (none drawn counts as no measure), a
//   slider's or sprite's shift in pixels or turn in degrees, a moving image's value;
// - low end and high end: the values nearest 0 that give the least and the greatest
//   measure. A side of the ladder where the measure still changes between its last two
//   values goes on for ever (a hand that turns on, a card, a lever without a stop): when
//   only one side does, its end is 0; when both do, the ends are where the measure has
//   moved, on each side, a quarter turn (needles), an eighth of a turn (sprite turns) or
//   a quarter of the gauge's smaller side (shifts) from where 0 puts it;
// - mid-range: the value between the two ends giving the measure half way between
//   theirs (halved down between the two ladder values around it);
// - variables no element moves with (read by texts only, or only together with others)
//   are set to 0.5 at mid-range, 0 at the low end and 1 at the high end.
// Before each picture the clock runs on (two minutes at a time) until every needle has
// reached its place.
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
