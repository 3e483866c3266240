// What of a gauge never moves, drawn once: its background (over the panel's colour when
// the background has transparent pixels) together with the parts of the later static
// images that nothing drawn before them can ever reach. A cover over an instrument - a
// bezel ring, a glass edge, corners - is mostly such parts; only where a needle, a card
// or a text may pass under it (a hub over the pivot) is it drawn at its turn in every
// frame. The picture stays exactly what drawing every element in order gives.
//
//   StaticLayer layer;
//   if (layer.prepare(gauge, drawn, images, view, cover, under)) {
//       copy layer.picture();                        // in place of the background
//       for each later element i: layer.merged(i) ? draw layer.part(i) : draw the element
//   }
//
// How far an element can reach, whatever its values: a needle the circle its bitmap
// sweeps about its pivot; an icon its frames; a moving image its window; a text its box;
// a static image its pixels; sliders and sprites, whose travel has no bound, the whole
// gauge. Reaches are taken in whole pixels with two to spare for filtering.
#ifndef TARN_HOST_STATIC_LAYER_H
#define TARN_HOST_STATIC_LAYER_H

#include <cstdint>
#include <optional>
#include <vector>

#include "host/draw/render.h"

namespace tarn {

class StaticLayer {
public:
    // Makes the layer for the gauge as `drawn` shows it, or keeps the one made for the
    // same showing (picture size, light, panel colour, which static images show).
    // `cover` must be opaque, or whole with the panel's colour `under`; otherwise there
    // is no layer and it returns false.
    bool prepare(const GaugeInstance& g, const std::vector<DrawnState>& drawn, ImageSource& images,
                 const GaugeView& view, Cover cover, std::optional<uint32_t> under);
    // The layer (no alpha), the size of the gauge's picture.
    const Image& picture() const { return picture_; }
    // Whether element i (a static image) is drawn from the layer and its part below.
    bool merged(size_t i) const { return i < parts_.size() && parts_[i].merged; }
    // The pixels of merged element i that are within reach of what is drawn before it
    // (to be drawn at its turn), with the picture pixel of their top-left; nullptr when
    // there are none.
    const Image* part(size_t i, int* x, int* y) const;
    // Forgets the layer (the next prepare makes it again).
    void clear() { key_.reset(); }

private:
    struct Key {
        int width = 0, height = 0;
        bool night = false;
        Cover cover = Cover::kNone;
        std::optional<uint32_t> under;
        std::vector<bool> shown;  // static images shown
        bool operator==(const Key&) const = default;
    };
    struct Part {
        bool merged = false;
        Image image;
        int x = 0, y = 0;
    };
    std::optional<Key> key_;
    Image picture_;
    std::vector<Part> parts_;
};

}  // namespace tarn

#endif
