// Fuel quantity and fuel pumps: "Fuel_Left", "Fuel_Right", "pump_1", "pump_2".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "systems/tarn.h"

// "Fuel_Left"
static FAILURE_RECORD fuel_left_background_fail[] = {{20, 2, 0}, {10, 1, 0}, {0, 0, 0}};
static ELEMENT_STATIC_IMAGE fuel_left_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x1700, .position = {0, 0}, .failure_systems = fuel_left_background_fail, .image_flags = 0x4001},
};
static ELEMENT_HEADER* fuel_left_list[] = {&fuel_left_background.header, NULL};
static MOUSERECT fuel_left_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xAB29),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR fuel_left_gauge = TARN_GAUGE_HEADER(800, "Fuel_Left", fuel_left_list, fuel_left_mouse, NULL, 152);

// "Fuel_Right"
static FAILURE_RECORD fuel_right_background_fail[] = {{20, 2, 0}, {10, 1, 0}, {0, 0, 0}};
static ELEMENT_STATIC_IMAGE fuel_right_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x1700, .position = {0, 0}, .failure_systems = fuel_right_background_fail, .image_flags = 0x4001},
};
static ELEMENT_HEADER* fuel_right_list[] = {&fuel_right_background.header, NULL};
static MOUSERECT fuel_right_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xAB2A),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR fuel_right_gauge = TARN_GAUGE_HEADER(800, "Fuel_Right", fuel_right_list, fuel_right_mouse, NULL, 152);

// "pump_1"
static ELEMENT_STATIC_IMAGE pump_1_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x5500, .position = {0, 0}, .image_flags = 0x10},
};
static ELEMENT_HEADER* pump_1_list[] = {&pump_1_background.header, NULL};
static MOUSERECT pump_1_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR pump_1_gauge = TARN_GAUGE_HEADER(800, "pump_1", pump_1_list, pump_1_mouse, NULL, 58);

// "pump_2"
static ELEMENT_STATIC_IMAGE pump_2_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x5500, .position = {0, 0}, .image_flags = 0x10},
};
static ELEMENT_HEADER* pump_2_list[] = {&pump_2_background.header, NULL};
static MOUSERECT pump_2_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR pump_2_gauge = TARN_GAUGE_HEADER(800, "pump_2", pump_2_list, pump_2_mouse, NULL, 58);
