// Registration placard: "Registration".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "instruments/tarn2.h"

static void registration_cb(PGAUGEHDR, SINT32, UINT32) {}

// "Registration"
static ELEMENT_STATIC_IMAGE registration_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 3400, .position = {0, 0}, .image_flags = 0x3},
};
static ELEMENT_HEADER* registration_list[] = {&registration_background.header, NULL};
static MOUSERECT registration_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR registration_gauge = TARN_GAUGE_HEADER(700, "Registration", registration_list, registration_mouse, registration_cb, 150);
