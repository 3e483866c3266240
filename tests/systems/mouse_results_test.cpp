// What the mouse callbacks of the radio, cabin and fuel pump gauges return: TRUE (handled),
// except the auto-rudder button's, which returns FALSE. The host does not act on the
// result, so scenario scripts cannot see it; the callbacks are called here from the
// gauges' own mouse lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/core/host.h"

namespace {

// The mouse callbacks of a gauge's list, in list order.
std::vector<MOUSE_FUNCTION> callbacks_of(const GAUGEHDR* gauge) {
    std::vector<MOUSE_FUNCTION> out;
    for (const MOUSERECT* r = gauge->mouse_rect; r->rect_type != MOUSE_RECT_EOL; ++r)
        if (r->rect_type == MOUSE_RECT_CHILD && r->mouse_function != nullptr) out.push_back(r->mouse_function);
    return out;
}

BOOL press(MOUSE_FUNCTION f) {
    PIXPOINT point{0, 0};
    return f(&point, MOUSE_LEFTSINGLE);
}

TEST(MouseResults, AutoRudderButtonReturnsFalseOnEveryPress) {
    tarn::PanelHost host(TARN_GAUGES_DIR);
    const auto callbacks = callbacks_of(host.module("TARN").find("AutoCord"));
    ASSERT_EQ(callbacks.size(), 1u);
    // First press commands ON, second OFF: both report the click as not handled.
    EXPECT_EQ(press(callbacks[0]), FALSE);
    EXPECT_EQ(press(callbacks[0]), FALSE);
    ASSERT_EQ(host.key_events().size(), 2u);
    EXPECT_EQ(host.key_events()[0].id, 65953u);
    EXPECT_EQ(host.key_events()[1].id, 65952u);
}

TEST(MouseResults, OtherButtonsOfTheseGaugesReturnTrue) {
    tarn::PanelHost host(TARN_GAUGES_DIR);
    const struct {
        const char* gauge;
        size_t count;
    } gauges[] = {{"OMI", 1}, {"Slave", 3}, {"Radios", 1}, {"pump_1", 1}, {"pump_2", 1}, {"PN", 0}};
    for (const auto& g : gauges) {
        const auto callbacks = callbacks_of(host.module("TARN").find(g.gauge));
        ASSERT_EQ(callbacks.size(), g.count) << g.gauge;
        for (MOUSE_FUNCTION f : callbacks) EXPECT_EQ(press(f), TRUE) << g.gauge;
    }
}

}  // namespace
