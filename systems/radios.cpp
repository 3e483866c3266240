// Radio stack read-out: "Radios".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "systems/tarn.h"

// "Radios"
static ELEMENT_STATIC_IMAGE radios_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 21248, .position = {0, 0}, .image_flags = 0x10},
};
static ELEMENT_HEADER* radios_list[] = {&radios_background.header, NULL};
static MOUSERECT radios_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR radios_gauge = TARN_GAUGE_HEADER(800, "Radios", radios_list, radios_mouse, NULL, 400);
