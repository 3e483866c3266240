// Navigation indicators: "VOR1", "VOR2", "ADF", "DME", "Nav GPS Switch".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "instruments/tarn2.h"

// "VOR1"
static FAILURE_RECORD vor1_background_fail[] = {{14, 0, 0}, {0, 0, 0}};
static ELEMENT_STATIC_IMAGE vor1_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 4400, .position = {0, 0}, .failure_systems = vor1_background_fail, .image_flags = 0x4003},
};
static ELEMENT_HEADER* vor1_list[] = {&vor1_background.header, NULL};
static MOUSERECT vor1_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43890),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR vor1_gauge = TARN_GAUGE_HEADER(700, "VOR1", vor1_list, vor1_mouse, NULL, 100);

// "VOR2"
static FAILURE_RECORD vor2_background_fail[] = {{15, 0, 0}, {0, 0, 0}};
static ELEMENT_STATIC_IMAGE vor2_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 5000, .position = {0, 0}, .failure_systems = vor2_background_fail, .image_flags = 0x4003},
};
static ELEMENT_HEADER* vor2_list[] = {&vor2_background.header, NULL};
static MOUSERECT vor2_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43892),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR vor2_gauge = TARN_GAUGE_HEADER(700, "VOR2", vor2_list, vor2_mouse, NULL, 100);

// "ADF"
static FAILURE_RECORD adf_background_fail[] = {{5, 0, 0}, {0, 0, 0}};
static ELEMENT_STATIC_IMAGE adf_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 4300, .position = {0, 0}, .failure_systems = adf_background_fail, .image_flags = 0x4003},
};
static ELEMENT_HEADER* adf_list[] = {&adf_background.header, NULL};
static MOUSERECT adf_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43776),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR adf_gauge = TARN_GAUGE_HEADER(700, "ADF", adf_list, adf_mouse, NULL, 100);

// "DME"
static ELEMENT_STATIC_IMAGE dme_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 300, .position = {0, 0}, .image_flags = 0x3},
};
static ELEMENT_HEADER* dme_list[] = {&dme_background.header, NULL};
static MOUSERECT dme_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 42756),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR dme_gauge = TARN_GAUGE_HEADER(700, "DME", dme_list, dme_mouse, NULL, 100);

// "Nav GPS Switch"
static ELEMENT_STATIC_IMAGE nav_gps_switch_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 4140, .position = {0, 0}, .image_flags = 0x3},
};
static ELEMENT_HEADER* nav_gps_switch_list[] = {&nav_gps_switch_background.header, NULL};
static MOUSERECT nav_gps_switch_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43853),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR nav_gps_switch_gauge = TARN_GAUGE_HEADER(700, "Nav GPS Switch", nav_gps_switch_list, nav_gps_switch_mouse, NULL, 30);
