// Throttle quadrant: "Throttle_Quadrant".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "instruments/tarn2.h"

// The lever callbacks read their child regions through the header of the latest call.
static PGAUGEHDR throttle_quadrant_header = NULL;

static void throttle_quadrant_cb(PGAUGEHDR gauge, SINT32, UINT32) { throttle_quadrant_header = gauge; }

// "Throttle_Quadrant"
static ELEMENT_STATIC_IMAGE throttle_quadrant_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1040, .position = {0, 0}, .image_flags = 0x3},
};
static ELEMENT_HEADER* throttle_quadrant_list[] = {&throttle_quadrant_background.header, NULL};
static MOUSERECT throttle_quadrant_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR throttle_quadrant_gauge = TARN_GAUGE_HEADER(700, "Throttle_Quadrant", throttle_quadrant_list, throttle_quadrant_mouse, throttle_quadrant_cb, 95);
