// The real gauges' artwork as the host draws it: the attitude indicator's aircraft symbol
// lies on the horizon at pitch 0, its round case shows no square on the panel, and at
// night a bright element (the flap lamps) and luminous faces (the Engines plate, the
// Suction dial) light only what should be lit.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/core/host.h"
#include "host/draw/panel.h"
#include "host/draw/render.h"

namespace {

std::string source_dir() {
    const std::string here = __FILE__;
    return here.substr(0, here.rfind("/tests/"));
}

unsigned red(uint32_t p) { return p >> 16 & 0xFF; }
unsigned green(uint32_t p) { return p >> 8 & 0xFF; }
unsigned blue(uint32_t p) { return p & 0xFF; }
unsigned alpha(uint32_t p) { return p >> 24; }

// Mean row of the pixels of column x that `is` picks, or NaN when none does.
template <class Pick>
double mean_row(const tarn::Image& img, int x, Pick is) {
    double sum = 0;
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        if (is(img.pixel(x, y))) {
            sum += y;
            ++n;
        }
    return n > 0 ? sum / n : std::nan("");
}

bool horizon_white(uint32_t p) { return alpha(p) == 255 && red(p) > 200 && green(p) > 200 && blue(p) > 200; }
bool symbol_orange(uint32_t p) { return alpha(p) == 255 && red(p) > 200 && green(p) > 60 && green(p) < 190 && blue(p) < 90; }

TEST(AttitudeArt, SymbolWingsLieOnTheHorizonAtPitchZero) {
    tarn::PanelHost host(TARN_GAUGES_DIR);
    tarn::GaugeInstance& g = host.create("TARN2_Instruments", "Attitude", nullptr);
    host.vars().set_number(78, 0);   // pitch
    host.vars().set_number(80, 0);   // bank
    host.vars().set_number(612, 0);  // aircraft symbol position
    host.update_all();
    const tarn::Image img = tarn::snapshot_gauge(g);
    // The horizon line in a column clear of the symbol, the ladder and the bank marks,
    // the symbol's wing in a column of its left wing.
    const double horizon = mean_row(img, 40, horizon_white);
    const double wing = mean_row(img, 52, symbol_orange);
    ASSERT_FALSE(std::isnan(horizon)) << "no horizon line in column 40";
    ASSERT_FALSE(std::isnan(wing)) << "no symbol wing in column 52";
    EXPECT_NEAR(wing, horizon, 1.0) << "wing row " << wing << ", horizon row " << horizon;
}

// The attitude indicator's card is square and turns; its bezel hides the corners with the
// panel's own colour, so on the default panel the gauge's corners are the window's colour.
TEST(AttitudeArt, CornersShowThePanelNotASquareCase) {
    tarn::PanelHost host(TARN_GAUGES_DIR);
    tarn::Panel panel(host, tarn::load_panel_config(source_dir() + "/panel/panel.cfg"));
    host.update_all();
    bool found = false;
    for (size_t i = 0; i < panel.gauges().size(); ++i) {
        const tarn::PlacedGauge& g = panel.gauges()[i];
        if (g.instance == nullptr || g.line->gauge != "Attitude") continue;
        found = true;
        tarn::PanelRenderer r(panel, {.window = g.window->number});
        const tarn::Image& frame = r.frame();
        const tarn::PixelRect rect = *r.gauge_rect(i);
        const uint32_t panel_colour = 0xFF000000u | g.window->background.value_or(0);
        const int x0 = int(std::ceil(rect.x)) + 2, y0 = int(std::ceil(rect.y)) + 2;
        const int x1 = int(rect.x + rect.w) - 3, y1 = int(rect.y + rect.h) - 3;
        for (auto [x, y] : std::vector<std::pair<int, int>>{{x0, y0}, {x1, y0}, {x0, y1}, {x1, y1}})
            EXPECT_EQ(frame.pixel(x, y), panel_colour) << "Attitude corner pixel (" << x << "," << y << ")";
    }
    EXPECT_TRUE(found) << "no Attitude gauge on the default panel";
}

// Night lighting of single gauges: the pixel at (x, y) by day and at night.
struct DayNight {
    uint32_t day, night;
};

DayNight day_and_night(tarn::GaugeInstance& g, int x, int y) {
    return {tarn::snapshot_gauge(g, false).pixel(x, y), tarn::snapshot_gauge(g, true).pixel(x, y)};
}

TEST(NightLighting, FlapLampsLightOnlyTheLitWindowAndThePlateDims) {
    tarn::PanelHost host(TARN_GAUGES_DIR);
    tarn::GaugeInstance& g = host.create("TARN", "Flaps", nullptr);
    host.vars().set_number(329, 0);  // flaps up: the UP window lit
    host.update_all();
    // The plate beside the DN window dims to about 30% like the rest of the panel.
    const DayNight plate = day_and_night(g, 20, 100);
    EXPECT_NEAR(red(plate.night), red(plate.day) * 77 / 256, 2) << "plate by day " << std::hex << plate.day
                                                              << ", at night " << plate.night;
    EXPECT_GT(red(plate.day), 30u) << "the plate is not dark by day";
    // The lit UP window keeps its day colour.
    const DayNight lit = day_and_night(g, 36, 28);
    EXPECT_EQ(lit.night, lit.day);
    EXPECT_GT(green(lit.day), 150u) << "the UP window is lit green";
}

// A luminous face glows only in its marks: the plate of the Engines cluster and the bezels
// of the Suction dial and the clock stay dark at night.
TEST(NightLighting, LuminousFacesDoNotGlowOutsideTheirMarks) {
    tarn::PanelHost host(TARN_GAUGES_DIR);
    tarn::GaugeInstance& engines = host.create("TARN", "Engines", nullptr);
    tarn::GaugeInstance& suction = host.create("TARN", "Suction", nullptr);
    tarn::GaugeInstance& clock = host.create("TARN2_Instruments", "Clock", nullptr);
    host.update_all();
    struct Probe {
        tarn::GaugeInstance* g;
        const char* what;
        int x, y;
    };
    for (const Probe& p : {Probe{&engines, "Engines plate, left margin", 5, 500},
                           Probe{&engines, "Engines plate, between the columns", 185, 600},
                           Probe{&suction, "Suction bezel, top", 75, 2},
                           Probe{&suction, "Suction bezel, left", 2, 75},
                           Probe{&clock, "Clock bezel, left", 5, 55}}) {
        const uint32_t night = tarn::snapshot_gauge(*p.g, true).pixel(p.x, p.y);
        EXPECT_EQ(alpha(night), 255u) << p.what << " is drawn";
        EXPECT_LE(std::max({red(night), green(night), blue(night)}), 40u)
            << p.what << " glows at night: " << std::hex << night;
    }
}

}  // namespace
