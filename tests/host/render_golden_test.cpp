// Golden images: gauges of the test module and a few real gauges of both modules drawn
// at chosen states and compared with the reference pictures in tests/golden/, pixel by
// pixel within a small tolerance, so that any change in how the host draws, or in a real
// gauge's artwork or records, shows here.
//
// When a change in drawing is meant, regenerate the references on purpose:
//   tests/golden/regenerate.sh [BUILD_DIR]
// (it runs these tests with TARN_UPDATE_GOLDEN=1, which writes instead of comparing; the
// real gauges are built first, so new artwork is in their pictures).
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "host/core/host.h"
#include "host/draw/render.h"
#include "platform/host_control.h"

namespace {

using tarn::Image;

// A channel may differ by this much (of 255) before a pixel counts as changed.
constexpr int kTolerance = 12;

std::string golden_dir() {
    const std::string here = __FILE__;
    return here.substr(0, here.rfind("/tests/")) + "/tests/golden/";
}

int channel_difference(uint32_t a, uint32_t b) {
    int most = 0;
    for (int shift = 0; shift < 32; shift += 8)
        most = std::max(most, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
    return most;
}

// Compares a picture with its reference, or writes the reference when asked to.
void check_golden(const std::string& name, const Image& got) {
    const std::string path = golden_dir() + name + ".png";
    std::string why;
    if (const char* update = std::getenv("TARN_UPDATE_GOLDEN"); update && *update && std::string(update) != "0") {
        ASSERT_TRUE(tarn::write_png(got, path, tarn::kPngDefault, &why)) << why;
        std::cout << "wrote " << path << "\n";
        return;
    }
    Image want = tarn::read_png(path, &why);
    ASSERT_FALSE(want.empty()) << why << " (no reference picture: run tests/golden/regenerate.sh)";
    ASSERT_EQ(got.width(), want.width()) << name;
    ASSERT_EQ(got.height(), want.height()) << name;
    int changed = 0, worst = 0, first_x = -1, first_y = -1;
    Image diff(got.width(), got.height(), false);
    for (int y = 0; y < got.height(); ++y)
        for (int x = 0; x < got.width(); ++x) {
            const int d = channel_difference(got.pixel(x, y), want.pixel(x, y));
            worst = std::max(worst, d);
            diff.row(y)[x] = d > kTolerance ? 0xFF0000u : uint32_t(d * 8) << 8;
            if (d > kTolerance && changed++ == 0) {
                first_x = x;
                first_y = y;
            }
        }
    if (changed > 0) {
        cairo_surface_mark_dirty(diff.surface());
        const std::string out = std::string(testing::TempDir()) + "golden_" + name;
        tarn::write_png(got, out + "_got.png", tarn::kPngFast, &why);
        tarn::write_png(diff, out + "_diff.png", tarn::kPngFast, &why);
        ADD_FAILURE() << name << ": " << changed << " pixels differ by more than " << kTolerance << " (most " << worst
                      << "), the first at " << first_x << "," << first_y << "; see " << out << "_got.png and "
                      << out << "_diff.png";
    }
}

struct Case {
    const char* name;
    const char* gauge;
    std::function<void(tarn::PanelHost&)> prepare;
    bool night = false;
    int width = 0, height = 0;  // 0: the gauge's own size
    const char* module = "TestGauges";  // any other: a real module, from the build's gauges folder
};

// Test names in listings: the case's name.
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

void set(tarn::PanelHost& h, std::initializer_list<std::pair<uint32_t, double>> values) {
    for (auto [token, value] : values) h.vars().set_number(token, value);
}

void canvas_moved(tarn::PanelHost& h) {
    set(h, {{9001, 30}, {9002, -45}, {9003, 2}, {9004, 5}, {9005, -3}, {9006, 7}, {9007, 30}, {9008, 1234}});
}

const Case kCases[] = {
    // Every element of "Canvas" at rest: needles as drawn, first icon frame, strip at its start.
    {"canvas_rest", "Canvas", [](tarn::PanelHost&) {}},
    // Needles turned both ways (one smooth, one not), last icon frame, slider, strip and
    // sprite moved, a number in the seven-segment face.
    {"canvas_moved", "Canvas", canvas_moved},
    // The same at night: dimmed, the luminous background lit, the bright text as by day.
    {"canvas_night", "Canvas", canvas_moved, true},
    // The same drawn at 0.7 of its size, as a panel places it.
    {"canvas_scaled", "Canvas", canvas_moved, false, 140, 70},
    // Hidden icon and failed badge: nothing drawn where they were.
    {"canvas_hidden", "Canvas",
     [](tarn::PanelHost& h) {
         set(h, {{9009, 1}});
         h.failures().fail(21);
     }},
    // "Probe": the hundreds hand on a table, a slewed needle, the text through the formatter.
    {"probe", "Probe",
     [](tarn::PanelHost& h) {
         set(h, {{74, 125}, {350, 200}, {355, 7}, {600, 4}, {601, 45}, {602, 2.5}});
         h.vars().set_text(839, "KSEA");
     }},
    // Real gauges. The tachometer at 2400 rpm, mid-range of its dial.
    {"tachometer_mid", "Tachometer", [](tarn::PanelHost& h) { set(h, {{390, 2400}}); }, false, 0, 0,
     "TARN2_Instruments"},
    // The attitude card banked 20 degrees right and pitched 10 up.
    {"attitude_banked", "Attitude", [](tarn::PanelHost& h) { set(h, {{78, 10}, {80, 20}}); }, false, 0, 0,
     "TARN2_Instruments"},
    // The altimeter at 3450 ft, set to 30.12 inHg (1020 mbar).
    {"altimeter", "Altimeter", [](tarn::PanelHost& h) { set(h, {{74, 3450}, {75, 1020}, {76, 30.12}}); }, false, 0,
     0, "TARN2_Instruments"},
    // Flaps at the take-off setting.
    {"flaps_takeoff", "Flaps", [](tarn::PanelHost& h) { set(h, {{329, 8192}}); }, false, 0, 0, "TARN"},
    // Left engine: both magnetos on and the starter turned.
    {"magnetos_starter", "Magnetos", [](tarn::PanelHost& h) { set(h, {{399, 1}, {400, 1}, {401, 1}}); }, false, 0, 0,
     "TARN"},
    // The left fuel gauge half full, at night.
    {"fuel_left_night", "Fuel_Left", [](tarn::PanelHost& h) { set(h, {{304, 40}}); }, true, 0, 0, "TARN"},
};

class RenderGolden : public testing::TestWithParam<Case> {};

TEST_P(RenderGolden, MatchesItsReference) {
    const Case& c = GetParam();
    const std::string module = c.module;
    tarn::PanelHost host(module == "TestGauges" ? TARN_TEST_GAUGES_DIR : TARN_GAUGES_DIR);
    tarn::GaugeInstance& g = host.create(module, c.gauge, nullptr);
    host.update_all();  // the first update places everything without slew
    c.prepare(host);
    tarn_platform_advance_time(1000);
    host.update_all();
    tarn::PluginImages images(g.plugin());
    check_golden(c.name, tarn::render_gauge(g, images, c.night, c.width, c.height));
}

INSTANTIATE_TEST_SUITE_P(Pictures, RenderGolden, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

// The comparison notices a change: one pixel moved by more than the tolerance fails.
TEST(RenderGoldenCheck, AChangedPixelIsNoticed) {
    Image a(4, 4, false), b(4, 4, false);
    EXPECT_EQ(channel_difference(a.pixel(1, 1), b.pixel(1, 1)), 0);
    b.row(1)[1] = 0x000D0000u;
    cairo_surface_mark_dirty(b.surface());
    EXPECT_EQ(channel_difference(a.pixel(1, 1), b.pixel(1, 1)), 13);
    EXPECT_GT(channel_difference(a.pixel(1, 1), b.pixel(1, 1)), kTolerance);
}

}  // namespace
