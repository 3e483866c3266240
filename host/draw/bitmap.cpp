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

// One colour channel of a bit-field pixel: where its mask lies, scaled to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t top = 0;  // the largest value the field holds
    void set(uint32_t m) {
        mask = m;
        shift = 0;
        if (m == 0) return;
        while (!(m & 1)) {
            m >>= 1;
            ++shift;
        }
        top = m;
    }
    unsigned operator()(uint32_t pixel) const {
        return top ? unsigned((uint64_t((pixel & mask) >> shift) * 255 + top / 2) / top) : 0;
    }
};

const char* compression_name(uint32_t compression) {
    switch (compression) {
    case 0: return "uncompressed";
    case 1: return "RLE8";
    case 2: return "RLE4";
    case 3: return "bit fields";
    case 4: return "JPEG";
    case 5: return "PNG";
    case 6: return "bit fields with alpha";
    default: return "unknown";
    }
}

// Run-length coded rows (RLE8, or RLE4 with two pixels a byte) into `index`, one palette
// index a pixel, row 0 the first row stored. Pairs: a count and a value repeat the value
// (RLE4: its two halves in turn); a 0 then 0 ends the row, 0 1 ends the picture, 0 2 dx dy
// moves the pen, 0 n gives n values as they are (padded to an even byte count). Pixels no
// code reaches keep index 0; codes running past the picture's right edge are clipped; the
// data may end early.
void decode_rle(const unsigned char* p, size_t size, bool four, int width, int height,
                std::vector<unsigned char>& index) {
    size_t at = 0;
    int64_t x = 0, y = 0;
    auto put = [&](unsigned v) {
        if (x < width && y < height) index[size_t(y) * size_t(width) + size_t(x)] = (unsigned char)v;
        ++x;
    };
    while (at + 2 <= size && y < height) {
        const unsigned count = p[at], value = p[at + 1];
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count && x < width; ++i) put(four ? (i & 1 ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (at + 2 > size) return;
            x += p[at];
            y += p[at + 1];
            at += 2;
        } else {
            const size_t bytes = four ? (value + 1) / 2 : value;
            if (at + bytes > size) return;
            for (unsigned i = 0; i < value && x < width; ++i)
                put(four ? (i & 1 ? p[at + i / 2] & 15 : p[at + i / 2] >> 4) : p[at + i]);
            at += (bytes + 1) & ~size_t(1);
        }
    }
}

// The DIB at p (size bytes, header first); its rows start at pixel_offset from p, or
// right after the header, masks and palette when pixel_offset is 0. Headers: the OS/2
// core header (12 bytes: 16-bit sizes, 3-byte palette entries) and BITMAPINFOHEADER with
// its longer forms (V4, V5: 108, 124 bytes, masks inside). Pixels: 1, 4 and 8 bits through
// the palette, uncompressed or RLE4/RLE8; 16 and 32 bits as 5-5-5 / 8-8-8 or through bit
// fields; 24 bits. The fourth byte or an alpha field is not used: the picture is opaque,
// as the host draws it.
Image decode(const unsigned char* p, size_t size, size_t pixel_offset, const Decode& how, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return Image();
    };
    if (p == nullptr || size < 12) return fail("too short for a bitmap header");
    const uint32_t header = u32(p);
    const bool core = header == 12;
    if ((!core && header < 40) || header > 4096) return fail("bad bitmap header size " + std::to_string(header));
    if (header > size) return fail("too short for a bitmap header of " + std::to_string(header) + " bytes");
    const int32_t width = core ? int32_t(u16(p + 4)) : int32_t(u32(p + 4));
    const int32_t raw_height = core ? int32_t(u16(p + 6)) : int32_t(u32(p + 8));
    const int bits = core ? u16(p + 10) : u16(p + 14);
    const uint32_t compression = core ? 0 : u32(p + 16);
    const uint32_t colours_used = core ? 0 : u32(p + 32);
    if (width <= 0 || width > kMaxSide) return fail("bad bitmap width " + std::to_string(width));
    if (raw_height == 0 || raw_height < -kMaxSide || raw_height > kMaxSide)
        return fail("bad bitmap height " + std::to_string(raw_height));
    const bool rle = compression == 1 || compression == 2;
    const bool fields = compression == 3 || compression == 6;
    if (compression > 3 && compression != 6)
        return fail(std::string("compressed bitmap: ") + compression_name(compression) + " (compression " +
                    std::to_string(compression) + ") is not drawn");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return fail(std::to_string(bits) + " bits a pixel (1, 4, 8, 16, 24 or 32)");
    if ((compression == 1 && bits != 8) || (compression == 2 && bits != 4) || (fields && bits != 16 && bits != 32) ||
        (core && bits == 16) || (core && bits == 32))
        return fail(std::string("compressed bitmap: ") + compression_name(compression) + " with " +
                    std::to_string(bits) + " bits a pixel");
    const bool bottom_up = raw_height > 0;
    const int height = bottom_up ? raw_height : -raw_height;

    // Bit fields: inside the longer headers, else three (or four) words after the header.
    Channel red, green, blue;
    uint64_t masks_size = 0;
    if (fields) {
        const uint64_t masks_at = header >= 52 ? 40 : header;
        if (header < 52) masks_size = compression == 6 ? 16 : 12;
        if (masks_at + 12 > size) return fail("bit fields beyond the end of the data");
        red.set(u32(p + masks_at));
        green.set(u32(p + masks_at + 4));
        blue.set(u32(p + masks_at + 8));
    } else if (bits == 16) {
        red.set(0x7C00);
        green.set(0x03E0);
        blue.set(0x001F);
    } else if (bits == 32) {
        red.set(0xFF0000);
        green.set(0xFF00);
        blue.set(0xFF);
    }

    // The palette: for 1, 4 and 8 bits, the count the header gives (every colour when 0);
    // pictures of more bits may carry one too, which is skipped.
    const uint64_t entry = core ? 3 : 4;
    uint64_t palette_entries = bits <= 8 && colours_used == 0 ? uint64_t(1) << bits : colours_used;
    if (palette_entries > 256) return fail("palette of " + std::to_string(colours_used) + " colours");
    const uint64_t palette_at = header + masks_size;
    if (palette_at + palette_entries * entry > size) return fail("palette beyond the end of the data");
    const uint64_t rows_at = pixel_offset ? pixel_offset : palette_at + palette_entries * entry;
    if (rows_at > size) return fail("pixels beyond the end of the data");
    const uint64_t stride = (uint64_t(width) * uint64_t(bits) + 31) / 32 * 4;
    if (!rle && rows_at + stride * uint64_t(height) > size) return fail("pixels beyond the end of the data");
    uint32_t palette[256];
    for (uint32_t& c : palette) c = shade(0, 0, 0, how);
    if (bits <= 8)
        for (uint64_t i = 0; i < palette_entries; ++i) {
            const unsigned char* c = p + palette_at + entry * i;
            palette[i] = shade(c[2], c[1], c[0], how);
        }

    Image out(width, height, true);
    if (out.empty()) return fail("out of memory for a " + std::to_string(width) + "x" + std::to_string(height) + " picture");
    cairo_surface_flush(out.surface());
    const int last = height - 1;
    if (rle) {
        std::vector<unsigned char> index(size_t(width) * size_t(height));
        decode_rle(p + rows_at, size - rows_at, compression == 2, width, height, index);
        for (int r = 0; r < height; ++r) {
            const unsigned char* src = index.data() + size_t(r) * size_t(width);
            uint32_t* dst = out.row(bottom_up ? last - r : r);
            for (int x = 0; x < width; ++x) dst[x] = palette[src[x]];
        }
    } else {
        for (int y = 0; y < height; ++y) {
            const unsigned char* src = p + rows_at + stride * uint64_t(bottom_up ? last - y : y);
            uint32_t* dst = out.row(y);
            switch (bits) {
            case 1:
            case 4:
            case 8: {
                const unsigned per_byte = 8 / unsigned(bits), field = (1u << bits) - 1;
                for (int x = 0; x < width; ++x) {
                    const unsigned byte = src[unsigned(x) / per_byte];
                    const unsigned shift = 8 - unsigned(bits) * (unsigned(x) % per_byte + 1);
                    dst[x] = palette[byte >> shift & field];
                }
                break;
            }
            case 16:
                for (int x = 0; x < width; ++x, src += 2) {
                    const uint32_t v = u16(src);
                    dst[x] = shade(red(v), green(v), blue(v), how);
                }
                break;
            case 24:
                for (int x = 0; x < width; ++x, src += 3) dst[x] = shade(src[2], src[1], src[0], how);
                break;
            default:
                for (int x = 0; x < width; ++x, src += 4) {
                    const uint32_t v = u32(src);
                    dst[x] = shade(red(v), green(v), blue(v), how);
                }
            }
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
    if (bytes.size() < 14 + 12 || data[0] != 'B' || data[1] != 'M') {
        if (error) *error = path + ": neither a bitmap (.bmp) nor a PNG file";
        return Image();
    }
    const uint32_t offset = u32(data + 10);
    if (offset < 14 + 12 || offset > bytes.size()) {
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
