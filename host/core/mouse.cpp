#include "host/core/mouse.h"

#include <algorithm>

#include "host/core/errors.h"

namespace tarn {

namespace {

constexpr size_t kMaxRecords = 4096;

// A box relative to its enclosing area; (0,0,0,0) is the enclosing area itself.
Box place(const PIXBOX& b, const Box& outer) {
    if (b.x == 0 && b.y == 0 && b.width == 0 && b.height == 0) return outer;
    Box r;
    r.x0 = outer.x0 + b.x;
    r.y0 = outer.y0 + b.y;
    r.x1 = r.x0 + std::max(0, b.width);
    r.y1 = r.y0 + std::max(0, b.height);
    return r;
}

Box intersect(const Box& a, const Box& b) {
    Box r{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
    if (r.x1 < r.x0) r.x1 = r.x0;
    if (r.y1 < r.y0) r.y1 = r.y0;
    return r;
}

}  // namespace

MouseMap MouseMap::build(MOUSERECT* list, int width, int height, const std::string& gauge) {
    MouseMap map;
    if (list == nullptr) return map;
    struct Open {
        Box area;  // where children are placed from
        Box hit;   // clipped by every enclosing parent
    };
    std::vector<Open> open;
    const Box whole{0, 0, width, height};
    auto fail = [&](size_t i, const std::string& what) {
        throw HostError(gauge + ": mouse record " + std::to_string(i + 1) + ": " + what);
    };
    for (size_t i = 0;; ++i) {
        if (i == kMaxRecords) fail(i, "no end-of-list record within " + std::to_string(kMaxRecords) + " records");
        MOUSERECT& r = list[i];
        const Box area = open.empty() ? whole : open.back().area;
        const Box clip = open.empty() ? whole : open.back().hit;
        switch (r.rect_type) {
        case MOUSE_RECT_EOL:
            if (!open.empty()) fail(i, "the list ends inside an open parent");
            map.records_ = i + 1;
            return map;
        case MOUSE_RECT_PARENT: {
            Box b = place(r.relative_box, area);
            Box h = intersect(b, clip);
            map.parents_.push_back({&r, h, int(open.size())});
            open.push_back({b, h});
            break;
        }
        case MOUSE_RECT_CHILD: {
            Box b = place(r.relative_box, area);
            map.children_.push_back({&r, b, intersect(b, clip), int(i)});
            break;
        }
        case MOUSE_RECT_END_PARENT:
            if (open.empty()) fail(i, "end of parent without an open parent");
            open.pop_back();
            break;
        default:
            fail(i, "unknown record type " + std::to_string(r.rect_type));
        }
    }
}

int MouseMap::help_at(int x, int y) const {
    int help = 0, depth = -1;
    for (const MouseParent& p : parents_)
        if (p.rect->help_id != 0 && p.depth > depth && p.hit.contains(x, y)) {
            help = p.rect->help_id;
            depth = p.depth;
        }
    return help;
}

}  // namespace tarn
