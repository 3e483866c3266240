// A banner across the top of a panel picture ("LINK LOST"): white bold text on a red band,
// scaled to the picture's width, drawn over whatever is there.
//
//   Image copy = copy_image(renderer.frame());
//   draw_banner(copy, "LINK LOST");
#ifndef TARN_HOST_BANNER_H
#define TARN_HOST_BANNER_H

#include <string>

#include "host/draw/bitmap.h"

namespace tarn {

Image copy_image(const Image& image);
void draw_banner(Image& image, const std::string& text);
// The band alone, as draw_banner paints it on a picture of width x height (for laying it
// over a picture already shown, without copying the picture).
Image make_banner(int width, int height, const std::string& text);
// The band's height for a picture of this size (where draw_banner paints red).
int banner_height(int width, int height);

}  // namespace tarn

#endif
