// Warning annunciator panels: "Warnings", "Warnings_DI".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "systems/tarn.h"

// "Warnings"
static ELEMENT_STATIC_IMAGE warnings_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 8448, .position = {0, 0}, .image_flags = 0x10},
};
static ELEMENT_HEADER* warnings_list[] = {&warnings_background.header, NULL};
static MOUSERECT warnings_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43788),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR warnings_gauge = TARN_GAUGE_HEADER(800, "Warnings", warnings_list, warnings_mouse, NULL, 258);

// "Warnings_DI"
static ELEMENT_STATIC_IMAGE warnings_di_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 8449, .position = {0, 0}, .image_flags = 0x10},
};
static ELEMENT_HEADER* warnings_di_list[] = {&warnings_di_background.header, NULL};
static MOUSERECT warnings_di_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43788),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR warnings_di_gauge = TARN_GAUGE_HEADER(800, "Warnings_DI", warnings_di_list, warnings_di_mouse, NULL, 258);
