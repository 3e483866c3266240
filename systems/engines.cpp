// Engine instrument cluster: "Engines".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "systems/tarn.h"

// "Engines"
static FAILURE_RECORD engines_background_fail[] = {{20, 2, 0}, {0, 0, 0}};
static ELEMENT_STATIC_IMAGE engines_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x3800, .position = {0, 0}, .failure_systems = engines_background_fail, .image_flags = 0x4001},
};
static ELEMENT_HEADER* engines_list[] = {&engines_background.header, NULL};
static MOUSERECT engines_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR engines_gauge = TARN_GAUGE_HEADER(800, "Engines", engines_list, engines_mouse, NULL, 370);
