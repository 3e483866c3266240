// Pitot-static instruments: "AirSpeed", "Vertical_Speed", "Altimeter".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "instruments/tarn2.h"

// "AirSpeed"
static ELEMENT_STATIC_IMAGE airspeed_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 320, .position = {0, 0}, .image_flags = 0x4003},
};
static ELEMENT_HEADER* airspeed_list[] = {&airspeed_background.header, NULL};
static MOUSERECT airspeed_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43778),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR airspeed_gauge = TARN_GAUGE_HEADER(700, "AirSpeed", airspeed_list, airspeed_mouse, NULL, 100);

// "Vertical_Speed"
static ELEMENT_STATIC_IMAGE vertical_speed_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1000, .position = {0, 0}, .image_flags = 0x4003},
};
static ELEMENT_HEADER* vertical_speed_list[] = {&vertical_speed_background.header, NULL};
static MOUSERECT vertical_speed_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43894),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR vertical_speed_gauge = TARN_GAUGE_HEADER(700, "Vertical_Speed", vertical_speed_list, vertical_speed_mouse, NULL, 100);

// "Altimeter"
static ELEMENT_STATIC_IMAGE altimeter_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1130, .position = {0, 0}, .image_flags = 0x4003},
};
static ELEMENT_HEADER* altimeter_list[] = {&altimeter_background.header, NULL};
static MOUSERECT altimeter_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43783),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR altimeter_gauge = TARN_GAUGE_HEADER(700, "Altimeter", altimeter_list, altimeter_mouse, NULL, 100);
