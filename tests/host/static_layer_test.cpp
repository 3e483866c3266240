// The static layer changes nothing that shows: the default panel drawn with each gauge's
// layer looks as it does with every element of every gauge drawn in order, whatever the
// needles show and whichever static images are hidden.
#include "host/draw/static_layer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "host/draw/panel.h"
#include "tests/host/test_bitmaps.h"

namespace {

std::string source_dir() {
    const std::string here = __FILE__;
    return here.substr(0, here.rfind("/tests/"));
}

// The largest difference of one colour channel, inside the gauges of window 0, between
// the panel's picture and the gauges drawn without static layers over the window's colour.
// (`only`: that gauge alone.)
std::string compare(tarn::Panel& panel, tarn::PanelRenderer& r, int* worst, const tarn::PlacedGauge* only = nullptr) {
    const tarn::Image& frame = r.frame();
    tarn::Image plain(frame.width(), frame.height(), false);
    const unsigned colour = panel.config().windows[0].background.value_or(0);
    cairo_t* cr = cairo_create(plain.surface());
    cairo_set_source_rgb(cr, (colour >> 16 & 0xFF) / 255.0, (colour >> 8 & 0xFF) / 255.0, (colour & 0xFF) / 255.0);
    cairo_paint(cr);
    std::map<const tarn::Plugin*, std::unique_ptr<tarn::PluginImages>> sources;
    std::vector<std::pair<size_t, tarn::PixelRect>> placed;
    for (size_t i = 0; i < panel.gauges().size(); ++i) {
        const tarn::PlacedGauge& g = panel.gauges()[i];
        if (g.instance == nullptr || g.window->number != 0 || (only != nullptr && &g != only)) continue;
        const tarn::PixelRect rect = *r.gauge_rect(i);
        placed.push_back({i, rect});
        auto& images = sources[&g.instance->plugin()];
        if (!images) images = std::make_unique<tarn::PluginImages>(g.instance->plugin());
        tarn::GaugeRenderer alone(*g.instance, *images, int(rect.w), int(rect.h));
        alone.set_static_layer(false);
        alone.set_under(colour);
        alone.take_changes();
        cairo_save(cr);
        cairo_rectangle(cr, rect.x, rect.y, rect.w, rect.h);
        cairo_clip(cr);
        cairo_translate(cr, rect.x, rect.y);
        alone.draw_onto(cr, alone.redrawn());
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(plain.surface());
    *worst = 0;
    std::string where;
    for (const auto& [i, rect] : placed)
        for (int y = int(rect.y); y < int(rect.y + rect.h); ++y)
            for (int x = int(rect.x); x < int(rect.x + rect.w); ++x)
                for (int shift : {0, 8, 16}) {
                    const int diff = std::abs(int(frame.pixel(x, y) >> shift & 0xFF) - int(plain.pixel(x, y) >> shift & 0xFF));
                    if (diff > *worst) {
                        *worst = diff;
                        where = panel.gauges()[i].line->name() + " at " + std::to_string(x - int(rect.x)) + "," +
                                std::to_string(y - int(rect.y));
                    }
                }
    return where;
}

// A needle turning under one static image and short of another: the far one goes into
// the layer whole, the near one keeps the part the needle can pass under; frame by frame
// the gauge shows what drawing every element gives.
TEST(StaticLayer, KeepsWhatANeedleReachesOutOfTheLayer) {
    tarn::PanelHost host(TARN_TEST_GAUGES_DIR);
    tarn::GaugeInstance& g = host.create("TestGauges", "Layered", nullptr);
    host.update_all();
    tarn::test::Bitmaps b;
    b.add(100, 200, 100, 0x606060);
    for (int y = 0; y < 100; ++y) b.set(100, 60, y, 0);  // a clear line, where the panel shows
    b.add(101, 10, 60, 0xE02020);
    for (int y = 0; y < 60; ++y) b.set(101, 0, y, 0);
    for (int k = 0; k < 3; ++k) b.add(102 + k, 20, 20, 0x20A020 + uint32_t(k) * 0x30);
    b.add(120, 48, 12, 0x2040F0);
    for (int x = 0; x < 48; x += 3)
        for (int y = 0; y < 12; ++y) b.set(120, x, y, 0);  // stripes the needle shows through
    b.add(121, 24, 12, 0xF0F0F0);
    b.set(121, 0, 0, 0);
    const uint32_t under = 0x203040;
    tarn::GaugeRenderer layered(g, b), plain(g, b);
    layered.set_under(under);
    plain.set_under(under);
    plain.set_static_layer(false);
    tarn::Image panel(200, 100, false), fresh(200, 100, false);
    auto fill = [&](tarn::Image& img) {
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x) img.row(y)[x] = 0xFF000000u | under;
        cairo_surface_mark_dirty(img.surface());
    };
    auto draw = [](tarn::GaugeRenderer& r, tarn::Image& onto) {
        if (!r.take_changes()) return;
        cairo_t* cr = cairo_create(onto.surface());
        for (const tarn::PixelBox& box : r.redrawn()) cairo_rectangle(cr, box.x0, box.y0, box.x1 - box.x0, box.y1 - box.y0);
        cairo_clip(cr);
        r.draw_onto(cr, r.redrawn());
        cairo_destroy(cr);
        cairo_surface_flush(onto.surface());
    };
    fill(panel);
    int differ = 0;
    for (int step = 0; step < 72; ++step) {
        g.element(1).angle = step * 5.0;
        g.element(2).frame = step % 4 - 1;
        draw(layered, panel);  // frame by frame
        fill(fresh);
        plain.invalidate();
        draw(plain, fresh);  // everything in order
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x)
                if (panel.pixel(x, y) != fresh.pixel(x, y) && ++differ < 4)
                    ADD_FAILURE() << "at " << step * 5 << " degrees, pixel " << x << "," << y << ": " << std::hex
                                  << panel.pixel(x, y) << " with the layer, " << fresh.pixel(x, y) << " without";
    }
    EXPECT_EQ(differ, 0);
    EXPECT_TRUE(layered.opaque());
    // What went into the layer.
    std::vector<tarn::DrawnState> drawn(g.element_count());
    for (size_t i = 0; i < drawn.size(); ++i) drawn[i].take(g.element(i));
    tarn::StaticLayer layer;
    const tarn::GaugeView view{200, 100, 1.0, 1.0, false};
    ASSERT_TRUE(layer.prepare(g, drawn, b, view, tarn::Cover::kWhole, under));
    int x = 0, y = 0;
    EXPECT_TRUE(layer.merged(3));
    const tarn::Image* part = layer.part(3, &x, &y);
    ASSERT_NE(part, nullptr);  // the needle passes under it
    EXPECT_GE(x, 118);
    EXPECT_LE(x + part->width(), 118 + 48);
    EXPECT_LT(part->width(), 48);  // but not under all of it
    EXPECT_TRUE(layer.merged(4));
    EXPECT_EQ(layer.part(4, &x, &y), nullptr);  // out of reach: all in the layer
    EXPECT_FALSE(layer.merged(1));
    EXPECT_FALSE(layer.merged(2));
    EXPECT_FALSE(layer.prepare(g, drawn, b, view, tarn::Cover::kWhole, std::nullopt));  // no colour under it
}

TEST(StaticLayer, ChangesNothingThatShows) {
    tarn::PanelHost host(TARN_GAUGES_DIR);
    tarn::Panel panel(host, tarn::load_panel_config(source_dir() + "/panel/panel.cfg"));
    host.update_all();
    tarn::PanelRenderer r(panel, {.window = 0});
    int worst = 0;
    std::string where = compare(panel, r, &worst);
    EXPECT_LE(worst, 1) << where;
    // Needles anywhere on their dials, hands under caps and glass edges included.
    for (double angle : {37.0, 151.0, 270.0}) {
        for (const tarn::PlacedGauge& g : panel.gauges()) {
            if (g.instance == nullptr) continue;
            for (size_t i = 0; i < g.instance->element_count(); ++i)
                if (g.instance->element(i).element->element_type == ELEMENT_TYPE_NEEDLE)
                    g.instance->element(i).angle = angle + double(i) * 13;
        }
        where = compare(panel, r, &worst);
        EXPECT_LE(worst, 1) << "at " << angle << " degrees: " << where;
    }
    // Each static image hidden in turn: the layer follows.
    for (const tarn::PlacedGauge& g : panel.gauges()) {
        if (g.instance == nullptr || g.window->number != 0) continue;
        for (size_t i = 1; i < g.instance->element_count(); ++i) {
            ELEMENT_HEADER* e = g.instance->element(i).element;
            if (e->element_type != ELEMENT_TYPE_STATIC_IMAGE) continue;
            e->image_flags |= IMAGE_HIDDEN;
            where = compare(panel, r, &worst, &g);
            EXPECT_LE(worst, 1) << g.line->name() << " element " << i << " hidden: " << where;
            e->image_flags &= ~IMAGE_HIDDEN;
        }
    }
    where = compare(panel, r, &worst);
    EXPECT_LE(worst, 1) << where;
}

}  // namespace
