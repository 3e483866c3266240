// The viewer's link hooks, under SDL's dummy drivers: after_step runs each frame before
// the gauges update, the status joins the title, and a banner shows across the window
// while it is not empty and leaves no trace when it goes.
#define SDL_MAIN_HANDLED
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "host/core/host.h"
#include "host/core/variables.h"
#include "host/view/viewer.h"

namespace {

namespace fs = std::filesystem;

TEST(LinkView, HooksStepTitleAndBanner) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const fs::path dir = fs::temp_directory_path() / ("tarn-link-view-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "panel.cfg") << "[Window00]\nsize_mm=300,200\n"
                                        "gauge00=TARN2_Instruments!Tachometer, 0, 0, 150, , 1\n";
    tarn::ViewerOptions o;
    o.gauges_dir = TARN_GAUGES_DIR;
    o.config = (dir / "panel.cfg").string();
    o.working_folder = dir.string();
    o.scale = 1;
    o.sound = false;
    o.fly_profile = false;
    int steps = 0;
    std::string banner = "LINK LOST";
    o.after_step = [&](tarn::PanelHost& host) {
        ++steps;
        host.vars().set_number(390, 2400);  // as a link writes after the model's step
    };
    o.status = [] { return std::string("FlightGear :5700, 12 frames"); };
    o.banner = [&] { return banner; };
    {
        tarn::Viewer v(o);
        ASSERT_TRUE(v.frame(16));
        ASSERT_TRUE(v.frame(16));
        EXPECT_EQ(steps, 2);
        EXPECT_EQ(v.host().vars().number(390), 2400);  // the model's step came first
        EXPECT_NE(v.title().find(" | FlightGear :5700, 12 frames"), std::string::npos) << v.title();
        int w = 0, h = 0, pw = 0, ph = 0;
        std::vector<uint32_t> screen = v.screen_pixels(0, &w, &h);
        std::vector<uint32_t> picture = v.panel_pixels(0, &pw, &ph);
        ASSERT_FALSE(screen.empty());
        ASSERT_EQ(screen.size(), picture.size());
        const uint32_t band = screen[size_t(2 * w + 2)];
        EXPECT_GT((band >> 16) & 0xFF, 150u);
        EXPECT_LT((band >> 8) & 0xFF, 60u);
        EXPECT_NE(band, picture[size_t(2 * w + 2)]);
        banner.clear();
        ASSERT_TRUE(v.frame(16));
        screen = v.screen_pixels(0, &w, &h);
        picture = v.panel_pixels(0, &pw, &ph);
        ASSERT_EQ(screen.size(), picture.size());
        size_t differ = 0;
        for (size_t i = 0; i < screen.size(); ++i) differ += screen[i] != picture[i];
        EXPECT_EQ(differ, 0u);
    }
    fs::remove_all(dir);
}

}  // namespace
