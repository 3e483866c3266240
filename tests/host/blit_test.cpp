// Turned pictures laid over others by the host's own loops look as the drawing library
// draws them: each pixel within rounding, nothing drawn outside the clip or beyond the
// picture's reach.
#include "host/draw/blit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using tarn::Image;

constexpr double kPi = 3.14159265358979323846;

// A picture of varied colours and alpha (premultiplied), its edge rows and columns included.
Image source(int w, int h, unsigned seed) {
    Image img(w, h, true);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t a = (x + y) % 5 == 0 ? 0 : rng() % 2 ? 255 : rng() % 256;
            const auto c = [&] { return uint32_t(rng() % (a + 1)); };
            img.row(y)[x] = a << 24 | c() << 16 | c() << 8 | c();
        }
    cairo_surface_mark_dirty(img.surface());
    return img;
}

Image backdrop(int w, int h, bool alpha) {
    Image img(w, h, alpha);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.row(y)[x] = 0xFF000000u | uint32_t(x * 3) << 16 | uint32_t(y * 5 % 256) << 8 | 0x40;
    cairo_surface_mark_dirty(img.surface());
    return img;
}

// What cairo itself draws for a picture under the matrix `m`, the reference for the
// host's own loops.
void paint_with_cairo(cairo_t* cr, const tarn::Image& src, const cairo_matrix_t& m, bool bilinear) {
    cairo_pattern_t* p = cairo_pattern_create_for_surface(src.surface());
    cairo_pattern_set_matrix(p, &m);
    cairo_pattern_set_filter(p, bilinear ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_NEAREST);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
}


// Draws `src` through user-space placement (turn about (cx, cy), scale) with cairo, or
// with the loops when `ours`; returns whether the loops drew.
bool draw(Image& onto, const Image& src, double angle, double scale, double cx, double cy, bool bilinear, bool ours,
          bool clip = false) {
    cairo_t* cr = cairo_create(onto.surface());
    if (clip) {
        cairo_rectangle(cr, 10, 10, 30, 60);
        cairo_rectangle(cr, 50, 40, 40, 20);
        cairo_clip(cr);
    }
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle * kPi / 180);
    cairo_scale(cr, scale, scale);
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, 7.25, 3.5);  // the picture's point (7.25, 3.5) on (cx, cy)
    bool drew = false;
    if (ours) {
        drew = tarn::over_affine(cr, src, m, bilinear);
    } else {
        paint_with_cairo(cr, src, m, bilinear);
    }
    cairo_destroy(cr);
    cairo_surface_flush(onto.surface());
    return drew;
}

struct Difference {
    int most = 0;
    long pixels = 0;  // pixels differing by more than the rounding allowed
};

Difference compare(const Image& a, const Image& b, int allowed) {
    Difference d;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            int most = 0;
            for (int shift : {0, 8, 16, 24}) {
                if (shift == 24 && !a.has_alpha()) continue;
                most = std::max(most, std::abs(int(a.pixel(x, y) >> shift & 0xFF) - int(b.pixel(x, y) >> shift & 0xFF)));
            }
            d.most = std::max(d.most, most);
            if (most > allowed) ++d.pixels;
        }
    return d;
}

TEST(Blit, TurnedPicturesLookAsTheLibraryDrawsThem) {
    const Image src = source(40, 9, 7);
    for (bool alpha : {true, false})
        for (bool bilinear : {true, false})
            for (double angle : {0.5, 30.0, 45.0, 90.0, 137.0, 200.0, 301.0})
                for (double scale : {1.0, 0.7, 1.6}) {
                    SCOPED_TRACE(testing::Message() << "alpha " << alpha << " bilinear " << bilinear << " angle "
                                                    << angle << " scale " << scale);
                    Image want = backdrop(100, 90, alpha), got = backdrop(100, 90, alpha);
                    draw(want, src, angle, scale, 50.5, 44.25, bilinear, false);
                    ASSERT_TRUE(draw(got, src, angle, scale, 50.5, 44.25, bilinear, true));
                    const Difference d = compare(want, got, bilinear ? 3 : 0);
                    // Nearest samples falling within a hair of a pixel's edge may take the
                    // neighbour; a few such pixels are allowed.
                    EXPECT_LE(d.pixels, bilinear ? 0 : 3) << "most " << d.most;
                }
}

TEST(Blit, KeepsToTheClip) {
    const Image src = source(60, 12, 3);
    Image want = backdrop(100, 90, false), got = backdrop(100, 90, false);
    draw(want, src, 33, 1.0, 45, 45, true, false, true);
    ASSERT_TRUE(draw(got, src, 33, 1.0, 45, 45, true, true, true));
    EXPECT_EQ(compare(want, got, 3).pixels, 0);
    const Image untouched = backdrop(100, 90, false);
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 100; ++x) {
            const bool inside = (x >= 10 && x < 40 && y >= 10 && y < 70) || (x >= 50 && x < 90 && y >= 40 && y < 60);
            if (!inside) {
                ASSERT_EQ(got.pixel(x, y), untouched.pixel(x, y)) << x << "," << y;
            }
        }
}

TEST(Blit, LeavesToTheLibraryWhatItDoesFast) {
    const Image src = source(20, 6, 1);
    Image onto = backdrop(40, 40, true);
    EXPECT_FALSE(draw(onto, src, 0, 1.0, 10, 10, true, true));   // a plain shift
    EXPECT_FALSE(draw(onto, src, 0, 1.0, 10.3, 10, true, true));  // a shift by a part of a pixel
    EXPECT_FALSE(draw(onto, src, 0, 1.7, 10, 10, true, true));    // a scale
    cairo_t* cr = cairo_create(onto.surface());
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_rotate(cr, 0.5);
    cairo_matrix_t m;
    cairo_matrix_init_identity(&m);
    EXPECT_FALSE(tarn::over_affine(cr, src, m, true));  // not laid over
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_new_path(cr);
    cairo_arc(cr, 20, 20, 10, 0, 2 * kPi);
    cairo_clip(cr);
    EXPECT_FALSE(tarn::over_affine(cr, src, m, true));  // a round clip
    cairo_destroy(cr);
}

// Maps that would overflow the stepping, or cannot be turned back, draw nothing.
TEST(Blit, UnreasonableMapsDrawNothing) {
    const Image src = source(20, 6, 1);
    Image onto = backdrop(40, 40, true);
    const Image before = backdrop(40, 40, true);
    cairo_matrix_t huge, flat;
    cairo_matrix_init(&huge, 1e9, 0, 0, 1, 0, 0);
    cairo_matrix_init(&flat, 0, 0, 0, 0, 3, 3);
    tarn::over_affine(src, onto, huge, {0, 0, 40, 40}, true);
    tarn::over_affine(src, onto, flat, {0, 0, 40, 40}, false);
    EXPECT_EQ(compare(before, onto, 0).pixels, 0);
}

// An opaque picture is copied as it is, within the clip, opaque on a target with alpha.
TEST(Blit, CopiesOpaquePicturesWithinTheClip) {
    Image src(30, 20, false);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) src.row(y)[x] = uint32_t(x * 8) << 16 | uint32_t(y * 12) << 8 | 0x33;  // top byte 0
    cairo_surface_mark_dirty(src.surface());
    for (bool alpha : {false, true}) {
        Image onto = backdrop(100, 90, alpha);
        const Image before = backdrop(100, 90, alpha);
        cairo_t* cr = cairo_create(onto.surface());
        cairo_rectangle(cr, 10, 10, 30, 60);
        cairo_rectangle(cr, 50, 40, 40, 20);
        cairo_clip(cr);
        cairo_translate(cr, 25, 30);
        ASSERT_TRUE(tarn::copy_opaque(cr, src, 3, 4));  // the picture at 28..58 x 34..54
        cairo_destroy(cr);
        cairo_surface_flush(onto.surface());
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 100; ++x) {
                const bool clipped = (x >= 10 && x < 40 && y >= 10 && y < 70) || (x >= 50 && x < 90 && y >= 40 && y < 60);
                const bool placed = x >= 28 && x < 58 && y >= 34 && y < 54;
                const uint32_t want = clipped && placed ? 0xFF000000u | src.pixel(x - 28, y - 34) : before.pixel(x, y);
                ASSERT_EQ(onto.pixel(x, y), want) << "alpha " << alpha << " at " << x << "," << y;
            }
    }
    Image onto = backdrop(40, 40, false);
    cairo_t* cr = cairo_create(onto.surface());
    cairo_translate(cr, 0.5, 0);
    EXPECT_FALSE(tarn::copy_opaque(cr, src, 0, 0));  // not on whole pixels
    cairo_identity_matrix(cr);
    cairo_scale(cr, 2, 2);
    EXPECT_FALSE(tarn::copy_opaque(cr, src, 0, 0));  // scaled
    cairo_identity_matrix(cr);
    EXPECT_FALSE(tarn::copy_opaque(cr, source(4, 4, 1), 0, 0));  // a picture with alpha
    cairo_destroy(cr);
}

}  // namespace

namespace {

// A hairline needle as the gauges have it: 50 x 1 pixels, white, its pivot at the left
// end. Drawn as a needle is drawn: the view's scale and place, the pivot pixel's centre
// on the point (px, py) of the gauge, turned by `angle` when it is not 0, the loops
// standing in for the library where they can.
void draw_needle(Image& onto, const Image& needle, double dx, double dy, double sx, double sy, int px, int py,
                 double angle, bool bilinear) {
    cairo_t* cr = cairo_create(onto.surface());
    cairo_translate(cr, dx, dy);
    cairo_scale(cr, sx, sy);
    cairo_translate(cr, px + 0.5, py + 0.5);
    if (angle != 0.0) cairo_rotate(cr, angle * kPi / 180);
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, 0.5, 0.5);  // the picture's top-left at (-0.5, -0.5)
    if (!tarn::over_affine(cr, needle, m, bilinear)) {
        paint_with_cairo(cr, needle, m, bilinear);
    }
    cairo_destroy(cr);
    cairo_surface_flush(onto.surface());
}

}  // namespace

// A needle one pixel high shows at the exact angles where its edges run along the pixel
// grid: right, down, left, up, and the Suction dial's ends (-180 and 0 degrees). The
// view scales are 1 and the panel's 149/150 (a gauge 150 high drawn 149 pixels high, which
// puts the edge of a needle pivoting at 75 exactly on pixel centres); the gauge is moved
// by quarter pixels so that the needle's edges fall on, before and after pixel centres,
// its band across always holding a pixel centre, or having an edge on one.
TEST(Blit, HairlineNeedlesShowAtExactAngles) {
    Image needle(50, 1, true);
    for (int x = 0; x < 50; ++x) needle.row(0)[x] = 0xFFFFFFFFu;
    cairo_surface_mark_dirty(needle.surface());
    const double scales[][2] = {{149.0 / 150, 149.0 / 150}, {1.0, 1.0}};
    for (bool bilinear : {false, true})
        for (const auto& s : scales)
            for (int pivot : {75, 40})
                for (double dx : {0.0, 0.25, 0.5, 0.75})
                    for (double dy : {0.0, 0.25, 0.5, 0.75})
                        for (double angle : {0.0, 90.0, 180.0, 270.0, -180.0, -90.0}) {
                            SCOPED_TRACE(testing::Message() << "bilinear " << bilinear << " scale " << s[0] << " x "
                                                            << s[1] << " pivot " << pivot << " moved " << dx << ","
                                                            << dy << " angle " << angle);
                            Image onto(200, 200, false);  // black
                            draw_needle(onto, needle, 10 + dx, 10 + dy, s[0], s[1], pivot, pivot, angle, bilinear);
                            // Where the pivot pixel's centre lands, and the way the needle points.
                            const double cx = 10 + dx + s[0] * (pivot + 0.5), cy = 10 + dy + s[1] * (pivot + 0.5);
                            const double ux = std::cos(angle * kPi / 180), uy = std::sin(angle * kPi / 180);
                            int lit = 0, astray = 0;
                            for (int y = 0; y < 200; ++y)
                                for (int x = 0; x < 200; ++x) {
                                    if ((onto.pixel(x, y) & 0xFFFFFF) == 0) continue;
                                    ++lit;
                                    // Across the needle's line, within a pixel and a half of it.
                                    const double ax = x + 0.5 - cx, ay = y + 0.5 - cy;
                                    if (std::abs(ax * uy - ay * ux) > 1.5) ++astray;
                                }
                            EXPECT_GE(lit, 45);  // about 50 pixels long on the screen
                            EXPECT_EQ(astray, 0);
                        }
}
