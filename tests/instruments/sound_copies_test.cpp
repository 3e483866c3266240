// Two copies of one sound-making gauge (the same gauge on two panel windows) share that
// gauge's sound: the second copy's pre-install releases what it replaces, killing either
// copy leaves the other's click working, and everything is released with the last copy.
// Counted through the platform layer's live DirectSound devices and buffers.
#include <gtest/gtest.h>

#include <string>

#include "host/core/host.h"
#include "platform/host_control.h"

namespace {

using tarn::GaugeInstance;
using tarn::PanelHost;

struct SwitchGauge {
    const char* name;
    int x, y;  // a point of its switch
};

// Every switch gauge of the instrument module with a click sound, one slot each.
const SwitchGauge switch_gauges[] = {
    {"Battery", 10, 10},          {"Left Generator", 10, 10}, {"Right Generator", 10, 10},
    {"Avionics Switch", 30, 30},  {"Alt_Bat", 10, 50},        {"AudioPanel", 240, 20},
};

// The sounds one click plays, in the order the log holds them.
std::string click(PanelHost& host, GaugeInstance& g, int x, int y) {
    tarn_sound_log_clear();
    host.press(g, x, y);
    host.release(g);
    std::string played;
    for (size_t i = 0; i < tarn_sound_log_size(); ++i) played += std::string(played.empty() ? "" : " ") + tarn_sound_log_text(i);
    return played;
}

TEST(SoundCopies, SwitchGaugeCopiesShareOneDeviceAndBufferUntilTheLastGoes) {
    for (const SwitchGauge& s : switch_gauges) {
        for (const bool kill_first : {true, false}) {
            SCOPED_TRACE(std::string(s.name) + (kill_first ? ", first copy killed first" : ", second copy killed first"));
            PanelHost host(TARN_GAUGES_DIR);
            GaugeInstance& a = host.create("TARN2_Instruments", s.name, nullptr);
            EXPECT_EQ(tarn_dsound_devices(), 1u);
            EXPECT_EQ(tarn_dsound_buffers(), 1u);
            // The second copy releases the first one's objects before making its own.
            GaugeInstance& b = host.create("TARN2_Instruments", s.name, nullptr);
            EXPECT_EQ(tarn_dsound_devices(), 1u);
            EXPECT_EQ(tarn_dsound_buffers(), 1u);
            EXPECT_EQ(click(host, a, s.x, s.y), "wave:4130");
            EXPECT_EQ(click(host, b, s.x, s.y), "wave:4130");
            // Either copy's pre-kill leaves the sound to the other.
            GaugeInstance& left = kill_first ? b : a;
            host.kill(kill_first ? a : b);
            EXPECT_EQ(tarn_dsound_devices(), 1u);
            EXPECT_EQ(tarn_dsound_buffers(), 1u);
            EXPECT_EQ(click(host, left, s.x, s.y), "wave:4130");
            host.kill(left);
            EXPECT_EQ(tarn_dsound_devices(), 0u);
            EXPECT_EQ(tarn_dsound_buffers(), 0u);
            // A copy made after the last one went loads the sound afresh.
            GaugeInstance& c = host.create("TARN2_Instruments", s.name, nullptr);
            EXPECT_EQ(tarn_dsound_buffers(), 1u);
            EXPECT_EQ(click(host, c, s.x, s.y), "wave:4130");
            host.kill(c);
            EXPECT_EQ(tarn_dsound_devices(), 0u);
            EXPECT_EQ(tarn_dsound_buffers(), 0u);
        }
    }
}

TEST(SoundCopies, ThreeCopiesKeepTheirSoundUntilTheLastIsKilled) {
    PanelHost host(TARN_GAUGES_DIR);
    GaugeInstance& a = host.create("TARN2_Instruments", "Battery", nullptr);
    GaugeInstance& b = host.create("TARN2_Instruments", "Battery", nullptr);
    GaugeInstance& c = host.create("TARN2_Instruments", "Battery", nullptr);
    EXPECT_EQ(tarn_dsound_buffers(), 1u);
    host.kill(b);
    host.kill(a);
    EXPECT_EQ(tarn_dsound_devices(), 1u);
    EXPECT_EQ(click(host, c, 10, 10), "wave:4130");
    host.kill(c);
    EXPECT_EQ(tarn_dsound_devices(), 0u);
    EXPECT_EQ(tarn_dsound_buffers(), 0u);
}

// Each slot belongs to one gauge: a second copy of one gauge leaves the others alone.
TEST(SoundCopies, CopiesOfOneGaugeLeaveOtherGaugesSlotsAlone) {
    PanelHost host(TARN_GAUGES_DIR);
    GaugeInstance& battery = host.create("TARN2_Instruments", "Battery", nullptr);
    GaugeInstance& gen1 = host.create("TARN2_Instruments", "Left Generator", nullptr);
    GaugeInstance& gen2 = host.create("TARN2_Instruments", "Left Generator", nullptr);
    EXPECT_EQ(tarn_dsound_devices(), 2u);
    EXPECT_EQ(tarn_dsound_buffers(), 2u);
    host.kill(battery);
    EXPECT_EQ(tarn_dsound_buffers(), 1u);
    EXPECT_EQ(click(host, gen1, 10, 10), "wave:4130");
    host.kill(gen1);
    EXPECT_EQ(click(host, gen2, 10, 10), "wave:4130");
    host.kill(gen2);
    EXPECT_EQ(tarn_dsound_devices(), 0u);
    EXPECT_EQ(tarn_dsound_buffers(), 0u);
}

// "Radio_Alt" with callouts: one device and thirteen buffers (twelve heights and the
// decision height), shared by its copies and released with the last.
TEST(SoundCopies, RadioAltimeterCopiesShareTheirCallouts) {
    const std::string on = "s1", off = "";
    for (const bool kill_first : {true, false}) {
        SCOPED_TRACE(kill_first ? "first copy killed first" : "second copy killed first");
        PanelHost host(TARN_GAUGES_DIR);
        GaugeInstance& a = host.create("TARN2_Instruments", "Radio_Alt", &on);
        EXPECT_EQ(tarn_dsound_devices(), 1u);
        EXPECT_EQ(tarn_dsound_buffers(), 13u);
        GaugeInstance& b = host.create("TARN2_Instruments", "Radio_Alt", &on);
        EXPECT_EQ(tarn_dsound_devices(), 1u);
        EXPECT_EQ(tarn_dsound_buffers(), 13u);
        host.kill(kill_first ? a : b);
        EXPECT_EQ(tarn_dsound_devices(), 1u);
        EXPECT_EQ(tarn_dsound_buffers(), 13u);
        host.kill(kill_first ? b : a);
        EXPECT_EQ(tarn_dsound_devices(), 0u);
        EXPECT_EQ(tarn_dsound_buffers(), 0u);
    }
    // A copy without callouts loads nothing, and its pre-kill does not take the other's.
    PanelHost host(TARN_GAUGES_DIR);
    GaugeInstance& a = host.create("TARN2_Instruments", "Radio_Alt", &on);
    GaugeInstance& b = host.create("TARN2_Instruments", "Radio_Alt", &off);
    EXPECT_EQ(tarn_dsound_devices(), 1u);
    EXPECT_EQ(tarn_dsound_buffers(), 13u);
    host.kill(b);
    EXPECT_EQ(tarn_dsound_buffers(), 13u);
    host.kill(a);
    EXPECT_EQ(tarn_dsound_devices(), 0u);
    EXPECT_EQ(tarn_dsound_buffers(), 0u);
}

}  // namespace
