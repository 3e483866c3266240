// The contact sheet: a row for every gauge of both modules in module order, each showing
// its moving parts moved between its columns and dimmed by night; the values it finds
// for a needle on a table, a sprite that turns on for ever and a needle whose travel goes
// on below 0; the command's PNG and its bad input.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/draw/render.h"
#include "host/draw/sheet.h"

namespace {

// A cell's pixels.
std::vector<uint32_t> cell(const tarn::Image& image, int x, int y, int w, int h) {
    std::vector<uint32_t> out;
    for (int r = y; r < y + h; ++r)
        for (int c = x; c < x + w; ++c) out.push_back(image.pixel(c, r));
    return out;
}

// Gauges that show the same in every state: what they draw follows no variable of their
// elements (module state set by clicks, their parameters, a variable read and unused).
const std::set<std::string> kStill = {"TARN!Primer",    "TARN!PN",  "TARN!Slave", "TARN!AutoCord",
                                      "TARN2_Instruments!Registration", "TARN2_Instruments!Radio_Alt_Switch"};
// Gauges drawn bright throughout, the same by day and by night.
const std::set<std::string> kBright = {"TARN!OMI", "TARN!PN"};

TEST(Sheet, EveryGaugeHasARowWhoseMovingPartsMove) {
    tarn::PanelHost host(TARN_GAUGES_DIR);
    const tarn::Sheet sheet = tarn::draw_sheet(host, {.scale = 0.5, .light = tarn::SheetLight::kBoth});
    std::vector<std::string> names;
    for (const std::string& module : host.module_names())
        for (GAUGEHDR* g : host.module(module).gauges()) names.push_back(module + "!" + g->gauge_name);
    ASSERT_EQ(names.size(), 52u);
    ASSERT_EQ(sheet.rows.size(), names.size());
    ASSERT_EQ(sheet.columns.size(), 2u * tarn::kSheetStates);
    EXPECT_EQ(names.front(), "TARN!Magnetos");
    EXPECT_EQ(names.back(), "TARN2_Instruments!Throttle_Quadrant");
    int bottom = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        const tarn::SheetRow& row = sheet.rows[i];
        EXPECT_EQ(row.name, names[i]);
        EXPECT_GE(row.y, bottom) << row.name << " overlaps the row above";
        bottom = row.y + row.height;
        std::vector<std::vector<uint32_t>> cells;
        for (int x : sheet.columns) cells.push_back(cell(sheet.image, x, row.y, sheet.cell_width, row.height));
        std::set<std::vector<uint32_t>> day(cells.begin(), cells.begin() + tarn::kSheetStates);
        if (!kStill.count(row.name)) {
            EXPECT_GT(day.size(), 1u) << row.name << " shows the same in every state";
        }
        // A gauge with a variable that moves something shows its two ends apart.
        bool moving = false;
        for (const auto& [token, v] : row.values) moving = moving || v.moves;
        if (moving) {
            EXPECT_NE(cells[size_t(tarn::SheetState::kLow)], cells[size_t(tarn::SheetState::kHigh)])
                << row.name << ": low end and high end look the same";
        }
        for (int s = 0; s < tarn::kSheetStates; ++s) {
            if (kBright.count(row.name)) continue;
            EXPECT_NE(cells[size_t(s)], cells[size_t(s + tarn::kSheetStates)])
                << row.name << ": night looks like day in column " << s;
        }
    }
    EXPECT_LE(bottom, sheet.image.height());
    EXPECT_LE(sheet.columns.back() + sheet.cell_width, sheet.image.width());
}

// The measure of one element as the sheet takes it, after the variable is set.
double angle_at(tarn::PanelHost& host, tarn::GaugeInstance& g, uint32_t token, double value, size_t element) {
    host.vars().set_number(token, value);
    g.update(0);
    return g.element(element).target;
}

size_t first_of(const tarn::GaugeInstance& g, UINT32 type) {
    for (size_t i = 0; i < g.element_count(); ++i)
        if (g.element(i).element->element_type == type) return i;
    ADD_FAILURE() << g.full_name() << " has no element of type " << int(type);
    return 0;
}

TEST(Sheet, ValuesPutTheMovingPartsAtTheirEndsAndHalfWay) {
    tarn::PanelHost host(TARN_GAUGES_DIR);
    // A needle on a table: its ends are the table's, mid-range half way between.
    tarn::GaugeInstance& tach = host.create("TARN2_Instruments", "Tachometer", nullptr);
    tach.update(0);
    const auto tach_values = tarn::sheet_values(host, tach);
    // The variables are put back as they were.
    EXPECT_EQ(host.vars().number(390), 0.0);
    ASSERT_EQ(tach_values.count(390), 1u);
    const tarn::SheetValues rpm = tach_values.at(390);
    EXPECT_TRUE(rpm.moves);
    const size_t needle = first_of(tach, ELEMENT_TYPE_NEEDLE);
    const tarn::ElementState& n = tach.element(needle);
    ASSERT_TRUE(n.has_table);
    const double lo = angle_at(host, tach, 390, rpm.low, needle), hi = angle_at(host, tach, 390, rpm.high, needle);
    EXPECT_EQ(std::set<double>({lo, hi}), std::set<double>({n.table_ends[0], n.table_ends[1]}));
    EXPECT_NEAR(angle_at(host, tach, 390, rpm.mid, needle), (lo + hi) / 2, 0.01);
    EXPECT_EQ(rpm.low, 0.0) << "the least direction is reached at 0 and below: 0 is nearest";

    // The bank of the attitude card turns on for ever both ways: an eighth of a turn each way.
    tarn::GaugeInstance& attitude = host.create("TARN2_Instruments", "Attitude", nullptr);
    attitude.update(0);
    const tarn::SheetValues bank = tarn::sheet_values(host, attitude).at(80);
    EXPECT_TRUE(bank.moves);
    const size_t sprite = first_of(attitude, ELEMENT_TYPE_SPRITE);
    const auto* card = reinterpret_cast<const ELEMENT_SPRITE*>(attitude.element(sprite).element);
    for (auto [value, turn] : {std::pair{bank.low, -45.0}, {bank.high, 45.0}}) {
        host.vars().set_number(80, value);
        attitude.update(0);
        EXPECT_NEAR(std::abs(attitude.element(sprite).value[2] * card->scale_0), 45.0, 0.01) << turn;
    }
    EXPECT_LT(bank.low * bank.high, 0.0) << "one end each way";

    // Airspeed on a table that the callback carries on below 0: the low end is 0.
    tarn::GaugeInstance& speed = host.create("TARN2_Instruments", "AirSpeed", nullptr);
    speed.update(0);
    const tarn::SheetValues knots = tarn::sheet_values(host, speed).at(61);
    EXPECT_EQ(knots.low, 0.0);
    EXPECT_GT(knots.high, knots.mid);
    EXPECT_GT(knots.mid, knots.low);
}

std::string temp_path(const std::string& name) { return std::string(testing::TempDir()) + name; }

TEST(SheetCommand, WritesThePictureAndRefusesBadInput) {
    const std::string png = temp_path("sheet_test.png");
    std::ostringstream out, err;
    tarn::SheetCommand c{png, {.scale = 0.25, .light = tarn::SheetLight::kNight}};
    ASSERT_EQ(tarn::sheet_command(TARN_GAUGES_DIR, c, out, err), 0) << err.str();
    std::string why;
    const tarn::Image written = tarn::read_png(png, &why);
    ASSERT_FALSE(written.empty()) << why;
    {
        tarn::PanelHost host(TARN_GAUGES_DIR);
        const tarn::Sheet sheet = tarn::draw_sheet(host, c.options);
        EXPECT_EQ(written.width(), sheet.image.width());
        EXPECT_EQ(written.height(), sheet.image.height());
        EXPECT_EQ(sheet.columns.size(), size_t(tarn::kSheetStates));
    }
    EXPECT_NE(out.str().find("52 gauges"), std::string::npos) << out.str();

    // A folder as the output, a folder without modules, a file that cannot be written,
    // a scale out of range: status 2 and a message naming what is wrong.
    struct Bad {
        std::string gauges, output;
        double scale;
        std::string says;
    };
    const std::string empty = temp_path("sheet_test_empty");
    std::filesystem::create_directories(empty);
    for (const Bad& b : {Bad{TARN_GAUGES_DIR, testing::TempDir(), 1.0, "names a folder"},
                         Bad{empty, png, 1.0, "no gauge modules"},
                         Bad{TARN_GAUGES_DIR, empty + "/no/such/folder/sheet.png", 1.0, "sheet.png"},
                         Bad{TARN_GAUGES_DIR, png, 40.0, "scale"}}) {
        std::ostringstream o, e;
        EXPECT_EQ(tarn::sheet_command(b.gauges, {b.output, {.scale = b.scale}}, o, e), 2) << b.output;
        EXPECT_NE(e.str().find(b.says), std::string::npos) << e.str();
    }
}

}  // namespace
