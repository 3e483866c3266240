// Clock: "Clock".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "instruments/tarn2.h"

// "Clock"
static ELEMENT_STATIC_IMAGE clock_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 200, .position = {0, 0}, .image_flags = 0x4003},
};
static ELEMENT_HEADER* clock_list[] = {&clock_background.header, NULL};
static MOUSERECT clock_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab16),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR clock_gauge = TARN_GAUGE_HEADER(700, "Clock", clock_list, clock_mouse, NULL, 100);
