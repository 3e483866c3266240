// Bitmaps for drawing: device-independent bitmaps as the plug-ins hold them, bitmap and
// PNG files.
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
    refused(header(3, 2, 16), "16 bits");
    refused(header(3, 2, 24, 1), "compressed");
    refused(header(0, 2, 24), "width");
    refused(header(3, 0, 24), "height");
    refused(header(70000, 2, 24), "width");
    refused(header(2, 1, 8, 0, 300), "palette");
    std::vector<unsigned char> huge_header = good;
    huge_header[0] = 0xFF;
    huge_header[1] = 0xFF;
    refused(huge_header, "header size");
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
    std::remove(path.c_str());
}

}  // namespace
