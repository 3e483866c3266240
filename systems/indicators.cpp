// Flaps, stall, speed and suction: "Flaps", "Stall_Gauge", "Speedgauge", "Suction".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "systems/tarn.h"

// "Flaps"
static ELEMENT_STATIC_IMAGE flaps_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x1400, .position = {0, 0}, .image_flags = 0x11},
};
static ELEMENT_HEADER* flaps_list[] = {&flaps_background.header, NULL};
static MOUSERECT flaps_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xAB24),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR flaps_gauge = TARN_GAUGE_HEADER(800, "Flaps", flaps_list, flaps_mouse, NULL, 69);

// "Stall_Gauge"
static ELEMENT_STATIC_IMAGE stall_gauge_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x1500, .position = {0, 0}, .image_flags = 0x11},
};
static ELEMENT_HEADER* stall_gauge_list[] = {&stall_gauge_background.header, NULL};
static MOUSERECT stall_gauge_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR stall_gauge_gauge = TARN_GAUGE_HEADER(800, "Stall_Gauge", stall_gauge_list, stall_gauge_mouse, NULL, 38);

// "Speedgauge"
static FAILURE_RECORD speedgauge_background_fail[] = {{20, 2, 0}, {6, 1, 0}, {0, 0, 0}};
static ELEMENT_STATIC_IMAGE speedgauge_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x3600, .position = {0, 0}, .failure_systems = speedgauge_background_fail, .image_flags = 0x4001},
};
static ELEMENT_HEADER* speedgauge_list[] = {&speedgauge_background.header, NULL};
static MOUSERECT speedgauge_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xAB02),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR speedgauge_gauge = TARN_GAUGE_HEADER(800, "Speedgauge", speedgauge_list, speedgauge_mouse, NULL, 133);

// "Suction"
static ELEMENT_STATIC_IMAGE suction_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x5100, .position = {0, 0}, .image_flags = 0x4001},
};
static ELEMENT_HEADER* suction_list[] = {&suction_background.header, NULL};
static MOUSERECT suction_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xAB66),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR suction_gauge = TARN_GAUGE_HEADER(800, "Suction", suction_list, suction_mouse, NULL, 151);
