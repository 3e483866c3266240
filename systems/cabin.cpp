// Marker lamps, passenger notices, compass slave and auto-rudder: "OMI", "PN", "Slave", "AutoCord".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "systems/tarn.h"

// "OMI"
static ELEMENT_STATIC_IMAGE omi_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 16896, .position = {0, 0}, .image_flags = 0x11},
};
static ELEMENT_HEADER* omi_list[] = {&omi_background.header, NULL};
static MOUSERECT omi_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43848),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR omi_gauge = TARN_GAUGE_HEADER(800, "OMI", omi_list, omi_mouse, NULL, 19);

// "PN"
static ELEMENT_STATIC_IMAGE pn_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 17408, .position = {0, 0}, .image_flags = 0x10},
};
static ELEMENT_HEADER* pn_list[] = {&pn_background.header, NULL};
static MOUSERECT pn_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43848),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR pn_gauge = TARN_GAUGE_HEADER(800, "PN", pn_list, pn_mouse, NULL, 412);

// "Slave"
static ELEMENT_STATIC_IMAGE slave_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 17920, .position = {0, 0}, .image_flags = 0x11},
};
static ELEMENT_HEADER* slave_list[] = {&slave_background.header, NULL};
static MOUSERECT slave_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR slave_gauge = TARN_GAUGE_HEADER(800, "Slave", slave_list, slave_mouse, NULL, 70);

// "AutoCord"
static ELEMENT_STATIC_IMAGE autocord_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 18688, .position = {0, 0}, .image_flags = 0x11},
};
static ELEMENT_HEADER* autocord_list[] = {&autocord_background.header, NULL};
static MOUSERECT autocord_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR autocord_gauge = TARN_GAUGE_HEADER(800, "AutoCord", autocord_list, autocord_mouse, NULL, 150);
