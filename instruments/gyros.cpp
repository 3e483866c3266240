// Gyro instruments and compass: "Attitude", "Turn Coordinator", "Magnetic_Compass", "HSI".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "instruments/tarn2.h"

// "Attitude"
static ELEMENT_STATIC_IMAGE attitude_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1300, .position = {0, 0}, .image_flags = 0x4003},
};
static ELEMENT_HEADER* attitude_list[] = {&attitude_background.header, NULL};
static MOUSERECT attitude_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43789),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR attitude_gauge = TARN_GAUGE_HEADER(700, "Attitude", attitude_list, attitude_mouse, NULL, 100);

// "Turn Coordinator"
static ELEMENT_STATIC_IMAGE turn_coordinator_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1200, .position = {0, 0}, .image_flags = 0x4003},
};
static ELEMENT_HEADER* turn_coordinator_list[] = {&turn_coordinator_background.header, NULL};
static MOUSERECT turn_coordinator_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR turn_coordinator_gauge = TARN_GAUGE_HEADER(700, "Turn Coordinator", turn_coordinator_list, turn_coordinator_mouse, NULL, 100);

// "Magnetic_Compass"
static ELEMENT_STATIC_IMAGE magnetic_compass_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 4210, .position = {0, 0}, .image_flags = 0x3},
};
static ELEMENT_HEADER* magnetic_compass_list[] = {&magnetic_compass_background.header, NULL};
static MOUSERECT magnetic_compass_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43895),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR magnetic_compass_gauge = TARN_GAUGE_HEADER(700, "Magnetic_Compass", magnetic_compass_list, magnetic_compass_mouse, NULL, 100);

// "HSI"
static ELEMENT_STATIC_IMAGE hsi_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 10, .position = {0, 0}, .image_flags = 0x3},
};
static ELEMENT_HEADER* hsi_list[] = {&hsi_background.header, NULL};
static MOUSERECT hsi_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43830),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR hsi_gauge = TARN_GAUGE_HEADER(700, "HSI", hsi_list, hsi_mouse, NULL, 90);
