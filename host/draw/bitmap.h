// Pictures in the host: cairo image surfaces, the gauges' bitmap resources decoded into
// them, panel background files, and PNG files written and read.
//
//   Image img = decode_dib(bytes, size, Decode{.transparent = true, .light = Light::kDim}, &why);
//   if (img.empty()) fail(why);
//   Image panel(2400, 1600, /*alpha=*/false);
//   write_png(panel, "panel.png", kPngFast, &why);
//
// Pixels are cairo's ARGB32 (premultiplied alpha; without alpha the top byte is unused),
// one 32-bit word a pixel, rows top to bottom.
#ifndef TARN_HOST_BITMAP_H
#define TARN_HOST_BITMAP_H

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarn {

// How an element is lit. By day everything is drawn as it is. At night the panel is
// dimmed, except what IMAGE_USE_BRIGHT keeps bright and what IMAGE_USE_LUMINOUS lights
// with the warm panel lighting.
enum class Light { kDay, kDim, kLuminous };

// One colour (0xRRGGBB channels 0..255) as the given light shows it.
void light_rgb(Light light, unsigned& r, unsigned& g, unsigned& b);

// An owned cairo image surface.
class Image {
public:
    Image() = default;
    // A new surface, every pixel 0 (transparent, or black without alpha).
    Image(int width, int height, bool alpha = true);
    // Takes over a surface reference (the surface must be an image surface).
    explicit Image(cairo_surface_t* adopt) : surface_(adopt) {}
    ~Image();
    Image(Image&& other) noexcept : surface_(other.surface_) { other.surface_ = nullptr; }
    Image& operator=(Image&& other) noexcept;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    bool empty() const { return surface_ == nullptr; }
    cairo_surface_t* surface() const { return surface_; }
    int width() const;
    int height() const;
    bool has_alpha() const;
    // The pixel at (x, y) as 0xAARRGGBB, premultiplied (0xFF alpha without alpha);
    // 0 outside the picture.
    uint32_t pixel(int x, int y) const;
    uint32_t* row(int y);
    const uint32_t* row(int y) const;

private:
    cairo_surface_t* surface_ = nullptr;
};

struct Decode {
    bool transparent = false;  // pure black (0,0,0) becomes fully transparent
    Light light = Light::kDay;
};

// A device-independent bitmap as a plug-in holds it and a .bmp file carries it after its
// file header: a header (BITMAPINFOHEADER, its V4/V5 forms, or the OS/2 core header), the
// bit fields and palette it needs, then the rows (bottom-up for a positive height,
// top-down for a negative one, each padded to 4 bytes). Every kind Windows reads: 1, 4 and
// 8 bits through the palette (RLE4 and RLE8 too), 16 and 32 bits (5-5-5, 8-8-8 or bit
// fields), 24 bits. Opaque: alpha bytes and fields are not used. Memory: the picture
// (4 bytes a pixel), plus a byte a pixel while RLE rows are decoded.
// An empty image and a reason when the bytes are not such a bitmap.
Image decode_dib(const void* data, size_t size, Decode how, std::string* error);

// A bitmap file (".bmp": BITMAPFILEHEADER, then as above) or a PNG file, by content. A
// FIFO, device or folder is refused without being opened.
Image load_picture_file(const std::string& path, Decode how, std::string* error);

// PNG compression: default (good size, about 10x slower) and fast (for many frames).
constexpr int kPngDefault = 6;
constexpr int kPngFast = 1;

// Writes RGB for a picture without alpha, RGBA (straight alpha) otherwise, through a fresh
// temporary file renamed over PATH at the end; refuses to replace anything but a regular
// file (a device, FIFO, link or folder).
bool write_png(const Image& image, const std::string& path, int level, std::string* error);
// Reads any PNG as ARGB32.
Image read_png(const std::string& path, std::string* error);

}  // namespace tarn

#endif
