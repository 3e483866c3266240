// The mouse map: nesting, half-open boxes, first match in list order, bad lists.
#include "host/core/mouse.h"

#include <gtest/gtest.h>

#include "host/core/errors.h"

namespace {

using tarn::MouseMap;

MOUSERECT nested[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 10),
        MOUSE_CHILD_EVENT(0, 0, 20, 20, CURSOR_HAND, MOUSE_LEFTSINGLE, 1),
        MOUSE_CHILD_EVENT(10, 10, 20, 20, CURSOR_HAND, MOUSE_LEFTSINGLE, 2),
        MOUSE_PARENT_BEGIN(50, 40, 30, 20, 20),
            MOUSE_CHILD_EVENT(5, 5, 10, 10, CURSOR_UPARROW, MOUSE_LEFTSINGLE, 3),
            // Reaches beyond its parent: only the part inside the parent can be hit.
            MOUSE_CHILD_EVENT(20, 0, 40, 20, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, 4),
            MOUSE_PARENT_BEGIN(0, 0, 0, 0, 30),  // the whole enclosing parent
                MOUSE_CHILD_EVENT(0, 0, 5, 5, CURSOR_HAND, MOUSE_LEFTSINGLE, 5),
            MOUSE_PARENT_END,
        MOUSE_PARENT_END,
    MOUSE_PARENT_END,
    MOUSE_END,
};

int event_at(const MouseMap& m, int x, int y) {
    const tarn::MouseChild* c = m.hit(x, y);
    return c ? int(c->rect->event_id) : 0;
}

TEST(MouseMap, BoxesAreHalfOpenAndTheFirstChildWins) {
    MouseMap m = MouseMap::build(nested, 200, 100, "test");
    EXPECT_EQ(event_at(m, 0, 0), 1);    // left and top edges are inside
    EXPECT_EQ(event_at(m, 19, 19), 1);  // overlap: the first child in list order
    EXPECT_EQ(event_at(m, 20, 20), 2);  // right and bottom edges are outside the first
    EXPECT_EQ(event_at(m, 29, 29), 2);
    EXPECT_EQ(event_at(m, 30, 30), 0);
    EXPECT_EQ(event_at(m, -1, 0), 0);
}

TEST(MouseMap, NestedParentsPlaceTheirChildrenAndClipThem) {
    MouseMap m = MouseMap::build(nested, 200, 100, "test");
    EXPECT_EQ(event_at(m, 55, 45), 3);  // (5,5) inside the parent at (50,40)
    EXPECT_EQ(event_at(m, 64, 54), 3);
    EXPECT_EQ(event_at(m, 65, 55), 0);
    EXPECT_EQ(event_at(m, 79, 45), 4);  // inside the parent
    EXPECT_EQ(event_at(m, 80, 45), 0);  // the child goes on, but the parent ends at 80
    EXPECT_EQ(event_at(m, 50, 40), 5);  // a (0,0,0,0) parent is its enclosing parent
    EXPECT_EQ(m.children()[1].box.x0, 10);
    EXPECT_EQ(m.children()[3].box.x1, 110);  // the drawn box is kept for relative points
}

TEST(MouseMap, HelpIsTheInnermostParentWithAnId) {
    MouseMap m = MouseMap::build(nested, 200, 100, "test");
    EXPECT_EQ(m.help_at(1, 1), 10);
    EXPECT_EQ(m.help_at(70, 45), 30);
    EXPECT_EQ(m.help_at(199, 99), 10);
    EXPECT_EQ(m.help_at(200, 99), 0);  // outside the gauge
}

TEST(MouseMap, ListsThatDoNotCloseAreRefusedNamingTheRecord) {
    MOUSERECT open[] = {MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0), MOUSE_END};
    MOUSERECT extra_end[] = {MOUSE_PARENT_END, MOUSE_END};
    MOUSERECT bad_type[] = {{7, {0, 0, 0, 0}, 0, 0, 0, 0, nullptr, nullptr}, MOUSE_END};
    auto message = [](MOUSERECT* list) {
        try {
            MouseMap::build(list, 10, 10, "TARN!X");
        } catch (const tarn::HostError& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_EQ(message(open), "TARN!X: mouse record 2: the list ends inside an open parent");
    EXPECT_EQ(message(extra_end), "TARN!X: mouse record 1: end of parent without an open parent");
    EXPECT_EQ(message(bad_type), "TARN!X: mouse record 1: unknown record type 7");
    EXPECT_EQ(MouseMap::build(nullptr, 10, 10, "x").children().size(), 0u);
}

}  // namespace
