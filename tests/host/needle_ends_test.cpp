// Every needle of both modules shows on the default panel at the ends of its travel and
// a hair inside them: the needle drawn changes the picture against the same gauge with
// that needle hidden. The ends are a table's first and last points; for needles without
// a table, whose travel the callback alone knows, the directions along the pixel grid
// (right, down, left, up), where a thin needle's edges run along rows or columns of pixel
// centres (the Suction dial's ends are left and right).
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "host/draw/panel.h"

namespace {

std::string source_dir() {
    const std::string here = __FILE__;
    return here.substr(0, here.rfind("/tests/"));
}

// The gauge's pixels in the window's picture.
std::vector<uint32_t> pixels(const tarn::Image& frame, const tarn::PixelRect& rect) {
    std::vector<uint32_t> out;
    for (int y = std::max(0, int(rect.y)); y < std::min(frame.height(), int(std::ceil(rect.y + rect.h))); ++y)
        for (int x = std::max(0, int(rect.x)); x < std::min(frame.width(), int(std::ceil(rect.x + rect.w))); ++x)
            out.push_back(frame.pixel(x, y));
    return out;
}

TEST(NeedleEnds, EveryNeedleShowsAtBothEndsOfItsTravel) {
    tarn::PanelHost host(TARN_GAUGES_DIR);
    tarn::Panel panel(host, tarn::load_panel_config(source_dir() + "/panel/panel.cfg"));
    host.update_all();
    std::set<int> windows;
    for (const tarn::PlacedGauge& g : panel.gauges())
        if (g.instance != nullptr) windows.insert(g.window->number);
    int needles = 0;
    std::set<std::string> modules;
    for (int window : windows) {
        tarn::PanelRenderer r(panel, {.window = window});
        r.frame();
        for (size_t gi = 0; gi < panel.gauges().size(); ++gi) {
            const tarn::PlacedGauge& g = panel.gauges()[gi];
            if (g.instance == nullptr || g.window->number != window) continue;
            const tarn::PixelRect rect = *r.gauge_rect(gi);
            for (size_t i = 0; i < g.instance->element_count(); ++i) {
                tarn::ElementState& s = g.instance->element(i);
                if (s.element->element_type != ELEMENT_TYPE_NEEDLE || s.hidden()) continue;
                ++needles;
                modules.insert(g.line->module);
                std::vector<double> ends;
                if (s.has_table)
                    ends = {s.table_ends[0], s.table_ends[1]};
                else
                    ends = {0.0, 90.0, 180.0, 270.0, -180.0, -90.0};
                const double kept = s.angle;
                for (double end : ends)
                    for (double hair : {0.0, -0.05, 0.05}) {
                        s.angle = end + hair;
                        const std::vector<uint32_t> shown = pixels(r.frame(), rect);
                        s.element->image_flags |= IMAGE_HIDDEN;
                        const std::vector<uint32_t> hidden = pixels(r.frame(), rect);
                        s.element->image_flags &= ~IMAGE_HIDDEN;
                        EXPECT_NE(shown, hidden) << g.line->name() << " element " << i << " (needle "
                                                 << s.element->resource_id << ") at " << s.angle << " degrees"
                                                 << (s.has_table ? " (table end)" : "");
                    }
                s.angle = kept;
                r.frame();
            }
        }
    }
    // Both modules' needles were drawn: the panel still holds them.
    EXPECT_EQ(modules, (std::set<std::string>{"TARN", "TARN2_Instruments"}));
    EXPECT_GT(needles, 20);
}

}  // namespace
