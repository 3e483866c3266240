// Pictures. Sections: light | images | device-independent bitmaps | files | PNG
#include "host/draw/bitmap.h"

#include <png.h>

#include "host/core/files.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace tarn {

/* ---- light ------------------------------------------------------------------------ */

void light_rgb(Light light, unsigned& r, unsigned& g, unsigned& b) {
    switch (light) {
    case Light::kDay: return;
    case Light::kDim:  // the panel at night: about a third of the daylight
        r = r * 77 / 256;
        g = g * 77 / 256;
        b = b * 77 / 256;
        return;
    case Light::kLuminous:  // warm panel lighting: amber-white, a little below full
        r = r * 243 / 256;
        g = g * 184 / 256;
        b = b * 115 / 256;
        return;
    }
}

/* ---- images ----------------------------------------------------------------------- */

Image::Image(int width, int height, bool alpha)
    : surface_(cairo_image_surface_create(alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, width, height)) {
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface_);
        surface_ = nullptr;
    }
}

Image::~Image() {
    if (surface_) cairo_surface_destroy(surface_);
}

Image& Image::operator=(Image&& other) noexcept {
    if (this != &other) {
        if (surface_) cairo_surface_destroy(surface_);
        surface_ = other.surface_;
        other.surface_ = nullptr;
    }
    return *this;
}

int Image::width() const { return surface_ ? cairo_image_surface_get_width(surface_) : 0; }
int Image::height() const { return surface_ ? cairo_image_surface_get_height(surface_) : 0; }
bool Image::has_alpha() const {
    return surface_ && cairo_image_surface_get_format(surface_) == CAIRO_FORMAT_ARGB32;
}

uint32_t* Image::row(int y) {
    return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface_) +
                                       size_t(y) * size_t(cairo_image_surface_get_stride(surface_)));
}

const uint32_t* Image::row(int y) const {
    return reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface_) +
                                             size_t(y) * size_t(cairo_image_surface_get_stride(surface_)));
}

uint32_t Image::pixel(int x, int y) const {
    if (surface_ == nullptr || x < 0 || y < 0 || x >= width() || y >= height()) return 0;
    cairo_surface_flush(surface_);
    const uint32_t p = row(y)[x];
    return has_alpha() ? p : (p | 0xFF000000u);
}

/* ---- device-independent bitmaps --------------------------------------------------- */

namespace {

uint32_t u32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t u16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }

constexpr int32_t kMaxSide = 16384;

uint32_t shade(unsigned r, unsigned g, unsigned b, const Decode& how) {
    if (how.transparent && r == 0 && g == 0 && b == 0) return 0;
    light_rgb(how.light, r, g, b);
    return 0xFF000000u | r << 16 | g << 8 | b;
}

// The DIB at p (size bytes, header first); its rows start at pixel_offset from p, or
// right after the header and palette when pixel_offset is 0.
Image decode(const unsigned char* p, size_t size, size_t pixel_offset, const Decode& how, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return Image();
    };
    if (p == nullptr || size < 40) return fail("too short for a bitmap header");
    const uint32_t header = u32(p);
    if (header < 40 || header > size) return fail("bad bitmap header size " + std::to_string(header));
    const int32_t width = int32_t(u32(p + 4));
    const int32_t raw_height = int32_t(u32(p + 8));
    const int bits = u16(p + 14);
    const uint32_t compression = u32(p + 16);
    const uint32_t colours_used = u32(p + 32);
    if (width <= 0 || width > kMaxSide) return fail("bad bitmap width " + std::to_string(width));
    if (raw_height == 0 || raw_height < -kMaxSide || raw_height > kMaxSide)
        return fail("bad bitmap height " + std::to_string(raw_height));
    if (bits != 8 && bits != 24 && bits != 32) return fail(std::to_string(bits) + " bits a pixel (8, 24 or 32)");
    if (compression != 0) return fail("compressed bitmap (only uncompressed bitmaps are drawn)");
    const bool bottom_up = raw_height > 0;
    const int height = bottom_up ? raw_height : -raw_height;
    uint64_t palette_entries = 0;
    if (bits == 8) {
        palette_entries = colours_used == 0 ? 256 : colours_used;
        if (palette_entries > 256) return fail("palette of " + std::to_string(colours_used) + " colours");
    }
    const uint64_t palette_at = header;
    if (palette_at + palette_entries * 4 > size) return fail("palette beyond the end of the data");
    const uint64_t rows_at = pixel_offset ? pixel_offset : palette_at + palette_entries * 4;
    const uint64_t stride = (uint64_t(width) * uint64_t(bits) / 8 + 3) & ~uint64_t(3);
    if (rows_at + stride * uint64_t(height) > size) return fail("pixels beyond the end of the data");
    Image out(width, height, true);
    if (out.empty()) return fail("out of memory for a " + std::to_string(width) + "x" + std::to_string(height) + " picture");
    uint32_t palette[256] = {};
    for (uint64_t i = 0; i < palette_entries; ++i) {
        const unsigned char* c = p + palette_at + 4 * i;
        palette[i] = shade(c[2], c[1], c[0], how);
    }
    cairo_surface_flush(out.surface());
    for (int y = 0; y < height; ++y) {
        const unsigned char* src = p + rows_at + stride * uint64_t(bottom_up ? height - 1 - y : y);
        uint32_t* dst = out.row(y);
        if (bits == 8) {
            for (int x = 0; x < width; ++x) dst[x] = src[x] < palette_entries ? palette[src[x]] : 0xFF000000u;
        } else {
            const int step = bits / 8;
            for (int x = 0; x < width; ++x, src += step) dst[x] = shade(src[2], src[1], src[0], how);
        }
    }
    cairo_surface_mark_dirty(out.surface());
    return out;
}

}  // namespace

Image decode_dib(const void* data, size_t size, Decode how, std::string* error) {
    return decode(static_cast<const unsigned char*>(data), size, 0, how, error);
}

/* ---- files ------------------------------------------------------------------------ */

namespace {

constexpr size_t kMaxPictureFile = 256 << 20;

// The picture file's bytes: a regular file of at most 256 MiB, read into as much memory
// as it holds.
bool read_picture(const std::string& path, std::string& bytes, std::string* error) {
    std::string why;
    if (!read_input_file(path, "picture file", kMaxPictureFile, bytes, &why)) {
        if (error) *error = path + ": " + why;
        return false;
    }
    if (bytes.size() > kMaxPictureFile) {
        if (error) *error = path + ": larger than 256 MiB";
        return false;
    }
    return true;
}

const unsigned char* data_of(const std::string& bytes) { return reinterpret_cast<const unsigned char*>(bytes.data()); }

// A PNG file's bytes as ARGB32.
Image png_from_memory(const std::string& path, const std::string& bytes, std::string* error);

void premultiply_row(uint32_t* row, int width) {
    for (int x = 0; x < width; ++x) {
        const uint32_t p = row[x];
        const uint32_t a = p >> 24;
        if (a == 255) continue;
        if (a == 0) {
            row[x] = 0;
            continue;
        }
        const uint32_t r = ((p >> 16 & 0xFF) * a + 127) / 255;
        const uint32_t g = ((p >> 8 & 0xFF) * a + 127) / 255;
        const uint32_t b = ((p & 0xFF) * a + 127) / 255;
        row[x] = a << 24 | r << 16 | g << 8 | b;
    }
}

}  // namespace

Image load_picture_file(const std::string& path, Decode how, std::string* error) {
    std::string bytes;
    if (!read_picture(path, bytes, error)) return Image();
    const unsigned char* data = data_of(bytes);
    if (bytes.size() >= 8 && png_sig_cmp(data, 0, 8) == 0) {
        Image img = png_from_memory(path, bytes, error);
        if (img.empty()) return img;
        cairo_surface_flush(img.surface());
        for (int y = 0; y < img.height(); ++y) {
            uint32_t* row = img.row(y);
            for (int x = 0; x < img.width(); ++x) {
                const uint32_t p = row[x];
                if (p >> 24 != 0xFF) continue;  // light applies to opaque pixels; others keep theirs
                row[x] = shade(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF, how);
            }
        }
        cairo_surface_mark_dirty(img.surface());
        return img;
    }
    if (bytes.size() < 14 + 40 || data[0] != 'B' || data[1] != 'M') {
        if (error) *error = path + ": neither a bitmap (.bmp) nor a PNG file";
        return Image();
    }
    const uint32_t offset = u32(data + 10);
    if (offset < 14 + 40 || offset > bytes.size()) {
        if (error) *error = path + ": bad pixel offset " + std::to_string(offset);
        return Image();
    }
    std::string why;
    Image img = decode(data + 14, bytes.size() - 14, offset - 14, how, &why);
    if (img.empty() && error) *error = path + ": " + why;
    return img;
}

/* ---- PNG -------------------------------------------------------------------------- */

namespace {

struct PngWrite {
    FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<unsigned char> row;
    char message[256] = {};
};

void png_error_cb(png_structp png, png_const_charp message) {
    auto* w = static_cast<PngWrite*>(png_get_error_ptr(png));
    std::snprintf(w->message, sizeof w->message, "%s", message);
    png_longjmp(png, 1);
}

void png_warning_cb(png_structp, png_const_charp) {}

// The libpng part; no object with a destructor lives across the jump.
bool write_rows(PngWrite& w, const Image& image, int level) {
    const bool alpha = image.has_alpha();
    const int width = image.width(), height = image.height();
    if (setjmp(png_jmpbuf(w.png))) return false;
    png_init_io(w.png, w.file);
    png_set_IHDR(w.png, w.info, png_uint_32(width), png_uint_32(height), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(w.png, level);
    // Fast files skip the filter search, which is most of the time spent.
    if (level <= kPngFast) png_set_filter(w.png, 0, PNG_FILTER_SUB);
    png_write_info(w.png, w.info);
    unsigned char* out = w.row.data();
    for (int y = 0; y < height; ++y) {
        const uint32_t* src = image.row(y);
        unsigned char* o = out;
        for (int x = 0; x < width; ++x) {
            const uint32_t p = src[x];
            unsigned r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
            if (alpha) {
                const unsigned a = p >> 24;
                if (a != 0 && a != 255) {
                    r = (r * 255 + a / 2) / a;
                    g = (g * 255 + a / 2) / a;
                    b = (b * 255 + a / 2) / a;
                }
                *o++ = (unsigned char)(r > 255 ? 255 : r);
                *o++ = (unsigned char)(g > 255 ? 255 : g);
                *o++ = (unsigned char)(b > 255 ? 255 : b);
                *o++ = (unsigned char)a;
            } else {
                *o++ = (unsigned char)r;
                *o++ = (unsigned char)g;
                *o++ = (unsigned char)b;
            }
        }
        png_write_row(w.png, out);
    }
    png_write_end(w.png, nullptr);
    return true;
}

}  // namespace

bool write_png(const Image& image, const std::string& path, int level, std::string* error) {
    if (image.empty()) {
        if (error) *error = "no picture to write";
        return false;
    }
    cairo_surface_flush(image.surface());
    PngWrite w;
    w.row.resize(size_t(image.width()) * 4);
    AtomicOutput file;
    if (!file.open(path, error)) return false;
    w.file = file.file();
    w.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &w, png_error_cb, png_warning_cb);
    if (w.png) w.info = png_create_info_struct(w.png);
    const bool ok = w.png && w.info && write_rows(w, image, level < 0 ? 0 : level > 9 ? 9 : level);
    png_destroy_write_struct(w.png ? &w.png : nullptr, w.info ? &w.info : nullptr);
    if (!ok) {
        if (error) *error = "cannot write " + path + (w.message[0] ? std::string(": ") + w.message : std::string());
        return false;
    }
    return file.commit(error);
}

Image read_png(const std::string& path, std::string* error) {
    std::string bytes;
    if (!read_picture(path, bytes, error)) return Image();
    return png_from_memory(path, bytes, error);
}

namespace {

Image png_from_memory(const std::string& path, const std::string& bytes, std::string* error) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
        if (error) *error = path + ": " + png.message;
        return Image();
    }
    png.format = PNG_FORMAT_BGRA;  // in memory B, G, R, A: a little-endian 0xAARRGGBB word
    if (png.width == 0 || png.height == 0 || png.width > uint32_t(kMaxSide) || png.height > uint32_t(kMaxSide)) {
        png_image_free(&png);
        if (error) *error = path + ": picture size out of range";
        return Image();
    }
    Image img(int(png.width), int(png.height), true);
    if (img.empty()) {
        png_image_free(&png);
        if (error) *error = path + ": out of memory";
        return img;
    }
    cairo_surface_flush(img.surface());
    const int stride = cairo_image_surface_get_stride(img.surface());
    if (!png_image_finish_read(&png, nullptr, cairo_image_surface_get_data(img.surface()), stride, nullptr)) {
        if (error) *error = path + ": " + png.message;
        png_image_free(&png);
        return Image();
    }
    for (int y = 0; y < img.height(); ++y) premultiply_row(img.row(y), img.width());
    cairo_surface_mark_dirty(img.surface());
    return img;
}

}  // namespace

}  // namespace tarn
