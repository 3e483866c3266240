// Switch panels: "Switches", "Switches_DI".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "systems/tarn.h"

// "Switches"
static ELEMENT_STATIC_IMAGE switches_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 12544, .position = {0, 0}, .image_flags = 0x11},
};
static ELEMENT_HEADER* switches_list[] = {&switches_background.header, NULL};
static MOUSERECT switches_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR switches_gauge = TARN_GAUGE_HEADER(800, "Switches", switches_list, switches_mouse, NULL, 679);

// "Switches_DI"
static ELEMENT_STATIC_IMAGE switches_di_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 12545, .position = {0, 0}, .image_flags = 0x11},
};
static ELEMENT_HEADER* switches_di_list[] = {&switches_di_background.header, NULL};
static MOUSERECT switches_di_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR switches_di_gauge = TARN_GAUGE_HEADER(800, "Switches_DI", switches_di_list, switches_di_mouse, NULL, 679);
