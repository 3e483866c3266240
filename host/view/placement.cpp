#include "host/view/placement.h"

#include <algorithm>
#include <cmath>

namespace tarn {

namespace {

constexpr double kSmallest = 0.05, kLargest = 16.0;

// A fraction of the screen, kept inside 0 to 1 (a file may say anything).
double fraction(double f) { return std::isfinite(f) ? std::clamp(f, 0.0, 1.0) : 0.0; }

// `start` moved so that [start, start + length) lies inside [lo, hi) where it can; a
// piece longer than the room starts at lo.
int keep_inside(int start, int length, int lo, int hi) {
    return std::max(lo, std::min(start, hi - length));
}

}  // namespace

WindowPlace place_window(const WindowPlaceInput& in) {
    WindowPlace out;
    const double uw = std::max(in.width, 1.0), uh = std::max(in.height, 1.0);
    // The room a window's client area may take: the screen less its frame.
    const int room_w = std::max(1, in.screen.w - in.frame.left - in.frame.right);
    const int room_h = std::max(1, in.screen.h - in.frame.top - in.frame.bottom);
    const double fits_screen = std::min(room_w / uw, room_h / uh);

    // The box the panel file gives, screen pixels (the whole screen without window_size).
    double box_x = in.screen.x, box_y = in.screen.y, box_w = room_w, box_h = room_h;
    if (in.pos) {
        box_x = in.screen.x + fraction(in.pos->first) * in.screen.w;
        box_y = in.screen.y + fraction(in.pos->second) * in.screen.h;
    }
    if (in.size) {
        box_w = std::max(1.0, fraction(in.size->first) * in.screen.w - in.frame.left - in.frame.right);
        box_h = std::max(1.0, fraction(in.size->second) * in.screen.h - in.frame.top - in.frame.bottom);
    }

    if (in.scale > 0) {
        out.scale = in.scale;
        if (!in.force && in.scale > fits_screen) {
            out.scale = fits_screen;
            out.reduced = true;
        }
    } else if (in.size) {
        out.scale = std::min(box_w / uw, box_h / uh);
    } else {
        out.scale = std::min(1.0, fits_screen);
    }
    out.scale = std::clamp(out.scale, kSmallest, kLargest);
    out.box.w = std::max(1, int(std::lround(uw * out.scale)));
    out.box.h = std::max(1, int(std::lround(uh * out.scale)));

    // Centred in its box (on the screen without window_pos), then kept on the screen.
    int x, y;
    if (in.pos) {
        x = int(std::lround(box_x + in.frame.left + (in.size ? (box_w - out.box.w) / 2 : 0.0)));
        y = int(std::lround(box_y + in.frame.top + (in.size ? (box_h - out.box.h) / 2 : 0.0)));
    } else {
        x = int(std::lround(in.screen.x + in.frame.left + (room_w - out.box.w) / 2.0));
        y = int(std::lround(in.screen.y + in.frame.top + (room_h - out.box.h) / 2.0));
    }
    out.box.x = keep_inside(x, out.box.w + in.frame.right, in.screen.x + in.frame.left, in.screen.x + in.screen.w);
    out.box.y = keep_inside(y, out.box.h + in.frame.bottom, in.screen.y + in.frame.top, in.screen.y + in.screen.h);
    return out;
}

}  // namespace tarn
