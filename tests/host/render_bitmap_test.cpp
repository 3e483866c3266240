// Bitmaps for drawing: device-independent bitmaps as the plug-ins hold them and .bmp
// files carry them (every kind Windows reads), PNG files.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "host/draw/bitmap.h"

namespace {

using tarn::Decode;
using tarn::Image;
using tarn::Light;

void put32(std::vector<unsigned char>& v, uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back((unsigned char)(x >> (8 * i)));
}
void put16(std::vector<unsigned char>& v, uint16_t x) {
    v.push_back((unsigned char)x);
    v.push_back((unsigned char)(x >> 8));
}

// A BITMAPINFOHEADER for width x height (negative: top-down) at `bits`.
std::vector<unsigned char> header(int32_t width, int32_t height, uint16_t bits, uint32_t compression = 0,
                                  uint32_t colours = 0) {
    std::vector<unsigned char> v;
    put32(v, 40);
    put32(v, uint32_t(width));
    put32(v, uint32_t(height));
    put16(v, 1);
    put16(v, bits);
    put32(v, compression);
    put32(v, 0);
    put32(v, 2835);
    put32(v, 2835);
    put32(v, colours);
    put32(v, 0);
    return v;
}

// Rows as given, top row first, each a list of 0xRRGGBB, stored as `bits` bits.
std::vector<unsigned char> dib(const std::vector<std::vector<uint32_t>>& rows, bool top_down = false, uint16_t bits = 24) {
    const int w = int(rows[0].size()), h = int(rows.size());
    std::vector<unsigned char> v = header(w, top_down ? -h : h, bits);
    for (int k = 0; k < h; ++k) {
        const auto& row = rows[size_t(top_down ? k : h - 1 - k)];
        size_t n = 0;
        for (uint32_t p : row) {
            v.push_back((unsigned char)p);
            v.push_back((unsigned char)(p >> 8));
            v.push_back((unsigned char)(p >> 16));
            n += 3;
            if (bits == 32) {
                v.push_back(0);
                ++n;
            }
        }
        while (n % 4) {
            v.push_back(0);
            ++n;
        }
    }
    return v;
}

Image decode(const std::vector<unsigned char>& v, Decode how = {}, std::string* why = nullptr) {
    return tarn::decode_dib(v.data(), v.size(), how, why);
}

const std::vector<std::vector<uint32_t>> kRows = {
    {0x102030, 0x000000, 0xFFFFFF},  // top
    {0xFF0000, 0x00FF00, 0x0000FF},  // bottom
};

// A 24-bit bitmap stored bottom-up comes out top row first, row padding skipped.
TEST(RenderBitmap, BottomUpRowsComeOutTopFirst) {
    Image img = decode(dib(kRows));
    ASSERT_FALSE(img.empty());
    EXPECT_EQ(img.width(), 3);
    EXPECT_EQ(img.height(), 2);
    EXPECT_EQ(img.pixel(0, 0), 0xFF102030u);
    EXPECT_EQ(img.pixel(1, 0), 0xFF000000u);  // black is drawn unless the element is transparent
    EXPECT_EQ(img.pixel(2, 1), 0xFF0000FFu);
}

// A negative height is stored top-down; 32-bit pixels ignore their fourth byte.
TEST(RenderBitmap, TopDownAnd32Bit) {
    Image top = decode(dib(kRows, true));
    EXPECT_EQ(top.pixel(0, 0), 0xFF102030u);
    EXPECT_EQ(top.pixel(0, 1), 0xFFFF0000u);
    Image wide = decode(dib(kRows, false, 32));
    EXPECT_EQ(wide.pixel(2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(wide.pixel(1, 1), 0xFF00FF00u);
}

// 8-bit pictures index their palette (all 256 entries, or the count the header gives).
TEST(RenderBitmap, EightBitPalette) {
    std::vector<unsigned char> v = header(2, 1, 8, 0, 2);
    put32(v, 0x00123456);  // entry 0: B G R x
    put32(v, 0x00000000);  // entry 1: black
    v.insert(v.end(), {0, 1, 0, 0});
    Image img = decode(v, {true, Light::kDay});
    ASSERT_FALSE(img.empty());
    EXPECT_EQ(img.pixel(0, 0), 0xFF123456u);
    EXPECT_EQ(img.pixel(1, 0), 0u);  // black, transparent
}

// With transparency pure black becomes clear, and nothing else does.
TEST(RenderBitmap, TransparencyClearsPureBlackOnly) {
    Image img = decode(dib({{0x000000, 0x000001, 0x010000}}), {true, Light::kDay});
    EXPECT_EQ(img.pixel(0, 0), 0u);
    EXPECT_EQ(img.pixel(1, 0), 0xFF000001u);
    EXPECT_EQ(img.pixel(2, 0), 0xFF010000u);
}

// Night light is applied as the pixels are decoded.
TEST(RenderBitmap, LightIsAppliedToEachPixel) {
    Image dim = decode(dib({{0xFFFFFF}}), {false, Light::kDim});
    EXPECT_EQ(dim.pixel(0, 0), 0xFF4C4C4Cu);
    Image lit = decode(dib({{0xFFFFFF}}), {false, Light::kLuminous});
    EXPECT_EQ(lit.pixel(0, 0), 0xFFF2B772u);
}

// Bytes that are not a bitmap give no picture and a reason.
TEST(RenderBitmap, MalformedBitmapsAreRefusedWithAReason) {
    std::string why;
    const std::vector<unsigned char> good = dib(kRows);
    auto refused = [&](std::vector<unsigned char> v, const std::string& reason) {
        why.clear();
        EXPECT_TRUE(decode(v, {}, &why).empty()) << reason;
        EXPECT_NE(why.find(reason), std::string::npos) << why;
    };
    refused(std::vector<unsigned char>(good.begin(), good.begin() + 20), "too short");
    refused(std::vector<unsigned char>(good.begin(), good.end() - 1), "pixels beyond the end");
    refused(header(3, 2, 2), "2 bits");
    refused(header(3, 2, 24, 1), "compressed");
    refused(header(3, 2, 24, 4), "JPEG");
    refused(header(0, 2, 24), "width");
    refused(header(3, 0, 24), "height");
    refused(header(70000, 2, 24), "width");
    refused(header(2, 1, 8, 0, 300), "palette");
    std::vector<unsigned char> huge_header = good;
    huge_header[0] = 0xFF;
    huge_header[1] = 0xFF;
    refused(huge_header, "header size");
}

// The colour this file's paletted pictures give index i.
uint32_t entry_colour(unsigned i) { return 0xFF000000u | i << 16 | (255 - i) << 8 | ((i * 7 + 1) & 255); }

// Indices (top row first) as a paletted DIB of `bits` bits: a BITMAPINFOHEADER bottom-up
// or top-down, or the OS/2 core header (16-bit sizes, 3-byte palette entries).
enum class Form { kBottomUp, kTopDown, kCore };
std::vector<unsigned char> paletted(const std::vector<std::vector<unsigned>>& rows, uint16_t bits, Form form) {
    const int w = int(rows[0].size()), h = int(rows.size());
    const unsigned entries = 1u << bits;
    std::vector<unsigned char> v;
    if (form == Form::kCore) {
        put32(v, 12);
        put16(v, uint16_t(w));
        put16(v, uint16_t(h));
        put16(v, 1);
        put16(v, bits);
    } else {
        v = header(w, form == Form::kTopDown ? -h : h, bits, 0, entries);
    }
    for (unsigned i = 0; i < entries; ++i) {
        const uint32_t c = entry_colour(i);
        v.insert(v.end(), {(unsigned char)c, (unsigned char)(c >> 8), (unsigned char)(c >> 16)});
        if (form != Form::kCore) v.push_back(0);
    }
    for (int k = 0; k < h; ++k) {
        const auto& row = rows[size_t(form == Form::kTopDown ? k : h - 1 - k)];
        std::vector<unsigned char> packed((size_t(w) * bits + 31) / 32 * 4, 0);
        for (int x = 0; x < w; ++x) {
            const unsigned per_byte = 8 / bits;
            packed[size_t(x) / per_byte] |= (unsigned char)(row[size_t(x)] << (8 - bits * (unsigned(x) % per_byte + 1)));
        }
        v.insert(v.end(), packed.begin(), packed.end());
    }
    return v;
}

// 1, 4 and 8 bits a pixel index the palette, packed high bits first, rows padded to 4
// bytes; stored bottom-up, top-down or behind the OS/2 core header alike.
TEST(RenderBitmap, PalettedPicturesAtOneFourAndEightBits) {
    for (uint16_t bits : {1, 4, 8}) {
        std::vector<std::vector<unsigned>> rows(3, std::vector<unsigned>(11));
        for (size_t y = 0; y < rows.size(); ++y)
            for (size_t x = 0; x < rows[y].size(); ++x) rows[y][x] = unsigned(x * 29 + y * 7 + x * y) % (1u << bits);
        for (Form form : {Form::kBottomUp, Form::kTopDown, Form::kCore}) {
            std::string why;
            Image img = decode(paletted(rows, bits, form), {}, &why);
            ASSERT_FALSE(img.empty()) << bits << " bits: " << why;
            ASSERT_EQ(img.width(), 11);
            ASSERT_EQ(img.height(), 3);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 11; ++x)
                    EXPECT_EQ(img.pixel(x, y), entry_colour(rows[size_t(y)][size_t(x)]))
                        << bits << " bits, form " << int(form) << ", pixel " << x << "," << y;
        }
    }
}

// Run-length coded pictures (6x4, stored bottom row first): runs (clipped at the right
// edge), literal runs padded to an even byte count, end of row, a move of the pen and
// the end of the picture. Pixels no code reaches take palette entry 0; data that stops
// early ends the picture there.
TEST(RenderBitmap, RunLengthCodedPictures) {
    auto rle = [](uint16_t bits, std::vector<unsigned char> codes) {
        std::vector<unsigned char> v = header(6, 4, bits, bits == 8 ? 1 : 2, 16);
        for (unsigned i = 0; i < 16; ++i) put32(v, entry_colour(i) & 0xFFFFFF);
        v.insert(v.end(), codes.begin(), codes.end());
        return v;
    };
    auto expect_rows = [](const Image& img, const std::vector<std::vector<unsigned>>& top_first, const char* what) {
        ASSERT_EQ(img.width(), 6) << what;
        ASSERT_EQ(img.height(), 4) << what;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(img.pixel(x, y), entry_colour(top_first[size_t(y)][size_t(x)])) << what << " pixel " << x << "," << y;
    };
    const std::vector<unsigned char> rle8_codes = {
        3, 1, 0, 3, 2, 3, 4, 0, 0, 0,  // bottom row: 1 1 1, literal 2 3 4 (padded), end of row
        2, 5, 0, 2, 2, 1,              // next row: 5 5, then 2 right and 1 up
        2, 6, 0, 0,                    // 6 6, end of row
        8, 7, 0, 1};                   // top row: 8 times 7 (6 drawn), end of picture
    std::string why;
    Image rle8 = decode(rle(8, rle8_codes), {}, &why);
    ASSERT_FALSE(rle8.empty()) << why;
    expect_rows(rle8, {{7, 7, 7, 7, 7, 7}, {0, 0, 0, 0, 6, 6}, {5, 5, 0, 0, 0, 0}, {1, 1, 1, 2, 3, 4}}, "RLE8");
    const std::vector<unsigned char> rle4_codes = {
        3, 0x12, 0, 3, 0x34, 0x50, 0, 0,  // bottom row: 1 2 1, literal 3 4 5, end of row
        0, 5, 0x12, 0x34, 0x50, 0,        // literal 1 2 3 4 5 (3 bytes, padded)
        0, 2, 0, 1,                       // 1 up
        1, 0x60, 0, 0,                    // 6 at x 5, end of row
        7, 0x78, 0, 1};                   // top row: 7 8 7 8 7 8 (the 7th clipped)
    Image rle4 = decode(rle(4, rle4_codes), {}, &why);
    ASSERT_FALSE(rle4.empty()) << why;
    expect_rows(rle4, {{7, 8, 7, 8, 7, 8}, {0, 0, 0, 0, 0, 6}, {1, 2, 3, 4, 5, 0}, {1, 2, 1, 3, 4, 5}}, "RLE4");
    // Cut off inside the literal run: what came before stays, the rest is entry 0.
    Image cut = decode(rle(8, {3, 1, 0, 3, 2}), {}, &why);
    ASSERT_FALSE(cut.empty()) << why;
    expect_rows(cut, {{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {1, 1, 1, 0, 0, 0}}, "cut short");
}

// 16 and 32 bits: 5-5-5 and 8-8-8 without bit fields; bit fields after a 40-byte header
// or inside the V4 (108-byte) and V5 (124-byte) headers, in any order and width, each
// field scaled to 0..255. Alpha fields are not used: the picture is opaque.
TEST(RenderBitmap, SixteenAndThirtyTwoBitsWithBitFields) {
    // One row of pixels under a header of `size` bytes with masks r, g, b (and alpha).
    auto fields = [](uint32_t size, uint16_t bits, uint32_t compression, std::vector<uint32_t> masks,
                     std::vector<uint32_t> pixels) {
        std::vector<unsigned char> v = header(int32_t(pixels.size()), 1, bits, compression);
        v[0] = (unsigned char)size;
        if (size > 40) {
            for (size_t i = 0; i < 4; ++i) put32(v, i < masks.size() ? masks[i] : 0);
            while (v.size() < size) v.push_back(0);
        } else {
            for (uint32_t m : masks) put32(v, m);
        }
        for (uint32_t p : pixels) bits == 16 ? put16(v, uint16_t(p)) : put32(v, p);
        while (v.size() % 4) v.push_back(0);
        return v;
    };
    struct Case {
        const char* what;
        std::vector<unsigned char> dib;
        std::vector<uint32_t> want;
    };
    const Case cases[] = {
        {"16-bit 5-5-5", fields(40, 16, 0, {}, {0x7FFF, 0x7C00, 0x0200}), {0xFFFFFFFF, 0xFFFF0000, 0xFF008400}},
        {"16-bit 5-6-5 fields", fields(40, 16, 3, {0xF800, 0x07E0, 0x001F}, {0x07E0, 0x8410}),
         {0xFF00FF00, 0xFF848284}},
        {"16-bit 5-6-5 in a V4 header", fields(108, 16, 3, {0xF800, 0x07E0, 0x001F}, {0xF81F}), {0xFFFF00FF}},
        {"32-bit 8-8-8", fields(40, 32, 0, {}, {0xAA123456}), {0xFF123456}},
        {"32-bit fields, blue high, in a V5 header with alpha",
         fields(124, 32, 3, {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000}, {0x44332211}), {0xFF112233}},
        {"32-bit 10-10-10 fields", fields(40, 32, 3, {0x3FF00000, 0x000FFC00, 0x000003FF}, {0x3FF00000, 0x00080000}),
         {0xFFFF0000, 0xFF008000}},
    };
    for (const Case& c : cases) {
        std::string why;
        Image img = decode(c.dib, {}, &why);
        ASSERT_FALSE(img.empty()) << c.what << ": " << why;
        for (size_t x = 0; x < c.want.size(); ++x) EXPECT_EQ(img.pixel(int(x), 0), c.want[x]) << c.what << " pixel " << x;
    }
}

std::string temp_path(const char* name) { return std::string(testing::TempDir()) + name; }

// A picture written as PNG reads back the same, alpha included.
TEST(RenderPng, WriteAndReadBack) {
    Image img(5, 3, true);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) img.row(y)[x] = 0xFF000000u | uint32_t(x * 50) << 16 | uint32_t(y * 100);
    img.row(1)[1] = 0;            // clear
    img.row(2)[4] = 0x80400000u;  // half-covered red (premultiplied)
    cairo_surface_mark_dirty(img.surface());
    for (int level : {tarn::kPngFast, tarn::kPngDefault}) {
        const std::string path = temp_path("render_png_roundtrip.png");
        std::string why;
        ASSERT_TRUE(tarn::write_png(img, path, level, &why)) << why;
        Image back = tarn::read_png(path, &why);
        ASSERT_FALSE(back.empty()) << why;
        EXPECT_EQ(back.width(), 5);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) EXPECT_EQ(back.pixel(x, y), img.pixel(x, y)) << x << "," << y;
        std::remove(path.c_str());
    }
}

// A picture without alpha is written as RGB and reads back opaque.
TEST(RenderPng, OpaquePicturesStayOpaque) {
    Image img(2, 2, false);
    img.row(0)[0] = 0x00123456u;
    cairo_surface_mark_dirty(img.surface());
    const std::string path = temp_path("render_png_rgb.png");
    std::string why;
    ASSERT_TRUE(tarn::write_png(img, path, tarn::kPngDefault, &why)) << why;
    Image back = tarn::read_png(path, &why);
    EXPECT_EQ(back.pixel(0, 0), 0xFF123456u);
    EXPECT_EQ(back.pixel(1, 1), 0xFF000000u);
    std::remove(path.c_str());
}

// Unwritable and unreadable files give a reason naming the file.
TEST(RenderPng, FileErrorsNameTheFile) {
    Image img(2, 2, false);
    std::string why;
    EXPECT_FALSE(tarn::write_png(img, "/nonexistent-folder/x.png", tarn::kPngFast, &why));
    EXPECT_NE(why.find("/nonexistent-folder/x.png"), std::string::npos) << why;
    EXPECT_TRUE(tarn::read_png("/nonexistent-folder/x.png", &why).empty());
    EXPECT_NE(why.find("/nonexistent-folder/x.png"), std::string::npos) << why;
    const std::string text = temp_path("render_not_png.png");
    std::ofstream(text) << "not a picture";
    EXPECT_TRUE(tarn::load_picture_file(text, {}, &why).empty());
    EXPECT_NE(why.find("neither a bitmap"), std::string::npos) << why;
    std::remove(text.c_str());
}

// A .bmp file (file header, then the bitmap) loads like a resource.
TEST(RenderPicture, BitmapFiles) {
    std::vector<unsigned char> body = dib(kRows);
    std::vector<unsigned char> file = {'B', 'M'};
    put32(file, uint32_t(14 + body.size()));
    put32(file, 0);
    put32(file, 14 + 40);
    file.insert(file.end(), body.begin(), body.end());
    const std::string path = temp_path("render_picture.bmp");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    std::string why;
    Image img = tarn::load_picture_file(path, {}, &why);
    ASSERT_FALSE(img.empty()) << why;
    EXPECT_EQ(img.pixel(2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(img.pixel(0, 1), 0xFFFF0000u);
    // A pixel offset beyond the file is refused.
    file[10] = 0xFF;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    EXPECT_TRUE(tarn::load_picture_file(path, {}, &why).empty());
    EXPECT_NE(why.find("pixel offset"), std::string::npos) << why;
    // An OS/2 bitmap file: its pixels right after a 12-byte header and a 3-byte palette.
    const std::vector<unsigned char> core = paletted({{1, 0}}, 1, Form::kCore);
    file = {'B', 'M'};
    put32(file, uint32_t(14 + core.size()));
    put32(file, 0);
    put32(file, 14 + 12 + 6);
    file.insert(file.end(), core.begin(), core.end());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    img = tarn::load_picture_file(path, {}, &why);
    ASSERT_FALSE(img.empty()) << why;
    EXPECT_EQ(img.pixel(0, 0), entry_colour(1));
    EXPECT_EQ(img.pixel(1, 0), entry_colour(0));
    std::remove(path.c_str());
}

}  // namespace
