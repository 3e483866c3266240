// The mouse list of one gauge instance, flattened at install for hit testing.
//
//   MouseMap map = MouseMap::build(list, gauge_width, gauge_height, "TARN!Clock");
//   if (const MouseChild* c = map.hit(x, y)) ...   // first child in list order
//
// Boxes are half-open, [x, x + w) by [y, y + h), relative to the enclosing parent; a
// parent of (0,0,0,0) covers its enclosing area (the whole gauge at the top). A child
// is hit only where its box and every enclosing parent contain the point.
#ifndef TARN_HOST_MOUSE_H
#define TARN_HOST_MOUSE_H

#include <string>
#include <vector>

#include "framework/gauge.h"

namespace tarn {

struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // half-open
    bool contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

struct MouseChild {
    MOUSERECT* rect;  // the instance's own record
    Box box;          // the child's box in gauge pixels
    Box hit;          // where it can be hit: its box within all enclosing parents
    int index;        // position of the record in the list (0-based)
};

struct MouseParent {
    MOUSERECT* rect;
    Box hit;
    int depth;
};

class MouseMap {
public:
    // Throws HostError naming the gauge and record on a list that does not close, closes
    // a parent that is not open, or has a record of unknown type.
    static MouseMap build(MOUSERECT* list, int width, int height, const std::string& gauge);

    const MouseChild* hit(int x, int y) const {
        for (const MouseChild& c : children_)
            if (c.hit.contains(x, y)) return &c;
        return nullptr;
    }
    // Help id of the innermost parent at the point that carries one, or 0.
    int help_at(int x, int y) const;

    const std::vector<MouseChild>& children() const { return children_; }
    const std::vector<MouseParent>& parents() const { return parents_; }
    size_t record_count() const { return records_; }

private:
    std::vector<MouseChild> children_;
    std::vector<MouseParent> parents_;
    size_t records_ = 0;
};

}  // namespace tarn

#endif
