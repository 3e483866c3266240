// Loading modules, their exports, the generic routines' forwarding, per-instance copies
// and fresh module state per host.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "host/core/errors.h"
#include "host/core/host.h"

namespace {

using tarn::PanelHost;

TEST(Linkage, SystemsModuleExportsItsGaugesInOrder) {
    PanelHost host(TARN_GAUGES_DIR);
    tarn::Plugin& m = host.module("TARN");
    const GAUGESLINKAGE* l = m.linkage();
    EXPECT_EQ(l->ModuleID, 0x13u);
    EXPECT_EQ(l->ModuleFlags, 0u);
    EXPECT_EQ(l->ModulePriority, 0u);
    EXPECT_EQ(l->ModuleVersion, 0x800u);
    EXPECT_EQ(m.import_table()->PANELSentry.fnID, 0x0000000Fu);
    EXPECT_EQ(m.import_table()->PANELSentry.fnptr, host.service_table());
    EXPECT_EQ(m.import_table()->nullentry.fnID, 0u);
    EXPECT_EQ(m.import_table()->nullentry.fnptr, nullptr);
    const char* names[] = {"Magnetos", "Flaps", "Stall_Gauge", "Fuel_Left", "Fuel_Right", "VoltAmp",
                           "Warnings", "Warnings_DI", "Switches", "Switches_DI", "Avionic Master",
                           "Speedgauge", "Engines", "Primer", "OMI", "PN", "Slave", "AutoCord",
                           "Suction", "Radios", "pump_1", "pump_2"};
    const unsigned widths[] = {314, 69, 38, 152, 152, 152, 258, 258, 679, 679, 201,
                               133, 370, 36, 19, 412, 70, 150, 151, 400, 58, 58};
    ASSERT_EQ(m.gauges().size(), 22u);
    EXPECT_EQ(l->gauges[22], nullptr);
    for (size_t i = 0; i < 22; ++i) {
        const GAUGEHDR* g = m.gauges()[i];
        EXPECT_STREQ(g->gauge_name, names[i]);
        EXPECT_EQ(g->size_x_mm, widths[i]) << names[i];
        EXPECT_EQ(g->gauge_header_version, 800u) << names[i];
        EXPECT_EQ(g->gauge_callback, nullptr) << names[i];
        EXPECT_EQ(g->parameters, nullptr) << names[i];
        EXPECT_NE(g->mouse_rect, nullptr) << names[i];
        EXPECT_EQ(g->size_y_mm, 0u);
    }
}

TEST(Linkage, InstrumentModuleExportsItsGaugesInOrder) {
    PanelHost host(TARN_GAUGES_DIR);
    tarn::Plugin& m = host.module("TARN2_Instruments");
    EXPECT_EQ(m.linkage()->ModuleID, 0x13u);
    EXPECT_EQ(m.linkage()->ModuleVersion, 0u);
    const char* names[] = {"HSI", "Clock", "DME", "AirSpeed", "Vertical_Speed", "Altimeter", "Turn Coordinator",
                           "Attitude", "Oil_Temp_Press", "Engine_Temp", "Fuel_Pressure", "Tachometer",
                           "Manifold_Pressure", "Registration", "Radio_Alt", "Radio_Alt_Switch", "Nav GPS Switch",
                           "Avionics Switch", "Alt_Bat", "Magnetic_Compass", "ADF", "VOR1", "VOR2", "Battery",
                           "Left Generator", "Right Generator", "AudioPanel", "Suction_Indicator", "OAT_Indicator",
                           "Throttle_Quadrant"};
    const unsigned widths[] = {90, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 150, 90,
                               30, 30, 36, 36, 100, 100, 100, 100, 52, 52, 52, 100, 100, 100, 95};
    const std::set<std::string> with_callback = {
        "Oil_Temp_Press", "Engine_Temp", "Fuel_Pressure", "Tachometer", "Manifold_Pressure",
        "Registration", "Radio_Alt", "Avionics Switch", "Alt_Bat", "Battery", "Left Generator",
        "Right Generator", "AudioPanel", "Throttle_Quadrant"};
    ASSERT_EQ(m.gauges().size(), 30u);
    for (size_t i = 0; i < 30; ++i) {
        const GAUGEHDR* g = m.gauges()[i];
        EXPECT_STREQ(g->gauge_name, names[i]);
        EXPECT_EQ(g->size_x_mm, widths[i]) << names[i];
        EXPECT_EQ(g->gauge_header_version, 700u) << names[i];
        EXPECT_EQ(g->gauge_callback != nullptr, with_callback.count(names[i]) == 1) << names[i];
        if (std::strcmp(names[i], "Radio_Alt") == 0) {
            ASSERT_NE(g->parameters, nullptr);
            EXPECT_STREQ(g->parameters, "");
        } else {
            EXPECT_EQ(g->parameters, nullptr) << names[i];
        }
    }
    // The engine instruments share one callback; each sound-loading gauge has its own.
    EXPECT_EQ(m.find("Tachometer")->gauge_callback, m.find("Oil_Temp_Press")->gauge_callback);
    EXPECT_NE(m.find("Battery")->gauge_callback, m.find("Left Generator")->gauge_callback);
}

TEST(Linkage, EveryGaugeInstallsWithItsBackgroundAndHelpRegion) {
    PanelHost host(TARN_GAUGES_DIR);
    for (const char* module : {"TARN", "TARN2_Instruments"}) {
        for (GAUGEHDR* g : host.module(module).gauges()) {
            tarn::GaugeInstance& i = host.create(module, g->gauge_name, nullptr);
            EXPECT_GT(i.width(), 0) << g->gauge_name;
            EXPECT_EQ(i.header().size.x, i.width());
            ASSERT_GE(i.mouse().parents().size(), 1u);
            EXPECT_EQ(i.mouse().parents()[0].hit.x1, i.width());  // the whole gauge
        }
    }
    host.update_all();
    EXPECT_EQ(host.instances().size(), 52u);
}

TEST(GenericRoutines, ForwardToTheServicesWithTheFirstGaugesRoot) {
    PanelHost host(TARN_TEST_GAUGES_DIR);
    tarn::Plugin& m = host.module("TestGauges");
    GAUGEHDR* second = m.gauges()[1];
    ELEMENT_HEADER* first_root = m.gauges()[0]->elements_list[0];
    second->query_routine();
    second->install_routine(77);
    second->initialize_routine();
    second->update_routine();
    second->generate_routine(3);
    second->draw_routine();
    second->kill_routine();
    const auto& calls = host.service_calls();
    ASSERT_EQ(calls.size(), 7u);
    const int positions[] = {24, 25, 26, 27, 28, 29, 31};
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(calls[i].position, positions[i]);
        EXPECT_EQ(calls[i].root, first_root);
    }
    EXPECT_EQ(calls[1].argument, 77u);
    EXPECT_EQ(calls[4].argument, 3u);
}

TEST(GenericRoutines, ReadTheImportTableAtEachCall) {
    PanelHost host(TARN_TEST_GAUGES_DIR);
    tarn::Plugin& m = host.module("TestGauges");
    IMPORT_TABLE* table = m.import_table();
    table->PANELSentry.fnptr = nullptr;  // a host that has not filled it yet
    m.gauges()[0]->update_routine();
    EXPECT_TRUE(host.service_calls().empty());
    table->PANELSentry.fnptr = host.service_table();  // filled late
    m.gauges()[0]->update_routine();
    EXPECT_EQ(host.service_calls().size(), 1u);
}

TEST(Instances, WorkOnTheirOwnCopiesOfTheRecords) {
    PanelHost host(TARN_TEST_GAUGES_DIR);
    GAUGEHDR* stat = host.module("TestGauges").find("Selector");
    const std::string two = "2";
    tarn::GaugeInstance& a = host.create("TestGauges", "Selector", &two);
    tarn::GaugeInstance& b = host.create("TestGauges", "Selector", &two);
    EXPECT_NE(&a.header(), stat);
    EXPECT_NE(a.element(1).element, b.element(1).element);
    EXPECT_EQ(a.element(1).element->gauge_header, &a.header());
    EXPECT_STREQ(a.header().parameters, "2");
    EXPECT_EQ(stat->parameters, nullptr);
    // Each copy was rewritten once; the module's own records are untouched.
    auto token = [](ELEMENT_HEADER* e) { return reinterpret_cast<ELEMENT_NEEDLE*>(e)->source_var.id; };
    EXPECT_EQ(token(a.element(1).element), 429u);
    EXPECT_EQ(token(b.element(1).element), 429u);
    EXPECT_EQ(token(stat->elements_list[0]->next_element[0]), 390u);
    EXPECT_EQ(stat->mouse_rect[1].event_id, 66000u);
}

TEST(Instances, EachHostStartsFromFreshlyLoadedModules) {
    for (int run = 0; run < 2; ++run) {
        PanelHost host(TARN_TEST_GAUGES_DIR);
        host.create("TestGauges", "Probe", nullptr);
        host.create("TestGauges", "Probe", nullptr);
        ASSERT_GE(host.key_events().size(), 4u);
        // Pre-install and connect of the second copy report the module's count: 2, not 4.
        EXPECT_EQ(host.key_events()[0].id, 1002u);
        EXPECT_EQ(host.key_events()[0].value, 1u);
        EXPECT_EQ(host.key_events()[2].value, 2u);
    }
}

TEST(Instances, InstallErrorsNameTheGaugeAndUndoThePreInstall) {
    PanelHost host(TARN_TEST_GAUGES_DIR);
    EXPECT_THROW(host.create("TestGauges", "FlatTable", nullptr), tarn::HostError);
    ASSERT_EQ(host.key_events().size(), 2u);
    EXPECT_EQ(host.key_events()[0].id, 1002u);  // pre-install ...
    EXPECT_EQ(host.key_events()[1].id, 1012u);  // ... then pre-kill, so nothing is left held
    EXPECT_TRUE(host.instances().empty());
    EXPECT_THROW(host.create("TestGauges", "Nope", nullptr), tarn::HostError);
    EXPECT_THROW(host.module("../TestGauges"), tarn::HostError);
}

TEST(Instances, OnlyOneHostAtATime) {
    PanelHost host(TARN_TEST_GAUGES_DIR);
    EXPECT_THROW(PanelHost second(TARN_TEST_GAUGES_DIR), tarn::HostError);
    EXPECT_EQ(PanelHost::current(), &host);
}

}  // namespace
