// Laying a turned picture over another, and copying one. The drawing library turns a
// picture by looking at every pixel of its turned bounding box, most of which a thin
// needle at an angle does not reach; these loops visit, row by row, only the pixels the
// picture reaches. Copies of whole pictures are plain row copies, without the library's
// set-up for each.
//
//   cairo_matrix_t to_source = ...;   // destination pixel space -> source pixel space
//   over_affine(needle, panel, to_source, {0, 0, panel.width(), panel.height()}, true);
#ifndef TARN_HOST_BLIT_H
#define TARN_HOST_BLIT_H

#include <cairo.h>

#include <cstdint>

#include "host/draw/bitmap.h"

namespace tarn {

// Premultiplied s laid over d, with the rounding the drawing library uses (an RGB24
// pixel's unused top byte takes part harmlessly).
inline uint32_t over_pixel(uint32_t s, uint32_t d) {
    const uint32_t a = s >> 24;
    if (a == 0xFF) return s;
    const uint32_t ia = 255 - a;
    uint32_t rb = (d & 0x00FF00FFu) * ia + 0x00800080u;
    rb = ((rb + (rb >> 8 & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    uint32_t ag = (d >> 8 & 0x00FF00FFu) * ia + 0x00800080u;
    ag = (ag + (ag >> 8 & 0x00FF00FFu)) & 0xFF00FF00u;
    return s + (rb | ag);
}

// Whole destination pixels [x0, x1) by [y0, y1).
struct BlitBox {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// Lays `src` (premultiplied ARGB32) over `dst` (ARGB32 or RGB24) inside `clip`: each
// destination pixel's centre is mapped by `to_source` into the source's pixel space
// (its pixel (i, j) spanning [i, i+1) x [j, j+1)) and the source sampled there, between
// the four nearest pixel centres (`bilinear`) or at the pixel holding the point; outside
// the source everything is clear; a point on an edge between two pixels takes the one
// before it, except on the source's first edge, which takes the source's first pixel.
// Pixels the source does not reach are not touched.
void over_affine(const Image& src, Image& dst, const cairo_matrix_t& to_source, BlitBox clip, bool bilinear);

// The same on a cairo context: `src` laid over the context's target through the
// pattern matrix `pattern` (user space -> source pixels), within the context's clip.
// Returns false, drawing nothing, when the loops cannot stand in for the drawing library
// (a target that is no image, an operator other than OVER, a clip that is not whole
// pixel boxes) or need not (the map does not turn: shifts and scales the library draws
// fast, unless, sampled at the nearest pixel, the picture's edges lie on pixel centres,
// where the library would leave out a picture's edge row or column): the caller then
// draws with cairo.
bool over_affine(cairo_t* cr, const Image& src, const cairo_matrix_t& pattern, bool bilinear);

// Copies a picture without alpha (RGB24) onto the context's target, its top-left at
// (x, y) of the user space, within the context's clip. Returns false, copying nothing,
// when the user space is not the target's pixels shifted by whole pixels, or the target
// or the clip are not as over_affine needs them: the caller then draws with cairo.
bool copy_opaque(cairo_t* cr, const Image& src, int x, int y);

}  // namespace tarn

#endif
