// Magnetos, starter and primer: "Magnetos", "Primer".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "systems/tarn.h"

// "Magnetos"
static ELEMENT_STATIC_IMAGE magnetos_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x1000, .position = {0, 0}, .image_flags = 0x1},
};
static ELEMENT_HEADER* magnetos_list[] = {&magnetos_background.header, NULL};
static MOUSERECT magnetos_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xAB45),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR magnetos_gauge = TARN_GAUGE_HEADER(800, "Magnetos", magnetos_list, magnetos_mouse, NULL, 314);

// "Primer"
static ELEMENT_STATIC_IMAGE primer_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x4100, .position = {0, 0}, .image_flags = 0x4011},
};
static ELEMENT_HEADER* primer_list[] = {&primer_background.header, NULL};
static MOUSERECT primer_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xAB24),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR primer_gauge = TARN_GAUGE_HEADER(800, "Primer", primer_list, primer_mouse, NULL, 36);
