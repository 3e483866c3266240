// The aircraft systems model on a bare variable store: engine start, generators, fuel,
// flaps, stall warning, time of day.
#include "host/core/aircraft.h"

#include <gtest/gtest.h>

#include "host/core/variables.h"

namespace {

using tarn::AircraftModel;
using tarn::VariableStore;

void run(AircraftModel& m, double seconds) {
    for (double t = 0; t < seconds; t += 0.055) m.step(0.055);
}

// Battery on, engine 1 magnetos, mixture rich, starter engaged.
void prepare_start(VariableStore& v) {
    v.set_number(364, 1);
    v.set_number(399, 1);
    v.set_number(400, 1);
    v.set_number(560, 1);
    v.set_number(401, 1);
}

TEST(Aircraft, ColdAndDarkIsStillAndCold) {
    VariableStore v;
    AircraftModel m(v);
    m.cold_and_dark();
    run(m, 5);
    EXPECT_EQ(v.number(390), 0.0);
    EXPECT_EQ(v.number(753), 0.0);
    EXPECT_EQ(v.number(304), 55.0);
    EXPECT_NEAR(tarn::rankine_to_celsius(v.number(416)), 15.0, 1e-9);
    EXPECT_NEAR(v.number(391) / tarn::kPsfPerInHg, 29.92, 0.01);  // manifold at ambient
}

TEST(Aircraft, EngineStartsToIdleAndStarterLetsGo) {
    VariableStore v;
    AircraftModel m(v);
    m.cold_and_dark();
    prepare_start(v);
    run(m, 15);
    EXPECT_TRUE(m.engine_running(0));
    EXPECT_FALSE(m.engine_running(1));
    EXPECT_NEAR(v.number(390), 700, 2);
    EXPECT_EQ(v.number(401), 0.0);
    EXPECT_EQ(v.number(429), 0.0);
    EXPECT_GT(v.number(418) / tarn::kPsfPerPsi, 40);
}

TEST(Aircraft, NoStartWithoutIgnitionOrFuel) {
    VariableStore v;
    AircraftModel m(v);
    m.cold_and_dark();
    prepare_start(v);
    v.set_number(399, 0);
    v.set_number(400, 0);
    run(m, 10);
    EXPECT_FALSE(m.engine_running(0));
    EXPECT_NEAR(v.number(390), 280, 2);  // cranking only
    v.set_number(399, 1);
    v.set_number(304, 0);  // empty tank
    run(m, 10);
    EXPECT_FALSE(m.engine_running(0));
}

TEST(Aircraft, NoCrankingWithoutBattery) {
    VariableStore v;
    AircraftModel m(v);
    m.cold_and_dark();
    prepare_start(v);
    v.set_number(364, 0);
    run(m, 5);
    EXPECT_EQ(v.number(390), 0.0);
}

TEST(Aircraft, ThrottleAndPropellerSetTheSpeedAndGeneratorsComeOnLine) {
    VariableStore v;
    AircraftModel m(v);
    m.cold_and_dark();
    prepare_start(v);
    v.set_number(565, 1);
    run(m, 15);
    EXPECT_EQ(v.number(753), 24.0);  // idle: generator off line
    v.set_number(558, 1);
    v.set_number(559, 1);
    v.set_number(740, 1);
    run(m, 20);
    EXPECT_NEAR(v.number(390), 2700, 5);
    EXPECT_EQ(v.number(753), 28.0);
    EXPECT_EQ(v.number(755), 28.0);
    EXPECT_GT(v.number(353), 5.0);  // suction from the engine
    EXPECT_NEAR(v.number(391) / tarn::kPsfPerInHg, 29.92, 0.05);  // full throttle at sea level
    // Mixture to cut-off: the engine stops, the tank keeps what is left.
    const double fuel = v.number(304);
    EXPECT_LT(fuel, 55.0);
    v.set_number(560, 0);
    run(m, 30);
    EXPECT_FALSE(m.engine_running(0));
    EXPECT_EQ(v.number(390), 0.0);
    EXPECT_EQ(v.number(304), fuel);
    EXPECT_EQ(v.number(303), 55.0);  // engine 2's tank untouched throughout
}

TEST(Aircraft, FlapsMoveWithPowerOnly) {
    VariableStore v;
    AircraftModel m(v);
    m.cold_and_dark();
    m.set_flaps_target(1);
    run(m, 5);
    EXPECT_EQ(v.number(329), 0.0);
    v.set_number(364, 1);
    run(m, 5);
    EXPECT_NEAR(v.number(329), 16383 / 2.0, 200);
    run(m, 10);
    EXPECT_EQ(v.number(329), 16383.0);
}

TEST(Aircraft, StallWarningInTheAirBelowTheStallSpeedWithMargin) {
    VariableStore v;
    AircraftModel m(v);
    m.cold_and_dark();
    v.set_number(364, 1);
    v.set_number(61, 60);
    run(m, 0.1);
    EXPECT_EQ(v.number(67), 0.0);  // on the ground
    v.set_number(614, 100);
    run(m, 0.1);
    EXPECT_EQ(v.number(67), 1.0);
    v.set_number(61, 77.5);  // clean: 72 + 5
    run(m, 0.1);
    EXPECT_EQ(v.number(67), 0.0);
}

TEST(Aircraft, TimeOfDayRunsAndWraps) {
    VariableStore v;
    AircraftModel m(v);
    v.set_number(557, 86399.5);
    m.step(1.0);
    EXPECT_NEAR(v.number(557), 0.5, 1e-9);
}

}  // namespace
