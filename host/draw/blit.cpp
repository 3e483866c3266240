// Laying a turned picture over another, and copying one, pixel by pixel.
#include "host/draw/blit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tarn {

namespace {

// Rows of a picture, without asking the library for its memory at each.
template <class Pixel>
struct Rows {
    explicit Rows(const Image& img)
        : data(cairo_image_surface_get_data(img.surface())), stride(size_t(cairo_image_surface_get_stride(img.surface()))) {}
    Pixel* operator[](int y) const { return reinterpret_cast<Pixel*>(data + size_t(y) * stride); }
    unsigned char* data;
    size_t stride;
};

constexpr double kOne = 65536.0;  // source coordinates are stepped in 16.16 fixed point

// (p x (256 - f) + q x f) / 256 on each of the four 8-bit channels, rounded.
inline uint32_t lerp(uint32_t p, uint32_t q, uint32_t f) {
    const uint32_t g = 256 - f;
    const uint32_t rb = (((p & 0x00FF00FFu) * g + (q & 0x00FF00FFu) * f + 0x00800080u) >> 8) & 0x00FF00FFu;
    const uint32_t ag = ((p >> 8 & 0x00FF00FFu) * g + (q >> 8 & 0x00FF00FFu) * f + 0x00800080u) & 0xFF00FF00u;
    return rb | ag;
}

#ifdef __SSE2__
// The four pixels r0[0], r0[1] (one row) and r1[0], r1[1] (the next) weighed by their
// nearness to the sample (fx, fy in 128ths of a pixel from r0[0]), all four channels at once.
inline uint32_t bilinear_sse2(const uint32_t* r0, const uint32_t* r1, uint32_t fx, uint32_t fy) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i top = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r0)), zero);
    const __m128i bottom = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r1)), zero);
    // Down: top x (128 - fy) + bottom x fy, each channel of both columns (at most 255 x 128).
    const __m128i v = _mm_add_epi16(_mm_mullo_epi16(top, _mm_set1_epi16(short(128 - fy))),
                                    _mm_mullo_epi16(bottom, _mm_set1_epi16(short(fy))));
    // Across: the two columns' channels side by side, weighed and summed in 32 bits.
    const __m128i pairs = _mm_unpacklo_epi16(v, _mm_srli_si128(v, 8));
    const __m128i weights = _mm_set1_epi32(int(fx << 16 | (128 - fx)));
    __m128i sum = _mm_madd_epi16(pairs, weights);
    sum = _mm_srli_epi32(_mm_add_epi32(sum, _mm_set1_epi32(1 << 13)), 14);
    const __m128i packed = _mm_packs_epi32(sum, zero);
    return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(packed, zero)));
}
#endif

// Narrows [k0, k1] to the steps k at which lo < start + step x k < hi (with a step of
// margin, the loops checking each pixel themselves). The loops round the places to fixed
// point, so a place a hair outside may be taken on the edge: the bounds are widened by a
// few of its units as well, which matters where the step is tiny (a picture turned by
// exactly 90 degrees moves by some 1e-16 a pixel along one axis, so a step of margin is
// none, and a row whose places round onto the picture's edge would be left out).
void narrow(double start, double step, double lo, double hi, double& k0, double& k1) {
    if (step == 0.0) {
        if (!(start > lo - 1.0 && start < hi + 1.0)) k1 = k0 - 1;  // (NaN too)
        return;
    }
    lo -= 4 / kOne;
    hi += 4 / kOne;
    double a = (lo - start) / step, b = (hi - start) / step;
    if (a > b) std::swap(a, b);
    k0 = std::max(k0, std::floor(a) - 1);
    k1 = std::min(k1, std::ceil(b) + 1);
}

}  // namespace

void over_affine(const Image& src, Image& dst, const cairo_matrix_t& m, BlitBox clip, bool bilinear) {
    if (src.empty() || dst.empty() || !src.has_alpha()) return;
    const int w = src.width(), h = src.height();
    clip.x0 = std::max(clip.x0, 0);
    clip.y0 = std::max(clip.y0, 0);
    clip.x1 = std::min(clip.x1, dst.width());
    clip.y1 = std::min(clip.y1, dst.height());
    if (clip.x1 <= clip.x0 || clip.y1 <= clip.y0 || w <= 0 || h <= 0) return;
    // Steps bigger than the source, or places too far for the fixed-point arithmetic,
    // are not pictures worth drawing.
    const double far = 1e6;
    for (double v : {m.xx, m.yx, m.xy, m.yy, m.x0, m.y0})
        if (!(std::abs(v) < far)) return;
    // Only the rows and columns the source can reach.
    cairo_matrix_t to_dest = m;
    if (cairo_matrix_invert(&to_dest) != CAIRO_STATUS_SUCCESS) return;
    double bx0 = 1e300, by0 = 1e300, bx1 = -1e300, by1 = -1e300;
    for (double cx : {-1.0, w + 1.0})
        for (double cy : {-1.0, h + 1.0}) {
            double x = cx, y = cy;
            cairo_matrix_transform_point(&to_dest, &x, &y);
            bx0 = std::min(bx0, x), by0 = std::min(by0, y), bx1 = std::max(bx1, x), by1 = std::max(by1, y);
        }
    if (!(bx1 >= bx0 && by1 >= by0)) return;
    clip.x0 = std::max(clip.x0, int(std::max(-1e9, std::floor(bx0))));
    clip.y0 = std::max(clip.y0, int(std::max(-1e9, std::floor(by0))));
    clip.x1 = std::min(clip.x1, int(std::min(1e9, std::ceil(bx1))));
    clip.y1 = std::min(clip.y1, int(std::min(1e9, std::ceil(by1))));
    if (clip.x1 <= clip.x0 || clip.y1 <= clip.y0) return;
    // Bilinear samples are taken between pixel centres: the point less half a pixel.
    const double half = bilinear ? 0.5 : 0.0;
    const double reach = bilinear ? 1.0 : 0.0;  // how far outside a sample still sees the source
    const int64_t du = std::llround(m.xx * kOne), dv = std::llround(m.yx * kOne);
    const Rows<const uint32_t> row(src);
    const Rows<uint32_t> out_rows(dst);
    for (int y = clip.y0; y < clip.y1; ++y) {
        const double yc = y + 0.5, xc = clip.x0 + 0.5;
        const double u0 = m.xx * xc + m.xy * yc + m.x0 - half;
        const double v0 = m.yx * xc + m.yy * yc + m.y0 - half;
        double k0 = 0, k1 = clip.x1 - clip.x0 - 1;
        narrow(u0, m.xx, -reach, w, k0, k1);
        narrow(v0, m.yx, -reach, h, k0, k1);
        if (k1 < k0) continue;
        const int first = int(k0), last = int(k1);
        int64_t u = std::llround((u0 + m.xx * first) * kOne);
        int64_t v = std::llround((v0 + m.yx * first) * kOne);
        uint32_t* out = out_rows[y] + clip.x0;
        for (int k = first; k <= last; ++k, u += du, v += dv) {
            // (Floors; the nearest pixel of a point on a pixel's edge is the one before it,
            // as the drawing library takes it, except on the picture's first edge, which
            // is the picture's own: otherwise a picture one pixel high whose top edge lies on
            // pixel centres, and which is a little less than a pixel high on the screen,
            // would reach no pixel at all.)
            const int64_t iu = (bilinear || u <= 0 ? u : u - 1) >> 16, iv = (bilinear || v <= 0 ? v : v - 1) >> 16;
            uint32_t s;
            if (bilinear) {
                if (iu < -1 || iu >= w || iv < -1 || iv >= h) continue;
                const int i = int(iu), j = int(iv);
                const uint32_t fx = uint32_t(u >> 8) & 0xFF, fy = uint32_t(v >> 8) & 0xFF;
                uint32_t p00 = 0, p10 = 0, p01 = 0, p11 = 0;
                if (i >= 0 && j >= 0 && i + 1 < w && j + 1 < h) {
                    const uint32_t* r0 = row[j] + i;
                    const uint32_t* r1 = row[j + 1] + i;
#ifdef __SSE2__
                    s = bilinear_sse2(r0, r1, fx >> 1, fy >> 1);
                    if (s != 0) out[k] = over_pixel(s, out[k]);
                    continue;
#else
                    p00 = r0[0];
                    p10 = r0[1];
                    p01 = r1[0];
                    p11 = r1[1];
#endif
                } else {
                    auto at = [&](int x, int yy) { return x >= 0 && x < w && yy >= 0 && yy < h ? row[yy][x] : 0u; };
                    p00 = at(i, j);
                    p10 = at(i + 1, j);
                    p01 = at(i, j + 1);
                    p11 = at(i + 1, j + 1);
                }
                if ((p00 | p10 | p01 | p11) == 0) continue;
                s = lerp(lerp(p00, p10, fx), lerp(p01, p11, fx), fy);
            } else {
                if (iu < 0 || iu >= w || iv < 0 || iv >= h) continue;
                s = row[int(iv)][iu];
            }
            if (s != 0) out[k] = over_pixel(s, out[k]);
        }
    }
}

namespace {

// The context's target when it is an ARGB32 or RGB24 image drawn on directly.
cairo_surface_t* image_target(cairo_t* cr) {
    cairo_surface_t* target = cairo_get_group_target(cr);
    if (target != cairo_get_target(cr) || cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) return nullptr;
    const cairo_format_t format = cairo_image_surface_get_format(target);
    if (format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24) return nullptr;
    double ox = 0, oy = 0;
    cairo_surface_get_device_offset(target, &ox, &oy);
    return ox == 0 && oy == 0 ? target : nullptr;
}

bool whole(double v) { return v == std::round(v); }

// The context's clip as boxes of whole target pixels, or false.
bool clip_boxes(cairo_t* cr, std::vector<BlitBox>& boxes) {
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_rectangle_list_t* clip = cairo_copy_clip_rectangle_list(cr);
    cairo_restore(cr);
    bool ok = clip->status == CAIRO_STATUS_SUCCESS;
    for (int i = 0; ok && i < clip->num_rectangles; ++i) {
        const cairo_rectangle_t& r = clip->rectangles[i];
        ok = whole(r.x) && whole(r.y) && whole(r.width) && whole(r.height);
        if (ok) boxes.push_back({int(r.x), int(r.y), int(r.x + r.width), int(r.y + r.height)});
    }
    cairo_rectangle_list_destroy(clip);
    return ok;
}

// Whether a map that does not turn puts pixel centres of a `width` x `height` target on
// an outer edge of a w x h picture (within what fixed point tells apart). Sampled at the
// nearest pixel, the drawing library takes such a centre outside the picture (on the
// first edge by its rule, on the last by its rounding), so a picture one pixel high, a
// little less than a pixel high on the screen, reaches no pixel at all.
bool edge_on_centres(const cairo_matrix_t& m, int w, int h, int width, int height) {
    // Each axis of the picture follows one axis of the target: u = a (t + 0.5) + b, give
    // or take what the other, hardly turned, axis adds across the target.
    auto on_centres = [](double a, double b, double across, double edge) {
        if (a == 0.0) return false;
        const double t = std::round((edge - b) / a - 0.5);
        return std::abs(a * (t + 0.5) + b - edge) <= 2 / kOne + across;
    };
    const double across_u = std::abs(m.xy) * height, across_v = std::abs(m.yx) * width;
    return on_centres(m.xx, m.x0, across_u, 0) || on_centres(m.xx, m.x0, across_u, w) ||
           on_centres(m.yy, m.y0, across_v, 0) || on_centres(m.yy, m.y0, across_v, h);
}

}  // namespace

bool copy_opaque(cairo_t* cr, const Image& src, int x, int y) {
    if (src.empty() || src.has_alpha()) return false;
    cairo_surface_t* target = image_target(cr);
    if (target == nullptr) return false;
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    if (m.xx != 1 || m.yy != 1 || m.xy != 0 || m.yx != 0 || !whole(m.x0) || !whole(m.y0)) return false;
    std::vector<BlitBox> boxes;
    if (!clip_boxes(cr, boxes)) return false;
    const bool alpha = cairo_image_surface_get_format(target) == CAIRO_FORMAT_ARGB32;
    Image picture(cairo_surface_reference(target));
    const int left = int(m.x0) + x, top = int(m.y0) + y;
    cairo_surface_flush(target);
    const Rows<const uint32_t> from_rows(src);
    const Rows<uint32_t> to_rows(picture);
    for (BlitBox b : boxes) {
        b.x0 = std::max({b.x0, left, 0});
        b.y0 = std::max({b.y0, top, 0});
        b.x1 = std::min({b.x1, left + src.width(), picture.width()});
        b.y1 = std::min({b.y1, top + src.height(), picture.height()});
        if (b.x1 <= b.x0 || b.y1 <= b.y0) continue;
        const size_t bytes = size_t(b.x1 - b.x0) * sizeof(uint32_t);
        for (int row = b.y0; row < b.y1; ++row) {
            uint32_t* to = to_rows[row] + b.x0;
            const uint32_t* from = from_rows[row - top] + (b.x0 - left);
            if (row + 4 < b.y1) {  // the rows after next on their way (a row is too short for the prefetcher)
                const char* next_from = reinterpret_cast<const char*>(from_rows[row + 4 - top] + (b.x0 - left));
                const char* next_to = reinterpret_cast<const char*>(to_rows[row + 4] + b.x0);
                for (size_t k = 0; k < bytes; k += 64) {
                    __builtin_prefetch(next_from + k);
                    __builtin_prefetch(next_to + k, 1);
                }
            }
            if (alpha) {
                for (int i = 0; i < b.x1 - b.x0; ++i) to[i] = from[i] | 0xFF000000u;  // (the top byte is unused in RGB24)
            } else {
                std::memcpy(to, from, size_t(b.x1 - b.x0) * sizeof(uint32_t));
            }
        }
        cairo_surface_mark_dirty_rectangle(target, b.x0, b.y0, b.x1 - b.x0, b.y1 - b.y0);
    }
    return true;
}

bool over_affine(cairo_t* cr, const Image& src, const cairo_matrix_t& pattern, bool bilinear) {
    if (cairo_get_operator(cr) != CAIRO_OPERATOR_OVER || src.empty() || !src.has_alpha()) return false;
    cairo_surface_t* target = image_target(cr);
    if (target == nullptr) return false;
    // Device pixels -> user space -> source pixels.
    cairo_matrix_t to_source;
    cairo_get_matrix(cr, &to_source);
    if (cairo_matrix_invert(&to_source) != CAIRO_STATUS_SUCCESS) return false;
    cairo_matrix_multiply(&to_source, &to_source, &pattern);
    // Not turned (shifted, scaled): the library's own loops for that are fast (within what
    // 16.16 fixed point tells apart, as it judges it), unless, sampled at the nearest
    // pixel, the picture's edges lie on pixel centres.
    if (std::abs(to_source.xy) < 1.0 / 65536 && std::abs(to_source.yx) < 1.0 / 65536 &&
        (bilinear || !edge_on_centres(to_source, src.width(), src.height(), cairo_image_surface_get_width(target),
                                      cairo_image_surface_get_height(target))))
        return false;
    std::vector<BlitBox> boxes;
    if (!clip_boxes(cr, boxes)) return false;
    Image picture(cairo_surface_reference(target));
    cairo_surface_flush(target);
    for (const BlitBox& box : boxes) {
        over_affine(src, picture, to_source, box, bilinear);
        cairo_surface_mark_dirty_rectangle(target, box.x0, box.y0, box.x1 - box.x0, box.y1 - box.y0);
    }
    return true;
}

}  // namespace tarn
