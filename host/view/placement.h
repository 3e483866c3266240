// Where a panel window goes on the screen, and how large: pure arithmetic, no window.
//
//   WindowPlace p = place_window({.width = 2400, .height = 1000, .pos = {{0, 0.5}},
//                                 .size = {{1, 0.5}}, .screen = {0, 0, 1920, 1080}});
//   // p.scale 0.54, p.box {312, 540, 1296, 540}
//
// The panel file's window_pos and window_size are fractions of the screen (0 to 1): the
// window's top-left corner, and the box it may fill. The window keeps its size_mm aspect:
// it is as large as fits the box, centred in it. Without window_size it fits the screen
// (never enlarged beyond one pixel a panel unit); without window_pos it is centred.
// An asked scale (--scale) sets the size instead; one that would leave the screen is
// reduced to fit (`reduced` set) unless forced. Every window ends on the screen, its frame
// (title bar and borders, as the window manager draws them) included, as far as it fits.
#ifndef TARN_HOST_VIEW_PLACEMENT_H
#define TARN_HOST_VIEW_PLACEMENT_H

#include <optional>
#include <utility>

namespace tarn {

struct ScreenBox {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const ScreenBox&) const = default;
};

// The frame around a window's client area, pixels a side.
struct FrameBorders {
    int top = 0, left = 0, bottom = 0, right = 0;
};

struct WindowPlaceInput {
    double width = 0, height = 0;                         // the window, panel units (size_mm)
    std::optional<std::pair<double, double>> pos, size;   // window_pos, window_size
    ScreenBox screen;                                     // the screen's usable part
    FrameBorders frame;
    double scale = 0;      // asked pixels per panel unit; 0: as the panel file says
    bool force = false;    // keep the asked scale even off the screen
};

struct WindowPlace {
    ScreenBox box;         // the client area, screen pixels
    double scale = 1;      // pixels per panel unit
    bool reduced = false;  // the asked scale did not fit and was reduced
};

WindowPlace place_window(const WindowPlaceInput& in);

}  // namespace tarn

#endif
