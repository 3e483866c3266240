// Drawing gauges: each instance's element tree drawn with cairo into a picture of the
// gauge's own size (its background bitmap's pixels), redrawn only when something it
// shows changed.
//
//   PluginImages images(plugin);                 // bitmaps of one module, decoded once
//   GaugeRenderer r(instance, images);
//   host.update_all();
//   if (r.refresh()) use(r.image());             // true: the picture was drawn anew
//
// How each element kind is drawn (the host's conventions, also in ARCHITECTURE.md):
// - static image, icon frame, slider: the bitmap with its top-left at the position (a
//   slider shifted by value x scale on each axis);
// - needle: the bitmap turned clockwise by the element's drawn angle about its pivot
//   `ofs`, which sits on the background point `position` (pixel centre on pixel centre);
// - moving image: drawn inside its window, which is the bitmap resource_id + 1 when the
//   module has one (placed at the position; its pure black pixels hide the strip) and
//   otherwise the rest of the gauge right of and below the position. The value held to
//   [minimum, maximum] moves the bitmap from its top-left corner at the window's
//   top-left (value = minimum) to its bottom-right corner at the window's bottom-right
//   (value = maximum), on each axis; limits given the other way round run the other way;
//   equal limits do not move it;
// - sprite: the texture's centre rests on the gauge point position + ofs; the texture is
//   scaled by its texture scale, shifted by (x value x scale, y value x scale) along its
//   own axes and turned about that gauge point by rotation value x scale degrees,
//   counterclockwise for positive values (the way a card turns to bring a larger
//   heading to the top); it is clipped to the gauge;
// - text: the box at the position, filled with the background colour, the text in the
//   foreground colour on one line, left, centred or right by the DrawText flags, clipped
//   to the box; the font's line (ascent plus descent) fills the box height, so vertical
//   alignment changes nothing; "&&" shows "&" and a single "&" is dropped (no
//   DT_NOPREFIX); bytes are Windows ANSI. "Arial" is drawn with Liberation Sans, other
//   faces as fontconfig finds them, and "Quartz" with the seven-segment DSEG7 Classic,
//   its digits three quarters of the box high and about 0.55 box heights apart.
// - IMAGE_USE_TRANSPARENCY: pure black is not drawn (for texts: a black background or
//   foreground is not drawn); IMAGE_BILINEAR_COLOR: bilinear filtering of turned and
//   shifted pictures (otherwise nearest pixel, offsets rounded to whole pixels);
//   IMAGE_HIDDEN and failure action 3: the element is not drawn (its children are).
// - Night: every element dimmed to about a third, except IMAGE_USE_BRIGHT elements (as
//   by day) and IMAGE_USE_LUMINOUS ones (lit by warm panel lighting).
#ifndef TARN_HOST_RENDER_H
#define TARN_HOST_RENDER_H

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/draw/bitmap.h"
#include "host/core/instance.h"

namespace tarn {

// Bitmaps by resource id, each decoded once per way of drawing it, and resampled once
// per size a gauge is drawn at.
class ImageSource {
public:
    virtual ~ImageSource() = default;
    // The bitmap, or nullptr when there is none with that id.
    virtual const Image* bitmap(int32_t id, Decode how) = 0;
    // The bitmap resampled by (sx, sy) (the same picture for 1, 1), or nullptr.
    const Image* scaled(int32_t id, Decode how, double sx, double sy);
    // Whether a picture this source gave has no transparent pixel (looked at once).
    bool opaque(const Image& image);
    // The part of a resampled bitmap that is not clear (its margins of clear pixels cut
    // off when that saves a fifth or more), where it lies in the resampled bitmap of
    // width x height, or no image when the bitmap is missing or clear throughout.
    struct Piece {
        const Image* image = nullptr;
        int x = 0, y = 0;
        int width = 0, height = 0;
    };
    Piece piece(int32_t id, Decode how, double sx, double sy);

private:
    std::unordered_map<const Image*, bool> opaque_;
    struct Key {
        int32_t id;
        int how;
        int w, h;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const {
            return std::hash<uint64_t>()(uint64_t(uint32_t(k.id)) << 32 ^ uint64_t(k.how) << 28 ^ uint64_t(k.w) << 14 ^
                                         uint64_t(k.h));
        }
    };
    std::unordered_map<Key, Image, KeyHash> scaled_;
    std::unordered_map<Key, Image, KeyHash> parts_;
    std::unordered_map<Key, Piece, KeyHash> pieces_;
};

// The bitmap resources of one loaded module.
class PluginImages : public ImageSource {
public:
    explicit PluginImages(const Plugin& plugin) : plugin_(plugin) {}
    const Image* bitmap(int32_t id, Decode how) override;

private:
    const Plugin& plugin_;
    std::unordered_map<uint64_t, Image> cache_;  // absent bitmaps are kept as empty images
};

// The light an element is drawn with.
Light light_for(FLAGS32 image_flags, bool night);

// What one element shows, as far as drawing goes. Two equal states draw the same.
struct DrawnState {
    bool visible = false;
    FLAGS32 flags = 0;
    int frame = -1;                 // icons
    double a = 0, b = 0, c = 0;     // needle angle; slider or sprite x, y (and rotation); moving image travel x, y
    std::string text;               // texts: the text and how it is dressed
    COLORREF fg = 0, bg = 0;
    char face[32] = {};

    // Takes what the element shows now; a value that is no number keeps the previous
    // pose, as a needle does. Returns true when anything changed.
    bool take(const ElementState& s);
};

// How a gauge's background covers its picture: not at all or not wholly (not shown, not
// a static image at the top-left, not the picture's size), wholly with transparent
// pixels, or wholly and opaque throughout.
enum class Cover { kNone, kWhole, kOpaque };

// How a gauge is drawn: its own size in pixels (its background's), the scale from those
// to the picture's pixels (cairo's transform on the context scales by the same), night.
struct GaugeView {
    int width = 0, height = 0;
    double sx = 1.0, sy = 1.0;
    bool night = false;
};

// Draws one element in gauge pixels, as it shows in `d`, with bitmaps resampled to the
// view's scale once and kept (so a scaled gauge costs what an unscaled one does).
void draw_element(cairo_t* cr, const ElementState& s, const DrawnState& d, ImageSource& images, const GaugeView& view);

// A text in its box, as the text element `t` dresses it (used by draw_element).
void draw_text(cairo_t* cr, const ELEMENT_STRING& t, const std::string& text, bool night);

// A panel's label (a window's title, a missing gauge's name) centred in its box in the
// host's sans face: UTF-8 or Windows-1252 text, its start and an ellipsis when too wide.
// The text drawn, in UTF-8.
std::string draw_label(cairo_t* cr, const std::string& text, double x, double y, double w, double h, unsigned rgb);

// A box of whole pixels, half-open: [x0, x1) by [y0, y1).
struct PixelBox {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x1 <= x0 || y1 <= y0; }
    long area() const { return empty() ? 0 : long(x1 - x0) * (y1 - y0); }
    bool operator==(const PixelBox&) const = default;
};

// Adds a box to a short list of boxes, merging it with those it overlaps or touches.
void add_box(std::vector<PixelBox>& boxes, PixelBox b);

// The picture pixels an element covers as it shows in `d` (a little more for filtering),
// within the picture; empty when it draws nothing.
PixelBox element_box(const ElementState& s, const DrawnState& d, ImageSource& images, const GaugeView& view);

class StaticLayer;

class GaugeRenderer {
public:
    // The picture is width x height pixels (the gauge's own size when 0), the gauge
    // scaled to fill it.
    GaugeRenderer(const GaugeInstance& gauge, ImageSource& images, int width = 0, int height = 0);
    ~GaugeRenderer();
    GaugeRenderer(const GaugeRenderer&) = delete;
    GaugeRenderer& operator=(const GaugeRenderer&) = delete;

    // Draws the gauge anew in its own picture where anything it shows changed since the
    // last call: the boxes the changed elements covered before and cover now, every
    // element drawn again inside them (everything on the first call and after set_night
    // or invalidate). Returns true when it drew.
    bool refresh();
    // The same without a picture of its own, for drawing onto a picture that holds what
    // lies under the gauge (a panel): take_changes() takes what every element shows now
    // and tells whether anything is to be drawn anew, redrawn() then gives where;
    // draw_onto() draws the elements meeting `boxes` onto a context whose user space is
    // the gauge's picture pixels, already clipped to what is to be drawn.
    bool take_changes();
    void draw_onto(cairo_t* cr, const std::vector<PixelBox>& boxes);
    // Where the last refresh or take_changes drew or is to draw, in picture pixels (the
    // whole picture, or a few boxes).
    const std::vector<PixelBox>& redrawn() const { return dirty_; }
    // Whether the gauge has no transparent pixel (its background covers it all), as of
    // the last refresh or take_changes.
    bool opaque() const { return opaque_; }
    void set_night(bool night);
    // The colour (0xRRGGBB) of the panel under the gauge where it is one colour, for
    // draw_onto: a background covering the gauge is then laid over it once, in the
    // gauge's static layer, and the gauge counts as opaque. Nothing (the default) when
    // the panel under it varies. (draw_onto copies a static layer - the background with
    // what of later static images nothing can reach - whenever the gauge is opaque.)
    void set_under(std::optional<uint32_t> colour);
    // Whether draw_onto uses the static layer (the default; from the next take_changes);
    // without it every element is drawn in every frame, which shows the same (for comparing).
    void set_static_layer(bool on) { layered_ = on; }
    // The next refresh draws whatever changed or not.
    void invalidate() { stale_ = true; }
    // The gauge's picture (ARGB32), as of the last refresh.
    const Image& image() const { return image_; }
    const GaugeInstance& gauge() const { return gauge_; }

private:
    const GaugeInstance& gauge_;
    ImageSource& images_;
    // Takes what every element shows now and finds what is to be drawn anew.
    bool take();

    std::unique_ptr<StaticLayer> layer_;  // for draw_onto
    bool layered_ = true;
    bool layer_ready_ = false;  // the layer is made for what take_changes took
    std::vector<DrawnState> drawn_;
    std::vector<PixelBox> boxes_;  // per element, as last drawn
    std::vector<PixelBox> dirty_;
    Image image_;
    int width_ = 0, height_ = 0;                  // as asked (0: the gauge's own size)
    int picture_width_ = 0, picture_height_ = 0;  // as drawn
    bool night_ = false;
    bool stale_ = true;
    bool whole_ = true;  // the last changes cover the whole picture
    bool opaque_ = false;
    Cover cover_ = Cover::kNone;
    std::optional<uint32_t> under_;
};

// One gauge drawn once, at its own size or at width x height pixels.
Image render_gauge(const GaugeInstance& gauge, ImageSource& images, bool night = false, int width = 0, int height = 0);

// Snapshots, drawn afresh from the instances' modules: one gauge at its own size (its
// transparent pixels kept), or every instance in creation order in rows on a dark sheet.
Image snapshot_gauge(const GaugeInstance& gauge, bool night = false);
Image snapshot_gauges(const std::vector<std::unique_ptr<GaugeInstance>>& instances, bool night = false);

}  // namespace tarn

#endif
