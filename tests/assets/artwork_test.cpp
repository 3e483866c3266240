// The artwork in the built modules: every bitmap the gauges' records use is there, at the
// size its gauge is laid out for, one bitmap per icon frame; and dial faces agree with
// their needles: at chosen readings the needle's tip lies on the mark drawn for that value.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "host/draw/bitmap.h"
#include "host/core/host.h"
#include "host/draw/render.h"

namespace {

struct Listed {
    const char* module;
    int32_t id;
    int width, height, frames;
};

// The bitmaps of both modules as their gauges are laid out: id, size, frames (frame k is
// id + k). The two moving-image windows (4221, 1141) are masks of the compass card and
// the pressure strip.
const Listed kBitmaps[] = {
    {"TARN", 8448, 258, 541, 1},
    {"TARN", 8449, 258, 541, 1},
    {"TARN", 10240, 110, 37, 3},
    {"TARN", 8960, 110, 37, 3},
    {"TARN", 9472, 110, 37, 3},
    {"TARN", 9728, 110, 37, 3},
    {"TARN", 9216, 110, 37, 3},
    {"TARN", 9984, 110, 37, 3},
    {"TARN", 10496, 110, 37, 3},
    {"TARN", 12288, 110, 37, 3},
    {"TARN", 8704, 36, 43, 2},
    {"TARN", 16896, 19, 80, 1},
    {"TARN", 17152, 19, 80, 5},
    {"TARN", 17408, 412, 75, 1},
    {"TARN", 17664, 412, 75, 2},
    {"TARN", 17920, 70, 102, 1},
    {"TARN", 18176, 70, 60, 2},
    {"TARN", 18432, 70, 42, 3},
    {"TARN", 18688, 150, 163, 1},
    {"TARN", 20480, 150, 163, 4},
    {"TARN", 13312, 201, 115, 1},
    {"TARN", 13568, 19, 52, 2},
    {"TARN", 6400, 152, 152, 1},
    {"TARN", 8192, 47, 7, 1},
    {"TARN", 8193, 152, 152, 1},
    {"TARN", 0x3800, 370, 1116, 1},
    {"TARN", 0x3900, 10, 72, 1},
    {"TARN", 0x3901, 10, 50, 1},
    {"TARN", 0x4000, 51, 986, 1},
    {"TARN", 0x1700, 152, 152, 1},
    {"TARN", 0x1800, 60, 9, 1},
    {"TARN", 0x1801, 152, 152, 1},
    {"TARN", 0x5500, 58, 99, 1},
    {"TARN", 0x3200, 19, 52, 2},
    {"TARN", 0x1400, 69, 124, 1},
    {"TARN", 0x1401, 69, 124, 3},
    {"TARN", 0x1500, 38, 38, 1},
    {"TARN", 0x1600, 38, 38, 2},
    {"TARN", 0x3600, 133, 133, 1},
    {"TARN", 0x3700, 87, 12, 1},
    {"TARN", 0x5100, 151, 150, 1},
    {"TARN", 0x5200, 50, 4, 1},
    {"TARN", 0x5201, 10, 10, 2},
    {"TARN", 0x1000, 314, 90, 1},
    {"TARN", 0x1100, 13, 39, 1},
    {"TARN", 0x1101, 14, 40, 1},
    {"TARN", 0x1200, 42, 14, 2},
    {"TARN", 0x1300, 42, 14, 2},
    {"TARN", 0x4100, 36, 70, 2},
    {"TARN", 21248, 400, 212, 1},
    {"TARN", 21504, 31, 16, 7},
    {"TARN", 12544, 679, 388, 1},
    {"TARN", 12545, 679, 388, 1},
    {"TARN", 13056, 121, 116, 3},
    {"TARN2_Instruments", 2400, 260, 60, 1},
    {"TARN2_Instruments", 2421, 26, 30, 2},
    {"TARN2_Instruments", 200, 114, 114, 1},
    {"TARN2_Instruments", 230, 35, 11, 1},
    {"TARN2_Instruments", 220, 50, 11, 1},
    {"TARN2_Instruments", 210, 68, 9, 1},
    {"TARN2_Instruments", 240, 114, 114, 1},
    {"TARN2_Instruments", 5110, 52, 52, 2},
    {"TARN2_Instruments", 5210, 52, 52, 2},
    {"TARN2_Instruments", 5310, 52, 52, 2},
    {"TARN2_Instruments", 4010, 48, 60, 1},
    {"TARN2_Instruments", 4000, 48, 60, 2},
    {"TARN2_Instruments", 4110, 80, 104, 8},
    {"TARN2_Instruments", 1400, 300, 300, 1},
    {"TARN2_Instruments", 1410, 85, 20, 1},
    {"TARN2_Instruments", 1420, 300, 300, 1},
    {"TARN2_Instruments", 2000, 300, 300, 1},
    {"TARN2_Instruments", 2010, 85, 20, 1},
    {"TARN2_Instruments", 2020, 300, 300, 1},
    {"TARN2_Instruments", 2100, 300, 300, 1},
    {"TARN2_Instruments", 2110, 115, 20, 1},
    {"TARN2_Instruments", 2120, 300, 300, 1},
    {"TARN2_Instruments", 2200, 300, 300, 1},
    {"TARN2_Instruments", 2210, 115, 20, 1},
    {"TARN2_Instruments", 2220, 300, 300, 1},
    {"TARN2_Instruments", 2300, 300, 300, 1},
    {"TARN2_Instruments", 2310, 115, 20, 1},
    {"TARN2_Instruments", 2320, 300, 300, 1},
    {"TARN2_Instruments", 250, 200, 200, 1},
    {"TARN2_Instruments", 280, 27, 14, 2},
    {"TARN2_Instruments", 270, 75, 24, 1},
    {"TARN2_Instruments", 260, 200, 200, 1},
    {"TARN2_Instruments", 1470, 230, 230, 1},
    {"TARN2_Instruments", 1480, 125, 56, 1},
    {"TARN2_Instruments", 1490, 230, 230, 1},
    {"TARN2_Instruments", 1300, 158, 156, 1},
    {"TARN2_Instruments", 1320, 158, 154, 1},
    {"TARN2_Instruments", 1310, 158, 158, 1},
    {"TARN2_Instruments", 1330, 70, 20, 1},
    {"TARN2_Instruments", 1340, 158, 156, 1},
    {"TARN2_Instruments", 1200, 158, 158, 1},
    {"TARN2_Instruments", 1220, 16, 16, 1},
    {"TARN2_Instruments", 1230, 158, 158, 1},
    {"TARN2_Instruments", 1240, 30, 14, 1},
    {"TARN2_Instruments", 1210, 30, 94, 1},
    {"TARN2_Instruments", 1250, 158, 158, 1},
    {"TARN2_Instruments", 4210, 160, 100, 1},
    {"TARN2_Instruments", 4220, 880, 100, 1},
    {"TARN2_Instruments", 4221, 160, 100, 1},
    {"TARN2_Instruments", 10, 186, 180, 1},
    {"TARN2_Instruments", 20, 134, 134, 1},
    {"TARN2_Instruments", 40, 20, 68, 1},
    {"TARN2_Instruments", 50, 100, 116, 1},
    {"TARN2_Instruments", 30, 24, 42, 1},
    {"TARN2_Instruments", 60, 186, 180, 1},
    {"TARN2_Instruments", 90, 30, 14, 1},
    {"TARN2_Instruments", 120, 30, 14, 1},
    {"TARN2_Instruments", 80, 10, 10, 1},
    {"TARN2_Instruments", 70, 10, 10, 1},
    {"TARN2_Instruments", 110, 30, 30, 1},
    {"TARN2_Instruments", 100, 30, 30, 1},
    {"TARN2_Instruments", 4400, 140, 140, 1},
    {"TARN2_Instruments", 4440, 140, 140, 1},
    {"TARN2_Instruments", 4450, 20, 12, 2},
    {"TARN2_Instruments", 4470, 14, 10, 2},
    {"TARN2_Instruments", 4430, 70, 5, 1},
    {"TARN2_Instruments", 4480, 70, 5, 1},
    {"TARN2_Instruments", 4420, 140, 140, 1},
    {"TARN2_Instruments", 4410, 30, 30, 1},
    {"TARN2_Instruments", 5000, 140, 140, 1},
    {"TARN2_Instruments", 5040, 140, 140, 1},
    {"TARN2_Instruments", 5050, 14, 10, 3},
    {"TARN2_Instruments", 5030, 70, 5, 1},
    {"TARN2_Instruments", 5020, 140, 140, 1},
    {"TARN2_Instruments", 5010, 30, 30, 1},
    {"TARN2_Instruments", 4300, 146, 146, 1},
    {"TARN2_Instruments", 4340, 146, 146, 1},
    {"TARN2_Instruments", 4330, 100, 11, 1},
    {"TARN2_Instruments", 4320, 146, 146, 1},
    {"TARN2_Instruments", 4310, 28, 28, 1},
    {"TARN2_Instruments", 300, 200, 80, 1},
    {"TARN2_Instruments", 310, 15, 15, 2},
    {"TARN2_Instruments", 4140, 30, 36, 1},
    {"TARN2_Instruments", 4150, 30, 36, 2},
    {"TARN2_Instruments", 320, 300, 300, 1},
    {"TARN2_Instruments", 330, 130, 40, 1},
    {"TARN2_Instruments", 340, 300, 300, 1},
    {"TARN2_Instruments", 1000, 156, 156, 1},
    {"TARN2_Instruments", 1010, 65, 14, 1},
    {"TARN2_Instruments", 1020, 156, 156, 1},
    {"TARN2_Instruments", 1130, 162, 156, 1},
    {"TARN2_Instruments", 1140, 30, 490, 1},
    {"TARN2_Instruments", 1141, 30, 14, 1},
    {"TARN2_Instruments", 1170, 85, 62, 1},
    {"TARN2_Instruments", 1160, 45, 10, 1},
    {"TARN2_Instruments", 1150, 60, 10, 1},
    {"TARN2_Instruments", 1180, 162, 156, 1},
    {"TARN2_Instruments", 1190, 27, 27, 1},
    {"TARN2_Instruments", 3000, 302, 290, 1},
    {"TARN2_Instruments", 3010, 118, 22, 1},
    {"TARN2_Instruments", 3020, 128, 22, 1},
    {"TARN2_Instruments", 3030, 24, 24, 2},
    {"TARN2_Instruments", 3040, 302, 290, 1},
    {"TARN2_Instruments", 3300, 30, 36, 1},
    {"TARN2_Instruments", 3310, 30, 36, 1},
    {"TARN2_Instruments", 3400, 150, 25, 1},
    {"TARN2_Instruments", 1040, 200, 150, 1},
    {"TARN2_Instruments", 1110, 11, 6, 1},
    {"TARN2_Instruments", 1120, 15, 110, 6},
    {"TARN2_Instruments", 1070, 30, 18, 1},
    {"TARN2_Instruments", 1100, 30, 18, 1},
    {"TARN2_Instruments", 1060, 20, 18, 1},
    {"TARN2_Instruments", 1090, 20, 18, 1},
    {"TARN2_Instruments", 1050, 22, 18, 1},
    {"TARN2_Instruments", 1080, 22, 18, 1},
};

const Listed* listed(const std::string& module, int32_t id) {
    for (const Listed& l : kBitmaps)
        if (module == l.module && id >= l.id && id < l.id + l.frames) return &l;
    return nullptr;
}

// Every listed bitmap is in its module, every frame at the listed size; every element of
// every gauge shows only listed bitmaps, each icon frame included.
TEST(Artwork, EveryBitmapOfEveryGaugeIsThereAtItsSize) {
    tarn::PanelHost host(TARN_GAUGES_DIR);
    for (const Listed& l : kBitmaps) {
        const tarn::Plugin& p = host.module(l.module);
        for (int k = 0; k < l.frames; ++k) {
            tarn::BitmapInfo info;
            ASSERT_TRUE(p.bitmap(l.id + k, info)) << l.module << " bitmap " << l.id + k;
            EXPECT_EQ(info.width, l.width) << l.module << " bitmap " << l.id + k;
            EXPECT_EQ(info.height, l.height) << l.module << " bitmap " << l.id + k;
            EXPECT_EQ(info.bits, 24) << l.module << " bitmap " << l.id + k;
        }
    }
    int elements = 0;
    for (const char* module : {"TARN", "TARN2_Instruments"}) {
        const tarn::Plugin& p = host.module(module);
        for (GAUGEHDR* h : p.gauges()) {
            tarn::GaugeInstance& g = host.create(module, h->gauge_name, nullptr);
            for (size_t i = 0; i < g.element_count(); ++i) {
                const ELEMENT_HEADER* e = g.element(i).element;
                if (e->element_type == ELEMENT_TYPE_STRING) continue;
                int frames = 1;
                if (e->element_type == ELEMENT_TYPE_ICON) frames = static_cast<int>(reinterpret_cast<const ELEMENT_ICON*>(e)->picture_count);
                for (int k = 0; k < frames; ++k) {
                    const Listed* l = listed(module, e->resource_id + k);
                    EXPECT_NE(l, nullptr) << module << "!" << h->gauge_name << " element " << i + 1 << " bitmap " << e->resource_id + k;
                    if (l && k == 0) {  // the element's size is its first frame's
                        EXPECT_EQ(g.element(i).width, l->width) << h->gauge_name << " element " << i + 1;
                        EXPECT_EQ(g.element(i).height, l->height) << h->gauge_name << " element " << i + 1;
                    }
                }
                ++elements;
            }
            host.kill(g);
        }
    }
    EXPECT_GT(elements, 200);
}

// Brightness of a picture's pixel, 0..255.
int brightness(uint32_t argb) { return static_cast<int>(((argb >> 16) & 0xFF) + ((argb >> 8) & 0xFF) + (argb & 0xFF)) / 3; }

struct TipCase {
    const char* module;
    const char* gauge;
    size_t needle;          // element number, from 1
    uint32_t token;
    double raw;             // the variable's value for the reading
    double other;           // a reading that puts the needle elsewhere
    double direction;       // degrees clockwise from 3 o'clock the gauge's description gives
    double beyond;          // the scale ends here: no mark this many degrees further on (0: not the end)
    const char* what;
};

// Each case: the needle at one reading, its direction as the gauge's description gives it
// (a table point or a callback formula worked by hand).
const TipCase kTips[] = {
    // Tachometer 3000 rpm: the table's 3000 point (253,192) about (150,150).
    {"TARN2_Instruments", "Tachometer", 2, 390, 3000, 1000, 22.18, 0, "tachometer 3000 rpm"},
    // Airspeed 110 kt: the table's 110 point (124,265) about (149,149).
    {"TARN2_Instruments", "AirSpeed", 2, 61, 110, 60, 102.16, 0, "airspeed 110 kt"},
    // Engine cluster, engine 1 oil pressure 120 psi (17280 psf): -1.25 x 120 + 165 = 15
    // degrees from up; the last mark of its half dial (pressure turns the needle anticlockwise).
    {"TARN", "Engines", 9, 418, 17280, 0, 285.0, -8, "engine 1 oil pressure 120 psi"},
    // Engine cluster, engine 1 speed 3000 rpm: 0.072 x 3000 - 108 = 108 degrees from up.
    {"TARN", "Engines", 17, 390, 3000, 1000, 18.0, 0, "engine 1 speed 3000 rpm"},
    // Second airspeed dial, 110 kt: 1.125 x 110 - 25 = 98.75 from the needle as drawn (right).
    {"TARN", "Speedgauge", 2, 61, 110, 40, 98.75, 0, "second airspeed 110 kt"},
    // Vertical speed +1000 ft/min (1300.48 in the variable's unit): table point (69,24)
    // about (78,78).
    {"TARN2_Instruments", "Vertical_Speed", 2, 65, 1300.48, -1300.48, 260.54, 0, "vertical speed +1000 ft/min"},
    // Oil temperature 100 C (671.67 R) on "Oil_Temp_Press": between the table's 0 C point
    // (95,226) and 150 C point (95,78) about (115,150), 100/150 of the way round.
    {"TARN2_Instruments", "Oil_Temp_Press", 2, 416, 671.67, 491.67, -1, 0, "oil temperature 100 C"},
};

// The needle's tip is where it reaches farthest from its pivot; it lies on a mark of the
// face (a bright stroke of the dial bitmap), which is a distinct mark (dark face half a
// mark's spacing to either side), and it points where the description says.
TEST(Artwork, NeedleTipsLieOnTheMarksOfTheirValues) {
    for (const TipCase& c : kTips) {
        SCOPED_TRACE(c.what);
        tarn::PanelHost host(TARN_GAUGES_DIR);
        tarn::GaugeInstance& g = host.create(c.module, c.gauge, nullptr);
        tarn::PluginImages images(g.plugin());
        auto picture_at = [&](double raw, uint32_t& now) {
            host.vars().set_number(c.token, raw);
            g.update(now);
            now += 1000000;  // past any slew limit
            g.update(now);
            now += 1000000;
            tarn::GaugeRenderer r(g, images);
            r.refresh();
            const tarn::Image& img = r.image();
            std::vector<uint32_t> px(static_cast<size_t>(img.width()) * img.height());
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) px[static_cast<size_t>(y) * img.width() + x] = img.pixel(x, y);
            return px;
        };
        uint32_t now = 1000;
        const std::vector<uint32_t> at = picture_at(c.raw, now);
        const std::vector<uint32_t> away = picture_at(c.other, now);
        const int w = g.width(), h = g.height();
        const ELEMENT_HEADER* needle = g.element(c.needle - 1).element;
        const double px = needle->position.x + 0.5, py = needle->position.y + 0.5;
        // The needle's own pixels: bright at the reading, not where it is away.
        double tip_r = 0, tip_x = 0, tip_y = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const size_t i = static_cast<size_t>(y) * w + x;
                if (brightness(at[i]) > 110 && brightness(at[i]) - brightness(away[i]) > 50) {
                    const double r = std::hypot(x + 0.5 - px, y + 0.5 - py);
                    if (r > tip_r) {
                        tip_r = r;
                        tip_x = x + 0.5;
                        tip_y = y + 0.5;
                    }
                }
            }
        ASSERT_GT(tip_r, 20.0) << "no needle found";
        const double tip_dir = std::fmod(std::atan2(tip_y - py, tip_x - px) * 180 / M_PI + 360, 360);
        double expected = c.direction;
        if (expected < 0) {
            // Oil temperature: the two table points, 100/150 of the clockwise turn between them.
            const double a0 = std::atan2(226 - 150.0, 95 - 115.0) * 180 / M_PI;
            double a1 = std::atan2(78 - 150.0, 95 - 115.0) * 180 / M_PI;
            while (a1 < a0) a1 += 360;
            expected = std::fmod(a0 + (a1 - a0) * 100.0 / 150.0 + 360, 360);
        }
        double diff = std::fabs(tip_dir - expected);
        if (diff > 180) diff = 360 - diff;
        EXPECT_LT(diff, 2.0) << "tip at " << tip_dir << " degrees, the reading at " << expected;
        // The face alone: the background bitmap, as decoded.
        const tarn::Image* face = images.bitmap(g.element(0).element->resource_id, tarn::Decode{});
        ASSERT_NE(face, nullptr);
        auto mark_near = [&](double dir_deg, double r) {
            // Bright face pixels within 1.5 px of the point at (direction, radius).
            const double t = dir_deg * M_PI / 180;
            const double mx = px + r * std::cos(t), my = py + r * std::sin(t);
            for (int y = static_cast<int>(my) - 2; y <= static_cast<int>(my) + 2; ++y)
                for (int x = static_cast<int>(mx) - 2; x <= static_cast<int>(mx) + 2; ++x)
                    if (std::hypot(x + 0.5 - mx, y + 0.5 - my) <= 1.5 && brightness(face->pixel(x, y)) > 150) return true;
            return false;
        };
        EXPECT_TRUE(mark_near(tip_dir, tip_r)) << "no mark under the tip at (" << tip_x << "," << tip_y << ")";
        // Every reading chosen is a major mark, whose stroke reaches further in than the
        // minor ones (about a tenth of the tip radius, at least 5.5 pixels).
        EXPECT_TRUE(mark_near(tip_dir, tip_r - std::max(5.5, 0.105 * tip_r))) << "the mark under the tip is not a major one";
        // A distinct mark: the face is dark a few degrees to either side at the tip's radius.
        const double step = std::max(2.5, 4.0 * 180 / (M_PI * tip_r));
        EXPECT_FALSE(mark_near(tip_dir + step, tip_r - 1) && mark_near(tip_dir - step, tip_r - 1)) << "the tip is on a band, not a mark";
        if (c.beyond != 0) {
            EXPECT_FALSE(mark_near(tip_dir + c.beyond, tip_r - 1)) << "a mark beyond the end of the scale";
        }
    }
}

}  // namespace
