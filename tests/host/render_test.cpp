// Drawing of each element kind, on element records of the tests' own and bitmaps painted
// here, so that every pixel a test looks at is known.
#include "host/draw/render.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>

#include "host/core/host.h"
#include "tests/host/test_bitmaps.h"
#include "platform/host_control.h"

namespace {

using tarn::test::Bitmaps;
using tarn::DrawnState;
using tarn::ElementState;
using tarn::Image;

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kBlue = 0xFF0000FFu;
constexpr uint32_t kGreen = 0xFF00FF00u;
constexpr uint32_t kBlack = 0xFF000000u;

// A white picture, one element drawn on it as its state shows.
class Canvas {
public:
    Canvas(int w, int h) : image(w, h, true) {
        cairo_t* cr = cairo_create(image.surface());
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    void draw(const ElementState& s, tarn::ImageSource& images, bool night = false) {
        DrawnState d;
        d.take(s);
        cairo_t* cr = cairo_create(image.surface());
        tarn::GaugeView view;
        view.width = image.width();
        view.height = image.height();
        view.night = night;
        tarn::draw_element(cr, s, d, images, view);
        cairo_destroy(cr);
        cairo_surface_flush(image.surface());
    }
    uint32_t at(int x, int y) const { return image.pixel(x, y); }
    // Bounding box of the pixels of one colour: x0, y0, x1, y1 (inclusive), or -1s.
    std::array<int, 4> box_of(uint32_t colour) const {
        std::array<int, 4> b = {-1, -1, -1, -1};
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                if (at(x, y) != colour) continue;
                if (b[0] < 0 || x < b[0]) b[0] = x;
                if (b[1] < 0 || y < b[1]) b[1] = y;
                b[2] = std::max(b[2], x);
                b[3] = std::max(b[3], y);
            }
        return b;
    }
    Image image;
};

ElementState state_of(ELEMENT_HEADER* e) {
    ElementState s;
    s.element = e;
    return s;
}

// A needle bitmap 21 x 5 pointing right: its pivot at (2,2), a red shaft to x = 17 and a
// blue tip from x = 18 to 20; the rest black (transparent where the flag is set).
void add_needle(Bitmaps& b, int32_t id) {
    b.add(id, 21, 5, 0x000000);
    for (int x = 2; x <= 17; ++x) b.set(id, x, 2, 0xFF0000);
    for (int x = 18; x <= 20; ++x)
        for (int y = 1; y <= 3; ++y) b.set(id, x, y, 0x0000FF);
}

ELEMENT_NEEDLE needle_at(int x, int y, FLAGS32 flags) {
    ELEMENT_NEEDLE n{};
    n.header.element_type = ELEMENT_TYPE_NEEDLE;
    n.header.resource_id = 1;
    n.header.position = {x, y};
    n.header.ofs = {2, 2};
    n.header.image_flags = flags;
    return n;
}

/* ---- needles ------------------------------------------------------------------------ */

// A needle at 0 degrees is its bitmap as drawn, the pivot pixel on the background point.
TEST(RenderNeedle, AtZeroTheBitmapSitsWithItsPivotOnThePosition) {
    Bitmaps b;
    add_needle(b, 1);
    ELEMENT_NEEDLE n = needle_at(30, 30, IMAGE_USE_TRANSPARENCY);
    ElementState s = state_of(&n.header);
    Canvas c(60, 60);
    c.draw(s, b);
    EXPECT_EQ(c.at(30, 30), kRed);  // the pivot pixel
    EXPECT_EQ(c.at(45, 30), kRed);
    EXPECT_EQ(c.box_of(kBlue), (std::array<int, 4>{46, 29, 48, 31}));
    EXPECT_EQ(c.at(29, 30), kWhite);  // black around the shaft is transparent
    EXPECT_EQ(c.at(30, 29), kWhite);
}

// Angles turn clockwise on screen: 90 degrees points down, -45 up and to the right.
TEST(RenderNeedle, TurnsClockwiseAboutItsPivot) {
    Bitmaps b;
    add_needle(b, 1);
    ELEMENT_NEEDLE n = needle_at(30, 30, IMAGE_USE_TRANSPARENCY);
    ElementState s = state_of(&n.header);
    s.angle = 90;
    Canvas down(60, 60);
    down.draw(s, b);
    EXPECT_EQ(down.at(30, 30), kRed);
    EXPECT_EQ(down.at(30, 44), kRed);
    EXPECT_EQ(down.box_of(kBlue), (std::array<int, 4>{29, 46, 31, 48}));
    EXPECT_EQ(down.at(45, 30), kWhite);

    s.angle = -45;
    Canvas up(60, 60);
    up.draw(s, b);
    // The tip's centre, 17 pixels out along the -45 degree line, is blue.
    const int tx = 30 + int(std::lround(17 * std::cos(M_PI / 4))), ty = 30 - int(std::lround(17 * std::sin(M_PI / 4)));
    EXPECT_EQ(up.at(tx, ty), kBlue);
    EXPECT_EQ(up.at(30 + 7, 30 - 7), kRed);
    EXPECT_EQ(up.at(30 + 7, 30 + 7), kWhite);
    // A whole turn more draws the same.
    s.angle = 315;
    Canvas same(60, 60);
    same.draw(s, b);
    EXPECT_EQ(same.at(tx, ty), kBlue);
}

// Without the transparency flag the black of the bitmap is drawn.
TEST(RenderNeedle, BlackIsDrawnWithoutTheTransparencyFlag) {
    Bitmaps b;
    add_needle(b, 1);
    ELEMENT_NEEDLE n = needle_at(30, 30, 0);
    ElementState s = state_of(&n.header);
    Canvas c(60, 60);
    c.draw(s, b);
    EXPECT_EQ(c.at(29, 30), kBlack);
    EXPECT_EQ(c.at(30, 28), kBlack);
    EXPECT_EQ(c.at(30, 27), kWhite);  // above the bitmap
}

// Bilinear filtering blends a turned needle's edges; without it every pixel is either
// the bitmap's or the background's.
TEST(RenderNeedle, BilinearFlagSmoothsTurnedNeedles) {
    Bitmaps b;
    add_needle(b, 1);
    auto count_mixed = [&](FLAGS32 flags) {
        ELEMENT_NEEDLE n = needle_at(30, 30, flags);
        ElementState s = state_of(&n.header);
        s.angle = 30;
        Canvas c(60, 60);
        c.draw(s, b);
        int mixed = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) {
                const uint32_t p = c.at(x, y);
                if (p != kWhite && p != kRed && p != kBlue) ++mixed;
            }
        return mixed;
    };
    EXPECT_EQ(count_mixed(IMAGE_USE_TRANSPARENCY), 0);
    EXPECT_GT(count_mixed(IMAGE_USE_TRANSPARENCY | IMAGE_BILINEAR_COLOR), 10);
}

// Clear margins of a bitmap are not drawn (they are cut off once), with no change to any
// pixel: a needle with wide clear margins draws as the same needle without them.
TEST(RenderNeedle, ClearMarginsChangeNothing) {
    Bitmaps b;
    add_needle(b, 1);
    b.add(2, 61, 45, 0x000000);  // the same needle inside 20 clear pixels each way
    for (int x = 2; x <= 17; ++x) b.set(2, 20 + x, 22, 0xFF0000);
    for (int x = 18; x <= 20; ++x)
        for (int y = 1; y <= 3; ++y) b.set(2, 20 + x, 20 + y, 0x0000FF);
    for (double angle : {0.0, 33.0, 90.0, -128.0}) {
        ELEMENT_NEEDLE plain = needle_at(30, 30, IMAGE_USE_TRANSPARENCY | IMAGE_BILINEAR_COLOR);
        ELEMENT_NEEDLE padded = plain;
        padded.header.resource_id = 2;
        padded.header.ofs = {22, 22};
        ElementState s1 = state_of(&plain.header), s2 = state_of(&padded.header);
        s1.angle = s2.angle = angle;
        Canvas a(60, 60), c(60, 60);
        a.draw(s1, b);
        c.draw(s2, b);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) ASSERT_EQ(a.at(x, y), c.at(x, y)) << angle << " at " << x << "," << y;
        // The box that a change redraws is the needle's, not the whole padded bitmap's.
        DrawnState d;
        d.take(s2);
        const tarn::PixelBox box = tarn::element_box(s2, d, b, tarn::GaugeView{60, 60});
        EXPECT_LE(box.area(), 24 * 24) << angle;
    }
}

// A needle whose value was no number stays where it was drawn last.
TEST(RenderNeedle, ANaNAngleKeepsThePreviousPose) {
    ELEMENT_NEEDLE n = needle_at(30, 30, 0);
    ElementState s = state_of(&n.header);
    DrawnState d;
    s.angle = 40;
    EXPECT_TRUE(d.take(s));
    s.angle = NAN;
    EXPECT_FALSE(d.take(s));
    EXPECT_EQ(d.a, 40);
    s.angle = 400;  // the same direction as 40
    EXPECT_FALSE(d.take(s));
}

/* ---- icons, hidden and failed elements ----------------------------------------------- */

ELEMENT_ICON icon_at(int x, int y) {
    ELEMENT_ICON i{};
    i.header.element_type = ELEMENT_TYPE_ICON;
    i.header.resource_id = 10;
    i.header.position = {x, y};
    i.picture_count = 3;
    i.scale = 1;
    return i;
}

// Frame k is bitmap id + k; no frame (-1) draws nothing.
TEST(RenderIcon, FrameKIsResourceIdPlusK) {
    Bitmaps b;
    b.add(10, 4, 4, 0xFF0000);
    b.add(11, 4, 4, 0x00FF00);
    b.add(12, 4, 4, 0x0000FF);
    ELEMENT_ICON i = icon_at(5, 6);
    ElementState s = state_of(&i.header);
    for (int frame : {0, 1, 2}) {
        s.frame = frame;
        Canvas c(20, 20);
        c.draw(s, b);
        const uint32_t want[] = {kRed, kGreen, kBlue};
        EXPECT_EQ(c.box_of(want[frame]), (std::array<int, 4>{5, 6, 8, 9})) << "frame " << frame;
    }
    s.frame = -1;
    Canvas none(20, 20);
    none.draw(s, b);
    EXPECT_EQ(none.box_of(kWhite), (std::array<int, 4>{0, 0, 19, 19}));
    EXPECT_EQ(none.at(6, 7), kWhite);
}

// IMAGE_HIDDEN and failure action 3 each keep an element from being drawn.
TEST(RenderIcon, HiddenAndFailedElementsAreNotDrawn) {
    Bitmaps b;
    b.add(10, 4, 4, 0xFF0000);
    ELEMENT_ICON i = icon_at(5, 6);
    ElementState s = state_of(&i.header);
    s.frame = 0;
    Canvas shown(20, 20);
    shown.draw(s, b);
    EXPECT_EQ(shown.at(6, 7), kRed);

    i.header.image_flags = IMAGE_HIDDEN;
    Canvas hidden(20, 20);
    hidden.draw(s, b);
    EXPECT_EQ(hidden.at(6, 7), kWhite);

    i.header.image_flags = 0;
    s.failed_hidden = true;
    Canvas failed(20, 20);
    failed.draw(s, b);
    EXPECT_EQ(failed.at(6, 7), kWhite);
}

// A bitmap the module does not have draws nothing (and does not fail).
TEST(RenderIcon, AMissingBitmapDrawsNothing) {
    Bitmaps b;
    ELEMENT_ICON i = icon_at(5, 6);
    ElementState s = state_of(&i.header);
    s.frame = 1;
    Canvas c(20, 20);
    c.draw(s, b);
    EXPECT_EQ(c.box_of(kWhite), (std::array<int, 4>{0, 0, 19, 19}));
}

// Elements placed absurdly far away draw nothing, and a text box of a million pixels is
// drawn with a face of a sane size (nothing breaks, nothing runs out of memory).
TEST(RenderIcon, FarAwayAndHugeElementsAreHarmless) {
    Bitmaps b;
    b.add(10, 4, 4, 0xFF0000);
    ELEMENT_ICON i = icon_at(2000000000, 5);
    ElementState s = state_of(&i.header);
    s.frame = 0;
    Canvas c(20, 20);
    c.draw(s, b);
    EXPECT_EQ(c.box_of(kWhite), (std::array<int, 4>{0, 0, 19, 19}));
    EXPECT_TRUE(tarn::element_box(s, DrawnState(), b, tarn::GaugeView{20, 20}).empty());

    ELEMENT_STRING t{};
    t.header.element_type = ELEMENT_TYPE_STRING;
    t.header.position = {2, 2};
    t.img_size = {1000000, 1000000};
    t.fg_color = 0x0000FF;
    t.bg_color = 0x00FF00;
    std::strcpy(t.font_face, "Arial");
    char text[] = "88";
    t.string = text;
    t.string_size = sizeof text;
    ElementState ts = state_of(&t.header);
    Canvas big(20, 20);
    big.draw(ts, b);
    EXPECT_EQ(big.at(10, 10) >> 8 & 0xFF, 0xFFu);  // the background fills what shows of the box
}

/* ---- sliders ------------------------------------------------------------------------- */

// The bitmap moves by value x scale on each axis, to whole pixels unless smooth.
TEST(RenderSlider, OffsetIsValueTimesScale) {
    Bitmaps b;
    b.add(20, 3, 2, 0x00FF00);
    ELEMENT_SLIDER sl{};
    sl.header.element_type = ELEMENT_TYPE_SLIDER;
    sl.header.resource_id = 20;
    sl.header.position = {10, 10};
    sl.scale_x = 2;
    sl.scale_y = -0.5;
    ElementState s = state_of(&sl.header);
    s.value[0] = 3;    // 6 pixels right
    s.value[1] = 8.6;  // -4.3: 4 pixels up
    Canvas c(40, 40);
    c.draw(s, b);
    EXPECT_EQ(c.box_of(kGreen), (std::array<int, 4>{16, 6, 18, 7}));
    // An offset far off the gauge draws nothing there, and nothing breaks.
    s.value[0] = 1e300;
    Canvas far(40, 40);
    far.draw(s, b);
    EXPECT_EQ(far.box_of(kGreen)[0], -1);
}

/* ---- moving images ------------------------------------------------------------------- */

struct Strip {
    Bitmaps b;
    ELEMENT_MOVING_IMAGE m{};
    // A 12 x 4 strip, red with its first column blue.
    Strip() {
        b.add(30, 12, 4, 0xFF0000);
        for (int y = 0; y < 4; ++y) b.set(30, 0, y, 0x0000FF);
        m.header.element_type = ELEMENT_TYPE_MOVING_IMAGE;
        m.header.resource_id = 30;
        m.header.position = {4, 2};
        m.min_x = 0;
        m.max_x = 10;
    }
    std::array<int, 4> draw(double x, double y = 0) {
        ElementState s = state_of(&m.header);
        s.value[0] = x;
        s.value[1] = y;
        Canvas c(24, 8);
        c.draw(s, b);
        red = c.box_of(kRed);
        return c.box_of(kBlue);
    }
    std::array<int, 4> red;
};

// Without a window bitmap the window is the gauge right of and below the position: the
// strip's left edge at the window's left for the minimum, its right edge at the
// gauge's right edge for the maximum.
TEST(RenderMovingImage, TravelsAcrossItsWindowBetweenItsLimits) {
    Strip s;
    EXPECT_EQ(s.draw(0), (std::array<int, 4>{4, 2, 4, 5}));
    EXPECT_EQ(s.red[2], 15);
    EXPECT_EQ(s.draw(10), (std::array<int, 4>{12, 2, 12, 5}));  // 24 - 12 = 12
    EXPECT_EQ(s.red[2], 23);
    EXPECT_EQ(s.draw(5), (std::array<int, 4>{8, 2, 8, 5}));
    // The value is held to its limits.
    EXPECT_EQ(s.draw(-7), (std::array<int, 4>{4, 2, 4, 5}));
    EXPECT_EQ(s.draw(99), (std::array<int, 4>{12, 2, 12, 5}));
}

// Limits given the other way round run the other way (as the compass card does).
TEST(RenderMovingImage, ReversedLimitsRunTheOtherWay) {
    Strip s;
    s.m.min_x = 10;
    s.m.max_x = 0;
    EXPECT_EQ(s.draw(10), (std::array<int, 4>{4, 2, 4, 5}));
    EXPECT_EQ(s.draw(0), (std::array<int, 4>{12, 2, 12, 5}));
    EXPECT_EQ(s.draw(-3), (std::array<int, 4>{12, 2, 12, 5}));
    EXPECT_EQ(s.draw(2.5), (std::array<int, 4>{10, 2, 10, 5}));
}

// Equal limits (the compass card's y axis, 360 and 360) do not move the strip.
TEST(RenderMovingImage, EqualLimitsStayPut) {
    Strip s;
    s.m.min_y = 360;
    s.m.max_y = 360;
    EXPECT_EQ(s.draw(0, 360), (std::array<int, 4>{4, 2, 4, 5}));
    EXPECT_EQ(s.draw(0, 0), (std::array<int, 4>{4, 2, 4, 5}));
}

// A window bitmap (resource id + 1) sets the window: the strip shows only inside it and
// only where the window bitmap is not black.
TEST(RenderMovingImage, AWindowBitmapBoundsTheStrip) {
    Strip s;
    s.b.add(31, 6, 4, 0x808080);
    s.b.set(31, 5, 0, 0x000000);  // one masked pixel, top right
    EXPECT_EQ(s.draw(0), (std::array<int, 4>{4, 2, 4, 5}));
    EXPECT_EQ(s.red, (std::array<int, 4>{5, 2, 9, 5}));  // cut at the window's right edge
    // At the maximum the strip's right end fills the window: 6 - 12 = 6 pixels left.
    EXPECT_EQ(s.draw(10)[0], -1);
    EXPECT_EQ(s.red, (std::array<int, 4>{4, 2, 9, 5}));
    ElementState st = state_of(&s.m.header);
    Canvas c(24, 8);
    c.draw(st, s.b);
    EXPECT_EQ(c.at(9, 2), kWhite);  // the black pixel of the window hides the strip
    EXPECT_EQ(c.at(9, 3), kRed);
}

/* ---- sprites ------------------------------------------------------------------------- */

struct Card {
    Bitmaps b;
    ELEMENT_SPRITE sp{};
    // A 12 x 12 texture, white, centre (6,6): a red pixel at (10,6), 4 right of the centre
    // pixel, and a blue one at (6,9), 3 below it.
    Card() {
        b.add(40, 12, 12, 0xFFFFFF);
        b.set(40, 10, 6, 0xFF0000);
        b.set(40, 6, 9, 0x0000FF);
        sp.header.element_type = ELEMENT_TYPE_SPRITE;
        sp.header.resource_id = 40;
        sp.header.ofs = {20, 15};  // where the texture's centre rests on the gauge
        sp.scale_x = 2;
        sp.scale_y = 1;
        sp.scale_0 = 1;
        sp.texture_scale_x = 1;
        sp.texture_scale_y = 1;
    }
    Canvas draw(double x, double y, double rotation) {
        ElementState s = state_of(&sp.header);
        s.value[0] = x;
        s.value[1] = y;
        s.value[2] = rotation;
        Canvas c(40, 30);
        c.draw(s, b);
        return c;
    }
};

// At rest the texture's centre sits on position + ofs: texture (0,0) at (14,9).
TEST(RenderSprite, RestsWithItsCentreOnTheGaugePoint) {
    Card card;
    Canvas c = card.draw(0, 0, 0);
    EXPECT_EQ(c.box_of(kRed), (std::array<int, 4>{24, 15, 24, 15}));
    EXPECT_EQ(c.box_of(kBlue), (std::array<int, 4>{20, 18, 20, 18}));
    EXPECT_EQ(c.box_of(kWhite), (std::array<int, 4>{0, 0, 39, 29}));
    card.sp.header.position = {3, 1};  // the position moves it as well
    EXPECT_EQ(card.draw(0, 0, 0).box_of(kRed), (std::array<int, 4>{27, 16, 27, 16}));
}

// x and y shift the texture by value x scale; rotation turns it counterclockwise about
// the gauge point, the shift turning with it.
TEST(RenderSprite, ShiftsAndTurnsCounterclockwise) {
    Card card;
    EXPECT_EQ(card.draw(1.5, -2, 0).box_of(kRed), (std::array<int, 4>{27, 13, 27, 13}));
    // A quarter turn counterclockwise takes "right of the centre" to "above it" ...
    Canvas turned = card.draw(0, 0, 90);
    EXPECT_EQ(turned.box_of(kRed), (std::array<int, 4>{20, 10, 20, 10}));
    // ... and "below the centre" to "right of it".
    EXPECT_EQ(turned.box_of(kBlue), (std::array<int, 4>{23, 14, 23, 14}));
    // Clockwise for negative values.
    EXPECT_EQ(card.draw(0, 0, -90).box_of(kRed), (std::array<int, 4>{19, 19, 19, 19}));
    // The shift turns with the card: x along the turned axis goes up the screen.
    EXPECT_EQ(card.draw(1.5, 0, 90).box_of(kRed), (std::array<int, 4>{20, 7, 20, 7}));
}

// The texture scale stretches the texture about its centre; a scale of 0 is taken as 1.
TEST(RenderSprite, TextureScaleStretchesAboutTheCentre) {
    Card card;
    card.sp.texture_scale_x = 2;
    EXPECT_EQ(card.draw(0, 0, 0).box_of(kRed), (std::array<int, 4>{28, 15, 29, 15}));
    card.sp.texture_scale_x = 0;
    EXPECT_EQ(card.draw(0, 0, 0).box_of(kRed), (std::array<int, 4>{24, 15, 24, 15}));
}

// Sprites are clipped to the gauge: a texture larger than the gauge draws inside it only.
TEST(RenderSprite, ClippedToTheGauge) {
    Card card;
    card.b.add(40, 100, 100, 0xFF0000);
    Canvas c = card.draw(0, 0, 45);
    EXPECT_EQ(c.box_of(kRed), (std::array<int, 4>{0, 0, 39, 29}));
}

/* ---- texts --------------------------------------------------------------------------- */

ELEMENT_STRING text_box(UINT32 flags, const char* face) {
    ELEMENT_STRING t{};
    t.header.element_type = ELEMENT_TYPE_STRING;
    t.header.resource_id = -1;
    t.header.position = {10, 5};
    t.header.image_flags = IMAGE_USE_TRANSPARENCY;
    t.img_size = {100, 20};
    t.fg_color = 0x0000FF;  // red, as a Windows colour 0x00BBGGRR
    std::strcpy(t.font_face, face);
    t.font_weight = 400;
    t.draw_text_flags = flags;
    return t;
}

// Ink of the text: columns and rows where the pixel is more red than the white around it.
std::array<int, 4> ink(const Canvas& c) {
    std::array<int, 4> b = {-1, -1, -1, -1};
    for (int y = 0; y < c.image.height(); ++y)
        for (int x = 0; x < c.image.width(); ++x) {
            const uint32_t p = c.at(x, y);
            if ((p & 0xFF) > 0xC0) continue;  // white-ish: no ink
            if (b[0] < 0 || x < b[0]) b[0] = x;
            if (b[1] < 0 || y < b[1]) b[1] = y;
            b[2] = std::max(b[2], x);
            b[3] = std::max(b[3], y);
        }
    return b;
}

Canvas draw_text(ELEMENT_STRING& t, const char* text) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s", text);
    t.string = buffer;
    t.string_size = sizeof buffer;
    ElementState s = state_of(&t.header);
    Bitmaps none;
    Canvas c(120, 30);
    c.draw(s, none);
    return c;
}

// 0x25 centres the line both ways; 0x20 sets it at the left; 0x22 at the right.
TEST(RenderText, DrawTextFlagsPlaceTheLine) {
    for (const char* face : {"Arial", "Quartz"}) {
        ELEMENT_STRING centred = text_box(0x25, face);
        const auto c = ink(draw_text(centred, "88"));
        ASSERT_GE(c[0], 0) << face;
        EXPECT_NEAR((c[0] - 10) - (109 - c[2]), 0, 2) << face;  // equal margins left and right
        EXPECT_NEAR((c[1] - 5) - (24 - c[3]), 0, 3) << face;   // and above and below
        EXPECT_GE(c[1], 5);
        EXPECT_LE(c[3], 24);

        ELEMENT_STRING left = text_box(0x20, face);
        const auto l = ink(draw_text(left, "88"));
        EXPECT_NEAR(l[0], 10, 3) << face;
        ELEMENT_STRING right = text_box(0x22, face);
        const auto r = ink(draw_text(right, "88"));
        EXPECT_NEAR(r[2], 109, 3) << face;
    }
}

// The text is clipped to its box; the background is filled unless transparent black.
TEST(RenderText, ClippedToItsBoxWithItsBackground) {
    ELEMENT_STRING t = text_box(0x20, "Arial");
    const auto long_line = ink(draw_text(t, "WWWWWWWWWWWWWWWWWWWW"));
    EXPECT_EQ(long_line[0] >= 10 && long_line[2] <= 109, true);
    t.header.image_flags = 0;
    t.bg_color = 0x00FF00;  // green
    Canvas c = draw_text(t, "");
    EXPECT_EQ(c.box_of(kGreen), (std::array<int, 4>{10, 5, 109, 24}));
    t.header.image_flags = IMAGE_USE_TRANSPARENCY;
    t.bg_color = 0;
    Canvas clear = draw_text(t, "");
    EXPECT_EQ(clear.box_of(kWhite), (std::array<int, 4>{0, 0, 119, 29}));
    EXPECT_EQ(clear.at(12, 8), kWhite);
}

// Quartz digits are drawn seven-segment style: "8" fills three quarters of the box height.
TEST(RenderText, QuartzDigitsAreThreeQuartersOfTheBox) {
    ELEMENT_STRING t = text_box(0x25, "Quartz");
    const auto c = ink(draw_text(t, "8"));
    EXPECT_NEAR(c[3] - c[1] + 1, 15, 1.5);
    ELEMENT_STRING a = text_box(0x25, "Arial");
    const auto d = ink(draw_text(a, "888"));
    EXPECT_GT(d[2], d[0]);
}

// DrawText's prefix rule: "&&" shows one "&", a single "&" shows nothing.
TEST(RenderText, AmpersandsFollowTheDrawTextPrefixRule) {
    ELEMENT_STRING t = text_box(0x20, "Arial");
    const auto one = ink(draw_text(t, "&&"));
    const auto none = ink(draw_text(t, "&"));
    EXPECT_GE(one[0], 0);
    EXPECT_EQ(none[0], -1);
}

/* ---- night --------------------------------------------------------------------------- */

// At night a plain element is dimmed, a bright one stays as by day, a luminous one is lit.
TEST(RenderNight, DimsExceptBrightAndLightsLuminous) {
    Bitmaps b;
    b.add(10, 4, 4, 0xFFFFFF);
    ELEMENT_ICON i = icon_at(0, 0);
    ElementState s = state_of(&i.header);
    s.frame = 0;
    auto drawn = [&](FLAGS32 flags, bool night) {
        i.header.image_flags = flags;
        Canvas c(8, 8);
        c.draw(s, b, night);
        return c.at(1, 1);
    };
    EXPECT_EQ(drawn(0, false), kWhite);
    EXPECT_EQ(drawn(0, true), 0xFF4C4C4Cu);  // 255 x 77 / 256
    EXPECT_EQ(drawn(IMAGE_USE_BRIGHT, true), kWhite);
    EXPECT_EQ(drawn(IMAGE_USE_BRIGHT | IMAGE_USE_LUMINOUS, true), kWhite);
    const uint32_t lit = drawn(IMAGE_USE_LUMINOUS, true);
    EXPECT_GT(lit >> 16 & 0xFF, lit >> 8 & 0xFF);  // warm: more red than green
    EXPECT_GT(lit >> 8 & 0xFF, lit & 0xFF);        // and more green than blue
    EXPECT_GT(lit & 0xFF, 0x4Cu);         // brighter than dimmed
}

/* ---- whole gauges -------------------------------------------------------------------- */

// The renderer draws a gauge again only when something it shows changed.
TEST(GaugeRenderer, RedrawsOnlyWhatChanged) {
    tarn::PanelHost host(TARN_TEST_GAUGES_DIR);
    tarn::GaugeInstance& g = host.create("TestGauges", "Canvas", nullptr);
    tarn::PluginImages images(g.plugin());
    tarn::GaugeRenderer r(g, images);
    host.update_all();
    EXPECT_TRUE(r.refresh());  // the first frame
    EXPECT_EQ(r.image().width(), 200);
    EXPECT_EQ(r.image().height(), 100);
    host.update_all();
    EXPECT_FALSE(r.refresh());  // nothing moved
    struct Change {
        uint32_t token;
        double value;
    };
    for (Change c : {Change{9001, 10}, {9002, 5}, {9003, 1}, {9004, 3}, {9005, 2}, {9006, 4}, {9007, 15},
                     {9008, 42}, {9009, 1}}) {
        host.vars().set_number(c.token, c.value);
        host.update_all();
        EXPECT_TRUE(r.refresh()) << "token " << c.token;
        host.update_all();
        EXPECT_FALSE(r.refresh()) << "token " << c.token;
    }
    host.failures().fail(21);  // the badge stops being drawn
    host.update_all();
    EXPECT_TRUE(r.refresh());
    // A change too small to show (an offset rounded to the same pixel) still counts:
    // the state differs, so the gauge is drawn again.
    host.vars().set_number(9004, 3.2);
    host.update_all();
    EXPECT_TRUE(r.refresh());
    r.set_night(true);
    EXPECT_TRUE(r.refresh());
    EXPECT_FALSE(r.refresh());
}

// Drawn onto a panel, a background with transparent pixels shows the panel through them:
// the picture under it, or the panel's one colour laid under it in one copy, the gauge
// then counting as opaque. In a picture of its own those pixels stay clear.
TEST(GaugeRenderer, DrawsOntoWhatLiesUnderIt) {
    tarn::PanelHost host(TARN_TEST_GAUGES_DIR);
    tarn::GaugeInstance& g = host.create("TestGauges", "Canvas", nullptr);  // background transparent where black
    Bitmaps b;
    b.add(100, 200, 100, 0x808080);
    for (int y = 40; y < 60; ++y)
        for (int x = 0; x < 200; ++x) b.set(100, x, y, 0);  // a clear band across
    host.update_all();
    tarn::GaugeRenderer r(g, b);
    auto under = [](uint32_t left, uint32_t right) {
        Image img(200, 100, false);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x) img.row(y)[x] = x < 100 ? left : right;
        cairo_surface_mark_dirty(img.surface());
        return img;
    };
    auto draw = [&](Image& onto) {
        cairo_t* cr = cairo_create(onto.surface());
        r.draw_onto(cr, r.redrawn());
        cairo_destroy(cr);
        cairo_surface_flush(onto.surface());
    };
    ASSERT_TRUE(r.take_changes());
    EXPECT_FALSE(r.opaque());
    Image panel = under(kRed, kGreen);
    draw(panel);
    EXPECT_EQ(panel.pixel(5, 50), kRed);  // through the band
    EXPECT_EQ(panel.pixel(195, 50), kGreen);
    EXPECT_EQ(panel.pixel(5, 90), 0xFF808080u);
    r.set_under(0x2040A0);
    ASSERT_TRUE(r.take_changes());  // drawn anew
    EXPECT_TRUE(r.opaque());
    Image flat = under(kRed, kRed);  // what was there is replaced
    draw(flat);
    EXPECT_EQ(flat.pixel(5, 50), 0xFF2040A0u);
    EXPECT_EQ(flat.pixel(195, 50), 0xFF2040A0u);
    EXPECT_EQ(flat.pixel(5, 90), 0xFF808080u);
    EXPECT_FALSE(r.take_changes());
    EXPECT_TRUE(r.refresh());  // its own picture: drawn the first time
    EXPECT_FALSE(r.opaque());
    EXPECT_EQ(r.image().pixel(5, 50), 0u);
    EXPECT_EQ(r.image().pixel(5, 90), 0xFF808080u);
}

// The picture is the gauge's background where nothing lies over it.
TEST(GaugeRenderer, TheBackgroundFillsThePicture) {
    tarn::PanelHost host(TARN_TEST_GAUGES_DIR);
    tarn::GaugeInstance& g = host.create("TestGauges", "Plain", nullptr);
    tarn::PluginImages images(g.plugin());
    Image img = tarn::render_gauge(g, images);
    const tarn::Image* bg = images.bitmap(100, {false, tarn::Light::kDay});
    ASSERT_NE(bg, nullptr);
    for (int y : {0, 50, 99})
        for (int x : {0, 77, 199}) EXPECT_EQ(img.pixel(x, y), bg->pixel(x, y)) << x << "," << y;
}

}  // namespace
