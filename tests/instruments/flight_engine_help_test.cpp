// What the scenario scripts cannot see of the engine, pitot-static and gyro instruments:
// the help region under the pointer, and the HSI heading knob's special-instrumentation
// value, both through the host as it installs the gauges.
#include <gtest/gtest.h>

#include <string>

#include "host/core/host.h"

namespace {

using tarn::GaugeInstance;
using tarn::PanelHost;

int help(PanelHost& host, const char* gauge, int x, int y) {
    GaugeInstance& g = host.create("TARN2_Instruments", gauge, nullptr);
    return g.mouse().help_at(x, y);
}

TEST(InstrumentHelp, TwinDialsNameEachHalf) {
    PanelHost host(TARN_GAUGES_DIR);
    // Left half (0,0,150,300), right half (150,0,150,300), each edge pixel.
    EXPECT_EQ(help(host, "Engine_Temp", 0, 0), 0xab1d);
    EXPECT_EQ(help(host, "Engine_Temp", 149, 299), 0xab1d);
    EXPECT_EQ(help(host, "Engine_Temp", 150, 0), 0xab15);
    EXPECT_EQ(help(host, "Engine_Temp", 299, 299), 0xab15);
    EXPECT_EQ(help(host, "Oil_Temp_Press", 149, 150), 0xab4f);
    EXPECT_EQ(help(host, "Oil_Temp_Press", 150, 150), 0xab4e);
}

TEST(InstrumentHelp, SingleDialsNameTheWholeGauge) {
    PanelHost host(TARN_GAUGES_DIR);
    EXPECT_EQ(help(host, "Fuel_Pressure", 150, 150), 0xab2c);
    EXPECT_EQ(help(host, "Manifold_Pressure", 150, 150), 0xab46);
    EXPECT_EQ(help(host, "Tachometer", 150, 150), 0xab68);
    EXPECT_EQ(help(host, "OAT_Indicator", 115, 115), 0xab39);
    EXPECT_EQ(help(host, "Suction_Indicator", 100, 100), 0xab66);
    EXPECT_EQ(help(host, "AirSpeed", 149, 149), 43778);
    EXPECT_EQ(help(host, "Vertical_Speed", 78, 78), 43894);
    EXPECT_EQ(help(host, "Attitude", 79, 77), 43789);
    EXPECT_EQ(help(host, "Magnetic_Compass", 80, 50), 43895);
}

TEST(InstrumentHelp, KnobsHaveTheirOwnHelp) {
    PanelHost host(TARN_GAUGES_DIR);
    // Altimeter knob (8,123,27,27) inside the whole gauge.
    EXPECT_EQ(help(host, "Altimeter", 81, 78), 43783);
    EXPECT_EQ(help(host, "Altimeter", 8, 123), 43834);
    EXPECT_EQ(help(host, "Altimeter", 34, 149), 43834);
    EXPECT_EQ(help(host, "Altimeter", 35, 149), 43783);
    // HSI heading knob (150,130,30,30) and course knob (6,130,30,30).
    EXPECT_EQ(help(host, "HSI", 93, 90), 43830);
    EXPECT_EQ(help(host, "HSI", 150, 130), 43827);
    EXPECT_EQ(help(host, "HSI", 179, 159), 43827);
    EXPECT_EQ(help(host, "HSI", 180, 159), 43830);
    EXPECT_EQ(help(host, "HSI", 6, 130), 43832);
    EXPECT_EQ(help(host, "HSI", 35, 159), 43832);
    EXPECT_EQ(help(host, "HSI", 36, 159), 43830);
}

TEST(InstrumentHelp, TurnCoordinatorBandLiesWithinItsFace) {
    PanelHost host(TARN_GAUGES_DIR);
    // The face (0,0,158,109) holds the band (0,49,158,49); below the face the gauge-wide
    // parent carries no help.
    EXPECT_EQ(help(host, "Turn Coordinator", 10, 10), 43889);
    EXPECT_EQ(help(host, "Turn Coordinator", 10, 48), 43889);
    EXPECT_EQ(help(host, "Turn Coordinator", 10, 49), 43873);
    EXPECT_EQ(help(host, "Turn Coordinator", 157, 97), 43873);
    EXPECT_EQ(help(host, "Turn Coordinator", 10, 98), 43889);
    EXPECT_EQ(help(host, "Turn Coordinator", 10, 108), 43889);
    EXPECT_EQ(help(host, "Turn Coordinator", 10, 109), 0);
}

TEST(HsiRecords, OnlyTheHeadingKnobCarriesSpecialInstrumentationTwo) {
    PanelHost host(TARN_GAUGES_DIR);
    GaugeInstance& g = host.create("TARN2_Instruments", "HSI", nullptr);
    ASSERT_EQ(g.element_count(), 12u);
    for (size_t i = 0; i < g.element_count(); ++i) {
        const ELEMENT_HEADER* e = g.element(i).element;
        EXPECT_EQ(e->aircraft_special_instrumentation, i == 11 ? 2u : 0u) << "element " << i + 1;
    }
    EXPECT_EQ(g.element(11).element->resource_id, 100);
}

}  // namespace
