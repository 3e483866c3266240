// The key-event table: every event the gauges send is known, each kind of rule changes
// what it should, and an unknown event is recorded and reported once.
#include "host/core/key_events.h"

#include <gtest/gtest.h>

#include "host/core/host.h"
#include "host/core/variables.h"

namespace {

using tarn::apply_key_event;
using tarn::VariableStore;

// Every event id sent by a gauge of either module, from a mouse list or a callback.
const uint32_t kGaugeEvents[] = {
    65560, 65580, 65607, 65615, 65662, 65663, 65664, 65665, 65723, 65724, 65729, 65750, 65751, 65789, 65790,
    65798, 65799, 65820, 65821, 65858, 65877, 65878, 65879, 65880, 65881, 65882, 65883, 65884, 65892, 65893,
    65894, 65895, 65919, 65920, 65923, 65924, 65927, 65928, 65929, 65930, 65933, 65934, 65935, 65936, 65952,
    65953, 66044, 66045, 66046, 66240, 66241, 66286, 66293, 66300, 66301, 66318, 66319, 66321, 66322, 66337,
    66338, 66340, 66341, 66363, 66364, 66375, 66376, 66379};

TEST(KeyEvents, EveryGaugeEventIsKnown) {
    for (uint32_t id : kGaugeEvents) EXPECT_NE(tarn::find_key_event(id), nullptr) << id;
    size_t count = 0;
    tarn::key_event_rules(&count);
    EXPECT_EQ(count, sizeof kGaugeEvents / sizeof kGaugeEvents[0]);
}

TEST(KeyEvents, UnknownEventChangesNothing) {
    VariableStore v;
    v.set_number(364, 1);
    EXPECT_FALSE(apply_key_event(v, 65931, 0));  // the magneto group's fifth event: no gauge sends it
    EXPECT_FALSE(apply_key_event(v, 0, 0));
    EXPECT_EQ(v.number(364), 1.0);
}

TEST(KeyEvents, TogglesFlipBetweenZeroAndOne) {
    VariableStore v;
    EXPECT_TRUE(apply_key_event(v, 66241, 0));
    EXPECT_EQ(v.number(364), 1.0);
    v.set_number(364, 0.5);  // any value other than 0 counts as on
    apply_key_event(v, 66241, 0);
    EXPECT_EQ(v.number(364), 0.0);
}

TEST(KeyEvents, MagnetoSelectionsSetBothSwitches) {
    VariableStore v;
    const struct { uint32_t id; double a, b; } cases[] = {
        {65927, 1, 1}, {65928, 1, 0}, {65929, 0, 1}, {65930, 0, 0}};
    for (const auto& c : cases) {
        apply_key_event(v, c.id, 0);
        EXPECT_EQ(v.number(399), c.a) << c.id;
        EXPECT_EQ(v.number(400), c.b) << c.id;
        apply_key_event(v, c.id + 6, 0);  // engine 2, six higher
        EXPECT_EQ(v.number(438), c.a) << c.id + 6;
        EXPECT_EQ(v.number(439), c.b) << c.id + 6;
    }
}

TEST(KeyEvents, LeversTakeSixteenThousandthsHeldToTheirTravel) {
    VariableStore v;
    apply_key_event(v, 65820, 16384);
    EXPECT_EQ(v.number(558), 1.0);
    apply_key_event(v, 65924, 8192);
    EXPECT_EQ(v.number(569), 0.5);
    apply_key_event(v, 65920, 40000);  // past the top: full travel
    EXPECT_EQ(v.number(570), 1.0);
}

TEST(KeyEvents, StepsStopAtTheirLimits) {
    VariableStore v;
    v.set_number(75, 1066);
    apply_key_event(v, 65883, 0);
    EXPECT_EQ(v.number(75), 1066.0);
    EXPECT_NEAR(v.number(76), 31.479, 0.001);  // the inches follow even at the stop
    apply_key_event(v, 66322, 0);               // decision height below 0
    EXPECT_EQ(v.number(615), 0.0);
    for (int i = 0; i < 100; ++i) apply_key_event(v, 65615, 0);
    EXPECT_NEAR(v.number(783), 0.349066, 1e-6);  // trim: 20 degrees
}

TEST(KeyEvents, KnobsWrapAroundTheCircle) {
    VariableStore v;
    apply_key_event(v, 65882, 0);
    EXPECT_EQ(v.number(22), 359.0);
    apply_key_event(v, 65881, 0);
    EXPECT_EQ(v.number(22), 0.0);
    v.set_number(84, 359.5);
    apply_key_event(v, 65877, 0);
    EXPECT_NEAR(v.number(84), 0.5, 1e-9);
}

TEST(KeyEvents, ClockHoursAndMinutesKeepTheRest) {
    VariableStore v;
    v.set_number(557, 12 * 3600 + 34 * 60 + 56.5);
    apply_key_event(v, 66044, 7);
    EXPECT_EQ(v.number(557), 7 * 3600 + 34 * 60 + 56.5);
    apply_key_event(v, 66045, 5);
    EXPECT_EQ(v.number(557), 7 * 3600 + 5 * 60 + 56.5);
    apply_key_event(v, 66044, 25);  // hours past the day wrap
    EXPECT_EQ(v.number(557), 1 * 3600 + 5 * 60 + 56.5);
}

TEST(KeyEvents, DmeAlternatesAndGyroAligns) {
    VariableStore v;
    v.set_number(355, 1);
    apply_key_event(v, 66286, 0);
    EXPECT_EQ(v.number(355), 2.0);
    apply_key_event(v, 66286, 0);
    EXPECT_EQ(v.number(355), 1.0);
    v.set_number(83, 123.0);
    apply_key_event(v, 66046, 0);
    EXPECT_EQ(v.number(84), 123.0);
}

TEST(KeyEvents, HostRecordsAppliesAndReportsUnknownOnce) {
    tarn::PanelHost host(TARN_TEST_GAUGES_DIR);
    testing::internal::CaptureStderr();
    host.send_key_event(66293, 0);
    host.send_key_event(1002, 5);
    host.send_key_event(1002, 6);
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(host.key_events().size(), 3u);
    EXPECT_EQ(host.vars().number(740), 1.0);
    ASSERT_EQ(host.unknown_key_events().size(), 1u);
    EXPECT_EQ(host.unknown_key_events()[0], 1002u);
    EXPECT_NE(err.find("key event 1002"), std::string::npos);
    EXPECT_EQ(err.find("key event 1002"), err.rfind("key event 1002"));  // once
    // With processing off, events are recorded only.
    host.set_key_event_processing(false);
    host.send_key_event(66293, 0);
    EXPECT_EQ(host.vars().number(740), 1.0);
    EXPECT_EQ(host.key_events().size(), 4u);
}

}  // namespace
