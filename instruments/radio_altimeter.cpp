// Radio altimeter: "Radio_Alt", "Radio_Alt_Switch".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "instruments/tarn2.h"

static void Radio_Alt_service_cb(PGAUGEHDR, SINT32, UINT32) {}

// "Radio_Alt" is the one gauge whose parameters field is set as built: an empty string.
static const char radio_alt_parameters[] = "";

// "Radio_Alt"
static ELEMENT_STATIC_IMAGE radio_alt_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 3000, .position = {0, 0}, .image_flags = 0x4003},
};
static ELEMENT_HEADER* radio_alt_list[] = {&radio_alt_background.header, NULL};
static MOUSERECT radio_alt_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43540),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR radio_alt_gauge = TARN_GAUGE_HEADER(700, "Radio_Alt", radio_alt_list, radio_alt_mouse, Radio_Alt_service_cb, 90, .parameters = radio_alt_parameters);

// "Radio_Alt_Switch"
static ELEMENT_STATIC_IMAGE radio_alt_switch_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 3300, .position = {0, 0}, .image_flags = 0x3},
};
static ELEMENT_HEADER* radio_alt_switch_list[] = {&radio_alt_switch_background.header, NULL};
static MOUSERECT radio_alt_switch_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR radio_alt_switch_gauge = TARN_GAUGE_HEADER(700, "Radio_Alt_Switch", radio_alt_switch_list, radio_alt_switch_mouse, NULL, 30);
