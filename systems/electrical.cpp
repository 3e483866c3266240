// Avionics master and volt/ammeter: "Avionic Master", "VoltAmp".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "systems/tarn.h"

// "Avionic Master"
static ELEMENT_STATIC_IMAGE avionic_master_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 13312, .position = {0, 0}, .image_flags = 0x10},
};
static ELEMENT_HEADER* avionic_master_list[] = {&avionic_master_background.header, NULL};
static MOUSERECT avionic_master_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR avionic_master_gauge = TARN_GAUGE_HEADER(800, "Avionic Master", avionic_master_list, avionic_master_mouse, NULL, 201);

// "VoltAmp"
static FAILURE_RECORD voltamp_background_fail[] = {{20, 2, 0}, {0, 0, 0}};
static ELEMENT_STATIC_IMAGE voltamp_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 6400, .position = {0, 0}, .failure_systems = voltamp_background_fail, .image_flags = 0x4001},
};
static ELEMENT_HEADER* voltamp_list[] = {&voltamp_background.header, NULL};
static MOUSERECT voltamp_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR voltamp_gauge = TARN_GAUGE_HEADER(800, "VoltAmp", voltamp_list, voltamp_mouse, NULL, 152);
